// The JPEG, PNG and GIF decoders and the loader in front of them: more
// variants than the corpus holds (checked against ImageMagick), and the
// damaged, oversized and truncated files that must come back as failures.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "interchange/picture/gif_decoder.h"
#include "interchange/picture/jpeg_decoder.h"
#include "interchange/picture/jpeg_writer.h"
#include "interchange/picture/loaded_bitmap.h"
#include "interchange/picture/picture_decoder.h"
#include "interchange/picture/png_decoder.h"
#include "interchange/picture/png_writer.h"
#include "tests/picture/bmp_builder.h"
#include "tests/picture/magick.h"

namespace zel {
namespace {

DibImage Gradient(int w, int h) {
  DibImage dib;
  EXPECT_TRUE(dib.Create24(w, h));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib.bits.data() + dib.RowOffsetFromTop(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = uint8_t(x * 255 / std::max(w - 1, 1));
      row[3 * x + 1] = uint8_t(y * 255 / std::max(h - 1, 1));
      row[3 * x + 2] = uint8_t((x + y) * 7);
    }
  }
  return dib;
}

// Files ImageMagick makes that the corpus lacks; ours must read them as it
// does.
struct Made {
  const char* name;
  const char* command;  // %s is the output path
  int tolerance;
};

const Made kMade[] = {
    {"grey.jpg", "convert -size 17x9 gradient:black-white -colorspace Gray -quality 90 %s", 0},
    {"rgb444.jpg", "convert -size 13x11 gradient:red-blue -sampling-factor 1x1 -quality 92 %s", 0},
    {"progressive_grey.jpg", "convert -size 31x7 gradient:white-black -colorspace Gray -interlace JPEG %s", 0},
    {"bilevel.png", "convert -size 13x7 pattern:checkerboard -type bilevel %s", 0},
    {"grey_alpha.png",
     "convert -size 9x5 gradient:black-white -alpha set -channel A -evaluate set 50% +channel -type GrayscaleAlpha %s",
     1},
    {"rgba16.png", "convert -size 9x5 gradient:red-blue -alpha set -channel A -fx i/w +channel -depth 16 PNG64:%s",
     1},
    {"grey2.png", "convert -size 11x3 gradient:black-white -depth 2 -colorspace Gray PNG8:%s", 0},
    // 10923 / 257 = 42.502: libpng's exact scaling rounds to 43,
    // ImageMagick gives 42.
    {"grey16.png", "convert -size 7x7 gradient:black-white -depth 16 -colorspace Gray %s", 1},
    {"palette1.gif", "convert -size 10x3 pattern:checkerboard -colors 2 %s", 0},
    {"wide.gif", "convert -size 300x1 gradient:red-lime %s", 0},
};

TEST(PictureDecoders, ReadMoreVariantsLikeImageMagick) {
  ZEL_REQUIRE_IMAGEMAGICK();
  test::TempFolder folder;
  for (const Made& m : kMade) {
    SCOPED_TRACE(m.name);
    const std::string path = folder.File(m.name);
    std::string command = m.command, out;
    command.replace(command.find("%s"), 2, test::ShellQuote(path));
    ASSERT_TRUE(test::RunCommand(command, &out)) << command;
    LoadedBitmap loaded;
    ASSERT_TRUE(loaded.Load(path)) << loaded.error().detail;
    test::RgbPicture theirs;
    ASSERT_TRUE(test::MagickDecode(path, &theirs));
    EXPECT_TRUE(test::SamePixels(test::FromDib(*loaded.bitmap()), theirs, m.tolerance));
  }
}

TEST(PictureDecoders, FormatIsRecognisedByContentNotName) {
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(Gradient(5, 4), &png, nullptr));
  test::TempFolder folder;
  const std::string path = folder.File("really_a_png.bmp");
  ASSERT_TRUE(test::WriteFileBytes(path, png));
  LoadedBitmap loaded;
  ASSERT_TRUE(loaded.Load(path)) << loaded.error().detail;
  EXPECT_EQ(loaded.width(), 5);
  EXPECT_EQ(loaded.height(), 4);

  const std::string text = folder.File("notes.png");
  ASSERT_TRUE(test::WriteFileBytes(text, {'h', 'e', 'l', 'l', 'o', '\n'}));
  EXPECT_FALSE(loaded.Load(text));
  EXPECT_EQ(loaded.error().message, kPictureNotRecognised);
}

