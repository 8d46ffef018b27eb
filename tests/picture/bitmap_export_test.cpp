// Bitmap export: sizes, margin, smoothing, the BMP layout, and the written
// BMP, JPEG and PNG files as ImageMagick reads them; then the failures that
// must leave existing files alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "interchange/picture/bitmap_export.h"
#include "interchange/picture/bmp_writer.h"
#include "interchange/picture/jpeg_decoder.h"
#include "interchange/picture/jpeg_writer.h"
#include "interchange/picture/png_writer.h"
#include "model/drawing.h"
#include "model/shape.h"
#include "model/viewport.h"
#include "render/page_bitmap.h"
#include "render/smooth.h"
#include "tests/picture/magick.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<Shape> Box(float x0, float y0, float x1, float y1, ColorRef fill, int page = 0) {
  auto s = MakeRectangle(RectF{x0, x1, y0, y1});
  s->fillColor = fill;
  s->path()->penColor = fill;
  s->pageIndex = page;
  return s;
}

// Four coloured blocks filling a 1000 x 500 area, the page of most tests.
void FillBlocks(Drawing& d, int page = 0) {
  d.Add(Box(-500, -250, 0, 0, 0x0000FF, page));
  d.Add(Box(0, -250, 500, 0, 0x00FF00, page));
  d.Add(Box(-500, 0, 0, 250, 0xFF0000, page));
  d.Add(Box(0, 0, 500, 250, 0x000000, page));
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  const std::string s = ReadText(path);
  return std::vector<uint8_t>(s.begin(), s.end());
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

size_t FilesIn(const std::string& folder) {
  return size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

TEST(BitmapExport, PixelSizeFromContentAndLimit) {
  const float s96 = 96 * kPixelsPerInchToScale;
  struct Case {
    float w, h;
    int maxW, maxH;
    bool exact;
    int outW, outH;
  };
  const Case cases[] = {
      {1000, 500, 640, 640, false, 378, 189},  // fits: true size
      {1000, 500, 320, 320, false, 320, 160},
      {300, 1200, 240, 240, false, 59, 240},
      {1000, 500, 4000, 3000, true, 4000, 3000},
      {0, 0, 640, 640, false, 0, 0},         // empty page: nothing to write
      {0, 5000, 240, 240, false, 240, 240},  // a line without width fits as the box
  };
  for (const Case& c : cases) {
    const PixelSize size = ExportPixelSize(RectF{0, c.w, 0, c.h}, s96, c.maxW, c.maxH, c.exact);
    EXPECT_EQ(size.width, c.outW) << c.w << " x " << c.h << " limit " << c.maxW;
    EXPECT_EQ(size.height, c.outH) << c.w << " x " << c.h << " limit " << c.maxW;
  }
}

TEST(BitmapExport, BmpLayoutOfATenByThreePicture) {
  DibImage dib;
  ASSERT_TRUE(dib.Create24(10, 3));
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(EncodeBmp(dib, &bmp));
  ASSERT_EQ(bmp.size(), 150u);
  auto le32 = [&](size_t at) { return uint32_t(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24); };
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(le32(2), 150u);   // file size
  EXPECT_EQ(le32(6), 0u);     // reserved
  EXPECT_EQ(le32(10), 54u);   // pixel offset
  EXPECT_EQ(le32(14), 40u);   // info header
  EXPECT_EQ(le32(18), 10u);
  EXPECT_EQ(le32(22), 3u);
  EXPECT_EQ(le32(26), 1u | (24u << 16));  // planes, depth
  EXPECT_EQ(le32(30), 0u);    // uncompressed
  EXPECT_EQ(le32(34), 96u);   // image size: stride 32 x 3
  for (size_t at = 38; at < 54; at += 4) EXPECT_EQ(le32(at), 0u) << at;

  // Other depths: the colour table the depth calls for.
  DibImage four;
  four.header.width = 3;
  four.header.height = 2;
  four.header.bitCount = 4;
  four.colors = {0x112233, 0x445566};
  four.bits.assign(8, 0x10);
  ASSERT_TRUE(EncodeBmp(four, &bmp));
  EXPECT_EQ(le32(10), 14u + 40u + 64u);
  EXPECT_EQ(le32(54), 0x112233u);
  EXPECT_EQ(le32(58), 0x445566u);
  EXPECT_EQ(le32(62), 0u);
  DibImage sixteen;
  sixteen.header.width = 2;
  sixteen.header.height = 1;
  sixteen.header.bitCount = 16;
  sixteen.bits.assign(4, 0);
  ASSERT_TRUE(EncodeBmp(sixteen, &bmp));
  EXPECT_EQ(le32(30), 3u) << "bit fields";
  EXPECT_EQ(le32(54), 0x7C00u);
  EXPECT_EQ(le32(62), 0x001Fu);
}

TEST(BitmapExport, SmoothingOfAOnePixelLine) {
  DibImage dib;
  ASSERT_TRUE(dib.Create24(20, 9));
  std::fill(dib.bits.begin(), dib.bits.end(), uint8_t(255));
  uint8_t* line = dib.bits.data() + dib.RowOffsetFromTop(4);
  std::fill(line, line + 60, uint8_t(0));
  auto smooth = Smooth(dib);
  ASSERT_NE(smooth, nullptr);
  const test::RgbPicture p = test::FromDib(*smooth);
  for (int x = 0; x < 20; ++x) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(p.At(x, 4)[c], 63) << x;
      EXPECT_EQ(p.At(x, 3)[c], 223) << x;
      EXPECT_EQ(p.At(x, 5)[c], 223) << x;
      EXPECT_EQ(p.At(x, 0)[c], 255) << x;
      EXPECT_EQ(p.At(x, 8)[c], 255) << x;
    }
  }
  // A lone black pixel in a corner: its own row and column stand in for
  // the missing neighbours.
  std::fill(dib.bits.begin(), dib.bits.end(), uint8_t(255));
  uint8_t* corner = dib.bits.data() + dib.RowOffsetFromTop(0);
  corner[0] = corner[1] = corner[2] = 0;
  smooth = Smooth(dib);
  const test::RgbPicture q = test::FromDib(*smooth);
  // C = N = W = NW = 0: (6 (255 + 255) + (255 + 255 + 255)) / 64 = 59.
  EXPECT_EQ(q.At(0, 0)[0], 59);
}

