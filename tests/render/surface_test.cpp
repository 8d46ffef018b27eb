// The drawing surface's lines, areas, modes and clipping.
#include "render/surface.h"

#include <gtest/gtest.h>

#include <random>

#include "golden.h"

namespace zel {
namespace {

using testing::ExpectGolden;
using testing::WhiteBitmap;

// A bitmap of random pixels, so that a mode that damages any bit shows.
DibImage NoiseBitmap(int w, int h, unsigned seed) {
  DibImage dib;
  EXPECT_TRUE(dib.Create24(w, h));
  std::mt19937 rng(seed);
  for (uint8_t& b : dib.bits) b = uint8_t(rng());
  return dib;
}

TEST(Surface, PenModesFollowTheirTruthTables) {
  // Bit (p << 1) | d of mode - 1 is the result for pen bit p and pixel bit d.
  std::mt19937 rng(5);
  for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
    for (int trial = 0; trial < 20; ++trial) {
      ColorRef pen = rng() & 0xFFFFFF;
      uint8_t px[3] = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
      uint8_t before[3] = {px[0], px[1], px[2]};
      MakePenOp(mode, pen).Apply(px);
      uint8_t penBytes[3] = {uint8_t(BlueOf(pen)), uint8_t(GreenOf(pen)), uint8_t(RedOf(pen))};
      for (int ch = 0; ch < 3; ++ch) {
        for (int bit = 0; bit < 8; ++bit) {
          int p = (penBytes[ch] >> bit) & 1, d = (before[ch] >> bit) & 1;
          int expected = ((mode - 1) >> ((p << 1) | d)) & 1;
          ASSERT_EQ((px[ch] >> bit) & 1, expected) << "mode " << mode;
        }
      }
    }
  }
}

TEST(Surface, LinesLeaveOutTheirEndPixel) {
  DibImage dib = WhiteBitmap(8, 4);
  Surface dc(&dib);
  dc.MoveTo(1, 1);
  dc.LineTo(5, 1);
  EXPECT_EQ(dc.GetPixel(1, 1), 0u);
  EXPECT_EQ(dc.GetPixel(4, 1), 0u);
  EXPECT_EQ(dc.GetPixel(5, 1), 0xFFFFFFu);
  EXPECT_EQ(dc.currentPosition(), (IntPoint{5, 1}));
  IntPoint poly[] = {{0, 3}, {3, 3}, {3, 0}};
  dc.Polyline(poly, 3);
  EXPECT_EQ(dc.GetPixel(3, 3), 0u);    // the joint
  EXPECT_EQ(dc.GetPixel(3, 1), 0u);
  EXPECT_EQ(dc.GetPixel(3, 0), 0xFFFFFFu);  // the last point
}

TEST(Surface, LinesInEveryDirection) {
  DibImage dib = WhiteBitmap(25, 25);
  Surface dc(&dib);
  const IntPoint ends[] = {{24, 12}, {24, 18}, {18, 24}, {12, 24}, {6, 24}, {0, 18}, {0, 12}, {0, 6},
                           {6, 0},   {12, 0},  {18, 0},  {24, 6},  {24, 0}, {0, 0},  {0, 24}, {24, 24}};
  for (const IntPoint& e : ends) {
    dc.MoveTo(12, 12);
    dc.LineTo(e.x, e.y);
  }
  ExpectGolden(dib, "surface_lines");
}

TEST(Surface, PenWidthsAndStyles) {
  DibImage dib = WhiteBitmap(48, 50);
  Surface dc(&dib);
  int y = 3;
  for (int w : {0, 1, 2, 3, 4, 7}) {
    dc.SelectPen({PS_SOLID, w, 0x000000});
    dc.MoveTo(3, y);
    dc.LineTo(20, y);
    dc.MoveTo(26 + w, y - 1);
    dc.LineTo(44, y + 2);
    y += w < 2 ? 3 : w + 3;
  }
  // Gaps of styled pens show the background colour only in opaque mode.
  dc.SetBkColor(0x0000FF);
  y = 34;
  for (int mode : {TRANSPARENT, OPAQUE}) {
    dc.SetBkMode(mode);
    for (int style = PS_DASH; style <= PS_DASHDOTDOT; ++style, y += 2) {
      dc.SelectPen({style, 0, 0x000000});
      IntPoint pts[] = {{1, y}, {47, y}};
      dc.Polyline(pts, 2);
    }
  }
  ExpectGolden(dib, "surface_pens");
}

TEST(Surface, DashPatternsKeepTheirPhase) {
  // The same dashed line drawn whole and in two pieces by LineTo looks the same.
  DibImage a = WhiteBitmap(60, 3), b = WhiteBitmap(60, 3);
  Surface da(&a), db(&b);
  for (Surface* dc : {&da, &db}) dc->SelectPen({PS_DASHDOT, 0, 0}), dc->SetBkMode(TRANSPARENT);
  da.MoveTo(0, 1);
  da.LineTo(59, 1);
  db.MoveTo(0, 1);
  db.LineTo(17, 1);
  db.LineTo(59, 1);
  EXPECT_EQ(a.bits, b.bits);
}

TEST(Surface, PolygonsRectanglesEllipses) {
  DibImage dib = WhiteBitmap(48, 32);
  Surface dc(&dib);
  dc.SelectBrush({BS_SOLID, 0x00C000, 0});
  dc.SelectPen({PS_SOLID, 0, 0x000000});
  // A five-pointed star: its centre stays open under the alternate rule and
  // is filled under the winding rule.
  IntPoint star[] = {{8, 1}, {13, 15}, {1, 6}, {15, 6}, {3, 15}};
  dc.Polygon(star, 5);
  dc.SetPolyFillMode(WINDING);
  for (IntPoint& p : star) p.x += 16;
  dc.Polygon(star, 5);
  dc.SetPolyFillMode(ALTERNATE);
  dc.SelectBrush({BS_SOLID, 0xFF0000, 0});
  dc.Rectangle(34, 2, 46, 10);
  dc.Rectangle(34, 12, 35, 16);  // one pixel wide
  dc.SelectPen({PS_SOLID, 3, 0x0000FF});
  dc.Rectangle(38, 13, 46, 17);
  dc.SelectPen(kNullPen);
  dc.Ellipse(2, 19, 14, 30);
  dc.SelectPen(kBlackPen);
  dc.SelectBrush(kNullBrush);
  dc.Ellipse(16, 19, 30, 30);
  dc.SelectBrush({BS_SOLID, 0x00FFFF, 0});
  dc.Ellipse(33, 21, 38, 26);  // the 5 x 5 disc of a handle
  dc.FillRect({40, 20, 47, 31}, 0x808080);
  ExpectGolden(dib, "surface_areas");
}

TEST(Surface, FocusRectangleInvertsEveryOtherFramePixel) {
  DibImage dib = WhiteBitmap(10, 8);
  Surface dc(&dib);
  dc.DrawFocusRect({1, 1, 9, 7});
  ExpectGolden(dib, "surface_focus_rect");
}

TEST(Surface, ExclusiveOrDrawingTwiceRestoresEveryPixel) {
  DibImage dib = NoiseBitmap(40, 30, 99);
  const std::vector<uint8_t> original = dib.bits;
  Surface dc(&dib);
  IntPoint zigzag[] = {{-5, 3}, {20, 28}, {22, 2}, {45, 25}, {10, 12}};
  auto drawAll = [&] {
    for (int width : {0, 1, 2, 5}) {
      dc.SelectPen({PS_SOLID, width, MakeColor(200, 30, 90)});
      dc.Polyline(zigzag, 5);
      dc.SelectPen({PS_DASH, width, MakeColor(10, 250, 0)});
      dc.Polygon(zigzag, 5);
    }
    dc.SelectBrush({BS_SOLID, 0x123456, 0});
    dc.Polygon(zigzag, 5);
    dc.Rectangle(3, 4, 30, 20);
    dc.Ellipse(-10, 5, 25, 40);
    dc.SelectBrush(kNullBrush);
    dc.Rectangle(5, 5, 6, 25);
    dc.DrawFocusRect({2, 2, 38, 27});
    dc.DrawFocusRect({7, 7, 8, 8});
    dc.MoveTo(0, 0);
    dc.LineTo(39, 29);
  };
  for (int mode : {R2_NOTXORPEN, R2_XORPEN, R2_NOT}) {
    dc.SetROP2(mode);
    for (int bk : {TRANSPARENT, OPAQUE}) {
      dc.SetBkMode(bk);
      drawAll();
      ASSERT_NE(dib.bits, original) << "mode " << mode;
      drawAll();
      ASSERT_EQ(dib.bits, original) << "mode " << mode << " background " << bk;
    }
  }
}

TEST(Surface, DrawingAcrossEveryEdgeStaysInsideTheClip) {
  // Shapes reaching far past every side of the bitmap and of a clip inside it:
  // nothing outside the clip changes (and under AddressSanitizer nothing
  // outside the bitmap is touched).
  const int big = 1 << 30;
  for (int w : {1, 2, 3, 4, 7, 13}) {
    DibImage dib = NoiseBitmap(w, 9, unsigned(w));
    const std::vector<uint8_t> original = dib.bits;
    Surface dc(&dib);
    IntRect clip{w > 2 ? 1 : 0, 2, w > 2 ? w - 1 : w, 7};
    dc.SetClipRect(clip);
    dc.SelectBrush({BS_SOLID, 0x00FF00, 0});
    for (int width : {0, 1, 3, 8}) {
      dc.SelectPen({PS_SOLID, width, 0xFF00FF});
      IntPoint across[] = {{-big, -big}, {big, 4}, {3, big}, {-big, big}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}};
      dc.Polygon(across, 6);
      dc.Polyline(across, 6);
      dc.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
      dc.Ellipse(-big, -3, big, 12);
      dc.MoveTo(INT32_MIN, 5);
      dc.LineTo(INT32_MAX, 6);
    }
    dc.DrawFocusRect({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    dc.FillRect({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 0x0000FF);
    dc.ResetClip();
    Surface probe(&dib);
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < w; ++x) {
        bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
        if (inside) continue;
        const uint64_t o = dib.RowOffsetFromTop(y) + 3 * uint64_t(x);
        ASSERT_EQ(dib.bits[o], original[o]) << "width " << w << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(Surface, OnlyDrawableBitmapsAreDrawnOn) {
  DibImage eight;
  eight.header.width = 4;
  eight.header.height = 4;
  eight.header.bitCount = 8;
  eight.colors.assign(256, 0);
  eight.bits.assign(16, 7);
  Surface dc(&eight);
  EXPECT_EQ(dc.width(), 0);
  dc.FillRect({0, 0, 4, 4}, 0xFFFFFF);
  dc.MoveTo(0, 0);
  dc.LineTo(3, 3);
  EXPECT_EQ(eight.bits, std::vector<uint8_t>(16, 7));
  EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);

  DibImage dib = WhiteBitmap(3, 2);
  EXPECT_EQ(dc.SelectBitmap(&dib), &eight);
  EXPECT_EQ(dc.GetPixel(2, 1), 0xFFFFFFu);
  EXPECT_EQ(dc.GetPixel(3, 1), CLR_INVALID);
  EXPECT_EQ(dc.GetPixel(-1, 0), CLR_INVALID);
  EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
  EXPECT_EQ(dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE, 0);
}

TEST(Surface, SelectAndSetReturnWhatWasThere) {
  Surface dc;
  EXPECT_EQ(dc.SelectPen({PS_DOT, 2, 5}), kBlackPen);
  EXPECT_EQ(dc.SelectPen(kBlackPen), (Pen{PS_DOT, 2, 5}));
  EXPECT_EQ(dc.SelectBrush(kNullBrush), kWhiteBrush);
  EXPECT_EQ(dc.SetROP2(R2_NOTXORPEN), R2_COPYPEN);
  EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
  EXPECT_EQ(dc.SetTextColor(0x123456), 0u);
  EXPECT_EQ(dc.SetBkColor(0), 0xFFFFFFu);
}

}  // namespace
}  // namespace zel
