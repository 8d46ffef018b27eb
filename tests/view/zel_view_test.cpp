// The view driven through a recording host: settings in and out, the
// initial update's posted commands, and double-buffered painting.
#include <memory>

#include <gtest/gtest.h>

#include "model/drawing.h"
#include "model/shape.h"
#include "render/page_paint.h"
#include "view/command_ids.h"
#include "view/fake_view_host.h"
#include "view/setting_names.h"
#include "view/zel_view.h"

namespace zel {
namespace {

using testing::FakeDocument;
using testing::FakeViewHost;
using testing::MemorySettings;
using testing::PixelAt;

std::unique_ptr<Shape> FilledRect(float x0, float y0, float x1, float y1, ColorRef fill) {
  auto s = MakeRectangle(RectF{x0, x1, y0, y1});
  s->fillColor = fill;
  s->path()->penColor = 0x000000;
  s->UpdateBounds();
  return s;
}

TEST(ZelView, ReadsSettingsWhenMadeAndWritesThemBackWhenDestroyed) {
  MemorySettings store;
  store.dwords[std::string(setting::kPenColor)] = 0x112233;
  store.dwords[std::string(setting::kGridSpacing)] = 5;         // 0.05, below the range
  store.dwords[std::string(setting::kSnapSpacing)] = 50000;     // 500, above the range
  store.dwords[std::string(setting::kTextHeight)] = 100;        // 1.0, raised to 3.0
  store.dwords[std::string(setting::kImageResolution)] = 0;     // replaced by 640
  store.dwords[std::string(setting::kMeasurementUnit)] = 4;
  FakeViewHost host;
  int32_t unit = kUnitMm;
  {
    CZelView view(host, store, unit);
    EXPECT_EQ(view.style().penColor, 0x112233u);
    EXPECT_EQ(view.style().fillColor, kDefaultBrushColor);
    EXPECT_FLOAT_EQ(view.preferences().gridSpacing, 10.0f);
    EXPECT_FLOAT_EQ(view.preferences().snapSpacing, 100.0f);
    EXPECT_FLOAT_EQ(view.style().textSize, 3.0f);
    EXPECT_EQ(view.preferences().imageResolution, 640);
    EXPECT_EQ(unit, kUnitPixel);
    EXPECT_FALSE(view.style().faceName.empty());

    view.style().fillColor = 0x0000FF;
    view.OnCommand(cmd::kGrid);
    CommandUi ui;
    ASSERT_TRUE(view.OnUpdateCommand(cmd::kGrid, ui));
    EXPECT_TRUE(ui.checked);
    unit = kUnitInch;
  }
  EXPECT_EQ(store.dwords[std::string(setting::kBrushColor)], 0x0000FFu);
  EXPECT_EQ(store.dwords[std::string(setting::kPenColor)], 0x112233u);
  EXPECT_EQ(store.dwords[std::string(setting::kGridSpacing)], 1000u);
  EXPECT_EQ(store.dwords[std::string(setting::kSnapSpacing)], 10000u);
  EXPECT_EQ(store.dwords[std::string(setting::kTextHeight)], 300u);
  EXPECT_EQ(store.dwords[std::string(setting::kShowGrid)], 1u);
  EXPECT_EQ(store.dwords[std::string(setting::kImageResolution)], 640u);
  EXPECT_EQ(store.dwords[std::string(setting::kMeasurementUnit)], uint32_t(kUnitInch));
  // The page frame flag belongs to the settings sheet's "Set as default".
  EXPECT_EQ(store.dwords.count(std::string(setting::kShowPage)), 0u);
}

TEST(ZelView, MissingUnitKeepsTheApplicationsValue) {
  MemorySettings store;
  FakeViewHost host;
  int32_t unit = kUnitMm;
  { CZelView view(host, store, unit); }
  EXPECT_EQ(unit, kUnitMm);
  EXPECT_EQ(store.dwords[""], uint32_t(kUnitMm));
}

struct InitialFitCase {
  const char* name;
  bool withShape;
  int storedShowPage;  // -1: not stored
  int expectedFit;
};

TEST(ZelView, InitialUpdatePostsTheScrollBarsAndTheFit) {
  const InitialFitCase cases[] = {
      {"empty page shown", false, -1, cmd::kFitPage},
      {"shapes", true, -1, cmd::kFitDrawing},
      {"empty page hidden", false, 0, cmd::kFitDrawing},
  };
  for (const InitialFitCase& c : cases) {
    SCOPED_TRACE(c.name);
    MemorySettings store;
    if (c.storedShowPage >= 0) store.dwords[std::string(setting::kShowPage)] = uint32_t(c.storedShowPage);
    FakeViewHost host;
    int32_t unit = kUnitMm;
    FakeDocument doc;
    if (c.withShape) doc.drawing().Add(FilledRect(-100, -100, 100, 100, 0xFF0000));
    CZelView view(host, store, unit);
    view.SetDocument(&doc);
    view.OnInitialUpdate();
    EXPECT_EQ(view.currentTool(), CZelView::kPanTool);
    EXPECT_EQ(host.RunPosted(view), (std::vector<int>{cmd::kScrollBars, c.expectedFit}));
  }
}

TEST(ZelView, StoredScrollBarStateTakesEffectThroughThePostedCommand) {
  for (uint32_t shown : {0u, 1u}) {
    MemorySettings store;
    store.dwords[std::string(setting::kShowScrollBars)] = shown;
    FakeViewHost host;
    int32_t unit = kUnitMm;
    FakeDocument doc;
    CZelView view(host, store, unit);
    view.SetDocument(&doc);
    view.OnInitialUpdate();
    host.RunPosted(view);
    EXPECT_EQ(view.preferences().showScrollBars, shown == 1);
    const FakeViewHost::Range expected = shown ? FakeViewHost::Range{-30000, 30000} : FakeViewHost::Range{0, 0};
    EXPECT_EQ(host.hRange, expected);
    EXPECT_EQ(host.vRange, expected);
  }
}

TEST(ZelView, FirstPaintOnlyFitsThenThePageIsPaintedAndPresented) {
  MemorySettings store;
  FakeViewHost host;
  host.client = {0, 0, 240, 268};
  int32_t unit = kUnitMm;
  FakeDocument doc;
  doc.drawing().SetPageSize(1480, 2100);
  CZelView view(host, store, unit);
  view.SetDocument(&doc);
  view.OnInitialUpdate();
  host.RunPosted(view);
  host.invalidations = 0;

  view.OnPaint();
  EXPECT_TRUE(view.initialised());
  EXPECT_TRUE(host.presented.empty());
  EXPECT_EQ(host.invalidations, 1);

  // The first paint fitted the drawing, which is empty: true size with the
  // origin in the middle. Fit the page again, as the posted command did.
  view.FitPageCommand();
  doc.drawing().Add(FilledRect(-300, -300, 300, 300, 0x00C000));
  view.OnPaint();
  ASSERT_EQ(host.presented.size(), 1u);
  EXPECT_EQ(host.presented[0], (IntRect{0, 0, 240, 268}));
  ASSERT_EQ(host.screen.header.width, 240);
  ASSERT_EQ(std::abs(host.screen.header.height), 268);

  const Viewport& vp = view.viewport();
  const IntPoint a = vp.toScreen({-740, -1050});
  const IntPoint b = vp.toScreen({740, 1050});
  EXPECT_EQ(PixelAt(host.screen, 0, 0), kViewBackground);
  EXPECT_EQ(PixelAt(host.screen, a.x, a.y), 0x000000u);            // the page's black frame
  EXPECT_EQ(PixelAt(host.screen, b.x + 1, b.y - 5), kPageShadow);  // its shadow to the right
  EXPECT_EQ(PixelAt(host.screen, a.x + 5, a.y + 5), 0xFFFFFFu);    // white page
  EXPECT_EQ(PixelAt(host.screen, 120, 134), 0x00C000u);            // the shape at the centre
}

TEST(ZelView, WithoutThePageTheBackgroundIsWhite) {
  MemorySettings store;
  store.dwords[std::string(setting::kShowPage)] = 0;
  FakeViewHost host;
  int32_t unit = kUnitMm;
  FakeDocument doc;
  CZelView view(host, store, unit);
  host.OpenView(view, doc);
  ASSERT_FALSE(host.presented.empty());
  for (IntPoint p : {IntPoint{0, 0}, IntPoint{120, 134}, IntPoint{239, 267}})
    EXPECT_EQ(PixelAt(host.screen, p.x, p.y), 0xFFFFFFu);
}

TEST(ZelView, PaintingFollowsTheWindowSize) {
  MemorySettings store;
  FakeViewHost host;
  int32_t unit = kUnitMm;
  FakeDocument doc;
  CZelView view(host, store, unit);
  view.SetDocument(&doc);
  view.OnPaint();  // the fitting one
  view.OnPaint();
  ASSERT_EQ(host.presented.size(), 1u);
  const DibImage* first = view.windowPixels();

  host.client = {0, 0, 100, 50};
  view.OnPaint();
  ASSERT_EQ(host.presented.size(), 2u);
  EXPECT_EQ(host.presented.back(), (IntRect{0, 0, 100, 50}));
  EXPECT_EQ(host.screen.header.width, 100);
  EXPECT_EQ(std::abs(host.screen.header.height), 50);
  EXPECT_NE(view.windowPixels(), first);

  // A window without area is not painted at all.
  host.client = {0, 0, 0, 50};
  view.OnPaint();
  EXPECT_EQ(host.presented.size(), 2u);
}

TEST(ZelView, ResetToInitialStateShowsPageZeroFitted) {
  MemorySettings store;
  FakeViewHost host;
  int32_t unit = kUnitMm;
  FakeDocument doc;
  doc.drawing().SetPageCount(3);
  CZelView view(host, store, unit);
  view.SetDocument(&doc);
  view.OnInitialUpdate();
  host.RunPosted(view);
  view.SetCurrentPage(2);
  view.ActivateTool(CZelView::kSelectTool);

  view.ResetToInitialState();
  EXPECT_EQ(view.currentPage(), 0);
  EXPECT_EQ(view.currentTool(), CZelView::kPanTool);
  EXPECT_EQ(host.RunPosted(view), std::vector<int>{cmd::kFitPage});
}

}  // namespace
}  // namespace zel
