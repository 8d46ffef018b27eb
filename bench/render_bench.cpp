// Rendering a page of 10,000 mixed shapes (filled curved paths with holes,
// outlines of several widths, dotted fills, some text) into a 1024 x 768
// 24-bit bitmap, and, for comparison in the same run, cairo drawing the same
// flattened polygons into an image surface with antialiasing off.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/drawing.h"
#include "model/text_layout.h"
#include "platform/utf16.h"
#include "render/shape_renderer.h"

#ifdef ZEL_HAVE_CAIRO
#include <cairo.h>
#endif

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kShapes = 10000;

zel::ColorRef RandomColour(std::mt19937& rng) { return rng() & 0xFFFFFF; }

std::unique_ptr<zel::Shape> MakeShape(int i, std::mt19937& rng) {
  std::uniform_real_distribution<float> px(-1000.0f, 1000.0f), py(-750.0f, 750.0f), size(20.0f, 150.0f);
  const float x = px(rng), y = py(rng), w = size(rng), h = size(rng);
  const zel::RectF box{x, x + w, y, y + h};
  const int kind = i % 50;
  if (kind == 0) {  // text, every other one turned
    auto s = std::make_unique<zel::Shape>(zel::KindText);
    s->text()->text = u"Sample text";
    s->text()->size = 40.0f + float(i % 7) * 10.0f;
    s->text()->anchor = {x, y};
    s->text()->angle = (i / 50) % 2 ? 30.0f : 0.0f;
    s->fillColor = RandomColour(rng);
    s->UpdateBounds();
    return s;
  }
  std::unique_ptr<zel::Shape> s = (kind % 2) ? zel::MakeEllipse(box) : zel::MakeRectangle(box);
  zel::PathContent* p = s->path();
  s->fillColor = RandomColour(rng);
  p->penColor = RandomColour(rng);
  p->lineWidth = zel::kLineFine;
  if (kind < 18) {  // a ring: curved path with a hole
    auto inner = zel::MakeEllipse({x + w * 0.25f, x + w * 0.75f, y + h * 0.25f, y + h * 0.75f});
    p->subPaths.push_back(inner->path()->subPaths[0]);
  } else if (kind < 31) {  // outlines of several widths
    p->brushStyle = zel::kBrushNull;
    const int widths[] = {zel::kLineFine, zel::kLineNormal, zel::kLineBold, zel::kLineThick};
    p->lineWidth = widths[i % 4];
  } else if (kind < 36) {
    p->brushStyle = zel::kBrushDotted;
  } else if (kind < 42) {
    p->lineWidth = zel::kLineNormal;  // filled and outlined
  } else {
    p->penStyle = zel::kPenNull;  // filled only
  }
  s->UpdateBounds();
  return s;
}

struct Page {
  zel::Drawing drawing;
  zel::Viewport vp;
};

Page& TestPage() {
  static Page* page = [] {
    auto* p = new Page;
    p->drawing.SetPageSize(2000, 1500);
    std::mt19937 rng(1234);
    for (int i = 0; i < kShapes; ++i) p->drawing.Add(MakeShape(i, rng));
    p->vp.fitRect(-1000, -750, 1000, 750, {1, 1, kWidth - 1, kHeight - 1});
    return p;
  }();
  return *page;
}

void BM_RenderPage(benchmark::State& state) {
  Page& page = TestPage();
  auto dib = zel::CreateSection24(kWidth, kHeight);
  zel::Surface dc(dib.get());
  for (auto _ : state) {
    dc.FillRect({0, 0, kWidth, kHeight}, 0xFFFFFF);
    zel::RenderPage(page.drawing, dc, page.vp, {0, 0, kWidth, kHeight}, 0);
    benchmark::DoNotOptimize(dib->bits.data());
  }
  state.counters["shapes"] = kShapes;
}
BENCHMARK(BM_RenderPage)->Unit(benchmark::kMillisecond);

#ifdef ZEL_HAVE_CAIRO

