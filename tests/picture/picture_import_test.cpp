// Picture import: the loaded picture kept small and placed at the view's
// pixel (10, 10); the resampled copy; the drawing the command line makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interchange/picture/picture_error.h"
#include "interchange/picture/picture_import.h"
#include "interchange/picture/png_writer.h"
#include "render/scaled_copy.h"
#include "tests/picture/bmp_builder.h"
#include "tests/picture/magick.h"

namespace zel {
namespace {

DibImage Picture(int w, int h) {
  DibImage dib;
  EXPECT_TRUE(dib.Create24(w, h));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib.bits.data() + dib.RowOffsetFromTop(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = uint8_t(x);
      row[3 * x + 1] = uint8_t(y);
      row[3 * x + 2] = uint8_t(x ^ y);
    }
  }
  return dib;
}

Viewport SomeView() {
  Viewport vp(0.5f);
  vp.setOrigin(120.0f, -40.0f, 200, 150);
  return vp;
}

TEST(PictureImport, KeepsPicturesWithin220PixelsAtViewPixelTen) {
  struct Case {
    int w, h, outW, outH;
  };
  const Case cases[] = {
      {640, 480, 220, 165}, {37, 23, 37, 23}, {220, 220, 220, 220}, {221, 10, 220, 9},
      {480, 640, 165, 220}, {10000, 1, 220, 1},  // too thin to fit: one pixel kept
      {1, 10000, 1, 220},
  };
  const Viewport vp = SomeView();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    auto shape = MakeImportedPicture(Picture(c.w, c.h), vp, 3);
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->kind(), KindImage);
    const ImageContent& image = *shape->image();
    EXPECT_EQ(image.dib.header.width, c.outW);
    EXPECT_EQ(image.dib.header.height, c.outH);
    EXPECT_EQ(image.dib.header.bitCount, 24);
    EXPECT_EQ(vp.toScreenX(image.placement.xmin), 10);
    EXPECT_EQ(vp.toScreenY(image.placement.ymin), 10);
    EXPECT_EQ(vp.toScreenX(image.placement.xmax), 10 + c.outW);
    EXPECT_EQ(vp.toScreenY(image.placement.ymax), 10 + c.outH);
    EXPECT_EQ(shape->pageIndex, 3);
    EXPECT_FLOAT_EQ(shape->bounds.xmin, image.placement.xmin);
    EXPECT_FLOAT_EQ(shape->bounds.ymax, image.placement.ymax);
  }
}

TEST(PictureImport, ScaledCopyPicksSourcePixelsAndFlips) {
  const DibImage src = Picture(4, 2);
  auto same = ScaledCopy(&src, 4, 2, false);
  ASSERT_NE(same, nullptr);
  EXPECT_EQ(same->bits, src.bits);
  auto flipped = ScaledCopy(&src, 4, 2, true);
  ASSERT_NE(flipped, nullptr);
  const test::RgbPicture a = test::FromDib(src), b = test::FromDib(*flipped);
  for (int x = 0; x < 4; ++x) {
    EXPECT_TRUE(std::equal(a.At(x, 0), a.At(x, 0) + 3, b.At(x, 1)));
    EXPECT_TRUE(std::equal(a.At(x, 1), a.At(x, 1) + 3, b.At(x, 0)));
  }
  // Halving takes the source pixel under each new pixel's centre.
  auto half = ScaledCopy(&src, 2, 1, false);
  ASSERT_NE(half, nullptr);
  const test::RgbPicture h = test::FromDib(*half);
  EXPECT_TRUE(std::equal(h.At(0, 0), h.At(0, 0) + 3, a.At(1, 1)));
  EXPECT_TRUE(std::equal(h.At(1, 0), h.At(1, 0) + 3, a.At(3, 1)));
  EXPECT_EQ(ScaledCopy(nullptr, 2, 2, false), nullptr);
  EXPECT_EQ(ScaledCopy(&src, 0, 2, false), nullptr);
}

TEST(PictureImport, FromFilesAndTheirFailures) {
  test::TempFolder folder;
  std::vector<uint8_t> png;
  ASSERT_TRUE(EncodePng(Picture(640, 480), &png, nullptr));
  ASSERT_TRUE(test::WriteFileBytes(folder.File("photo.png"), png));
  PictureError error;
  auto shape = ImportPicture(folder.File("photo.png"), SomeView(), 0, &error);
  ASSERT_NE(shape, nullptr) << error.detail;
  EXPECT_EQ(shape->image()->dib.header.width, 220);

  EXPECT_EQ(ImportPicture(folder.File("none.png"), SomeView(), 0, &error), nullptr);
  EXPECT_EQ(error.message, u"Failed to open file!");
  png.resize(png.size() / 2);
  ASSERT_TRUE(test::WriteFileBytes(folder.File("half.png"), png));
  EXPECT_EQ(ImportPicture(folder.File("half.png"), SomeView(), 0, &error), nullptr);
  EXPECT_EQ(error.message, kPictureDamaged);
}

TEST(PictureImport, CommandLineDrawingOfAPicture) {
  test::TempFolder folder;
  test::BmpSpec spec;
  spec.width = 300;
  spec.height = 150;
  ASSERT_TRUE(test::WriteFileBytes(folder.File("p.bmp"), test::BuildBmp(spec)));
  Drawing d;
  d.Add(MakeRectangle(RectF{0, 10, 0, 10}));
  ASSERT_TRUE(ReadPictureDrawing(d, folder.File("p.bmp")));
  ASSERT_EQ(d.Count(), 1) << "the drawing holds the picture alone";
  const Shape* s = d.GetShape(0);
  ASSERT_EQ(s->kind(), KindImage);
  EXPECT_EQ(s->image()->dib.header.width, 220);
  EXPECT_EQ(s->image()->dib.header.height, 110);
  // True size on a 96 dpi screen, ten pixels in from the page's corner.
  const float px = 1.0f / ScreenDeviceScale();
  const PageSize page = d.GetPageSize();
  EXPECT_NEAR(s->image()->placement.xmin, -page.width / 2 + 10 * px, 0.01);
  EXPECT_NEAR(s->image()->placement.ymin, -page.height / 2 + 10 * px, 0.01);
  EXPECT_NEAR(s->image()->placement.xmax - s->image()->placement.xmin, 220 * px, 0.01);
  // A larger limit keeps more of the picture.
  ASSERT_TRUE(ReadPictureDrawing(d, folder.File("p.bmp"), 1000));
  EXPECT_EQ(d.GetShape(0)->image()->dib.header.width, 300);

  ASSERT_TRUE(test::WriteFileBytes(folder.File("bad.gif"), {'G', 'I', 'F', '8', '9', 'a', 1}));
  EXPECT_FALSE(ReadPictureDrawing(d, folder.File("bad.gif")));
  EXPECT_EQ(d.LastError(), kPictureDamaged);
}

}  // namespace
}  // namespace zel
