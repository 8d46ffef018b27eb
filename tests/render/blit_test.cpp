// Block transfers: copies, stretches, flips, raster operations and pictures
// drawn through their colour tables.
#include <gtest/gtest.h>

#include "golden.h"
#include "render/surface.h"

namespace zel {
namespace {

using testing::ExpectGolden;
using testing::WhiteBitmap;

// A 4 x 3 source whose every pixel differs: red = 40 x, green = 60 y.
DibImage Gradient() {
  DibImage dib;
  EXPECT_TRUE(dib.Create24(4, 3));
  Surface s(&dib);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) s.SetPixel(x, y, MakeColor(40 * x + 10, 60 * y + 10, 200));
  return dib;
}

ColorRef SourceAt(int x, int y) { return MakeColor(40 * x + 10, 60 * y + 10, 200); }

TEST(Blit, CopyStretchAndMirror) {
  DibImage src = Gradient();
  Surface s(&src);
  struct Case {
    const char* name;
    int x, y, w, h;  // destination
    int sw, sh;      // source extent from (0, 0)
    // source pixel shown at destination pixel (dx, dy) relative to (x, y) rows/cols covered
    int (*srcX)(int);
    int (*srcY)(int);
    int cols, rows;
    int dxSign, dySign;
  } cases[] = {
      {"copy", 1, 1, 4, 3, 4, 3, [](int j) { return j; }, [](int k) { return k; }, 4, 3, 1, 1},
      {"double size", 0, 0, 8, 6, 4, 3, [](int j) { return j / 2; }, [](int k) { return k / 2; }, 8, 6, 1, 1},
      // A negative height starts at the given (last) row and goes up: an upside-down copy.
      {"flipped rows", 2, 4, 4, -3, 4, 3, [](int j) { return j; }, [](int k) { return k; }, 4, 3, 1, -1},
      {"mirrored columns", 5, 0, -4, 3, 4, 3, [](int j) { return j; }, [](int k) { return k; }, 4, 3, -1, 1},
      {"half size", 0, 0, 2, 2, 4, 3, [](int j) { return (2 * j + 1) * 4 / 4; }, [](int k) { return (2 * k + 1) * 3 / 4; }, 2, 2, 1, 1},
  };
  for (const Case& c : cases) {
    DibImage dst = WhiteBitmap(10, 8);
    Surface d(&dst);
    ASSERT_TRUE(d.StretchBlt(c.x, c.y, c.w, c.h, s, 0, 0, c.sw, c.sh, SRCCOPY)) << c.name;
    for (int k = 0; k < c.rows; ++k) {
      for (int j = 0; j < c.cols; ++j) {
        EXPECT_EQ(d.GetPixel(c.x + c.dxSign * j, c.y + c.dySign * k), SourceAt(c.srcX(j), c.srcY(k)))
            << c.name << " at " << j << "," << k;
      }
    }
    int painted = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) painted += d.GetPixel(x, y) != 0xFFFFFF;
    EXPECT_EQ(painted, c.cols * c.rows) << c.name;
  }
}

TEST(Blit, RasterOperations) {
  DibImage src = Gradient();
  Surface s(&src);
  const ColorRef dstColour = MakeColor(0x0F, 0xF0, 0x55);
  const ColorRef brush = MakeColor(0x33, 0x44, 0x55);
  struct Case {
    uint32_t rop;
    ColorRef (*f)(ColorRef s, ColorRef d, ColorRef p);
  } cases[] = {
      {SRCCOPY, [](ColorRef s, ColorRef, ColorRef) { return s; }},
      {SRCINVERT, [](ColorRef s, ColorRef d, ColorRef) { return s ^ d; }},
      {SRCAND, [](ColorRef s, ColorRef d, ColorRef) { return s & d; }},
      {SRCPAINT, [](ColorRef s, ColorRef d, ColorRef) { return s | d; }},
      {NOTSRCCOPY, [](ColorRef s, ColorRef, ColorRef) { return ~s & 0xFFFFFF; }},
      {SRCERASE, [](ColorRef s, ColorRef d, ColorRef) { return s & ~d & 0xFFFFFF; }},
      {MERGECOPY, [](ColorRef s, ColorRef, ColorRef p) { return s & p; }},
      {PATCOPY, [](ColorRef, ColorRef, ColorRef p) { return p; }},
      {PATINVERT, [](ColorRef, ColorRef d, ColorRef p) { return p ^ d; }},
      {DSTINVERT, [](ColorRef, ColorRef d, ColorRef) { return ~d & 0xFFFFFF; }},
      {BLACKNESS, [](ColorRef, ColorRef, ColorRef) { return ColorRef(0); }},
      {WHITENESS, [](ColorRef, ColorRef, ColorRef) { return ColorRef(0xFFFFFF); }},
  };
  for (const Case& c : cases) {
    DibImage dst;
    ASSERT_TRUE(dst.Create24(4, 3));
    Surface d(&dst);
    d.FillRect({0, 0, 4, 3}, dstColour);
    d.SelectBrush({BS_SOLID, brush, 0});
    ASSERT_TRUE(d.BitBlt(0, 0, 4, 3, s, 0, 0, c.rop));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        ASSERT_EQ(d.GetPixel(x, y), c.f(SourceAt(x, y), dstColour, brush)) << std::hex << c.rop << " " << x << "," << y;
  }
}

TEST(Blit, SourceInvertTwiceRestores) {
  DibImage src = Gradient();
  Surface s(&src);
  DibImage dst = Gradient();
  std::vector<uint8_t> before = dst.bits;
  Surface d(&dst);
  d.BitBlt(-1, 1, 4, 3, s, 0, 0, SRCINVERT);
  EXPECT_NE(dst.bits, before);
  d.BitBlt(-1, 1, 4, 3, s, 0, 0, SRCINVERT);
  EXPECT_EQ(dst.bits, before);
}

