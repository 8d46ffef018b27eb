// The selection tool driven with stylus sequences: picking, bands, moving,
// copying with Ctrl, scaling by corner and edge handles, rotating, each
// change undone and redone as one step.
#include <cmath>

#include "model/edit_ops.h"
#include "view/select_tool.h"
#include "view/tool_fixture.h"

namespace zel {
namespace {

using testing::ToolTest;

class SelectToolTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    a = AddRect(20, 20, 60, 40);   // 40 x 20
    b = AddRect(100, 100, 140, 140);
    view->OnCommand(cmd::kToolSelect);
    Repaint();
  }
  SelectTool& tool() { return *static_cast<SelectTool*>(view->GetTool(kSelectToolId)); }
  IntPoint Handle(int i) {
    IntPoint h[9];
    tool().Handles(h);
    return h[i];
  }
  void ExpectBounds(int i, float xmin, float xmax, float ymin, float ymax, float tol = 0.01f) {
    const RectF& r = shape(i).bounds;
    EXPECT_NEAR(r.xmin, xmin, tol);
    EXPECT_NEAR(r.xmax, xmax, tol);
    EXPECT_NEAR(r.ymin, ymin, tol);
    EXPECT_NEAR(r.ymax, ymax, tol);
  }
  // The change is one undo step: undo gives back the bounds, redo the new ones.
  void ExpectOneStep(int i, const RectF& original) {
    const RectF changed = shape(i).bounds;
    const size_t steps = view->undo().UndoCount();
    ASSERT_TRUE(view->undo().Undo());
    EXPECT_EQ(view->undo().UndoCount(), steps - 1);
    ExpectBounds(i, original.xmin, original.xmax, original.ymin, original.ymax, 0.01f);
    ASSERT_TRUE(view->undo().Redo());
    ExpectBounds(i, changed.xmin, changed.xmax, changed.ymin, changed.ymax, 0.01f);
  }

  int a = 0;
  int b = 0;
};

TEST_F(SelectToolTest, TapPicksAShapeAndEmptySpaceDropsTheSelection) {
  Tap({40, 30});
  EXPECT_EQ(view->selection(), Selection{a});
  Tap({120, 120});
  EXPECT_EQ(view->selection(), Selection{b});
  Tap({200, 20});
  EXPECT_TRUE(view->selection().empty());
  EXPECT_EQ(view->undo().UndoCount(), 0u);
  EXPECT_FALSE(host.captured);
}

TEST_F(SelectToolTest, PressJustOutsideTheBoundsStillReachesTheShape) {
  // Unfilled, so only the outline is hit: 2 pixels left of it hits.
  drawing().GetShape(a)->path()->brushStyle = kBrushNull;
  EXPECT_EQ(tool().HitTest({18, 30}, SelectTool::Scope::kAll), a);
  EXPECT_EQ(tool().HitTest({16, 30}, SelectTool::Scope::kAll), -1);
}

TEST_F(SelectToolTest, TapOnAGroupedShapeSelectsTheGroupAndCtrlShiftTapRemovesIt) {
  drawing().GetShape(a)->groupId = 1;
  drawing().GetShape(b)->groupId = 1;
  const int c = AddRect(180, 20, 200, 40);
  Tap({40, 30});
  EXPECT_EQ(view->selection(), (Selection{a, b}));
  host.control = true;
  Tap({190, 30});
  EXPECT_EQ(view->selection(), (Selection{a, b, c}));
  host.shift = true;
  Tap({120, 120});
  EXPECT_EQ(view->selection(), Selection{c});
}

TEST_F(SelectToolTest, BandSelectsOnlyShapesWhollyInside) {
  Drag({10, 10}, {150, 150});
  EXPECT_EQ(view->selection(), (Selection{a, b}));
  Drag({10, 10}, {120, 120});
  EXPECT_EQ(view->selection(), Selection{a});
  // A band on another page's shapes selects nothing there.
  drawing().SetPageCount(2);
  drawing().GetShape(b)->pageIndex = 1;
  Drag({10, 10}, {150, 150});
  EXPECT_EQ(view->selection(), Selection{a});
}

TEST_F(SelectToolTest, DraggingAShapeMovesItAsOneUndoStep) {
  const RectF original = shape(a).bounds;
  doc.SetModifiedFlag(false);
  Drag({40, 30}, {70, 40});
  ExpectBounds(a, -70, -30, -104, -84);
  ExpectBounds(b, -20, 20, -34, 6);  // untouched
  EXPECT_EQ(view->selection(), Selection{a});
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(view->undo().UndoCount(), 1u);
  ExpectOneStep(a, original);
}

TEST_F(SelectToolTest, ShiftConstrainsAMoveToTheLargerAxis) {
  host.shift = true;
  Drag({40, 30}, {70, 40});
  host.shift = false;
  ExpectBounds(a, -70, -30, -114, -94);
}

