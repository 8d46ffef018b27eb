// Editing operations on a selection: clipboard, join, break apart, groups,
// order, align and styles.
#include "model/edit_ops.h"

#include <vector>

#include <gtest/gtest.h>

#include "model/drawing_helpers.h"

namespace zel {
namespace {

using testing::Groups;
using testing::Image;
using testing::MultiPath;
using testing::Rect;
using testing::Tags;
using testing::Text;

TEST(EditSelection, SelectAllTakesTheCurrentPageInListOrder) {
  Drawing d;
  d.SetPageCount(2);
  d.Add(Rect(1, 0, 0, 10, 10, 1));
  d.Add(Rect(2, 0, 0, 10, 10, 0));
  d.Add(Rect(3, 0, 0, 10, 10, 1));
  EXPECT_EQ(SelectAll(d, 1), (Selection{0, 2}));
  EXPECT_EQ(SelectAll(d, 0), (Selection{1}));
  EXPECT_TRUE(SelectAll(d, 2).empty());
}

TEST(EditSelection, ValidSelectionDropsBadAndRepeatedIndices) {
  Drawing d;
  for (int i = 0; i < 3; ++i) d.Add(Rect(i, 0, 0));
  EXPECT_EQ(ValidSelection(d, {2, -1, 0, 2, 3, 1}), (Selection{2, 0, 1}));
}

TEST(EditClipboard, DeleteAndCut) {
  Drawing d, clip;
  for (ColorRef t = 1; t <= 4; ++t) d.Add(Rect(t, 0, 0));
  Selection sel{3, 1};
  EXPECT_TRUE(Cut(d, sel, clip));
  EXPECT_TRUE(sel.empty());
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{1, 3}));
  EXPECT_EQ(Tags(clip), (std::vector<ColorRef>{4, 2}));  // selection order
  EXPECT_FALSE(Delete(d, sel));
  sel = {5};
  EXPECT_FALSE(Delete(d, sel));
  EXPECT_EQ(d.Count(), 2);
}

TEST(EditClipboard, EveryPasteMakesGroupsOfItsOwn) {
  Drawing d, clip;
  d.SetPageCount(2);
  d.Add(Rect(1, 0, 0, 10, 10, 0, 1));
  d.Add(Rect(2, 40, 0, 10, 10, 0, 1));
  d.Add(Rect(3, 80, 0, 10, 10, 0, 0));
  ASSERT_TRUE(Copy(d, {0, 1, 2}, clip));
  EXPECT_EQ(Groups(clip), (std::vector<int32_t>{1, 1, 0}));

  Selection sel;
  ASSERT_TRUE(Paste(d, sel, clip, 1, PointF{-200, -100}));
  EXPECT_EQ(sel, (Selection{3, 4, 5}));
  ASSERT_TRUE(Paste(d, sel, clip, 1, PointF{-200, -100}));
  EXPECT_EQ(sel, (Selection{6, 7, 8}));
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{1, 1, 0, 2, 2, 0, 3, 3, 0}));
  for (int i : sel) EXPECT_EQ(d.GetShape(i)->pageIndex, 1);
  // The pasted block's top-left corner lands on the given point.
  RectF box = EmptyUnionStart();
  for (int i : sel) box = Union(box, d.GetShape(i)->bounds);
  EXPECT_FLOAT_EQ(box.xmin, -200.0f);
  EXPECT_FLOAT_EQ(box.ymin, -100.0f);
  EXPECT_FLOAT_EQ(d.GetShape(8)->bounds.xmin, -120.0f);  // relative layout kept
  // The originals did not move and the clipboard keeps its own copies.
  EXPECT_EQ(d.GetShape(0)->bounds.xmin, 0.0f);
  EXPECT_EQ(clip.Count(), 3);
  EXPECT_NE(clip.GetShape(0), d.GetShape(3));
}

TEST(EditClipboard, PasteLeavesExistingGroupIdsAlone) {
  Drawing d, clip;
  d.Add(Rect(1, 0, 0, 10, 10, 0, 4));  // ids need not be compact
  clip.Add(Rect(2, 0, 0, 10, 10, 0, 1));
  Selection sel;
  ASSERT_TRUE(Paste(d, sel, clip, 0, PointF{0, 0}));
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{4, 5}));
}

