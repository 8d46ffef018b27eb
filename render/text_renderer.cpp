// Text shapes: the viewport font with its width correction, artistic text
// line by line along its angle, and paragraph text wrapped in its box.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/text_layout.h"
#include "render/shape_renderer.h"

namespace zel {

namespace {

constexpr double kDegToRadText = 0.017453292;

// The viewport font of a text object drawn at another size (in mm/10).
std::shared_ptr<Font> FontAtSize(const TextContent& text, const Viewport& vp, float size) {
  FontRequest r = TextFontRequest(text, &vp);
  int64_t pixels = int64_t(vp.toScreenY(size)) - vp.toScreenY(0.0f);
  r.height = -int(std::clamp<int64_t>(pixels, 1, kCoordLimit));
  return Font::Open(r);
}

// Hard lines ("\r\n"), or wrapped lines of a paragraph, through f.
template <class F>
void ForEachLine(const TextContent& text, const Font& design, F&& f) {
  const std::u16string_view s = text.text;
  size_t pos = 0;
  if (text.paragraph()) {
    const int limit = ParagraphBoxWidth(text);
    while (pos < s.size()) {
      if (!f(WrappedTextLine(s, &pos, design, limit))) return;
    }
    return;
  }
  const int lines = TextLineCount(s);
  for (int i = 0; i < lines; ++i) {
    if (!f(TextLine(s, &pos))) return;
  }
}

}  // namespace

void ShapeRenderer::DrawText(const Shape& shape, const TextContent& text) {
  std::shared_ptr<const Font> font = TextFont(text, &vp_);
  std::shared_ptr<const Font> design = TextFont(text, nullptr);
  if (!font || !design) return;

  // Width correction: fonts do not scale exactly with their pixel height, so
  // when the widest line comes out more than a few pixels off what the design
  // size predicts, a font one pixel smaller or larger may match better.
  std::u16string_view longest;
  bool firstLine = true;
  ForEachLine(text, *design, [&](std::u16string_view line) {
    if (firstLine || line.size() > longest.size()) longest = line;
    firstLine = false;
    return true;
  });
  const int64_t expected = int64_t(vp_.toScreenX(float(design->Measure(longest).cx))) - vp_.toScreenX(0.0f);
  const int64_t error = font->Measure(longest).cx - expected;
  const int screenSize = vp_.toScreenY(text.size);
  if (error >= 3) {
    if (auto smaller = FontAtSize(text, vp_, vp_.fromScreenY(screenSize - 1))) {
      int64_t e2 = smaller->Measure(longest).cx - expected;
      if (!(std::llabs(e2) > std::llabs(error) && e2 < -5)) font = smaller;
    }
  } else if (error < -5) {
    if (auto larger = FontAtSize(text, vp_, vp_.fromScreenY(screenSize + 1))) {
      int64_t e2 = larger->Measure(longest).cx - expected;
      if (!(std::llabs(e2) > std::llabs(error) || e2 > 9)) font = larger;
    }
  }

  std::shared_ptr<const Font> oldFont = dc_.SelectFont(font);
  ColorRef oldColor = dc_.SetTextColor(shape.fillColor);
  int oldBk = dc_.SetBkMode(TRANSPARENT);
  if (text.paragraph()) {
    DrawParagraphText(text, *font, *design);
  } else {
    DrawArtisticText(text, *font);
  }
  dc_.SetBkMode(oldBk);
  dc_.SetTextColor(oldColor);
  dc_.SelectFont(std::move(oldFont));
}

void ShapeRenderer::DrawArtisticText(const TextContent& text, const Font& font) {
  int64_t x = vp_.toScreenX(text.anchor.x);
  int64_t y = vp_.toScreenY(text.anchor.y);
  const int h = font.Measure(u"a").cy;
  const int blockWidth = dc_.CalcTextRect(text.text).cx;
  const double a = text.angle * kDegToRadText;
  const double c = std::cos(a), s = std::sin(a);
  const int64_t stepX = RoundToInt(s * h), stepY = RoundToInt(c * h);
  ForEachLine(text, font, [&](std::u16string_view line) {
    int w = font.Measure(line).cx;
    int o = text.alignment == kAlignCenter ? (blockWidth - w) / 2 : text.alignment == kAlignRight ? blockWidth - w : 0;
    dc_.ExtTextOutW(int(std::clamp<int64_t>(x + RoundToInt(c * o), -kCoordLimit, kCoordLimit)),
                    int(std::clamp<int64_t>(y - RoundToInt(s * o), -kCoordLimit, kCoordLimit)), line);
    x += stepX;
    y += stepY;
    return true;
  });
}

void ShapeRenderer::DrawParagraphText(const TextContent& text, const Font& font, const Font& design) {
  const int left = vp_.toScreenX(text.anchor.x), top = vp_.toScreenY(text.anchor.y);
  const int right = vp_.toScreenX(text.corner.x), bottom = vp_.toScreenY(text.corner.y);
  // A line height below one would never reach the end of the box.
  const int64_t hs = std::max(1, font.Measure(u"a").cy);
  const int64_t hd = std::max(1, design.Measure(u"a").cy);
  const double boxHeight = std::fabs(double(text.corner.y) - text.anchor.y) + 1.0;
  if (double(hd) <= boxHeight) {
    const int64_t clipBottom = dc_.clip().bottom;
    int64_t y = top;
    double used = double(hd);
    // Besides filling the box, the lines stop when the text runs out (the
    // rest would be empty) or when they pass the bottom of the surface, so a
    // box of any height costs no more than what shows.
    ForEachLine(text, design, [&](std::u16string_view line) {
      int w = font.Measure(line).cx;
      int64_t x = text.alignment == kAlignCenter ? left + (int64_t(right) - left - w) / 2
                  : text.alignment == kAlignRight ? int64_t(right) - w
                                                  : left;
      dc_.ExtTextOutW(int(std::clamp<int64_t>(x, -kCoordLimit, kCoordLimit)), int(y), line);
      y += hs;
      used += double(hd);
      return used <= boxHeight && y < clipBottom;
    });
  }
  dc_.DrawFocusRect({left, top, int(std::min<int64_t>(int64_t(right) + 1, INT32_MAX)),
                     int(std::min<int64_t>(int64_t(bottom) + 1, INT32_MAX))});
}

}  // namespace zel