// The separable fast filter against the formula written out, on random
// pictures of awkward sizes (seeded).
TEST(BitmapExport, SmoothingMatchesTheFormulaAtEverySize) {
  std::mt19937 rng(11);
  for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 5}, std::pair{2, 3}, std::pair{3, 1}, std::pair{7, 4},
                      std::pair{33, 2}}) {
    DibImage dib;
    ASSERT_TRUE(dib.Create24(w, h));
    for (uint8_t& b : dib.bits) b = uint8_t(rng());
    auto smooth = Smooth(dib);
    ASSERT_NE(smooth, nullptr);
    const test::RgbPicture in = test::FromDib(dib), out = test::FromDib(*smooth);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        for (int c = 0; c < 3; ++c) {
          auto at = [&](int dx, int dy) {
            return int(in.At(std::clamp(x + dx, 0, w - 1), std::clamp(y + dy, 0, h - 1))[c]);
          };
          const int expected = (36 * at(0, 0) + 6 * (at(0, -1) + at(0, 1) + at(-1, 0) + at(1, 0)) +
                                (at(-1, -1) + at(1, -1) + at(-1, 1) + at(1, 1))) >> 6;
          ASSERT_EQ(out.At(x, y)[c], expected) << w << " x " << h << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(BitmapExport, RenderedPageKeepsAWhiteMargin) {
  Drawing d;
  d.Add(Box(-100, -50, 100, 50, 0x000000));
  auto dib = RenderPageToBitmap(d, 40, 20, false, 0);
  ASSERT_NE(dib, nullptr);
  const test::RgbPicture p = test::FromDib(*dib);
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(p.At(x, 0)[0], 255) << x;
    EXPECT_EQ(p.At(x, 19)[0], 255) << x;
  }
  for (int y = 0; y < 20; ++y) {
    EXPECT_EQ(p.At(0, y)[0], 255) << y;
    EXPECT_EQ(p.At(39, y)[0], 255) << y;
  }
  // The black box is fitted into the rest: it fills the height there.
  int top = 20, bottom = -1, left = 40, right = -1;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      if (p.At(x, y)[0] != 0) continue;
      top = std::min(top, y), bottom = std::max(bottom, y);
      left = std::min(left, x), right = std::max(right, x);
    }
  }
  EXPECT_EQ(top, 1);
  EXPECT_EQ(bottom, 18);
  EXPECT_GE(left, 1);
  EXPECT_LE(right, 38);
  EXPECT_GE(right - left, 33);
  EXPECT_EQ(RenderPageToBitmap(d, 40, 20, false, 1), nullptr) << "page beyond the last";
  EXPECT_EQ(RenderPageToBitmap(d, 0, 20, false, 0), nullptr);
}

// The written files as ImageMagick sees them: format, size and pixels.
struct Output {
  const char* extension;
  const char* format;
  int tolerance;  // 0: exact; else ten times the mean difference allowed
};
const Output kOutputs[] = {{"bmp", "BMP3", 0}, {"png", "PNG", 0}, {"jpg", "JPEG", 30}};