TEST(LoadedBitmap, SecondLoadReleasesTheFirstAndFailuresLeaveNothing) {
  test::TempFolder folder;
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(Gradient(6, 2), &png, nullptr));
  ASSERT_TRUE(test::WriteFileBytes(folder.File("a.png"), png));
  test::BmpSpec spec;
  spec.width = 3;
  spec.height = 7;
  ASSERT_TRUE(test::WriteFileBytes(folder.File("b.bmp"), test::BuildBmp(spec)));

  LoadedBitmap loaded;
  ASSERT_TRUE(loaded.Load(folder.File("a.png")));
  ASSERT_TRUE(loaded.Load(folder.File("b.bmp")));
  EXPECT_EQ(loaded.width(), 3);
  EXPECT_EQ(loaded.height(), 7);
  EXPECT_EQ(loaded.bitmap()->header.width, 3);

  EXPECT_FALSE(loaded.Load(folder.File("missing.png")));
  EXPECT_EQ(loaded.bitmap(), nullptr);
  EXPECT_EQ(loaded.width(), 0);
  EXPECT_EQ(loaded.error().message, u"Failed to open file!");
  EXPECT_FALSE(loaded.Load(folder.path())) << "a folder is no picture";
  EXPECT_EQ(loaded.bitmap(), nullptr);
}

// libjpeg's own error handler would end the program on any of these.
TEST(JpegDecoder, DamagedFilesFailInsteadOfEndingTheProgram) {
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(EncodeJpeg(Gradient(40, 24), 90, &jpeg, nullptr));
  DibImage dib;
  PictureError error;
  ASSERT_TRUE(DecodeJpeg(jpeg, &dib, &error)) << error.detail;

  // Every cut: refused, never a half grey picture, never an exit.
  for (size_t n = 0; n < jpeg.size(); n += 7) {
    EXPECT_FALSE(DecodeJpeg(std::span(jpeg.data(), n), &dib, &error)) << n;
    EXPECT_EQ(error.message, kPictureDamaged) << n;
  }
  // Garbage after the start marker.
  std::vector<uint8_t> junk = {0xFF, 0xD8, 0xFF, 0x12, 0x34, 0x56, 0x78};
  EXPECT_FALSE(DecodePicture(junk, &dib, &error));
  EXPECT_EQ(error.message, kPictureDamaged);
  EXPECT_FALSE(error.detail.empty());
}

TEST(JpegDecoder, OversizedFramesAreRefusedBeforeDecoding) {
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(EncodeJpeg(Gradient(8, 8), 90, &jpeg, nullptr));
  // The baseline frame header: FF C0, length, precision, height, width.
  size_t sof = 0;
  for (size_t i = 2; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  }
  ASSERT_NE(sof, 0u);
  for (auto [w, h] : {std::pair{10001, 8}, std::pair{8, 10001}, std::pair{60000, 60000}}) {
    std::vector<uint8_t> big = jpeg;
    big[sof + 5] = uint8_t(h >> 8), big[sof + 6] = uint8_t(h);
    big[sof + 7] = uint8_t(w >> 8), big[sof + 8] = uint8_t(w);
    DibImage dib;
    PictureError error;
    EXPECT_FALSE(DecodeJpeg(big, &dib, &error));
    EXPECT_EQ(error.message, kPictureTooLarge) << w << " x " << h;
    EXPECT_TRUE(dib.bits.empty());
  }
}

void PutBe32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (24 - 8 * i));
}

void FixChunkCrc(std::vector<uint8_t>& png, size_t chunk, uint32_t length) {
  const uint32_t crc = uint32_t(crc32(0, png.data() + chunk + 4, 4 + length));
  PutBe32(png, chunk + 8 + length, crc);
}

TEST(PngDecoder, OversizedDamagedAndTruncatedFilesFail) {
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(Gradient(12, 9), &png, nullptr));
  DibImage dib;
  PictureError error;
  ASSERT_TRUE(DecodePng(png, &dib, &error)) << error.detail;

  // IHDR (at byte 8) claiming 20000 x 20000, with a valid checksum.
  std::vector<uint8_t> big = png;
  PutBe32(big, 16, 20000);
  PutBe32(big, 20, 20000);
  FixChunkCrc(big, 8, 13);
  EXPECT_FALSE(DecodePng(big, &dib, &error));
  EXPECT_EQ(error.message, kPictureTooLarge) << error.detail;

  // A flipped bit in the image data: the checksum catches it.
  std::vector<uint8_t> flipped = png;
  flipped[png.size() - 20] ^= 0x10;
  EXPECT_FALSE(DecodePng(flipped, &dib, &error));
  EXPECT_EQ(error.message, kPictureDamaged);

  for (size_t n = 0; n < png.size(); n += 5) {
    EXPECT_FALSE(DecodePicture(std::span(png.data(), n), &dib, &error)) << n;
    EXPECT_FALSE(error.message.empty());
  }
}

// GIF files built with giflib itself.
struct GifFrame {
  int left, top, width, height;
  bool interlace;
  std::vector<GifPixelType> pixels;  // rows top first
};

