#include "model/text_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/shape.h"
#include "model/viewport.h"

namespace zel {
namespace {

// Liberation Mono at an em of 2048 advances exactly 1229 units per character,
// so wrapping widths can be given in characters.
constexpr int kMonoAdvance = 1229;

std::shared_ptr<Font> Mono() {
  FontRequest r;
  r.faceName = u"Liberation Mono";
  r.height = -2048;
  auto f = Font::Open(r);
  EXPECT_TRUE(f && f->familyName() == "Liberation Mono");
  return f;
}

std::vector<std::u16string> SplitLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  size_t pos = 0;
  for (int i = 0; i < TextLineCount(text); ++i) lines.emplace_back(TextLine(text, &pos));
  return lines;
}

// Wraps the whole text, checking that every call makes progress.
std::vector<std::u16string> Wrap(const std::u16string& text, const Font& font, int width) {
  std::vector<std::u16string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t before = pos;
    lines.emplace_back(WrappedTextLine(text, &pos, font, width));
    EXPECT_GT(pos, before) << "no progress";
    if (pos <= before) break;
  }
  return lines;
}

TEST(TextLayout, LineCountAndSplit) {
  using V = std::vector<std::u16string>;
  struct Case {
    std::u16string text;
    V lines;
  } cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\r\n", {u"a", u""}},
      {u"\r\n", {u"", u""}},
      {u"\r\n\r\nx", {u"", u"", u"x"}},
      // Only the pair breaks a line; lone CR and LF are characters.
      {u"a\rb\nc", {u"a\rb\nc"}},
      {u"a\r\r\nb\n\r", {u"a\r", u"b\n\r"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextLineCount(c.text), int(c.lines.size()));
    EXPECT_EQ(SplitLines(c.text), c.lines);
  }
  size_t pos = 99;  // beyond the end: an empty line, position at the end
  EXPECT_EQ(TextLine(u"ab", &pos), u"");
  EXPECT_EQ(pos, 2u);
}

