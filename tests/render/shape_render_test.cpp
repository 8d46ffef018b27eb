// Painting shapes: paths with their pens, fills, holes and dots, artistic
// and paragraph text, pictures, the page frame, and shapes reaching past the
// bitmap.
#include "render/shape_renderer.h"

#include <gtest/gtest.h>

#include <chrono>

#include "golden.h"
#include "model/text_layout.h"
#include "render/page_paint.h"

namespace zel {
namespace {

using testing::ExpectGolden;
using testing::WhiteBitmap;

constexpr int kTextTolerance = 24;  // antialiased glyphs vary between FreeType releases

// A viewport at one pixel per mm/10 with the drawing origin at pixel (0, 0).
Viewport UnitViewport() {
  Viewport vp(1.0f);
  vp.setOrigin(0, 0, 0, 0);
  return vp;
}

std::unique_ptr<Shape> Rect(float l, float t, float r, float b, ColorRef fill, int brush = kBrushSolid,
                            int width = 0, ColorRef pen = 0, int penStyle = kPenSolid) {
  auto s = MakeRectangle({l, r, t, b});
  s->fillColor = fill;
  s->path()->brushStyle = brush;
  s->path()->lineWidth = width;
  s->path()->penColor = pen;
  s->path()->penStyle = penStyle;
  return s;
}

std::unique_ptr<Shape> Polyline(std::vector<PointF> pts, int width, ColorRef pen) {
  auto s = std::make_unique<Shape>(KindPath);
  SubPath nodes;
  for (PointF p : pts) nodes.push_back(PathNode{p, p, p, 0});
  s->path()->subPaths.push_back(std::move(nodes));
  s->path()->brushStyle = kBrushNull;
  s->path()->lineWidth = width;
  s->path()->penColor = pen;
  s->UpdateBounds();
  return s;
}

// Two rectangles in one path: a frame with a hole.
std::unique_ptr<Shape> Ring(float l, float t, float r, float b, float inset, ColorRef fill) {
  auto s = Rect(l, t, r, b, fill);
  auto inner = MakeRectangle({l + inset, r - inset, t + inset, b - inset});
  s->path()->subPaths.push_back(inner->path()->subPaths[0]);
  s->UpdateBounds();
  return s;
}

std::unique_ptr<Shape> Text(std::u16string text, PointF anchor, float size, float angle = 0,
                            int alignment = kAlignLeft) {
  auto s = std::make_unique<Shape>(KindText);
  TextContent* t = s->text();
  t->text = std::move(text);
  t->faceName = u"DejaVu Sans";
  t->anchor = anchor;
  t->size = size;
  t->angle = angle;
  t->alignment = alignment;
  s->fillColor = MakeColor(0, 0, 160);
  s->UpdateBounds();
  return s;
}

// A paragraph in the box from (l, t) to (r, b).
std::unique_ptr<Shape> Paragraph(std::u16string text, float l, float t, float r, float b, float size,
                                 int alignment = kAlignLeft) {
  auto s = Text(std::move(text), {l, t}, size, 0, alignment);
  s->text()->textType = kTextParagraph;
  s->text()->corner = {r, b};
  s->UpdateBounds();
  return s;
}

void Draw(DibImage& dib, const Viewport& vp, const Shape& shape) {
  Surface dc(&dib);
  ShapeRenderer r(dc, vp);
  r.DrawShape(shape, {0, 0, dc.width(), dc.height()});
}

int CountColour(DibImage& dib, ColorRef c, IntRect area = {0, 0, 1 << 20, 1 << 20}) {
  Surface s(&dib);
  int n = 0;
  for (int y = std::max(0, area.top); y < std::min(s.height(), area.bottom); ++y)
    for (int x = std::max(0, area.left); x < std::min(s.width(), area.right); ++x) n += s.GetPixel(x, y) == c;
  return n;
}

TEST(ShapeRender, PathsOutlinesFillsHolesAndDots) {
  DibImage dib = WhiteBitmap(64, 48);
  Viewport vp = UnitViewport();
  Surface dc(&dib);
  {
    ShapeRenderer r(dc, vp);
    const IntRect all{0, 0, 64, 48};
    r.DrawShape(*Rect(2, 2, 14, 12, MakeColor(0, 180, 0)), all);                                 // one polygon call
    r.DrawShape(*Rect(18, 2, 30, 12, MakeColor(0, 0, 255), kBrushDotted), all);                  // dots, then outline
    r.DrawShape(*Ring(34, 2, 50, 18, 4, MakeColor(255, 128, 0)), all);                           // even-odd hole
    r.DrawShape(*Rect(52, 2, 62, 12, MakeColor(255, 0, 255), kBrushSolid, 0, 0, kPenNull), all);  // no outline
    float y = 22;
    for (int w : {kLineFine, kLineNormal, kLineBold, kLineThick}) {
      r.DrawShape(*Polyline({{3, y}, {24, y}, {28, y + 3}}, w, MakeColor(200, 0, 0)), all);
      y += 3.0f + float(w);
    }
    auto ellipse = MakeEllipse({36, 60, 24, 44});
    ellipse->fillColor = MakeColor(255, 255, 0);
    ellipse->path()->lineWidth = 3;
    r.DrawShape(*ellipse, all);
  }
  ExpectGolden(dib, "render_paths");
}

TEST(ShapeRender, PenWidthIsCappedAtTheStoredValue) {
  // width 9 (Thick) at 3 pixels per mm/10 stays 9 pixels, at 0.378 it is 3,
  // and width 0 is always one pixel.
  struct Case {
    int width;
    float scale;
    int pixels;
  } cases[] = {{kLineThick, 3.0f, 9}, {kLineThick, 0.378f, 3}, {kLineFine, 3.0f, 1}, {kLineFine, 0.01f, 1}};
  for (const Case& c : cases) {
    DibImage dib = WhiteBitmap(60, 40);
    Viewport vp(c.scale);
    vp.setOrigin(0, 0, 30, 0);
    Draw(dib, vp, *Polyline({{0, -1e6f}, {0, 1e6f}}, c.width, 0));
    Surface s(&dib);
    int ink = 0;
    for (int x = 0; x < 60; ++x) ink += s.GetPixel(x, 20) == 0;
    EXPECT_EQ(ink, c.pixels) << "width " << c.width << " at scale " << c.scale;
  }
}

TEST(ShapeRender, ContoursOfOnePointAreLeftOut) {
  DibImage dib = WhiteBitmap(20, 20);
  auto s = Polyline({{5, 5}}, 0, 0);
  s->fillColor = 0;
  s->path()->brushStyle = kBrushSolid;
  Draw(dib, UnitViewport(), *s);
  EXPECT_EQ(CountColour(dib, 0), 0);
  // A second contour of two points still draws with the filler.
  SubPath two{PathNode{{2, 2}, {2, 2}, {2, 2}, 0}, PathNode{{12, 12}, {12, 12}, {12, 12}, 0}};
  s->path()->subPaths.push_back(two);
  s->UpdateBounds();
  Draw(dib, UnitViewport(), *s);
  EXPECT_GT(CountColour(dib, 0), 0);
}

TEST(ShapeRender, ArtisticTextAlongItsAngle) {
  DibImage dib = WhiteBitmap(96, 64);
  Viewport vp = UnitViewport();
  Draw(dib, vp, *Text(u"Zel\r\nmulti\r\nline", {4, 4}, 12, 0, kAlignCenter));
  Draw(dib, vp, *Text(u"one\r\ntwo\r\nsix", {52, 60}, 12, 90, kAlignRight));
  Draw(dib, vp, *Text(u"tilt", {60, 20}, 11, 30));
  ExpectGolden(dib, "render_artistic_text", kTextTolerance, 12);
}

TEST(ShapeRender, NinetyDegreeLinesAdvanceAlongX) {
  // Three lines at 90 degrees stack side by side, each h pixels further in +x.
  DibImage one = WhiteBitmap(80, 80), three = WhiteBitmap(80, 80);
  Viewport vp = UnitViewport();
  Draw(one, vp, *Text(u"abc", {10, 70}, 14, 90));
  Draw(three, vp, *Text(u"abc\r\nabc\r\nabc", {10, 70}, 14, 90));
  const int h = TextFont(*Text(u"a", {0, 0}, 14)->text(), &vp)->height();
  Surface a(&one), b(&three);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 80; ++x) {
      ColorRef c = a.GetPixel(x, y);
      if (c == 0xFFFFFF) continue;
      ASSERT_EQ(b.GetPixel(x + h, y), c);
      ASSERT_EQ(b.GetPixel(x + 2 * h, y), c);
    }
  }
}

