// Text on the drawing surface: what the extents and layouts report is what
// is drawn, rotation by escapement, colours and modes.
#include <gtest/gtest.h>

#include <algorithm>

#include "golden.h"
#include "render/surface.h"

namespace zel {
namespace {

using testing::ExpectGolden;
using testing::WhiteBitmap;

// Antialiased glyphs vary slightly between FreeType releases.
constexpr int kTextTolerance = 24;

std::shared_ptr<const Font> Sans(int emPixels, int escapement = 0, int weight = 400, bool italic = false,
                                 bool underline = false) {
  FontRequest r;
  r.height = -emPixels;
  r.escapement = escapement;
  r.weight = weight;
  r.italic = italic;
  r.underline = underline;
  r.faceName = u"DejaVu Sans";
  return Font::Open(r);
}

// Bounding box of the pixels that are not white; empty when none.
IntRect Ink(Surface& s) {
  IntRect r{s.width(), s.height(), 0, 0};
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      if (s.GetPixel(x, y) == 0xFFFFFF) continue;
      r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    }
  }
  return r;
}

TEST(SurfaceText, ExtentsDescribeTheDrawnPixels) {
  for (int em : {7, 12, 23}) {
    for (std::u16string text : {u"Hello", u"ill", u"WWW mmm", u"x"}) {
      DibImage dib = WhiteBitmap(200, 60);
      Surface dc(&dib);
      auto font = Sans(em);
      ASSERT_TRUE(font);
      dc.SelectFont(font);
      dc.SetBkMode(TRANSPARENT);
      TextExtent e = dc.GetTextExtent(text);
      EXPECT_EQ(e.cy, font->height());
      ASSERT_TRUE(dc.ExtTextOutW(10, 5, text));
      IntRect ink = Ink(dc);
      // Glyphs may reach a pixel past their advance (antialiased edges).
      EXPECT_GE(ink.left, 10 - 1) << em;
      EXPECT_LE(ink.right, 10 + e.cx + 1) << em;
      EXPECT_GE(ink.top, 5) << em;
      EXPECT_LE(ink.bottom, 5 + e.cy) << em;
      // Wide enough: the ink spans most of the measured width.
      EXPECT_GE(ink.right - ink.left, e.cx * 2 / 3) << em;

      std::vector<int> dx;
      int fit = 0;
      TextExtent ex = dc.GetTextExtentExPointW(text, e.cx, &fit, &dx);
      EXPECT_EQ(ex.cx, e.cx);
      EXPECT_EQ(fit, int(text.size()));
      EXPECT_EQ(dx.back(), e.cx);
      EXPECT_TRUE(std::is_sorted(dx.begin(), dx.end()));
      dc.GetTextExtentExPointW(text, e.cx - 1, &fit, nullptr);
      EXPECT_LT(fit, int(text.size()));
    }
  }
}

TEST(SurfaceText, CalculatedRectangleIsTheDrawnLayout) {
  DibImage dib = WhiteBitmap(120, 80);
  Surface dc(&dib);
  dc.SelectFont(Sans(11));
  const std::u16string text = u"one\r\nlonger line\nx\rend";
  TextExtent block = dc.CalcTextRect(text);
  const int h = dc.font()->height();
  EXPECT_EQ(block.cy, 4 * h);
  EXPECT_EQ(block.cx, dc.GetTextExtent(u"longer line").cx);
  EXPECT_EQ(dc.CalcTextRect(u"").cy, h);  // one empty line
  dc.SetBkMode(TRANSPARENT);
  dc.DrawTextW(text, {4, 2, 4 + block.cx, 2 + block.cy}, Surface::Align::kRight);
  IntRect ink = Ink(dc);
  EXPECT_GE(ink.left, 3);
  EXPECT_LE(ink.right, 4 + block.cx + 1);
  EXPECT_GE(ink.top, 2);
  EXPECT_LE(ink.bottom, 2 + block.cy);
  EXPECT_GT(ink.bottom, 2 + 3 * h);  // the fourth line is drawn
}

TEST(SurfaceText, RotatedStylesAndBackgrounds) {
  DibImage dib = WhiteBitmap(96, 72);
  Surface dc(&dib);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(MakeColor(200, 0, 0));
  dc.SelectFont(Sans(12, 900));  // reads upwards from (4, 66)
  dc.ExtTextOutW(4, 66, u"Up 90");
  dc.SelectFont(Sans(12, 450));
  dc.ExtTextOutW(20, 60, u"Slope");
  dc.SelectFont(Sans(12, 1800));
  dc.ExtTextOutW(94, 30, u"Flip");
  dc.SetTextColor(0x000000);
  dc.SelectFont(Sans(11, 0, 700, true, true));  // bold italic underlined
  dc.ExtTextOutW(44, 36, u"Bold");
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(MakeColor(255, 255, 0));
  dc.SelectFont(Sans(10));
  dc.ExtTextOutW(44, 54, u"opaque");
  ExpectGolden(dib, "text_rotated", kTextTolerance, 12);
}

TEST(SurfaceText, NinetyDegreesRunsUpTheColumn) {
  DibImage dib = WhiteBitmap(40, 120);
  Surface dc(&dib);
  auto font = Sans(14, 900);
  dc.SelectFont(font);
  dc.SetBkMode(TRANSPARENT);
  TextExtent e = dc.GetTextExtent(u"Column");
  dc.ExtTextOutW(5, 110, u"Column");
  IntRect ink = Ink(dc);
  // The cell turns about its top-left corner: it covers x 5 .. 5 + height
  // and rises from y 110 by the text's width.
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.right, 5 + e.cy);
  EXPECT_LE(ink.bottom, 110 + 1);
  EXPECT_GE(ink.top, 110 - e.cx - 1);
  EXPECT_LT(ink.top, 110 - e.cx * 2 / 3);
}

TEST(SurfaceText, ExclusiveOrTextDrawnTwiceRestores) {
  DibImage dib = WhiteBitmap(80, 30);
  Surface dc(&dib);
  dc.FillRect({0, 0, 40, 30}, MakeColor(10, 120, 230));
  const std::vector<uint8_t> before = dib.bits;
  dc.SelectFont(Sans(16, 150));
  dc.SetBkMode(TRANSPARENT);
  dc.SetROP2(R2_NOTXORPEN);
  dc.ExtTextOutW(2, 4, u"Feedback");
  EXPECT_NE(dib.bits, before);
  dc.ExtTextOutW(2, 4, u"Feedback");
  EXPECT_EQ(dib.bits, before);
}

TEST(SurfaceText, TextFarOffTheBitmapIsCheap) {
  DibImage dib = WhiteBitmap(8, 8);
  Surface dc(&dib);
  dc.SelectFont(Sans(1 << 20));  // a million pixels high
  dc.SetBkMode(TRANSPARENT);
  EXPECT_TRUE(dc.ExtTextOutW(INT32_MIN / 2, INT32_MAX / 2, u"far"));
  EXPECT_TRUE(dc.ExtTextOutW(-3, -3, u"huge"));
  dc.SelectFont(Sans(9));
  EXPECT_TRUE(dc.ExtTextOutW(INT32_MAX, INT32_MIN, u"edge"));
}

}  // namespace
}  // namespace zel
