#include "model/text_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/geometry.h"
#include "model/shape.h"
#include "model/viewport.h"
#include "platform/utf16.h"

namespace zel {

namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
// Fonts keep at most the first 29 characters of a face name.
constexpr size_t kMaxFaceNameLength = 29;

}  // namespace

int TextLineCount(std::u16string_view text) {
  if (text.empty()) return 0;
  int lines = 1;
  for (size_t i = text.find(kLineBreak); i != std::u16string_view::npos;
       i = text.find(kLineBreak, i + 2)) {
    ++lines;
  }
  return lines;
}

std::u16string_view TextLine(std::u16string_view text, size_t* pos) {
  const size_t start = std::min(*pos, text.size());
  const size_t brk = text.find(kLineBreak, start);
  if (brk == std::u16string_view::npos) {
    *pos = text.size();
    return text.substr(start);
  }
  *pos = brk + kLineBreak.size();
  return text.substr(start, brk - start);
}

// The longest part of the line that fits is found in one forward pass: a
// prefix never measures narrower than a shorter one, so cutting at the last
// space, then dropping characters from the end while too wide, keeps exactly
// the longest fitting prefix that ends before a space (or, without one, the
// longest fitting prefix). Measuring the shrinking line again after every cut
// would take time quadratic in the length of a long word.
std::u16string_view WrappedTextLine(std::u16string_view text, size_t* pos, const Font& font,
                                    int boxWidth) {
  const size_t start = *pos;
  if (start >= text.size()) {
    *pos = text.size();
    return {};
  }
  if (boxWidth < 0) {
    *pos = text.size();
    return text.substr(start);
  }
  const size_t brk = text.find(kLineBreak, start);
  const size_t end = brk == std::u16string_view::npos ? text.size() : brk;
  const std::u16string_view upToBreak = text.substr(0, end);

  double width = 0.0;
  size_t fitEnd = start;  // end of the longest fitting prefix seen
  size_t spaceCut = std::u16string_view::npos;  // last space after which nothing fitted yet
  bool fitsWhole = true;
  for (size_t i = start; i < end;) {
    // A cut at a leading space would leave nothing: it is no usable space.
    if (upToBreak[i] == u' ' && i > start) spaceCut = i;
    size_t next = i;
    width += font.Advance(NextCodePoint(upToBreak, &next));
    if (Font::WidthOf(width) > boxWidth) {
      fitsWhole = false;
      break;
    }
    i = next;
    fitEnd = i;
  }

  size_t kept;
  if (fitsWhole) {
    kept = end - start;
  } else if (spaceCut != std::u16string_view::npos) {
    kept = spaceCut - start;
  } else {
    kept = fitEnd - start;
    if (kept == 0) {
      // Even one character is too wide: keep it anyway, so the text advances.
      size_t next = start;
      NextCodePoint(upToBreak, &next);
      kept = next - start;
    }
  }

  size_t p = start + kept;
  while (p < text.size() && text[p] == u' ') ++p;
  if (p < text.size() && text[p] == u'\r') ++p;
  if (p < text.size() && text[p] == u'\n') ++p;
  *pos = p;

  std::u16string_view line = text.substr(start, kept);
  while (line.size() > 1 && line.back() == u' ') line.remove_suffix(1);
  return line;
}

int ParagraphBoxWidth(const TextContent& text) {
  const float w = text.corner.x - text.anchor.x;
  // An unusable width wraps nothing rather than everything.
  if (std::isnan(w)) return -1;
  if (w >= float(kCoordLimit)) return kCoordLimit;
  if (w <= -float(kCoordLimit)) return -kCoordLimit;
  return int(w);  // toward zero
}

FontRequest TextFontRequest(const TextContent& text, const Viewport* vp) {
  FontRequest r;
  int64_t pixels;
  if (vp) {
    pixels = int64_t(vp->toScreenY(text.size)) - int64_t(vp->toScreenY(0.0f));
  } else {
    pixels = RoundToInt(text.size);
  }
  // At least one unit high: a size that rounds to 0 (or a negative one read
  // from a file) still gives a character height, never a cell height.
  pixels = std::clamp<int64_t>(pixels, 1, kCoordLimit);
  r.height = -int(pixels);
  r.escapement = NormalizeTextAngle(text.angle) * 10;
  r.weight = (text.styleBits & kTextBold) ? 700 : 400;
  r.italic = (text.styleBits & kTextItalic) != 0;
  r.underline = (text.styleBits & kTextUnderline) != 0;
  r.faceName = text.faceName.substr(0, kMaxFaceNameLength);
  return r;
}

std::shared_ptr<Font> TextFont(const TextContent& text, const Viewport* vp) {
  return Font::Open(TextFontRequest(text, vp));
}

// Lines are stacked at the font's cell height: the extent of any one-line
// text, the letter "a" included, is one cell high, so this height is exactly
// how far the bounds and the renderer advance over the lines.
TextExtent TextBlockExtent(const TextContent& text, const Font& font) {
  TextExtent block;
  size_t pos = 0;
  const int lines = TextLineCount(text.text);
  for (int i = 0; i < lines; ++i) {
    block.cx = std::max(block.cx, font.Measure(TextLine(text.text, &pos)).cx);
  }
  block.cy = int(std::min<int64_t>(int64_t(lines) * font.height(), kCoordLimit));
  return block;
}

}  // namespace zel