TEST(BitmapExport, WrittenFilesReadBackInImageMagick) {
  ZEL_REQUIRE_IMAGEMAGICK();
  test::TempFolder folder;
  Drawing d;
  FillBlocks(d);
  for (bool antialias : {false, true}) {
    auto rendered = RenderPageToBitmap(d, 378, 189, antialias, 0);
    ASSERT_NE(rendered, nullptr);
    for (const Output& o : kOutputs) {
      SCOPED_TRACE(std::string(o.extension) + (antialias ? " smoothed" : ""));
      const std::string path = folder.File(std::string("page.") + o.extension);
      ASSERT_TRUE(ExportBitmap(d, path, 0, 640, 640, false, antialias));
      EXPECT_EQ(test::MagickIdentify(path), std::string(o.format) + " 378 189");
      test::RgbPicture theirs;
      ASSERT_TRUE(test::MagickDecode(path, &theirs));
      const test::RgbPicture ours = test::FromDib(*rendered);
      if (o.tolerance == 0) {
        EXPECT_TRUE(test::SamePixels(theirs, ours, 0));
        continue;
      }
      // Lossy (colour halved in both directions at quality 100): close on
      // average, and inside the blocks within a few levels; and ImageMagick
      // reads exactly what our reader reads.
      DibImage back;
      ASSERT_TRUE(DecodeJpeg(ReadBytes(path), &back, nullptr));
      EXPECT_TRUE(test::SamePixels(theirs, test::FromDib(back), 0));
      ASSERT_EQ(theirs.rgb.size(), ours.rgb.size());
      double sum = 0;
      for (size_t i = 0; i < ours.rgb.size(); ++i) sum += std::abs(int(theirs.rgb[i]) - int(ours.rgb[i]));
      EXPECT_LT(sum / double(ours.rgb.size()), double(o.tolerance) / 10);
      for (auto [x, y] : {std::pair{40, 40}, std::pair{300, 40}, std::pair{40, 150}, std::pair{300, 150}}) {
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(theirs.At(x, y)[c], ours.At(x, y)[c], 3) << x << "," << y;
      }
    }
  }
}

TEST(BitmapExport, JpegSettings) {
  ZEL_REQUIRE_IMAGEMAGICK();
  test::TempFolder folder;
  Drawing d;
  FillBlocks(d);
  const std::string path = folder.File("settings.jpg");
  ASSERT_TRUE(ExportBitmap(d, path, 0, 640, 640, false, false));
  std::string out;
  ASSERT_TRUE(test::RunCommand("identify -format '%Q %[interlace] %[jpeg:colorspace] %[jpeg:sampling-factor]' " +
                                   test::ShellQuote(path),
                               &out));
  EXPECT_EQ(out, "100 None 2 2x2,1x1,1x1");
  // Baseline frame marker, no progressive one.
  const std::string bytes = ReadText(path);
  EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos);
  EXPECT_EQ(bytes.find("\xFF\xC2"), std::string::npos);
}

// Row padding and degenerate shapes through every writer and back.
TEST(BitmapExport, AwkwardSizesRoundTrip) {
  ZEL_REQUIRE_IMAGEMAGICK();
  test::TempFolder folder;
  Drawing d;
  FillBlocks(d);
  const std::pair<int, int> sizes[] = {{1, 1}, {2, 2}, {3, 5}, {4, 3}, {7, 7}, {1, 9}, {9, 1}, {3, 1}, {1, 4}};
  for (auto [w, h] : sizes) {
    auto rendered = RenderPageToBitmap(d, w, h, false, 0);
    ASSERT_NE(rendered, nullptr);
    for (const Output& o : kOutputs) {
      SCOPED_TRACE(std::string(o.extension) + " " + std::to_string(w) + " x " + std::to_string(h));
      const std::string path = folder.File(std::string("tiny.") + o.extension);
      ASSERT_TRUE(ExportBitmap(d, path, 0, w, h, true, false));
      EXPECT_EQ(test::MagickIdentify(path), std::string(o.format) + " " + std::to_string(w) + " " + std::to_string(h));
      test::RgbPicture theirs;
      ASSERT_TRUE(test::MagickDecode(path, &theirs));
      if (o.tolerance == 0) {
        EXPECT_TRUE(test::SamePixels(theirs, test::FromDib(*rendered), 0));
      }
    }
  }
}