int AppendBytes(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

std::vector<uint8_t> MakeGif(int screenW, int screenH, const std::vector<GifColorType>& colors, int transparent,
                             const GifFrame& frame) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendBytes, &error);
  EXPECT_NE(gif, nullptr);
  ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
  EGifSetGifVersion(gif, true);
  EXPECT_EQ(EGifPutScreenDesc(gif, screenW, screenH, 8, 0, map), GIF_OK);
  if (transparent >= 0) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = transparent;
    GifByteType ext[4];
    const size_t n = EGifGCBToExtension(&gcb, ext);
    EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), ext), GIF_OK);
  }
  EXPECT_EQ(EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlace, nullptr), GIF_OK);
  // giflib writes the rows in the order given; an interlaced frame stores
  // them pass by pass.
  std::vector<int> order;
  if (frame.interlace) {
    const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int p = 0; p < 4; ++p)
      for (int y = start[p]; y < frame.height; y += step[p]) order.push_back(y);
  } else {
    for (int y = 0; y < frame.height; ++y) order.push_back(y);
  }
  for (int y : order) {
    std::vector<GifPixelType> row(frame.pixels.begin() + y * frame.width,
                                  frame.pixels.begin() + (y + 1) * frame.width);
    EXPECT_EQ(EGifPutLine(gif, row.data(), frame.width), GIF_OK);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

TEST(GifDecoder, FrameOnItsScreenWithTransparencyAndInterlace) {
  const std::vector<GifColorType> colors = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (bool interlace : {false, true}) {
    SCOPED_TRACE(interlace ? "interlaced" : "sequential");
    GifFrame frame{2, 1, 3, 10, interlace, {}};
    for (int y = 0; y < frame.height; ++y)
      for (int x = 0; x < frame.width; ++x) frame.pixels.push_back(GifPixelType((x + y) % 4));
    const std::vector<uint8_t> gif = MakeGif(6, 12, colors, 2, frame);
    DibImage dib;
    PictureError error;
    ASSERT_TRUE(DecodeGif(gif, &dib, &error)) << error.detail;
    const test::RgbPicture p = test::FromDib(dib);
    ASSERT_EQ(p.width, 6);
    ASSERT_EQ(p.height, 12);
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 6; ++x) {
        const bool inside = x >= 2 && x < 5 && y >= 1 && y < 11;
        const int index = inside ? (x - 2 + y - 1) % 4 : -1;
        // Outside the frame and the transparent index (2, green): white.
        const GifColorType c = index < 0 || index == 2 ? GifColorType{255, 255, 255} : colors[size_t(index)];
        ASSERT_EQ(p.At(x, y)[0], c.Red) << x << "," << y;
        ASSERT_EQ(p.At(x, y)[1], c.Green) << x << "," << y;
        ASSERT_EQ(p.At(x, y)[2], c.Blue) << x << "," << y;
      }
    }
    for (size_t n = 0; n + 1 < gif.size(); ++n)
      EXPECT_FALSE(DecodeGif(std::span(gif.data(), n), &dib, &error)) << n;
  }
}

TEST(GifDecoder, OversizedScreensAndMissingTablesFail) {
  GifFrame frame{0, 0, 2, 2, false, {0, 1, 1, 0}};
  std::vector<uint8_t> gif = MakeGif(2, 2, {{0, 0, 0}, {255, 255, 255}}, -1, frame);
  DibImage dib;
  PictureError error;
  ASSERT_TRUE(DecodeGif(gif, &dib, &error)) << error.detail;

  std::vector<uint8_t> big = gif;
  big[6] = uint8_t(20000 & 0xFF), big[7] = uint8_t(20000 >> 8);  // logical screen width
  EXPECT_FALSE(DecodeGif(big, &dib, &error));
  EXPECT_EQ(error.message, kPictureTooLarge);

  std::vector<uint8_t> bare = gif;
  bare[10] &= 0x7F;  // no global table, and the frame has none
  bare.erase(bare.begin() + 13, bare.begin() + 13 + 3 * 2);
  EXPECT_FALSE(DecodeGif(bare, &dib, &error));
  EXPECT_EQ(error.message, kPictureDamaged);
}

TEST(PictureDecoders, EmptyAndTinyInputsFail) {
  DibImage dib;
  PictureError error;
  for (std::vector<uint8_t> bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{'B'}, std::vector<uint8_t>{'B', 'M'},
                                     std::vector<uint8_t>{0xFF, 0xD8, 0xFF}, std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a'},
                                     std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}}) {
    EXPECT_FALSE(DecodePicture(bytes, &dib, &error)) << bytes.size();
    EXPECT_FALSE(error.message.empty());
  }
}

}  // namespace
}  // namespace zel