TEST(ShapeRender, ParagraphTextWrapsInItsBox) {
  DibImage dib = WhiteBitmap(96, 72);
  Viewport vp = UnitViewport();
  Draw(dib, vp, *Paragraph(u"Wrapped words fill the box line by line", 4, 4, 60, 68, 10));
  Draw(dib, vp, *Paragraph(u"right\r\nside", 62, 4, 94, 40, 9, kAlignRight));
  // Shorter than one design line: only the frame.
  Draw(dib, vp, *Paragraph(u"hidden", 62, 50, 94, 54, 10));
  ExpectGolden(dib, "render_paragraph_text", kTextTolerance, 12);
}

TEST(ShapeRender, ParagraphPaintingIsBoundedByTextAndSurface) {
  // A box a billion units tall and a size that rounds to nothing: painting
  // stops when the text runs out or the lines leave the surface.
  std::u16string words;
  for (int i = 0; i < 20000; ++i) words += u"word ";
  DibImage dib = WhiteBitmap(64, 48);
  Viewport vp = UnitViewport();
  auto start = std::chrono::steady_clock::now();
  Draw(dib, vp, *Paragraph(words, 2, 2, 60, 1e9f, 10));
  Draw(dib, vp, *Paragraph(u"a b c d", 2, 2, 60, 1e9f, 0.01f));
  Draw(dib, vp, *Paragraph(words, 2, 2, 60, 1e9f, 0.01f));
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // Not a timing test: an unbounded loop would run for hours, not seconds.
  EXPECT_LT(seconds, 60.0);
  Surface s(&dib);
  int blue = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) blue += BlueOf(s.GetPixel(x, y)) > RedOf(s.GetPixel(x, y)) + 40;
  EXPECT_GT(blue, 0);
}

