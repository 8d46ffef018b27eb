// Text output and measurement of the drawing surface. Every measurement goes
// through the same Font the glyphs are placed with, so extents and layouts
// describe exactly the pixels drawn.
#include <algorithm>
#include <cmath>

#include "platform/utf16.h"
#include "render/surface.h"

namespace zel {

namespace {

constexpr double kTenthDegreeToRad = 3.14159265358979323846 / 1800.0;

// Splits a text at "\r\n", "\r" or "\n".
template <class F>
void ForEachLine(std::u16string_view text, F&& f) {
  size_t start = 0;
  for (;;) {
    size_t brk = text.find_first_of(u"\r\n", start);
    if (brk == std::u16string_view::npos) {
      f(text.substr(start));
      return;
    }
    f(text.substr(start, brk - start));
    start = brk + 1;
    if (text[brk] == u'\r' && start < text.size() && text[start] == u'\n') ++start;
  }
}

}  // namespace

const Font* Surface::font() const {
  if (font_) return font_.get();
  if (!defaultFont_) defaultFont_ = Font::Open(FontRequest{});
  return defaultFont_.get();
}

TextExtent Surface::GetTextExtent(std::u16string_view text) const {
  const Font* f = font();
  return f ? f->Measure(text) : TextExtent{};
}

TextExtent Surface::GetTextExtentExPointW(std::u16string_view text, int maxExtent, int* fit,
                                          std::vector<int>* dx) const {
  const Font* f = font();
  if (fit) *fit = 0;
  if (dx) dx->assign(text.size(), 0);
  if (!f) return {};
  double sum = 0.0;
  size_t i = 0;
  bool fitting = true;
  while (i < text.size()) {
    size_t start = i;
    sum += f->Advance(NextCodePoint(text, &i));
    int end = Font::WidthOf(sum);
    if (dx) std::fill(dx->begin() + ptrdiff_t(start), dx->begin() + ptrdiff_t(i), end);
    if (fitting && end <= maxExtent) {
      if (fit) *fit = int(i);
    } else {
      fitting = false;
    }
  }
  return {Font::WidthOf(sum), f->height()};
}

TextExtent Surface::CalcTextRect(std::u16string_view text) const {
  const Font* f = font();
  if (!f) return {};
  TextExtent e;
  int64_t lines = 0;
  ForEachLine(text, [&](std::u16string_view line) {
    e.cx = std::max(e.cx, f->Measure(line).cx);
    ++lines;
  });
  e.cy = int(std::min<int64_t>(lines * f->height(), kCoordLimit));
  return e;
}

void Surface::DrawTextW(std::u16string_view text, const IntRect& r, Align align) {
  const Font* f = font();
  if (!f) return;
  int64_t y = r.top;
  ForEachLine(text, [&](std::u16string_view line) {
    if (y >= clip_.bottom || y > kCoordLimit) return;
    int w = f->Measure(line).cx;
    int64_t x = align == Align::kLeft ? r.left
                : align == Align::kRight ? int64_t(r.right) - w
                                         : r.left + (int64_t(r.right) - r.left - w) / 2;
    ExtTextOutW(int(std::clamp<int64_t>(x, -kCoordLimit, kCoordLimit)), int(y), line);
    y += f->height();
  });
}

bool Surface::ExtTextOutW(int x, int y, std::u16string_view text) {
  const Font* f = font();
  if (!f || !drawable()) return false;
  const double a = f->request().escapement * kTenthDegreeToRad;
  const double c = std::cos(a), s = std::sin(a);
  if (bkMode_ == OPAQUE) {
    // The cell, turned with the text: along the baseline (c, -s), down (s, c).
    double w = f->Measure(text).cx, h = f->height();
    PointD box[4] = {{double(x), double(y)},
                     {x + w * c, y - w * s},
                     {x + w * c + h * s, y - w * s + h * c},
                     {x + h * s, double(y) + h * c}};
    scan_.Reset(clip_);
    scan_.AddPolygon(box, 4);
    spans_.clear();
    scan_.Sweep(FillRule::kNonZero, spans_);
    FillSpans(spans_, bkColor_, R2_COPYPEN);
  }
  // The baseline lies one ascent below the top of the cell.
  double bx = x + f->ascent() * s, by = y + f->ascent() * c;
  coverage_.clear();
  PixelBox box{clip_.left, clip_.top, clip_.right, clip_.bottom};
  if (!RasterizeText(*f, text, bx, by, box, coverage_)) return false;
  BlendCoverage(coverage_, textColor_);
  return true;
}

void Surface::BlendCoverage(const std::vector<CoverageSpan>& spans, ColorRef color) {
  const uint8_t cb = uint8_t(BlueOf(color)), cg = uint8_t(GreenOf(color)), cr = uint8_t(RedOf(color));
  if (rop2_ != R2_COPYPEN) {
    // Other pen modes act on the pixels at least half covered, so that text
    // drawn twice in an exclusive-or mode restores the picture.
    PenOp op = MakePenOp(rop2_, color);
    for (const CoverageSpan& s : spans) {
      if (s.coverage < 128) continue;
      uint8_t* p = PixelAddress(s.x, s.y);
      for (int n = s.length; n > 0; --n, p += 3) op.Apply(p);
    }
    return;
  }
  for (const CoverageSpan& s : spans) {
    const unsigned k = s.coverage, rest = 255 - k;
    uint8_t* p = PixelAddress(s.x, s.y);
    for (int n = s.length; n > 0; --n, p += 3) {
      p[0] = uint8_t((p[0] * rest + cb * k + 127) / 255);
      p[1] = uint8_t((p[1] * rest + cg * k + 127) / 255);
      p[2] = uint8_t((p[2] * rest + cr * k + 127) / 255);
    }
  }
}

}  // namespace zel