TEST(Blit, ClippedAtEveryEdgeAndOverlappingItself) {
  DibImage src = Gradient();
  Surface s(&src);
  DibImage dst = WhiteBitmap(3, 2);
  Surface d(&dst);
  // Far outside, partly outside, and source rectangles beyond the source.
  EXPECT_TRUE(d.StretchBlt(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, s, 0, 0, 4, 3, SRCCOPY));
  EXPECT_TRUE(d.StretchBlt(-2, -1, 4, 3, s, 0, 0, 4, 3, SRCCOPY));
  EXPECT_EQ(d.GetPixel(0, 0), SourceAt(2, 1));
  EXPECT_TRUE(d.BitBlt(0, 0, 3, 2, s, 3, 2, SRCCOPY));  // only the source's last pixel exists
  EXPECT_EQ(d.GetPixel(0, 0), SourceAt(3, 2));
  EXPECT_EQ(d.GetPixel(1, 0), SourceAt(3, 1));  // no source there: left from the copy before
  EXPECT_FALSE(d.BitBlt(0, 0, 0, 2, s, 0, 0, SRCCOPY));

  // Scrolling within one bitmap moves the picture intact.
  DibImage g = Gradient();
  Surface self(&g);
  self.BitBlt(1, 0, 3, 3, self, 0, 0, SRCCOPY);
  for (int y = 0; y < 3; ++y)
    for (int x = 1; x < 4; ++x) EXPECT_EQ(self.GetPixel(x, y), SourceAt(x - 1, y));
}

// A picture with a colour table, as picture import makes them.
DibImage Indexed(int bits, int w, int h, std::vector<uint32_t> colours, std::vector<int> indices) {
  DibImage dib;
  dib.header.width = w;
  dib.header.height = h;
  dib.header.bitCount = uint16_t(bits);
  dib.colors = std::move(colours);
  dib.bits.assign(size_t(dib.RequiredBits()), 0);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib.bits.data() + dib.RowOffsetFromTop(y);
    for (int x = 0; x < w; ++x) {
      unsigned v = unsigned(indices[size_t(y * w + x)]);
      if (bits == 8) row[x] = uint8_t(v);
      if (bits == 4) row[x / 2] |= uint8_t(v << (x % 2 ? 0 : 4));
      if (bits == 1) row[x / 8] |= uint8_t(v << (7 - x % 8));
    }
  }
  return dib;
}

TEST(Blit, PalettePicturesAndOtherDepths) {
  DibImage dst = WhiteBitmap(24, 9);
  Surface d(&dst);
  // RGBQUAD entries are 0x00RRGGBB.
  std::vector<uint32_t> four{0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0x808080,
                             0xC0C0C0, 0x800000, 0x008000, 0x000080, 0x808000, 0x008080, 0x800080, 0xFFFFFF};
  std::vector<int> idx;
  for (int i = 0; i < 16; ++i) idx.push_back(i);
  DibImage p4 = Indexed(4, 8, 2, four, idx);
  DibImage p8 = Indexed(8, 8, 2, four, {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
  DibImage p1 = Indexed(1, 8, 2, {0x0000FF, 0xFFFF00}, {1, 0, 1, 0, 1, 0, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1});
  // An index past a short table reads black.
  DibImage shortTable = Indexed(8, 2, 1, {0x00FF00}, {0, 200});
  DibImage p16;
  p16.header.width = 2;
  p16.header.height = -1;  // top-down
  p16.header.bitCount = 16;
  p16.bits = {0x00, 0x7C, 0x1F, 0x00};  // 555: pure red, pure blue
  DibImage p32;
  p32.header.width = 1;
  p32.header.height = 1;
  p32.header.bitCount = 32;
  p32.bits = {0x10, 0x20, 0x30, 0x00};
  ASSERT_TRUE(d.StretchDIBits(0, 0, 8, 2, 0, 0, 8, 2, p4, SRCCOPY));
  ASSERT_TRUE(d.StretchDIBits(0, 2, 8, 2, 0, 0, 8, 2, p8, SRCCOPY));
  ASSERT_TRUE(d.StretchDIBits(0, 4, 16, 4, 0, 0, 8, 2, p1, SRCCOPY));
  ASSERT_TRUE(d.StretchDIBits(17, 0, 2, 1, 0, 0, 2, 1, shortTable, SRCCOPY));
  ASSERT_TRUE(d.StretchDIBits(17, 2, 2, 1, 0, 0, 2, 1, p16, SRCCOPY));
  ASSERT_TRUE(d.StretchDIBits(17, 4, 3, 3, 0, 0, 1, 1, p32, SRCCOPY));
  EXPECT_EQ(d.GetPixel(1, 0), MakeColor(0xFF, 0, 0));
  EXPECT_EQ(d.GetPixel(18, 0), 0u);
  EXPECT_EQ(d.GetPixel(17, 2), MakeColor(255, 0, 0));
  EXPECT_EQ(d.GetPixel(18, 2), MakeColor(0, 0, 255));
  EXPECT_EQ(d.GetPixel(19, 6), MakeColor(0x30, 0x20, 0x10));
  DibImage broken = p8;
  broken.bits.resize(3);
  EXPECT_FALSE(d.StretchDIBits(0, 0, 8, 2, 0, 0, 8, 2, broken, SRCCOPY));
  ExpectGolden(dst, "blit_palettes");
}

}  // namespace
}  // namespace zel