// A 4-bit picture of four colour bands, as picture import makes them.
std::unique_ptr<Shape> Picture(RectF placement) {
  auto s = std::make_unique<Shape>(KindImage);
  DibImage& dib = s->image()->dib;
  dib.header.width = 4;
  dib.header.height = 4;
  dib.header.bitCount = 4;
  dib.colors = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};
  dib.bits.assign(size_t(dib.RequiredBits()), 0);
  for (int y = 0; y < 4; ++y) {
    uint8_t* row = dib.bits.data() + dib.RowOffsetFromTop(y);
    row[0] = uint8_t((y << 4) | ((y + 1) % 4));
    row[1] = uint8_t((((y + 2) % 4) << 4) | 3);
  }
  s->image()->placement = placement;
  s->UpdateBounds();
  return s;
}

TEST(ShapeRender, PicturesThroughTheirPalette) {
  DibImage dib = WhiteBitmap(40, 20);
  Viewport vp = UnitViewport();
  Draw(dib, vp, *Picture({2, 10, 2, 10}));
  Draw(dib, vp, *Picture({22, 14, 18, 2}));  // placed right to left and bottom up: turned over
  Draw(dib, vp, *Picture({26, 38, 4, 10}));  // stretched
  ExpectGolden(dib, "render_pictures");
}

