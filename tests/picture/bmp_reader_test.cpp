// Our BMP and 2BP readers over built files: every depth, coding, header
// and row order at awkward sizes, checked against the picture the file
// was built from and against ImageMagick's reading of the same file; then
// the damaged and hostile headers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interchange/picture/bmp_reader.h"
#include "interchange/picture/picture_decoder.h"
#include "interchange/picture/two_bp_reader.h"
#include "tests/picture/bmp_builder.h"
#include "tests/picture/magick.h"

namespace zel {
namespace {

using test::BmpCoding;
using test::BmpSpec;

struct Variant {
  const char* name;
  int bitCount;
  BmpCoding coding;
  uint32_t headerSize;
  bool topDown;
};

const Variant kVariants[] = {
    {"1 bit", 1, BmpCoding::kRgb, 40, false},
    {"1 bit core header", 1, BmpCoding::kRgb, 12, false},
    {"4 bits", 4, BmpCoding::kRgb, 40, false},
    {"4 bits top-down", 4, BmpCoding::kRgb, 40, true},
    {"8 bits", 8, BmpCoding::kRgb, 40, false},
    {"8 bits v5 header", 8, BmpCoding::kRgb, 124, false},
    {"RLE4", 4, BmpCoding::kRle, 40, false},
    {"RLE8", 8, BmpCoding::kRle, 40, false},
    {"16 bits 5-5-5", 16, BmpCoding::kRgb, 40, false},
    {"16 bits 5-6-5 fields", 16, BmpCoding::kBitfields, 40, false},
    {"16 bits 5-6-5 v4 header", 16, BmpCoding::kBitfields, 108, false},
    {"24 bits", 24, BmpCoding::kRgb, 40, false},
    {"24 bits top-down", 24, BmpCoding::kRgb, 40, true},
    {"24 bits core header", 24, BmpCoding::kRgb, 12, false},
    {"32 bits", 32, BmpCoding::kRgb, 40, false},
    {"32 bits fields top-down", 32, BmpCoding::kBitfields, 40, true},
    {"32 bits fields v5 header", 32, BmpCoding::kBitfields, 124, false},
};

// Widths 1-4 and 7 exercise every row padding; 1 x N and N x 1 the
// degenerate shapes.
const std::pair<int, int> kSizes[] = {{1, 1}, {2, 3}, {3, 2}, {4, 4}, {7, 5}, {1, 9}, {9, 1}, {33, 17}};

TEST(BmpReader, ReadsEveryDepthAndCodingAtAwkwardSizes) {
  ZEL_REQUIRE_IMAGEMAGICK();
  test::TempFolder folder;
  for (const Variant& v : kVariants) {
    for (auto [w, h] : kSizes) {
      BmpSpec spec;
      spec.width = w;
      spec.height = h;
      spec.bitCount = v.bitCount;
      spec.coding = v.coding;
      spec.headerSize = v.headerSize;
      spec.topDown = v.topDown;
      SCOPED_TRACE(std::string(v.name) + " " + std::to_string(w) + " x " + std::to_string(h));
      const std::vector<uint8_t> file = test::BuildBmp(spec);
      DibImage dib;
      PictureError error;
      ASSERT_TRUE(DecodeBmp(file, &dib, &error)) << error.detail;
      EXPECT_EQ(dib.header.bitCount, 24);
      const test::RgbPicture ours = test::FromDib(dib);
      EXPECT_TRUE(test::SamePixels(ours, test::ExpectedPicture(spec), 0));

      const std::string path = folder.File("v.bmp");
      ASSERT_TRUE(test::WriteFileBytes(path, file));
      test::RgbPicture theirs;
      ASSERT_TRUE(test::MagickDecode(path, &theirs)) << "ImageMagick refuses the built file";
      EXPECT_TRUE(test::SamePixels(ours, theirs, 0));
    }
  }
}

TEST(BmpReader, MissingPaddingAfterTheLastRowIsAccepted) {
  BmpSpec spec;
  spec.width = 7;
  spec.height = 3;
  spec.dropLastPadding = true;
  DibImage dib;
  ASSERT_TRUE(DecodeBmp(test::BuildBmp(spec), &dib, nullptr));
  EXPECT_TRUE(test::SamePixels(test::FromDib(dib), test::ExpectedPicture(spec), 0));
}

TEST(BmpReader, TwoBitPicturesUseTheirTableOrTheDeviceGreys) {
  for (auto [w, h] : kSizes) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    BmpSpec spec;
    spec.width = w;
    spec.height = h;
    spec.bitCount = 2;
    DibImage dib;
    PictureError error;
    // With a colour table: the table's colours, through both entry points.
    ASSERT_TRUE(Decode2bp(test::BuildBmp(spec), &dib, &error)) << error.detail;
    EXPECT_TRUE(test::SamePixels(test::FromDib(dib), test::ExpectedPicture(spec), 0));
    ASSERT_TRUE(DecodePicture(test::BuildBmp(spec), &dib, &error)) << error.detail;
    EXPECT_TRUE(test::SamePixels(test::FromDib(dib), test::ExpectedPicture(spec), 0));

    // Without one, as the device writes them: its four greys.
    spec.withPalette = false;
    ASSERT_TRUE(Decode2bp(test::BuildBmp(spec), &dib, &error)) << error.detail;
    const test::RgbPicture grey = test::FromDib(dib);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const uint32_t c = k2bpGreys[test::TestIndex(x, y, 4)];
        ASSERT_EQ(grey.At(x, y)[0], uint8_t(c >> 16)) << x << "," << y;
        ASSERT_EQ(grey.At(x, y)[1], uint8_t(c >> 8));
        ASSERT_EQ(grey.At(x, y)[2], uint8_t(c));
      }
    }
  }
  BmpSpec eight;
  eight.bitCount = 8;
  PictureError error;
  DibImage dib;
  EXPECT_FALSE(Decode2bp(test::BuildBmp(eight), &dib, &error));
  EXPECT_EQ(error.message, kPictureNotRecognised);
}