TEST(EditClipboard, PasteWithAnEmptyClipboardDoesNothing) {
  Drawing d, clip;
  d.Add(Rect(1, 0, 0));
  Selection sel{0};
  EXPECT_FALSE(Paste(d, sel, clip, 0, PointF{5, 5}));
  EXPECT_EQ(sel, (Selection{0}));
  EXPECT_EQ(d.Count(), 1);
  EXPECT_FALSE(Copy(d, {}, clip));
}

TEST(EditJoin, JoinsPathsAndKeepsOtherKinds) {
  Drawing d;
  d.Add(MultiPath(1, 2, 0, 0));
  d.Add(Text(2, 0, 100));
  d.Add(MultiPath(3, 1, 0, 50));
  d.GetShape(0)->groupId = 4;
  Selection sel{0, 1, 2};
  ASSERT_TRUE(Join(d, sel));
  ASSERT_EQ(d.Count(), 2);
  EXPECT_EQ(sel, (Selection{0}));
  const Shape& joined = *d.GetShape(0);
  ASSERT_NE(joined.path(), nullptr);
  EXPECT_EQ(joined.path()->subPaths.size(), 3u);
  EXPECT_EQ(joined.fillColor, 1u);
  EXPECT_EQ(joined.path()->lineWidth, 6);
  EXPECT_EQ(joined.groupId, 0);
  EXPECT_EQ(joined.bounds.ymax, 60.0f);
  EXPECT_NE(d.GetShape(1)->text(), nullptr);
}

TEST(EditJoin, PickOrderPutsTheNewPathBelowTheRemovedOnes) {
  // Picked from the top down: the first pick's index shrinks by the paths
  // removed beneath it. Taken unchanged it would lie past the end and both
  // paths would vanish.
  Drawing d;
  d.Add(Rect(1, 0, 0));
  d.Add(MultiPath(2, 1, 0, 0));
  d.Add(Rect(3, 0, 0));
  d.Add(MultiPath(4, 2, 100, 0));
  Selection sel{3, 1};
  ASSERT_TRUE(Join(d, sel));
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{1, 3, 4}));
  EXPECT_EQ(sel, (Selection{2}));
  ASSERT_EQ(d.GetShape(2)->path()->subPaths.size(), 3u);
  EXPECT_EQ(d.GetShape(2)->path()->subPaths[0][0].anchor.x, 100.0f);  // selection order
  EXPECT_EQ(d.GetShape(2)->path()->subPaths[2][0].anchor.x, 0.0f);
}

TEST(EditJoin, NeedsTwoShapesAndAPathFirst) {
  Drawing d;
  d.Add(Text(1, 0, 0));
  d.Add(MultiPath(2, 1));
  Selection one{1}, textFirst{0, 1}, repeated{1, 1};
  EXPECT_FALSE(Join(d, one));
  EXPECT_FALSE(Join(d, textFirst));
  EXPECT_FALSE(Join(d, repeated));
  EXPECT_EQ(d.Count(), 2);
  EXPECT_EQ(textFirst, (Selection{0, 1}));
}

TEST(EditBreakApart, OneShapePerContourInPlace) {
  Drawing d;
  d.Add(Rect(1, 0, 0));
  d.Add(MultiPath(2, 3, 0, 0));
  d.Add(Rect(3, 0, 0));
  d.GetShape(1)->groupId = 2;
  d.GetShape(1)->pageIndex = 0;
  Selection sel{1};
  ASSERT_TRUE(BreakApart(d, sel));
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{1, 2, 2, 2, 3}));
  EXPECT_EQ(sel, (Selection{1, 2, 3}));
  for (int k = 0; k < 3; ++k) {
    const Shape& piece = *d.GetShape(1 + k);
    ASSERT_EQ(piece.path()->subPaths.size(), 1u);
    EXPECT_EQ(piece.bounds.xmin, 20.0f * k);  // contour order
    EXPECT_EQ(piece.groupId, 2);
    EXPECT_EQ(piece.path()->lineWidth, 6);
  }
  Selection two{0, 1}, text{0};
  Drawing t;
  t.Add(Text(1, 0, 0));
  EXPECT_FALSE(BreakApart(d, two));
  EXPECT_FALSE(BreakApart(t, text));
}

