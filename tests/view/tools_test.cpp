// The creating tools, the viewport tools and tool switching, driven with
// stylus sequences: the shapes they make (geometry, style, page, selected
// flag), their undo and redo, and the exclusive-or feedback they leave.
#include <cmath>

#include "model/path_node.h"
#include "view/tool_fixture.h"

namespace zel {
namespace {

using testing::ExpectPoint;
using testing::PixelAt;
using testing::ToolTest;

class CreatingTools : public ToolTest {};

// Undo takes the newest shape away and redo brings the same one back.
void ExpectUndoRedo(CZelView& view, Drawing& d) {
  const int count = d.Count();
  const RectF before = d.GetShape(count - 1)->bounds;
  ASSERT_TRUE(view.undo().Undo());
  EXPECT_EQ(d.Count(), count - 1);
  ASSERT_TRUE(view.undo().Redo());
  ASSERT_EQ(d.Count(), count);
  const RectF after = d.GetShape(count - 1)->bounds;
  EXPECT_FLOAT_EQ(after.xmin, before.xmin);
  EXPECT_FLOAT_EQ(after.xmax, before.xmax);
  EXPECT_FLOAT_EQ(after.ymin, before.ymin);
  EXPECT_FLOAT_EQ(after.ymax, before.ymax);
}

TEST_F(CreatingTools, RubberBandToolsMakeTheirPathInTheCurrentStyleOnTheCurrentPage) {
  struct Case {
    int command;
    size_t nodes;
    bool open;
  };
  const Case cases[] = {{cmd::kToolLine, 2, true}, {cmd::kToolRectangle, 5, false}, {cmd::kToolEllipse, 5, false}};
  drawing().SetPageCount(2);
  view->SetCurrentPage(1);
  view->style().penColor = 0x112233;
  view->style().fillColor = 0x445566;
  view->style().lineWidth = kLineBold;
  view->style().brushStyle = kBrushSolid;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    doc.SetModifiedFlag(false);
    ASSERT_TRUE(view->OnCommand(c.command));
    CommandUi ui;
    ASSERT_TRUE(view->OnUpdateCommand(c.command, ui));
    EXPECT_TRUE(ui.enabled);
    EXPECT_TRUE(ui.checked);
    const int before = drawing().Count();
    // Dragged from the lower right to the upper left.
    Drag({80, 100}, {20, 40});
    ASSERT_EQ(drawing().Count(), before + 1);
    const Shape& s = shape(before);
    ASSERT_EQ(s.kind(), KindPath);
    const PathContent& path = *s.path();
    ASSERT_EQ(path.subPaths.size(), 1u);
    ASSERT_EQ(path.subPaths[0].size(), c.nodes);
    EXPECT_EQ(path.penColor, 0x112233u);
    EXPECT_EQ(path.lineWidth, kLineBold);
    EXPECT_EQ(s.fillColor, 0x445566u);
    EXPECT_EQ(path.brushStyle, c.open ? kBrushNull : kBrushSolid);
    EXPECT_EQ(s.pageIndex, 1);
    EXPECT_TRUE(s.selected());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_NEAR(s.bounds.xmin, -100.0f, 0.01f);
    EXPECT_NEAR(s.bounds.xmax, -40.0f, 0.01f);
    EXPECT_NEAR(s.bounds.ymin, -94.0f, 0.01f);
    EXPECT_NEAR(s.bounds.ymax, -34.0f, 0.01f);
    EXPECT_FALSE(host.captured);
    ExpectUndoRedo(*view, drawing());
  }
  // The line runs from the press to the release; the rectangle starts at its
  // top-left corner whichever way it was dragged.
  ExpectPoint(shape(0).path()->subPaths[0][0].anchor, {-40, -34});
  ExpectPoint(shape(0).path()->subPaths[0][1].anchor, {-100, -94});
  const SubPath& rect = shape(1).path()->subPaths[0];
  ExpectPoint(rect[0].anchor, {-100, -94});
  ExpectPoint(rect[1].anchor, {-40, -94});
  ExpectPoint(rect[2].anchor, {-40, -34});
  ExpectPoint(rect[4].anchor, {-100, -94});
}

TEST_F(CreatingTools, EllipseHandlesAreTheFourArcConstantOfItsSides) {
  view->OnCommand(cmd::kToolEllipse);
  Drag({20, 30}, {120, 80});
  const SubPath& n = shape(0).path()->subPaths[0];
  ASSERT_EQ(n.size(), 5u);
  // 100 x 50 from (-100, -104).
  ExpectPoint(n[0].anchor, {-50, -104});
  ExpectPoint(n[0].out, {-50 + 27.614239f, -104});
  ExpectPoint(n[1].in, {0, -79 - 13.807119f});
  ExpectPoint(n[4].anchor, n[0].anchor);
}

TEST_F(CreatingTools, ReleasingWhereThePressStartedCreatesNothing) {
  for (int command : {cmd::kToolLine, cmd::kToolRectangle, cmd::kToolEllipse, cmd::kToolDraw}) {
    view->OnCommand(command);
    Drag({50, 50}, {50, 50});
  }
  EXPECT_EQ(drawing().Count(), 0);
  EXPECT_EQ(view->undo().UndoCount(), 0u);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(CreatingTools, RubberBandIsDrawnInExclusiveOrAndErasedAtTheRelease) {
  view->OnCommand(cmd::kToolRectangle);
  Repaint();
  const ColorRef page = PixelAt(host.screen, 40, 20);
  view->OnStylusDown(0, {10, 20});
  view->OnStylusMove(0, {60, 50});
  // The top side of the band crosses (40, 20): inverted while dragging.
  EXPECT_EQ(PixelAt(host.screen, 40, 20), page ^ 0xFFFFFFu);
  view->OnStylusMove(0, {70, 60});
  view->OnStylusUp(0, {70, 60});
  EXPECT_EQ(PixelAt(host.screen, 40, 20), page);
  EXPECT_GT(host.invalidations, 0);
}

TEST_F(CreatingTools, FreehandStrokeIsFittedIntoAFewBezierSegments) {
  view->OnCommand(cmd::kToolDraw);
  view->style().brushStyle = kBrushNull;
  // Half a circle of radius 60 pixels, 40 points.
  std::vector<IntPoint> arc;
  for (int i = 0; i <= 40; ++i) {
    const double a = 3.14159265 * i / 40;
    arc.push_back({int(std::lround(120 - 60 * std::cos(a))), int(std::lround(150 - 60 * std::sin(a)))});
  }
  Stroke(arc);
  ASSERT_EQ(drawing().Count(), 1);
  const PathContent& open = *shape(0).path();
  const SubPath& n = open.subPaths[0];
  EXPECT_GE(n.size(), 2u);
  EXPECT_LE(n.size(), 5u);
  EXPECT_EQ(open.brushStyle, kBrushNull);
  ExpectPoint(n.front().anchor, At(arc.front()), 0.5f);
  ExpectPoint(n.back().anchor, At(arc.back()), 0.5f);
  // The curve passes near the top of the arc.
  EXPECT_NEAR(shape(0).bounds.ymin, 150 - 60 - 134, 3.0f);
  ExpectUndoRedo(*view, drawing());

  // Filled: the stroke is closed back to its start.
  view->style().brushStyle = kBrushSolid;
  Stroke(arc);
  ASSERT_EQ(drawing().Count(), 2);
  const SubPath& closed = shape(1).path()->subPaths[0];
  EXPECT_TRUE(IsClosed(closed));
  EXPECT_EQ(shape(1).path()->brushStyle, kBrushSolid);
}

TEST_F(CreatingTools, FreehandEdgeCases) {
  view->OnCommand(cmd::kToolDraw);
  view->style().brushStyle = kBrushNull;
  // Within 3 pixels of the start: only start and release are recorded.
  Stroke({{50, 50}, {51, 51}, {52, 50}, {51, 52}});
  EXPECT_EQ(drawing().Count(), 0);
  // A straight stroke of 50 points is one segment.
  std::vector<IntPoint> line;
  for (int i = 0; i < 50; ++i) line.push_back({20 + 3 * i, 40 + i});
  Stroke(line);
  ASSERT_EQ(drawing().Count(), 1);
  EXPECT_EQ(shape(0).path()->subPaths[0].size(), 2u);
}

TEST_F(CreatingTools, BezierTapsMakeStraightSidedPathsClosedWhenFilled) {
  const IntPoint a{20, 20}, b{100, 20}, c{100, 90}, d{20, 90};
  for (bool filled : {true, false}) {
    SCOPED_TRACE(filled);
    view->OnCommand(cmd::kToolBezier);
    view->style().brushStyle = filled ? kBrushSolid : kBrushNull;
    const int before = drawing().Count();
    Tap(a);
    Tap(b);
    Tap(c);
    // A double tap: its first tap places D, the double tap finishes.
    Tap(d);
    view->OnDoubleTap(0, d);
    view->OnStylusUp(0, d);
    ASSERT_EQ(drawing().Count(), before + 1);
    const SubPath& n = shape(before).path()->subPaths[0];
    ASSERT_EQ(n.size(), filled ? 5u : 4u);
    ExpectPoint(n[0].anchor, At(a));
    ExpectPoint(n[3].anchor, At(d));
    for (const PathNode& node : n) {
      EXPECT_TRUE(HasNoHandles(node));
    }
    EXPECT_TRUE(n[1].flags & kNodeCusp);
    EXPECT_EQ(IsClosed(n), filled);
    view->OnCommand(cmd::kToolSelect);
  }
}

TEST_F(CreatingTools, BezierPathClosedOnItsFirstNode) {
  view->OnCommand(cmd::kToolBezier);
  view->style().brushStyle = kBrushNull;
  Tap({20, 20});
  // A drag pulls out mirrored handles: a smooth node.
  Drag({100, 40}, {120, 40});
  Tap({60, 100});
  Tap({20, 20});
  view->OnDoubleTap(0, {20, 20});
  ASSERT_EQ(drawing().Count(), 1);
  const SubPath& n = shape(0).path()->subPaths[0];
  ASSERT_EQ(n.size(), 4u);
  EXPECT_TRUE(IsClosed(n));
  ExpectPoint(n[1].out, At({120, 40}));
  ExpectPoint(n[1].in, At({80, 40}));
  EXPECT_FALSE(n[1].flags & kNodeCusp);
  ExpectUndoRedo(*view, drawing());
}

TEST_F(CreatingTools, CtrlWhileDraggingABezierHandleMakesACusp) {
  view->OnCommand(cmd::kToolBezier);
  Tap({20, 20});
  host.control = true;
  Drag({100, 40}, {120, 60});
  host.control = false;
  // Leaving the tool finishes the path.
  view->OnCommand(cmd::kToolPan);
  ASSERT_EQ(drawing().Count(), 1);
  const PathNode& cusp = shape(0).path()->subPaths[0][1];
  EXPECT_TRUE(cusp.flags & kNodeCusp);
  ExpectPoint(cusp.in, cusp.anchor);
  ExpectPoint(cusp.out, At({120, 60}));
}

TEST_F(CreatingTools, TextCommandPlacesANewSelectedTextOrGoesBackWhenCancelled) {
  view->OnCommand(cmd::kToolRectangle);
  host.dialogAnswer = false;
  view->OnCommand(cmd::kToolText);
  EXPECT_EQ(drawing().Count(), 0);
  EXPECT_EQ(view->currentTool(), kRectangleToolId);

  host.dialogAnswer = true;
  view->style().textColor = 0x0000FF;
  view->OnCommand(cmd::kToolText);
  ASSERT_EQ(drawing().Count(), 1);
  const Shape& s = shape(0);
  ASSERT_EQ(s.kind(), KindText);
  EXPECT_EQ(s.text()->text, u"my text");
  EXPECT_EQ(s.fillColor, 0x0000FFu);
  EXPECT_EQ(view->currentTool(), kSelectToolId);
  EXPECT_EQ(view->selection(), Selection{0});
  // Its top-left corner under pixel (10, 10), as pasted shapes land.
  EXPECT_NEAR(s.bounds.xmin, -110.0f, 0.01f);
  EXPECT_NEAR(s.bounds.ymin, -124.0f, 0.01f);
  EXPECT_TRUE(doc.IsModified());
  ASSERT_TRUE(view->undo().Undo());
  EXPECT_EQ(drawing().Count(), 0);
  ASSERT_TRUE(view->undo().Redo());
  EXPECT_EQ(drawing().Count(), 1);
}

TEST_F(CreatingTools, ParagraphTextGetsABoxOfItsOwnSize) {
  host.dialogAnswer = true;
  view->style().textType = kTextParagraph;
  view->style().angle = 30.0f;
  view->OnCommand(cmd::kToolText);
  ASSERT_EQ(drawing().Count(), 1);
  const TextContent& t = *shape(0).text();
  EXPECT_EQ(t.angle, 0.0f);
  EXPECT_GT(t.corner.x, t.anchor.x);
  EXPECT_GT(t.corner.y, t.anchor.y);
}

class ViewportTools : public ToolTest {};

TEST_F(ViewportTools, ZoomAreaFitsTheDraggedRectangleThenPanIsCurrent) {
  view->OnCommand(cmd::kToolZoom);
  EXPECT_EQ(view->currentTool(), kZoomToolId);
  Drag({20, 20}, {80, 80});
  // 60 x 60 into 240 x 268: the width decides.
  EXPECT_NEAR(view->viewport().getScale(), 4.0f, 0.01f);
  ExpectPoint(view->viewport().fromScreen({120, 134}), {-70, -84}, 0.5f);
  EXPECT_EQ(view->currentTool(), kPanToolId);
}

TEST_F(ViewportTools, PanMovesTheAnchorByTheDrag) {
  view->OnCommand(cmd::kToolPan);
  host.invalidations = 0;
  Drag({50, 50}, {80, 30});
  EXPECT_EQ(view->viewport().anchorX(), 150);
  EXPECT_EQ(view->viewport().anchorY(), 114);
  EXPECT_GT(host.invalidations, 0);
}

TEST_F(ViewportTools, ToolSwitchingRules) {
  AddRect(20, 20, 60, 60);
  view->OnCommand(cmd::kToolSelect);
  Tap({40, 40});
  EXPECT_EQ(view->selection(), Selection{0});
  // Any other tool empties the selection.
  view->OnCommand(cmd::kToolLine);
  EXPECT_TRUE(view->selection().empty());
  CommandUi ui;
  ASSERT_TRUE(view->OnUpdateCommand(cmd::kToolSelect, ui));
  EXPECT_FALSE(ui.checked);
  // An id without a tool activates the pan tool.
  view->ActivateTool(7);
  EXPECT_EQ(view->currentTool(), kPanToolId);
  ASSERT_TRUE(view->OnUpdateCommand(cmd::kToolPan, ui));
  EXPECT_TRUE(ui.checked);
}

}  // namespace
}  // namespace zel