// Hand-made RLE data: encoded runs of two alternating nibbles, a delta, an
// absolute run that needs padding, a run past the row end (clipped), and a
// delta beyond the last row (ends the picture).
TEST(BmpReader, RunLengthCornerCases) {
  auto build = [](int bitCount, std::vector<uint8_t> data, int w, int h) {
    BmpSpec spec;
    spec.width = w;
    spec.height = h;
    spec.bitCount = bitCount;
    std::vector<uint8_t> f = test::BuildBmp(spec);  // uncompressed, to borrow its headers
    const uint32_t offset = test::Le32Of(f, 10);
    f.resize(offset);
    f[30] = bitCount == 8 ? 1 : 2;  // compression
    f.insert(f.end(), data.begin(), data.end());
    return f;
  };
  auto index = [](const DibImage& dib, int x, int yFromTop) {
    const test::RgbPicture p = test::FromDib(dib);
    const uint8_t* c = p.At(x, yFromTop);
    const uint32_t rgb = (uint32_t(c[0]) << 16) | (uint32_t(c[1]) << 8) | c[2];
    for (int i = 0; i < 16; ++i)
      if (test::TestColor(i) == rgb) return i;
    return -1;
  };
  DibImage dib;
  PictureError error;
  // RLE4, 5 x 2: bottom row "2 3 2 3 2" from one run; a delta of (1, 1)
  // after an end of line... top row: x 0 skipped (index 0), then absolute
  // 3 pixels 4 5 6 (two bytes, padded), then a run of 9 clipped at the edge.
  ASSERT_TRUE(DecodeBmp(build(4, {5, 0x23, 0, 0, 0, 2, 1, 0, 0, 3, 0x45, 0x60, 9, 0x77, 0, 1}, 5, 2), &dib, &error))
      << error.detail;
  const int bottom[5] = {2, 3, 2, 3, 2}, top[5] = {0, 4, 5, 6, 7};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(index(dib, x, 1), bottom[x]) << x;
    EXPECT_EQ(index(dib, x, 0), top[x]) << x;
  }
  // RLE8, 3 x 2: a run, then a delta far beyond the last row ends the
  // picture without an end mark.
  ASSERT_TRUE(DecodeBmp(build(8, {3, 5, 0, 2, 0, 200}, 3, 2), &dib, &error)) << error.detail;
  EXPECT_EQ(index(dib, 2, 1), 5);
  EXPECT_EQ(index(dib, 2, 0), 0);
  // Data that stops while rows are missing is damaged.
  EXPECT_FALSE(DecodeBmp(build(8, {3, 5, 0, 0}, 3, 2), &dib, &error));
  EXPECT_EQ(error.message, kPictureDamaged);
  EXPECT_FALSE(DecodeBmp(build(8, {0, 5, 1, 2}, 3, 2), &dib, &error)) << "absolute run cut short";
}