TEST(EditGroups, GroupUngroupGroupGivesAFreshId) {
  Drawing d;
  for (int g : {3, 3, 0, 0, 7}) d.Add(Rect(1, 0, 0, 10, 10, 0, g));
  ASSERT_TRUE(Group(d, {2, 3}));
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{1, 1, 3, 3, 2}));
  ASSERT_TRUE(Ungroup(d, {2, 3}));
  ASSERT_TRUE(Group(d, {3, 1}));  // shapes leave their group for the new one
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{1, 3, 0, 3, 2}));
  EXPECT_FALSE(Group(d, {}));
}

TEST(EditOrder, BringToFrontAndSendToBack) {
  Drawing d;
  for (ColorRef t = 1; t <= 5; ++t) d.Add(Rect(t, 0, 0));
  Selection sel{3, 1};
  ASSERT_TRUE(BringToFront(d, sel));
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{1, 3, 5, 4, 2}));
  EXPECT_EQ(sel, (Selection{3, 4}));
  ASSERT_TRUE(SendToBack(d, sel));
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{4, 2, 1, 3, 5}));
  EXPECT_EQ(sel, (Selection{0, 1}));
  // The bottom shape among the selection: nothing happens.
  sel = {2, 0};
  EXPECT_FALSE(SendToBack(d, sel));
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{4, 2, 1, 3, 5}));
  EXPECT_EQ(sel, (Selection{2, 0}));
}

TEST(EditAlign, EachCommandMovesOneEdgeOrCentre) {
  struct Case {
    AlignCommand command;
    PointF moveA;  // how the first shape (0..10 x 0..10) moves
    PointF moveB;  // how the second (30..50 x 20..60) moves
  };
  const Case cases[] = {
      {AlignCommand::Left, {0, 0}, {-30, 0}},   {AlignCommand::Right, {40, 0}, {0, 0}},
      {AlignCommand::Center, {20, 0}, {-15, 0}}, {AlignCommand::Top, {0, 0}, {0, -20}},
      {AlignCommand::Middle, {0, 25}, {0, -10}}, {AlignCommand::Bottom, {0, 50}, {0, 0}},
  };
  for (const Case& c : cases) {
    Drawing d;
    d.Add(Rect(1, 0, 0, 10, 10));
    d.Add(Rect(2, 30, 20, 20, 40));
    ASSERT_TRUE(Align(d, {0, 1}, c.command));
    EXPECT_FLOAT_EQ(d.GetShape(0)->bounds.xmin, c.moveA.x);
    EXPECT_FLOAT_EQ(d.GetShape(0)->bounds.ymin, c.moveA.y);
    EXPECT_FLOAT_EQ(d.GetShape(1)->bounds.xmin, 30 + c.moveB.x);
    EXPECT_FLOAT_EQ(d.GetShape(1)->bounds.ymin, 20 + c.moveB.y);
  }
}

TEST(EditAlign, AGroupMovesAsOneUnit) {
  Drawing d;
  d.Add(Rect(1, 50, 0, 10, 10, 0, 1));
  d.Add(Rect(2, 80, 0, 10, 10, 0, 1));  // not selected, moves with its group
  d.Add(Rect(3, 20, 30, 10, 10));
  ASSERT_TRUE(Align(d, {0, 2}, AlignCommand::Left));
  EXPECT_EQ(d.GetShape(0)->bounds.xmin, 20.0f);
  EXPECT_EQ(d.GetShape(1)->bounds.xmin, 50.0f);
  EXPECT_EQ(d.GetShape(2)->bounds.xmin, 20.0f);
  EXPECT_EQ(AlignedShapes(d, {0, 2}), (Selection{0, 2, 1}));
  EXPECT_TRUE(AlignedShapes(d, {0}).empty());
  EXPECT_FALSE(Align(d, {0}, AlignCommand::Left));
}

