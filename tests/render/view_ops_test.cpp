// Zoom, fit, scroll, grid and snap operations of the view, without a window.
#include "render/view_ops.h"

#include <gtest/gtest.h>

#include <cmath>

#include "golden.h"

namespace zel {
namespace {

using testing::WhiteBitmap;

const IntRect kClient{0, 0, 240, 268};

TEST(ViewOps, ZoomStopsAtTheLimitsKeepingTheCentre) {
  Viewport vp(1.0f);
  vp.setOrigin(37.0f, -12.0f, 50, 60);
  const IntPoint c = ClientCentre(kClient);
  const PointF atCentre = vp.fromScreen(c);
  for (int i = 0; i < 40; ++i) ZoomInView(vp, kClient);
  EXPECT_EQ(vp.getScale(), 100000.0f);
  EXPECT_NEAR(vp.fromScreenX(c.x), atCentre.x, 1e-3);
  EXPECT_NEAR(vp.fromScreenY(c.y), atCentre.y, 1e-3);
  for (int i = 0; i < 80; ++i) ZoomOutView(vp, kClient);
  EXPECT_EQ(vp.getScale(), 0.00001f);
  EXPECT_NEAR(vp.fromScreenX(c.x), atCentre.x, 1e-2);
}

TEST(ViewOps, OneToOneIsTheScreenScale) {
  SetScreenDeviceScale(96 * kPixelsPerInchToScale);
  for (float s : {0.001f, 0.5f, 7.0f}) {
    Viewport vp(s);
    ZoomOneToOne(vp, kClient);
    EXPECT_NEAR(vp.getScale(), 0.377953f, 1e-5);
  }
}

TEST(ViewOps, FitDrawingFallsBackToTrueSizeAtTheCentre) {
  SetScreenDeviceScale(96 * kPixelsPerInchToScale);
  for (RectF bounds : {RectF{}, RectF{-0.5f, 0.5f, -100, 100}, RectF{0, 300, 2, 3}}) {
    Viewport vp(3.0f);
    FitDrawing(vp, kClient, bounds);
    EXPECT_EQ(vp.toScreen({0, 0}), (IntPoint{120, 134}));
    EXPECT_FLOAT_EQ(vp.getScale(), ScreenDeviceScale());
  }
  Viewport vp(3.0f);
  FitDrawing(vp, kClient, RectF{-100, 300, -50, 50});
  EXPECT_FLOAT_EQ(vp.getScale(), 236.0f / 400.0f);
  EXPECT_EQ(vp.toScreen({100, 0}), (IntPoint{120, 134}));
}

TEST(ViewOps, FitPage) {
  Viewport vp(1.0f);
  ASSERT_TRUE(FitPage(vp, kClient, PageSize{1480, 2100}));
  EXPECT_FLOAT_EQ(vp.getScale(), std::min(236.0f / 1480.0f, 264.0f / 2100.0f));
  EXPECT_NEAR(vp.getScale(), 0.1257, 1e-4);
  EXPECT_EQ(vp.toScreen({0, 0}), (IntPoint{120, 134}));
  Viewport untouched(2.0f);
  EXPECT_FALSE(FitPage(untouched, kClient, PageSize{1.0f, 500}));
  EXPECT_EQ(untouched.getScale(), 2.0f);
}

TEST(ViewOps, ScrollBars) {
  EXPECT_EQ(ScrollBarRange(true).min, -30000);
  EXPECT_EQ(ScrollBarRange(true).max, 30000);
  EXPECT_EQ(ScrollBarRange(false).max, 0);

  Viewport vp(1.0f);
  vp.setOrigin(-2.7f, 5.6f, 0, 0);
  EXPECT_EQ(ScrollBarPositions(vp).horizontal, -2);  // 0.5 added, then truncated
  EXPECT_EQ(ScrollBarPositions(vp).vertical, 6);

  // Line and page steps of a 240 x 268 client.
  EXPECT_EQ(ScrollShift(vp, kClient, true, SB_LINELEFT, 0), 24);
  EXPECT_EQ(ScrollShift(vp, kClient, true, SB_PAGERIGHT, 0), -160);
  EXPECT_EQ(ScrollShift(vp, kClient, false, SB_LINEDOWN, 0), -26);
  EXPECT_EQ(ScrollShift(vp, kClient, false, 5, 0), 0);  // thumb tracking does nothing
  EXPECT_FALSE(ScrollView(vp, kClient, true, 8, 0));

  // The thumb position P brings drawing x = P to the left edge.
  Viewport thumb(0.5f);
  thumb.setOrigin(0, 0, 120, 134);
  ASSERT_TRUE(ScrollView(thumb, kClient, true, SB_THUMBPOSITION, 400));
  EXPECT_NEAR(thumb.fromScreenX(0), 400.0f, 2.0f);  // one pixel is 2 mm/10
  ASSERT_TRUE(ScrollView(thumb, kClient, false, SB_THUMBPOSITION, -1000));
  EXPECT_NEAR(thumb.fromScreenY(0), -1000.0f, 2.0f);
}

TEST(ViewOps, StoredSpacingsAreClamped) {
  EXPECT_EQ(GridSpacingFromStored(10000), 100.0f);
  EXPECT_EQ(GridSpacingFromStored(5), 10.0f);
  EXPECT_EQ(GridSpacingFromStored(99999999), 3000.0f);
  EXPECT_EQ(SnapSpacingFromStored(-4), 0.0f);
  EXPECT_EQ(SnapSpacingFromStored(5000), 50.0f);
  EXPECT_EQ(SnapSpacingFromStored(20000), 100.0f);
}

int GreyPixels(Surface& s) {
  int n = 0;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) n += s.GetPixel(x, y) != 0xFFFFFF;
  return n;
}

TEST(ViewOps, GridNeedsThreePixelsAndVanishesWhenDrawnAgain) {
  ViewSettings settings;
  settings.showGrid = true;
  settings.gridSpacing = 100.0f;
  DibImage dib = WhiteBitmap(60, 40);
  Surface dc(&dib);
  const IntRect client{0, 0, 60, 40};
  Viewport vp(0.02f);  // 2 pixels per step: too dense
  DrawGrid(dc, vp, client, settings);
  EXPECT_EQ(GreyPixels(dc), 0);

  vp.setScale(0.1f);  // 10 pixels per step, origin at the top-left
  dc.SetROP2(R2_COPYPEN);
  DrawGrid(dc, vp, client, settings);
  EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(dc.pen(), kBlackPen);
  // Columns 0, 10, ..., 50 and rows 0, 10, 20, 30, in 0x606060 over white;
  // where lines cross, the second not-XOR restores white.
  EXPECT_EQ(dc.GetPixel(10, 5), 0x606060u);
  EXPECT_EQ(dc.GetPixel(5, 30), 0x606060u);
  EXPECT_EQ(dc.GetPixel(10, 30), 0xFFFFFFu);
  EXPECT_EQ(dc.GetPixel(11, 31), 0xFFFFFFu);
  settings.showGrid = false;
  DrawGrid(dc, vp, client, settings);
  settings.showGrid = true;
  DrawGrid(dc, vp, client, settings);
  EXPECT_EQ(GreyPixels(dc), 0);

  vp.setScale(0.03f);
  DrawGrid(dc, vp, client, settings);
  EXPECT_GT(GreyPixels(dc), 0);
}

TEST(ViewOps, SnapPoint) {
  Viewport vp(1.0f);
  vp.setOrigin(0.9f, 0, 200, 100);
  EXPECT_EQ(SnapPoint(vp, {17, 23}, 0.0f), (IntPoint{17, 23}));
  // Pixel (324, 74) shows drawing point (124.9, -26), which snaps to (100, -50).
  ASSERT_FLOAT_EQ(vp.fromScreenX(324), 124.9f);
  ASSERT_FLOAT_EQ(vp.fromScreenY(74), -26.0f);
  EXPECT_EQ(SnapPoint(vp, {324, 74}, 50.0f), vp.toScreen({100, -50}));
  EXPECT_EQ(SnapPoint(vp, {324, 74}, 50.0f), (IntPoint{299, 50}));
}

TEST(ViewOps, ZoomArea) {
  // A drag larger than 10 pixels both ways fits that area.
  Viewport vp(1.0f);
  vp.setOrigin(0, 0, 0, 0);
  ZoomToArea(vp, {100, 50}, {40, 10}, kClient);
  EXPECT_FLOAT_EQ(vp.getScale(), std::min(240.0f / 60.0f, 268.0f / 40.0f));
  EXPECT_EQ(vp.toScreen({70, 30}), ClientCentre(kClient));
  // 10 x 50 is a tap: its centre moves to the client centre and zooms in.
  Viewport tap(1.0f);
  tap.setOrigin(0, 0, 0, 0);
  ZoomToArea(tap, {20, 20}, {30, 70}, kClient);
  EXPECT_FLOAT_EQ(tap.getScale(), 2.0f);
  EXPECT_EQ(tap.toScreen({25, 45}), ClientCentre(kClient));
}

TEST(ViewOps, PanPreview) {
  DibImage captured = WhiteBitmap(6, 4);
  Surface cap(&captured);
  cap.FillRect({0, 0, 6, 4}, 0x0000FF);
  DibImage window;
  ASSERT_TRUE(window.Create24(6, 4));
  Surface win(&window);
  ComposePanPreview(win, cap, {2, -1}, {0, 0, 6, 4});
  EXPECT_EQ(win.GetPixel(1, 0), 0xFFFFFFu);
  EXPECT_EQ(win.GetPixel(2, 0), 0x0000FFu);
  EXPECT_EQ(win.GetPixel(5, 2), 0x0000FFu);
  EXPECT_EQ(win.GetPixel(5, 3), 0xFFFFFFu);
}

}  // namespace
}  // namespace zel