TEST(BmpReader, IndicesPastTheTableAreBlack) {
  BmpSpec spec;
  spec.width = 4;
  spec.bitCount = 8;
  std::vector<uint8_t> f = test::BuildBmp(spec);
  f[46] = 2;  // colours used: only 2 of the 256 stored count
  f[47] = 0;
  DibImage dib;
  ASSERT_TRUE(DecodeBmp(f, &dib, nullptr));
  const test::RgbPicture p = test::FromDib(dib);
  // Pixel 1 uses index 3 (black now), pixel 0 index 0 (black anyway).
  EXPECT_EQ(p.At(1, 0)[0] | p.At(1, 0)[1] | p.At(1, 0)[2], 0);
}

TEST(BmpReader, ThirtyTwoBitsWithoutAlphaStayOpaque) {
  // The fourth byte left at zero by most writers is not transparency.
  BmpSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.bitCount = 32;
  DibImage dib;
  ASSERT_TRUE(DecodeBmp(test::BuildBmp(spec), &dib, nullptr));
  EXPECT_TRUE(test::SamePixels(test::FromDib(dib), test::ExpectedPicture(spec), 0));
  // One pixel with alpha 0x80 makes the channel count: over white.
  std::vector<uint8_t> f = test::BuildBmp(spec);
  const uint32_t offset = test::Le32Of(f, 10);
  f[offset + 3] = 0x80;  // first stored pixel: bottom-left, yellow
  ASSERT_TRUE(DecodeBmp(f, &dib, nullptr));
  const test::RgbPicture p = test::FromDib(dib);
  EXPECT_EQ(p.At(0, 1)[0], 255);
  EXPECT_EQ(p.At(0, 1)[2], 127) << "no blue at 128/255 over white";
  EXPECT_EQ(p.At(1, 1)[0], 255) << "alpha 0 elsewhere: fully transparent, white";
}

// Headers that must be refused, each with the reason the user sees.
TEST(BmpReader, RefusesHostileHeadersWithoutLargeAllocations) {
  BmpSpec spec;
  spec.width = 4;
  spec.height = 4;
  const std::vector<uint8_t> good = test::BuildBmp(spec);
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;
    std::u16string_view message;
  };
  const Case cases[] = {
      {"width 100000", 18, 100000, kPictureTooLarge},
      {"height -100000", 22, uint32_t(-100000), kPictureTooLarge},
      {"height INT_MIN", 22, 0x80000000u, kPictureTooLarge},
      {"width zero", 18, 0, kPictureDamaged},
      {"width negative", 18, uint32_t(-4), kPictureDamaged},
      {"height zero", 22, 0, kPictureDamaged},
      // 10000 x 10000 at 32 bits: 400 MB claimed by a file of 100 bytes;
      // refused before the picture is allocated.
      {"10000 squared, no data", 18, 10000, kPictureDamaged},
      {"depth 3", 28, 3, kPictureUnsupported},
      {"depth 64", 28, 64, kPictureUnsupported},
      {"JPEG inside", 30, 4, kPictureUnsupported},
      {"RLE8 on 24 bits", 30, 1, kPictureDamaged},
      {"pixels past the end", 10, 5000, kPictureDamaged},
      {"pixels inside the header", 10, 20, kPictureDamaged},
      {"header of 200 bytes", 14, 200, kPictureUnsupported},
      {"header of 13 bytes", 14, 13, kPictureUnsupported},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> f = good;
    for (int i = 0; i < 4; ++i) f[c.at + i] = uint8_t(c.value >> (8 * i));
    if (std::string(c.name).rfind("10000", 0) == 0) {
      for (int i = 0; i < 4; ++i) f[22 + i] = uint8_t(10000u >> (8 * i));
      f[28] = 32;
    }
    DibImage dib;
    PictureError error;
    EXPECT_FALSE(DecodeBmp(f, &dib, &error));
    EXPECT_EQ(error.message, c.message) << error.detail;
    EXPECT_LT(dib.bits.size(), 1000u);
  }
  // Every cut of the file fails cleanly.
  for (size_t n = 0; n < good.size() - 1; ++n) {
    DibImage dib;
    EXPECT_FALSE(DecodeBmp(std::span(good.data(), n), &dib, nullptr)) << n << " bytes";
  }
}

TEST(BmpReader, MasksWithGapsAreRefused) {
  BmpSpec spec;
  spec.bitCount = 32;
  spec.coding = BmpCoding::kBitfields;
  spec.masks[0] = 0x00F0F000;
  spec.masks[1] = 0x0000000F;
  spec.masks[2] = 0x000000F0;
  PictureError error;
  DibImage dib;
  EXPECT_FALSE(DecodeBmp(test::BuildBmp(spec), &dib, &error));
  EXPECT_EQ(error.message, kPictureUnsupported);
}

}  // namespace
}  // namespace zel