TEST(BitmapExport, FileNamesAndWhatIsWritten) {
  test::TempFolder folder;
  Drawing d;
  FillBlocks(d);
  std::string written;
  // ".jpeg" is written as JPEG under the name ending in ".jpg".
  ASSERT_TRUE(ExportBitmap(d, folder.File("a.JPEG"), 0, 64, 64, false, false, &written));
  EXPECT_EQ(written, folder.File("a.jpg"));
  EXPECT_TRUE(fs::exists(folder.File("a.jpg")));
  EXPECT_FALSE(fs::exists(folder.File("a.JPEG")));
  // A name ending in the letters alone gets the extension appended, in its
  // own folder even when a folder name holds a dot.
  fs::create_directory(folder.File("v1.2"));
  ASSERT_TRUE(ExportBitmap(d, folder.File("v1.2/sketchbmp"), 0, 64, 64, false, false, &written));
  EXPECT_EQ(written, folder.File("v1.2/sketchbmp.bmp"));
  EXPECT_FALSE(fs::exists(folder.File("v1.bmp")));
  // Other extensions write nothing.
  const size_t before = FilesIn(folder.path());
  EXPECT_FALSE(ExportBitmap(d, folder.File("a.tif"), 0, 64, 64, false, false));
  EXPECT_FALSE(d.LastError().empty());
  EXPECT_EQ(FilesIn(folder.path()), before);
  // An empty page writes no file.
  Drawing empty;
  EXPECT_FALSE(ExportBitmap(empty, folder.File("empty.bmp"), 0, 640, 640, false, false));
  EXPECT_EQ(empty.LastError(), u"The page is empty: there is nothing to export.");
  EXPECT_FALSE(fs::exists(folder.File("empty.bmp")));
  // The page asked for is the one written.
  d.AddPages(1);
  d.Add(Box(-10, -10, 10, 10, 0x0000FF, 1));
  ASSERT_TRUE(ExportBitmap(d, folder.File("p2.bmp"), 1, 30, 30, true, false));
}

// libjpeg's default error handler would end the program here.
TEST(BitmapExport, JpegLibraryErrorsAreReportedAndWriteNothing) {
  test::TempFolder folder;
  Drawing d;
  FillBlocks(d);
  const std::string path = folder.File("wide.jpg");
  WriteText(path, "old picture");
  ASSERT_FALSE(ExportBitmap(d, path, 0, kJpegMaxSide + 1, 2, true, false));
  EXPECT_NE(d.LastError().find(u"65500"), std::u16string::npos);
  EXPECT_EQ(ReadText(path), "old picture") << "the old file is untouched";
  EXPECT_EQ(FilesIn(folder.path()), 1u) << "no temporary file is left";
  // The same size as BMP is fine, and the largest JPEG side works.
  EXPECT_TRUE(ExportBitmap(d, folder.File("wide.bmp"), 0, kJpegMaxSide + 1, 2, true, false));
  EXPECT_TRUE(ExportBitmap(d, path, 0, kJpegMaxSide, 2, true, false)) << std::string(d.LastError().begin(), d.LastError().end());
  EXPECT_NE(ReadText(path), "old picture");

  DibImage eight;
  eight.header.width = 4;
  eight.header.height = 4;
  eight.header.bitCount = 8;
  eight.colors.assign(256, 0);
  eight.bits.assign(16, 0);
  std::vector<uint8_t> bytes;
  PictureError error;
  EXPECT_FALSE(EncodeJpeg(eight, 100, &bytes, &error)) << "only 24-bit pictures";
}

TEST(BitmapExport, SizesBeyondThePixelCapAreRefusedUpFront) {
  test::TempFolder folder;
  Drawing d;
  FillBlocks(d);
  // 70000 x 70000 is 4.9 billion pixels: 32-bit arithmetic would wrap it
  // to a small, "valid" number.
  for (auto [w, h] : {std::pair{70000, 70000}, std::pair{100000, 100000}, std::pair{8193, 8193},
                      std::pair{1 << 30, 1}}) {
    EXPECT_FALSE(ExportBitmap(d, folder.File("huge.png"), 0, w, h, true, false)) << w;
    EXPECT_NE(d.LastError().find(u"pixels"), std::u16string::npos);
  }
  EXPECT_EQ(FilesIn(folder.path()), 0u);
}

TEST(BitmapExport, WriteFailuresAreReportedAndReplaceNothing) {
  test::TempFolder folder;
  Drawing d;
  FillBlocks(d);
  EXPECT_FALSE(ExportBitmap(d, folder.File("missing/folder.bmp"), 0, 64, 64, false, false));
  EXPECT_EQ(d.LastError(), u"Failed to save file!");
  // A successful export replaces the old file whole.
  const std::string path = folder.File("again.png");
  WriteText(path, "old");
  ASSERT_TRUE(ExportBitmap(d, path, 0, 64, 64, false, false));
  EXPECT_EQ(ReadText(path).substr(1, 3), "PNG");
  EXPECT_EQ(FilesIn(folder.path()), 1u);
}

}  // namespace
}  // namespace zel