TEST(ShapeRender, PageFrameAndViewBackground) {
  Drawing drawing;
  drawing.SetPageSize(40, 24);
  drawing.Add(Rect(-10, -6, 6, 4, MakeColor(0, 128, 255)));
  auto other = Rect(-30, -30, 30, 30, 0);
  other->pageIndex = 1;
  drawing.Add(std::move(other));
  drawing.SetPageCount(2);
  DibImage dib;
  ASSERT_TRUE(dib.Create24(56, 40));
  Surface dc(&dib);
  Viewport vp(1.0f);
  vp.setOrigin(0, 0, 28, 20);
  ViewSettings settings;
  settings.showGrid = true;
  settings.gridSpacing = 10;
  PaintViewContent(dc, drawing, vp, {0, 0, 56, 40}, 0, settings);
  ExpectGolden(dib, "render_view_page");

  settings.showPage = false;
  settings.showGrid = false;
  PaintViewContent(dc, drawing, vp, {0, 0, 56, 40}, 0, settings);
  EXPECT_EQ(dc.GetPixel(1, 1), 0xFFFFFFu);
  EXPECT_EQ(dc.GetPixel(8, 0), 0xFFFFFFu);  // no frame
  EXPECT_EQ(CountColour(dib, 0xFFFFFF) + CountColour(dib, MakeColor(0, 128, 255)) + CountColour(dib, 0),
            56 * 40);
  // A page beyond the last draws nothing.
  DibImage blank = WhiteBitmap(8, 8);
  Surface b(&blank);
  RenderPage(drawing, b, vp, {0, 0, 8, 8}, 2);
  EXPECT_EQ(CountColour(blank, 0xFFFFFF), 64);
}

TEST(ShapeRender, ClipTestGrowsBoundsByOnePixel) {
  // A thick vertical line whose bounds lie just right of the clip still
  // draws its left half into it; one pixel further it is skipped.
  const IntRect clip{0, 0, 20, 20};
  for (int gap : {0, 1}) {
    DibImage dib = WhiteBitmap(30, 20);
    Surface dc(&dib);
    Viewport vp = UnitViewport();
    ShapeRenderer r(dc, vp);
    r.DrawShape(*Polyline({{float(20 + gap), 0}, {float(20 + gap), 20}}, 6, 0), clip);
    EXPECT_EQ(CountColour(dib, 0, clip) > 0, gap == 0) << "gap " << gap;
  }
}

TEST(ShapeRender, RenderPassRestoresTheSurface) {
  DibImage dib = WhiteBitmap(10, 10);
  Surface dc(&dib);
  dc.SelectPen({PS_DOT, 2, 0x123456});
  dc.SelectBrush({BS_SOLID, 0x654321, 0});
  {
    ShapeRenderer r(dc, UnitViewport());
    r.DrawShape(*Rect(1, 1, 8, 8, 0x00FF00, kBrushSolid, 3, 0xFF));
    r.DrawShape(*Text(u"x", {0, 0}, 5));
  }
  EXPECT_EQ(dc.pen(), (Pen{PS_DOT, 2, 0x123456}));
  EXPECT_EQ(dc.brush(), (Brush{BS_SOLID, 0x654321, 0}));
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(dc.GetTextColor(), 0u);
}

TEST(ShapeRender, EveryKindAcrossEveryEdgeStaysInTheBitmap) {
  // Under AddressSanitizer any write outside the pixel rows fails here.
  for (int w : {1, 2, 3, 4, 7}) {
    for (float scale : {0.05f, 1.0f, 40.0f, 100000.0f}) {
      DibImage dib = WhiteBitmap(w, 5);
      const size_t size = dib.bits.size();
      Viewport vp(scale);
      vp.setOrigin(0, 0, w / 2, 2);
      Surface dc(&dib);
      ShapeRenderer r(dc, vp);
      const IntRect clip{0, 0, w, 5};
      r.DrawShape(*Rect(-1e6f, -1e6f, 1e6f, 1e6f, 0x00FF00, kBrushDotted, 9), clip);
      r.DrawShape(*Ring(-50, -50, 50, 50, 10, 0x0000FF), clip);
      r.DrawShape(*Rect(-3, -1e9f, 3, 1e9f, 0xFF0000, kBrushSolid, 6), clip);
      r.DrawShape(*Polyline({{-1e9f, -1e9f}, {1e9f, 1e9f}, {-1e9f, 1e9f}}, 9, 0x777777), clip);
      r.DrawShape(*MakeEllipse({-40, 40, -3, 3}), clip);
      r.DrawShape(*Text(u"Edge\r\ntext", {-5, -5}, 20, 33), clip);
      r.DrawShape(*Paragraph(u"para graph text", -20, -20, 20, 20, 8), clip);
      r.DrawShape(*Picture({-100, 100, -100, 100}), clip);
      EXPECT_EQ(dib.bits.size(), size);
    }
  }
}

}  // namespace
}  // namespace zel