TEST_F(SelectToolTest, ReleasingAMoveWhereItStartedChangesNothing) {
  Tap({40, 30});
  Drag({40, 30}, {40, 30});
  view->OnStylusDown(0, {40, 30});
  view->OnStylusMove(0, {60, 50});
  view->OnStylusMove(0, {40, 30});
  view->OnStylusUp(0, {40, 30});
  ExpectBounds(a, -100, -60, -114, -94);
  EXPECT_EQ(view->undo().UndoCount(), 0u);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(SelectToolTest, CtrlDragCopiesLeavingTheOriginalAndTheClipboard) {
  Tap({40, 30});
  host.control = true;
  Drag({40, 30}, {40, 90});
  host.control = false;
  ASSERT_EQ(drawing().Count(), 3);
  ExpectBounds(a, -100, -60, -114, -94);
  ExpectBounds(2, -100, -60, -54, -34);
  EXPECT_EQ(view->selection(), Selection{2});
  EXPECT_EQ(view->undo().UndoCount(), 1u);
  ASSERT_TRUE(view->undo().Undo());
  EXPECT_EQ(drawing().Count(), 2);
  ASSERT_TRUE(view->undo().Redo());
  ASSERT_EQ(drawing().Count(), 3);
  ExpectBounds(2, -100, -60, -54, -34);
  // After an undo takes the copy away again, the next press starts afresh.
  ASSERT_TRUE(view->undo().Undo());
  Drag({40, 30}, {45, 30});
  EXPECT_EQ(view->selection(), Selection{a});
  ExpectBounds(a, -95, -55, -114, -94);
}

TEST_F(SelectToolTest, CornerHandleScalesProportionallyAboutTheOppositeCorner) {
  Tap({40, 30});
  const RectF original = shape(a).bounds;
  const IntPoint h = Handle(4);  // bottom right
  const IntPoint to{h.x + 40, h.y + 40};
  Drag(h, to);
  // k = |u - f| / |d - f| with f the top-left corner.
  const PointF f{original.xmin, original.ymin};
  const PointF d = At(h), u = At(to);
  const float k = std::hypot(u.x - f.x, u.y - f.y) / std::hypot(d.x - f.x, d.y - f.y);
  ExpectBounds(a, f.x, f.x + 40 * k, f.y, f.y + 20 * k, 0.05f);
  ExpectOneStep(a, original);
}

TEST_F(SelectToolTest, CornerDraggedPastTheAnchorInBothAxesTurnsTheSelectionOver) {
  Tap({40, 30});
  const RectF original = shape(a).bounds;
  const IntPoint h = Handle(4);
  // Mirrored through the anchor (the top-left corner), at the same distance.
  const IntPoint anchor{20, 20};
  Drag(h, {2 * anchor.x - h.x, 2 * anchor.y - h.y});
  ExpectBounds(a, original.xmin - 40, original.xmin, original.ymin - 20, original.ymin, 0.05f);
}

TEST_F(SelectToolTest, EdgeHandleScalesOneAxis) {
  Tap({40, 30});
  const RectF original = shape(a).bounds;
  const IntPoint h = Handle(3);  // right middle
  Drag(h, {h.x + 25, h.y + 30});
  const float f = original.xmin;
  const float sx = (At({h.x + 25, 0}).x - f) / (At(h).x - f);
  ExpectBounds(a, f, f + 40 * sx, original.ymin, original.ymax, 0.05f);
  ExpectOneStep(a, original);
}

TEST_F(SelectToolTest, RotationHandleTurnsAboutTheCentre) {
  Tap({40, 30});
  const RectF original = shape(a).bounds;
  const IntPoint h = Handle(2);  // top right: the rotation disc
  const IntPoint c{40, 30};
  // A quarter turn clockwise on the screen.
  const IntPoint to{c.x - (h.y - c.y), c.y + (h.x - c.x)};
  Drag(h, to, 8);
  ExpectBounds(a, -90, -70, -124, -84, 0.05f);
  ExpectOneStep(a, original);
}

TEST_F(SelectToolTest, TextInTheSelectionCannotBeRotatedOrMirrored) {
  auto text = std::make_unique<Shape>(KindText);
  text->text()->text = u"abc";
  text->text()->faceName = u"DejaVu Sans";
  text->text()->anchor = At({150, 30});
  text->setSelected(false);
  text->UpdateBounds();
  drawing().Add(std::move(text));
  Tap({40, 30});
  const RectF tb = shape(2).bounds;
  host.control = true;
  Tap(IntPoint{int(tb.xmin + tb.xmax) / 2 + 120, int(tb.ymin + tb.ymax) / 2 + 134});
  host.control = false;
  ASSERT_EQ(view->selection(), (Selection{a, 2}));
  EXPECT_FALSE(tool().rotateAllowed());
  // Handle 4 dragged through the anchor: held at a tenth, never mirrored.
  const IntPoint h = Handle(4);
  const RectF textBefore = shape(2).bounds;
  Drag(h, {h.x - 400, h.y - 400});
  const RectF r = shape(2).bounds;
  EXPECT_LT(r.xmax - r.xmin, textBefore.xmax - textBefore.xmin);
  EXPECT_GE(r.xmin, shape(a).bounds.xmin - 0.5f);
}

TEST_F(SelectToolTest, MarksAreDrawnOnThePaintAndErasedForADrag) {
  Tap({40, 30});
  Repaint();
  const IntRect frame = tool().PixelFrame();
  const ColorRef marked = testing::PixelAt(host.screen, frame.left + 10, frame.top);
  view->OnStylusDown(0, {40, 30});
  // Hidden for the drag: the window shows what is under them.
  EXPECT_EQ(testing::PixelAt(host.screen, frame.left + 10, frame.top), marked ^ 0xFFFFFFu);
  view->OnStylusMove(0, {41, 90});
  view->OnStylusUp(0, {41, 90});
  host.PaintUntilSettled(*view);
  EXPECT_EQ(tool().dragMode(), SelectTool::kBand);
}

TEST_F(SelectToolTest, DoubleTapOnTheSelectionAsksForProperties) {
  Tap({40, 30});
  host.posted.clear();
  view->OnStylusDown(0, {40, 30});
  view->OnStylusUp(0, {40, 30});
  view->OnDoubleTap(0, {41, 31});
  ASSERT_FALSE(host.posted.empty());
  EXPECT_EQ(host.posted.back(), cmd::kProperties);
}

}  // namespace
}  // namespace zel