TEST(TextLayout, WrappingTable) {
  auto mono = Mono();
  ASSERT_TRUE(mono);
  using V = std::vector<std::u16string>;
  struct Case {
    std::u16string text;
    int chars;  // box width in characters
    V lines;
  } cases[] = {
      {u"hello world", 11, {u"hello world"}},               // fits exactly
      {u"hello world", 10, {u"hello", u"world"}},           // cut at the space
      {u"one two three", 9, {u"one two", u"three"}},        // cut at the last fitting space
      {u"hello world", 3, {u"hel", u"lo", u"wor", u"ld"}},  // no fitting space: drop characters
      {u"abc", 0, {u"a", u"b", u"c"}},                      // never below one character
      {u"ab   cd", 4, {u"ab", u"cd"}},                      // trailing spaces trimmed, skipped
      {u"    ", 0, {u" "}},                                 // only spaces: one kept
      {u"   ", 10, {u" "}},
      {u"  ab", 1, {u" ", u"a", u"b"}},                     // a leading space is no cut
      {u"ab\r\ncd", 10, {u"ab", u"cd"}},
      {u"ab  \r\ncd", 2, {u"ab", u"cd"}},                   // spaces then the break are skipped
      {u"\r\n\r\nx", 10, {u"", u"", u"x"}},
      {u"ab\r\n", 10, {u"ab"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Wrap(c.text, *mono, c.chars * kMonoAdvance), c.lines)
        << "width " << c.chars << " text size " << c.text.size();
  }
  // One unit short of a character is not enough for it.
  EXPECT_EQ(Wrap(u"ab cd", *mono, 2 * kMonoAdvance - 1), (V{u"a", u"b", u"c", u"d"}));
}

TEST(TextLayout, NegativeWidthTakesTheRest) {
  auto mono = Mono();
  ASSERT_TRUE(mono);
  const std::u16string text = u"first line\r\nsecond  ";
  size_t pos = 3;
  EXPECT_EQ(WrappedTextLine(text, &pos, *mono, -1), u"st line\r\nsecond  ");
  EXPECT_EQ(pos, text.size());
  EXPECT_EQ(WrappedTextLine(text, &pos, *mono, -1), u"");
  EXPECT_EQ(pos, text.size());
}

TEST(TextLayout, SurrogatePairsAreNotSplit) {
  auto mono = Mono();
  ASSERT_TRUE(mono);
  const std::u16string pair = u"\U000F0001";
  EXPECT_EQ(Wrap(pair + pair + u"a", *mono, 0), (std::vector<std::u16string>{pair, pair, u"a"}));
}

// Whatever the text and width, wrapping ends, every call advances, and no
// character other than spaces and line breaks is lost or duplicated.
TEST(TextLayout, WrappingAlwaysTerminates) {
  auto mono = Mono();
  ASSERT_TRUE(mono);
  const std::u16string texts[] = {
      u"", u" ", u"\r", u"\n", u"\r\r\r", u"\n\n", u"\n\r", u"a\rb", u"a\nb",
      u"    \r\n    ", u"x\r\n\r\n", u"word", u" a b c d e f ",
      std::u16string(5000, u'x'), u"\xD800", u"\xDC00\xD800",
  };
  auto strip = [](std::u16string_view s) {
    std::u16string out;
    for (char16_t c : s) {
      if (c != u' ' && c != u'\r' && c != u'\n') out.push_back(c);
    }
    return out;
  };
  for (const std::u16string& text : texts) {
    for (int width : {0, 1, kMonoAdvance, 3 * kMonoAdvance, 1 << 30}) {
      std::u16string joined;
      for (const std::u16string& line : Wrap(text, *mono, width)) joined += line;
      EXPECT_EQ(strip(joined), strip(text)) << "width " << width;
    }
  }
  // A long word in a narrow box: one line per character.
  EXPECT_EQ(Wrap(std::u16string(5000, u'x'), *mono, 1).size(), 5000u);
}

TextContent MakeText(std::u16string text, float size = kDefaultTextSize) {
  TextContent t;
  t.text = std::move(text);
  t.size = size;
  return t;
}

TEST(TextLayout, FontRequestOfATextObject) {
  struct Case {
    float size;
    int height;
  } sizes[] = {{kDefaultTextSize, -71}, {70.4f, -70}, {0.4f, -1}, {0.0f, -1},
               {-5.0f, -1}, {1e12f, -kCoordLimit}};
  for (const Case& c : sizes) {
    EXPECT_EQ(TextFontRequest(MakeText(u"x", c.size)).height, c.height) << c.size;
  }
  struct AngleCase {
    float angle;
    int escapement;
  } angles[] = {{0.0f, 0}, {45.4f, 450}, {45.5f, 460}, {-90.0f, 2700}, {359.6f, 0}, {725.0f, 50}};
  for (const AngleCase& c : angles) {
    TextContent t = MakeText(u"x");
    t.angle = c.angle;
    EXPECT_EQ(TextFontRequest(t).escapement, c.escapement) << c.angle;
  }

  TextContent t = MakeText(u"x");
  t.faceName = u"A face name that is much longer than allowed";
  FontRequest r = TextFontRequest(t);
  EXPECT_EQ(r.faceName, t.faceName.substr(0, 29));
  EXPECT_EQ(r.weight, 400);
  EXPECT_FALSE(r.italic);
  EXPECT_FALSE(r.underline);
  t.styleBits = kTextBold | kTextItalic | kTextUnderline;
  r = TextFontRequest(t);
  EXPECT_EQ(r.weight, 700);
  EXPECT_TRUE(r.italic);
  EXPECT_TRUE(r.underline);
}

TEST(TextLayout, FontRequestInAViewport) {
  TextContent t = MakeText(u"x", 100.0f);
  Viewport vp(0.5f);
  vp.setOrigin(-1000.0f, 333.3f, 17, 40);
  EXPECT_EQ(TextFontRequest(t, &vp).height, -(vp.toScreenY(100.0f) - vp.toScreenY(0.0f)));
  EXPECT_EQ(TextFontRequest(t, &vp).height, -50);
  Viewport tiny(0.001f);
  EXPECT_EQ(TextFontRequest(t, &tiny).height, -1);
  Viewport huge(100000.0f);
  t.size = 1e9f;
  EXPECT_LT(TextFontRequest(t, &huge).height, 0);
}

TEST(TextLayout, TextFontAndBlockExtent) {
  TextContent t = MakeText(u"ab\r\nabcd\r\n", 2048.0f);
  t.faceName = u"Liberation Mono";
  auto font = TextFont(t);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->familyName(), "Liberation Mono");
  EXPECT_EQ(font->emHeight(), 2048);
  // Widest line by lines of one cell each (the empty last line included).
  TextExtent block = TextBlockExtent(t, *font);
  EXPECT_EQ(block.cx, 4 * kMonoAdvance);
  EXPECT_EQ(block.cy, 3 * font->height());
  EXPECT_EQ(font->Measure(u"a").cy, font->height());

  t.text.clear();
  block = TextBlockExtent(t, *font);
  EXPECT_EQ(block.cx, 0);
  EXPECT_EQ(block.cy, 0);

  t.corner = {t.anchor.x + 99.9f, 0.0f};
  EXPECT_EQ(ParagraphBoxWidth(t), 99);
  t.corner.x = t.anchor.x - 99.9f;
  EXPECT_EQ(ParagraphBoxWidth(t), -99);
}

}  // namespace
}  // namespace zel