// What cairo draws per shape: the device contours our renderer computes, with
// the same fill, pen width and colours; text through cairo's own font API.
struct CairoShape {
  std::vector<std::vector<zel::IntPoint>> contours;
  bool fill = false;
  bool closedOutline = false;
  int penWidth = 0;  // 0 = no outline
  double fillRgb[3] = {};
  double penRgb[3] = {};
  std::string text;
  double fontPixels = 0;
  double angle = 0;
  zel::IntPoint origin;
};

void Rgb(zel::ColorRef c, double* out) {
  out[0] = zel::RedOf(c) / 255.0;
  out[1] = zel::GreenOf(c) / 255.0;
  out[2] = zel::BlueOf(c) / 255.0;
}

std::vector<CairoShape> CairoShapes() {
  Page& page = TestPage();
  const zel::Viewport& vp = page.vp;
  std::vector<CairoShape> out;
  for (int i = 0; i < page.drawing.Count(); ++i) {
    const zel::Shape& s = *page.drawing.GetShape(i);
    CairoShape c;
    if (const zel::TextContent* t = s.text()) {
      c.text = zel::ToUtf8(t->text);
      auto font = zel::TextFont(*t, &vp);
      c.fontPixels = font ? font->emHeight() : 10;
      c.angle = t->angle * 0.017453292;
      c.origin = vp.toScreen(t->anchor);
      Rgb(s.fillColor, c.fillRgb);
      out.push_back(std::move(c));
      continue;
    }
    const zel::PathContent* p = s.path();
    for (const zel::PolyPoints& contour : p->flattened) {
      if (contour.size() < 2) continue;
      std::vector<zel::IntPoint> pts;
      for (const zel::PointF& q : contour) pts.push_back(vp.toScreen(q));
      c.contours.push_back(std::move(pts));
    }
    c.fill = p->brushStyle != zel::kBrushNull;
    c.closedOutline = c.fill && c.contours.size() == 1 && p->brushStyle != zel::kBrushDotted;
    if (p->penStyle != zel::kPenNull) {
      int px = vp.toScreenX(float(p->lineWidth)) - vp.toScreenX(0.0f);
      c.penWidth = std::max(1, std::min(px, p->lineWidth));
    }
    Rgb(s.fillColor, c.fillRgb);
    Rgb(p->penColor, c.penRgb);
    out.push_back(std::move(c));
  }
  return out;
}

void BM_CairoSamePolygons(benchmark::State& state) {
  const std::vector<CairoShape> shapes = CairoShapes();
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  for (auto _ : state) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    for (const CairoShape& s : shapes) {
      if (!s.text.empty()) {
        cairo_save(cr);
        cairo_set_source_rgb(cr, s.fillRgb[0], s.fillRgb[1], s.fillRgb[2]);
        cairo_set_font_size(cr, s.fontPixels);
        cairo_translate(cr, s.origin.x, s.origin.y);
        cairo_rotate(cr, -s.angle);
        cairo_move_to(cr, 0, s.fontPixels);
        cairo_show_text(cr, s.text.c_str());
        cairo_restore(cr);
        continue;
      }
      // Pixel centres, as our surface samples them.
      auto trace = [&](bool close) {
        cairo_new_path(cr);
        for (const auto& contour : s.contours) {
          cairo_move_to(cr, contour[0].x + 0.5, contour[0].y + 0.5);
          for (size_t k = 1; k < contour.size(); ++k) cairo_line_to(cr, contour[k].x + 0.5, contour[k].y + 0.5);
          if (close) cairo_close_path(cr);
        }
      };
      if (s.fill) {
        trace(true);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_set_source_rgb(cr, s.fillRgb[0], s.fillRgb[1], s.fillRgb[2]);
        cairo_fill(cr);
      }
      if (s.penWidth > 0) {
        trace(s.closedOutline);
        cairo_set_line_width(cr, s.penWidth);
        cairo_set_source_rgb(cr, s.penRgb[0], s.penRgb[1], s.penRgb[2]);
        cairo_stroke(cr);
      }
    }
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
  }
  state.counters["shapes"] = kShapes;
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_CairoSamePolygons)->Unit(benchmark::kMillisecond);

#endif

}  // namespace