TEST(EditStyle, PresetsAndNoLineApplyToPathsOnly) {
  Drawing d;
  d.Add(MultiPath(1, 1));
  d.Add(Text(2, 0, 0));
  d.Add(Image(3, 0, 0));
  d.GetShape(0)->path()->penStyle = kPenNull;
  ASSERT_TRUE(ApplyStyle(d, {0, 1, 2}, StyleCommand::Bold));
  EXPECT_EQ(d.GetShape(0)->path()->penStyle, kPenSolid);
  EXPECT_EQ(d.GetShape(0)->path()->lineWidth, kLineBold);
  ASSERT_TRUE(ApplyStyle(d, {0}, StyleCommand::NoLine));
  EXPECT_EQ(d.GetShape(0)->path()->penStyle, kPenNull);
  EXPECT_FALSE(ApplyStyle(d, {1, 2}, StyleCommand::Thick));
}

TEST(EditStyle, NoFillToggles) {
  Drawing d;
  d.Add(MultiPath(1, 1));
  d.Add(MultiPath(2, 1));
  d.GetShape(0)->path()->brushStyle = kBrushNull;
  d.GetShape(1)->path()->brushStyle = kBrushDotted;  // counts as filled
  ASSERT_TRUE(ApplyStyle(d, {0, 1}, StyleCommand::NoFill));
  EXPECT_EQ(d.GetShape(0)->path()->brushStyle, kBrushNull);
  EXPECT_EQ(d.GetShape(1)->path()->brushStyle, kBrushNull);
  ASSERT_TRUE(ApplyStyle(d, {0, 1}, StyleCommand::NoFill));
  EXPECT_EQ(d.GetShape(0)->path()->brushStyle, kBrushSolid);
  EXPECT_EQ(d.GetShape(1)->path()->brushStyle, kBrushSolid);
}

TEST(EditStyle, DefaultsForNewShapes) {
  ShapeStyle s;
  s.penStyle = kPenNull;
  ApplyStyle(s, StyleCommand::Normal);
  EXPECT_EQ(s.penStyle, kPenSolid);
  EXPECT_EQ(s.lineWidth, kLineNormal);
  ApplyStyle(s, StyleCommand::NoLine);
  EXPECT_EQ(s.penStyle, kPenNull);
  ApplyStyle(s, StyleCommand::NoLine);
  EXPECT_EQ(s.penStyle, kPenSolid);
  ApplyStyle(s, StyleCommand::NoFill);
  EXPECT_EQ(s.brushStyle, kBrushNull);
  ApplyStyle(s, StyleCommand::NoFill);
  EXPECT_EQ(s.brushStyle, kBrushSolid);
}

TEST(EditStyle, ColourPicks) {
  Drawing d;
  d.Add(MultiPath(1, 1));
  d.Add(Text(2, 0, 0));
  d.Add(Image(3, 0, 0));
  d.GetShape(0)->path()->brushStyle = kBrushNull;
  d.GetShape(0)->path()->penStyle = kPenNull;
  ASSERT_TRUE(SetFillColor(d, {0, 1, 2}, 0xAA));
  EXPECT_EQ(d.GetShape(0)->fillColor, 0xAAu);
  EXPECT_EQ(d.GetShape(0)->path()->brushStyle, kBrushSolid);
  EXPECT_EQ(d.GetShape(1)->fillColor, 0xAAu);  // a text's colour
  EXPECT_EQ(d.GetShape(2)->fillColor, 3u);
  ASSERT_TRUE(SetLineColor(d, {0, 1}, 0xBB));
  EXPECT_EQ(d.GetShape(0)->path()->penColor, 0xBBu);
  EXPECT_EQ(d.GetShape(0)->path()->penStyle, kPenSolid);
  EXPECT_FALSE(SetLineColor(d, {1, 2}, 0xBB));
}

TEST(EditTransform, TransformsTheSelectedShapesOnly) {
  Drawing d;
  d.Add(Rect(1, 0, 0));
  d.Add(Rect(2, 0, 0));
  Transform t;
  t.Translate(-5, -7);  // moves points by (5, 7)
  TransformSelection(d, {1, 4}, t);
  EXPECT_EQ(d.GetShape(0)->bounds.xmin, 0.0f);
  EXPECT_EQ(d.GetShape(1)->bounds.xmin, 5.0f);
  EXPECT_EQ(d.GetShape(1)->bounds.ymin, 7.0f);
}

}  // namespace
}  // namespace zel
