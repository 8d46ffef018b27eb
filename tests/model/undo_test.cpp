// Undo and redo: every action record, the size bound and its eviction
// order, and the cases where a step must store shapes instead of a matrix.
#include "model/undo_manager.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/drawing_helpers.h"
#include "model/undo_session.h"

namespace zel {
namespace {

using testing::Groups;
using testing::Image;
using testing::MultiPath;
using testing::Rect;
using testing::Session;
using testing::Snapshot;
using testing::Tags;
using testing::Text;

// Two pages whose shapes interleave in the list, with groups and every kind.
void Populate(Drawing& d) {
  d.SetPageCount(2);
  d.Add(Rect(1, 0, 0, 10, 10, 0, 1));
  d.Add(MultiPath(2, 3, 50, 50));
  d.GetShape(1)->pageIndex = 1;
  d.Add(Rect(3, 30, 0, 10, 10, 0, 1));
  d.Add(Text(4, -100, 40));
  d.Add(MultiPath(5, 2, -80, -60));
  d.GetShape(4)->groupId = 2;
  d.Add(Image(6, 200, 100));
  d.GetShape(5)->pageIndex = 1;
  d.GetShape(5)->groupId = 3;
  d.Add(Rect(7, 0, 90, 30, 10, 1, 3));
  d.Add(Rect(8, 120, -40, 10, 25, 0, 0));
}

struct CommandCase {
  const char* name;
  Selection selection;
  int page;
  int code;  // the action the command records
  std::function<void(Session&)> run;
};

std::vector<CommandCase> Commands() {
  Transform flatten;
  flatten.Scale(0.0f, 1.0f);  // a width of 0 typed in the properties sheet
  Transform scale;
  scale.Scale(2.0f, 0.5f);
  return {
      {"delete", {4, 0}, 0, 1, [](Session& s) { s.DeleteCmd(); }},
      {"cut", {7, 2}, 0, 1, [](Session& s) { s.CutCmd(); }},
      {"paste", {0, 2, 3}, 1, 3,
       [](Session& s) {
         s.CopyCmd();
         s.PasteCmd();
       }},
      {"join in pick order", {7, 4, 3}, 0, 8, [](Session& s) { s.JoinCmd(); }},
      {"break apart", {1}, 1, 9, [](Session& s) { s.BreakApartCmd(); }},
      {"group", {3, 7}, 0, 7, [](Session& s) { s.GroupCmd(); }},
      {"ungroup", {0}, 0, 7, [](Session& s) { s.UngroupCmd(); }},
      {"group across interleaved pages", {1, 6}, 1, 7, [](Session& s) { s.GroupCmd(); }},
      {"bring to front", {2, 0}, 0, 4, [](Session& s) { s.ReorderCmd(true); }},
      {"send to back, one shape", {7}, 0, 2, [](Session& s) { s.ReorderCmd(false); }},
      {"bring to front, a run", {3, 4}, 0, 2, [](Session& s) { s.ReorderCmd(true); }},
      {"send to back, a run", {4, 5, 6}, 0, 2, [](Session& s) { s.ReorderCmd(false); }},
      {"align left with a partly selected group", {0, 7}, 0, 0,
       [](Session& s) { s.AlignCmd(AlignCommand::Left); }},
      {"align bottom", {1, 3, 4}, 0, 0, [](Session& s) { s.AlignCmd(AlignCommand::Bottom); }},
      {"thick", {1, 3, 4}, 0, 0, [](Session& s) { s.StyleCmd(StyleCommand::Thick); }},
      {"no fill", {1, 4}, 0, 0, [](Session& s) { s.StyleCmd(StyleCommand::NoFill); }},
      {"scale with text selected", {3, 7}, 0, 0,
       [scale](Session& s) { s.TransformCmd(scale); }},
      {"scale to zero width", {0, 7, 5}, 0, 0,
       [flatten](Session& s) { s.TransformCmd(flatten); }},
      {"add shape", {}, 1, 5, [](Session& s) { s.AddShapeCmd(Rect(9, 5, 5)); }},
      {"add page", {}, 0, 11, [](Session& s) { s.AddPageCmd(); }},
      {"insert page before", {}, 0, 12, [](Session& s) { s.InsertPageCmd(false); }},
      {"insert page after", {}, 0, 12, [](Session& s) { s.InsertPageCmd(true); }},
      {"delete first page", {}, 0, 13, [](Session& s) { s.DeletePageCmd(); }},
      {"delete last page", {}, 1, 13, [](Session& s) { s.DeletePageCmd(); }},
      {"reorder all", {}, 0, 4, [](Session& s) { s.ReverseAllCmd(); }},
  };
}

TEST(UndoActions, EveryCommandUndoesAndRedoesExactly) {
  for (const CommandCase& c : Commands()) {
    SCOPED_TRACE(c.name);
    Session s;
    Populate(s.drawing);
    s.selection = c.selection;
    s.page = c.page;
    const auto before = Snapshot(s.drawing);
    c.run(s);
    const auto after = Snapshot(s.drawing);
    ASSERT_NE(before, after);
    ASSERT_EQ(s.history.UndoCount(), 1u);
    EXPECT_EQ(s.history.NextUndoAction(), c.code);

    ASSERT_TRUE(s.history.Undo());
    EXPECT_EQ(Snapshot(s.drawing), before);
    EXPECT_EQ(s.history.UndoCount(), 0u);
    ASSERT_EQ(s.history.RedoCount(), 1u);
    ASSERT_TRUE(s.history.Redo());
    EXPECT_EQ(Snapshot(s.drawing), after);
    ASSERT_TRUE(s.history.Undo());
    EXPECT_EQ(Snapshot(s.drawing), before);
    for (int i : s.selection) EXPECT_NE(s.drawing.GetShape(i), nullptr);
    EXPECT_GE(s.page, 0);
    EXPECT_LT(s.page, s.drawing.PageCount());
  }
}

TEST(UndoActions, UndoDeleteKeepsPartlyDeletedGroupsWhole) {
  Session s;
  for (int i = 0; i < 3; ++i) s.drawing.Add(Rect(i + 1, 0, 0, 10, 10, 0, 1));
  s.drawing.Add(Rect(4, 0, 0, 10, 10, 0, 2));
  s.selection = {1, 3};
  s.DeleteCmd();
  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(Tags(s.drawing), (std::vector<ColorRef>{1, 2, 3, 4}));
  // Renumbering the returning shapes above the others would split group 1.
  EXPECT_EQ(Groups(s.drawing), (std::vector<int32_t>{1, 1, 1, 2}));
  EXPECT_TRUE(s.selection.empty());
}

TEST(UndoActions, MoveUndoRedoWithinRounding) {
  Session s;
  Populate(s.drawing);
  s.selection = {0, 1, 4, 5};
  Transform t;
  t.Translate(12.5f, -40.25f);
  t.Rotate(0.3f);
  const auto before = Snapshot(s.drawing);
  s.TransformCmd(t);
  EXPECT_EQ(s.history.NextUndoAction(), 10);
  std::vector<RectF> moved;
  for (int i = 0; i < s.drawing.Count(); ++i) moved.push_back(s.drawing.GetShape(i)->bounds);

  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(s.selection, (Selection{0, 1, 4, 5}));
  Drawing original;
  Populate(original);
  for (int i = 0; i < s.drawing.Count(); ++i) {
    const RectF& a = s.drawing.GetShape(i)->bounds;
    const RectF& b = original.GetShape(i)->bounds;
    EXPECT_NEAR(a.xmin, b.xmin, 0.01f) << i;
    EXPECT_NEAR(a.ymax, b.ymax, 0.01f) << i;
  }
  ASSERT_TRUE(s.history.Redo());
  for (int i = 0; i < s.drawing.Count(); ++i) {
    EXPECT_NEAR(s.drawing.GetShape(i)->bounds.xmax, moved[i].xmax, 0.01f) << i;
    EXPECT_NEAR(s.drawing.GetShape(i)->bounds.ymin, moved[i].ymin, 0.01f) << i;
  }
}

TEST(UndoActions, TransformsWithoutAnExactInverseStoreTheShapes) {
  struct Case {
    const char* name;
    float sx, sy;
    Selection selection;
    int code;
  };
  const Case cases[] = {
      {"ordinary scale", 2.0f, 3.0f, {0, 1}, 10},
      {"zero width", 0.0f, 1.0f, {0, 1}, 0},
      {"zero height", 1.0f, 0.0f, {0, 1}, 0},
      {"almost nothing", 1e-6f, 1.0f, {0, 1}, 0},  // its inverse scatters the nodes
      {"text in the selection", 2.0f, 2.0f, {0, 2}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session s;
    s.drawing.Add(Rect(1, 400, 300, 50, 50));
    s.drawing.Add(MultiPath(2, 2, 350, 250));
    s.drawing.Add(Text(3, 0, 0));
    s.selection = c.selection;
    Transform t;
    t.Translate(400, 300);  // scale about (400, 300)
    t.Scale(c.sx, c.sy);
    t.Translate(-400, -300);
    const auto before = Snapshot(s.drawing);
    s.TransformCmd(t);
    EXPECT_EQ(s.history.NextUndoAction(), c.code);
    ASSERT_TRUE(s.history.Undo());
    if (c.code == 0) {
      EXPECT_EQ(Snapshot(s.drawing), before);
    }
    for (int i = 0; i < s.drawing.Count(); ++i) {
      const RectF b = s.drawing.GetShape(i)->bounds;
      EXPECT_TRUE(std::isfinite(b.xmin) && std::isfinite(b.xmax)) << i;
    }
    ASSERT_TRUE(s.history.Redo());
    EXPECT_EQ(s.history.UndoCount(), 1u);
  }
}

TEST(UndoActions, GroupRedoRegroupsTheSameShapesAcrossInterleavedPages) {
  Session s;
  s.drawing.SetPageCount(2);
  for (int i = 0; i < 6; ++i) s.drawing.Add(Rect(i + 1, 0, 0, 10, 10, i % 2));
  s.drawing.GetShape(0)->groupId = 1;  // an existing group on page 0
  s.drawing.GetShape(2)->groupId = 1;
  s.page = 1;
  s.selection = {3, 5};
  s.GroupCmd();
  const std::vector<int32_t> grouped = Groups(s.drawing);
  ASSERT_EQ(grouped, (std::vector<int32_t>{1, 0, 1, 2, 0, 2}));
  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(Groups(s.drawing), (std::vector<int32_t>{1, 0, 1, 0, 0, 0}));
  ASSERT_TRUE(s.history.Redo());
  // Page-major positions read as list indices would group shapes 4 and 5.
  EXPECT_EQ(Groups(s.drawing), grouped);
}

TEST(UndoActions, GroupUndoRestoresIdsAndCopesWithForeignIds) {
  Session s;
  for (int g : {5, 0, 5, 2}) s.drawing.Add(Rect(1, 0, 0, 10, 10, 0, g));
  s.selection = {1};
  s.GroupCmd();
  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(Groups(s.drawing), (std::vector<int32_t>{5, 0, 5, 2}));  // not renumbered

  // Ids an importer may have taken from a file: the record must stay small
  // and the grouping survive, even if the ids do not.
  Session f;
  for (int g : {1 << 30, 0, 1 << 30, -7}) f.drawing.Add(Rect(1, 0, 0, 10, 10, 0, g));
  f.selection = {1};
  f.GroupCmd();
  EXPECT_LT(f.history.UndoBytes(), 100u);
  ASSERT_TRUE(f.history.Undo());
  const std::vector<int32_t> g = Groups(f.drawing);
  EXPECT_NE(g[0], 0);
  EXPECT_EQ(g[0], g[2]);
  EXPECT_EQ(g[1], 0);
  EXPECT_NE(g[3], 0);
  EXPECT_NE(g[3], g[0]);
}

TEST(UndoActions, JoinRecordsOnlyWhenItActs) {
  Session s;
  s.drawing.Add(Text(1, 0, 0));
  s.drawing.Add(MultiPath(2, 1));
  s.drawing.Add(MultiPath(3, 1));
  for (Selection sel : {Selection{1}, Selection{0, 1, 2}, Selection{1, 1}, Selection{}}) {
    s.selection = sel;
    s.JoinCmd();
    EXPECT_EQ(s.history.UndoCount(), 0u);
    EXPECT_EQ(s.drawing.Count(), 3);
  }
  EXPECT_FALSE(s.history.RecordBreakApart(true, 0));
  EXPECT_FALSE(s.history.RecordDeletePage(true, 0, 1));  // a single page
}

TEST(UndoActions, ANewEditClearsRedoButReplaysDoNot) {
  Session s;
  Populate(s.drawing);
  s.selection = {0};
  s.StyleCmd(StyleCommand::Thick);
  s.selection = {1};
  s.StyleCmd(StyleCommand::Bold);
  ASSERT_TRUE(s.history.Undo());
  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(s.history.RedoCount(), 2u);
  ASSERT_TRUE(s.history.Redo());  // recording onto undo during a replay
  EXPECT_EQ(s.history.RedoCount(), 1u);
  s.selection = {4};
  s.StyleCmd(StyleCommand::NoLine);
  EXPECT_EQ(s.history.RedoCount(), 0u);
  EXPECT_EQ(s.history.UndoCount(), 2u);
  EXPECT_FALSE(s.history.Redo());
}

TEST(UndoActions, AttachEmptiesTheHistory) {
  Session s;
  Populate(s.drawing);
  s.selection = {0};
  s.DeleteCmd();
  ASSERT_TRUE(s.history.Undo());
  s.selection = {1};
  s.DeleteCmd();
  ASSERT_EQ(s.history.UndoCount(), 1u);
  s.history.Attach(&s.drawing, &s.selection, &s.page);
  EXPECT_EQ(s.history.UndoCount(), 0u);
  EXPECT_EQ(s.history.RedoCount(), 0u);
  EXPECT_EQ(s.history.UndoBytes(), 0u);
  EXPECT_FALSE(s.history.Undo());
}

TEST(UndoActions, PageStepsMoveTheCurrentPage) {
  Session s;
  Populate(s.drawing);
  s.page = 1;
  s.DeletePageCmd();
  EXPECT_EQ(s.page, 0);
  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(s.page, 1);
  EXPECT_EQ(s.drawing.ShapesOnPage(1), 3);
  EXPECT_EQ(Tags(s.drawing), (std::vector<ColorRef>{1, 2, 3, 4, 5, 6, 7, 8}));
  s.page = 0;
  s.AddPageCmd();
  EXPECT_EQ(s.page, 2);
  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(s.page, 1);  // the last page
  s.page = 0;
  s.InsertPageCmd(true);
  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(s.page, 1);
  EXPECT_EQ(s.drawing.PageCount(), 2);
}

// A path whose record is about `bytes` long: nodes with separate handles
// take 26 bytes each.
std::unique_ptr<Shape> Heavy(ColorRef tag, size_t bytes) {
  auto s = std::make_unique<Shape>(KindPath);
  SubPath nodes;
  for (size_t k = 0; k < bytes / 26 + 1; ++k) {
    const float x = static_cast<float>(k);
    nodes.push_back(PathNode{{x, 1}, {x, 0}, {x, -1}, 0});
  }
  s->path()->subPaths.push_back(nodes);
  s->fillColor = tag;
  s->UpdateBounds();
  return s;
}

TEST(UndoBound, OldestStepsGoFirst) {
  Session s;
  s.drawing.Add(Heavy(0, 100000));
  const size_t record = testing::ShapeBytes(*s.drawing.GetShape(0)).size() + 8;
  const size_t fits = kUndoStackLimit / record;
  ASSERT_EQ(fits, 4u);
  for (ColorRef step = 1; step <= 10; ++step) {
    s.history.RecordChange(true, {0});
    s.drawing.GetShape(0)->fillColor = step;
    EXPECT_LE(s.history.UndoBytes(), kUndoStackLimit);
    EXPECT_EQ(s.history.UndoCount(), std::min<size_t>(step, fits));
  }
  for (size_t k = 1; k <= fits; ++k) {
    ASSERT_TRUE(s.history.Undo());
    EXPECT_EQ(s.drawing.GetShape(0)->fillColor, 10 - k);
    EXPECT_LE(s.history.RedoBytes(), kUndoStackLimit);
  }
  EXPECT_FALSE(s.history.Undo());  // steps 1..6 were dropped
  EXPECT_EQ(s.drawing.GetShape(0)->fillColor, 10 - fits);
  for (size_t k = 1; k <= fits; ++k) ASSERT_TRUE(s.history.Redo());
  EXPECT_EQ(s.drawing.GetShape(0)->fillColor, 10u);
}

TEST(UndoBound, HoldsForRecordsOfAnySize) {
  Session s;
  const size_t sizes[] = {20, 150000, 90000, 700000, 10, 260000, 499000, 30000, 1200000, 5};
  for (int round = 0; round < 3; ++round) {
    for (size_t size : sizes) {
      s.drawing.RemoveAll();
      s.drawing.Add(Heavy(static_cast<ColorRef>(size), size));
      s.history.RecordChange(true, {0});
      // Over the bound only while a single step is larger than the bound.
      EXPECT_TRUE(s.history.UndoBytes() <= kUndoStackLimit || s.history.UndoCount() == 1)
          << size;
    }
  }
}

TEST(UndoBound, AStepLargerThanTheBoundIsKeptAlone) {
  Session s;
  s.drawing.Add(Rect(1, 0, 0));
  s.drawing.Add(Heavy(2, 800000));
  s.selection = {0};
  s.StyleCmd(StyleCommand::Bold);
  s.StyleCmd(StyleCommand::Thick);
  const auto before = Snapshot(s.drawing);
  s.selection = {1};
  s.StyleCmd(StyleCommand::NoLine);
  EXPECT_EQ(s.history.UndoCount(), 1u);
  EXPECT_GT(s.history.UndoBytes(), kUndoStackLimit);
  const auto after = Snapshot(s.drawing);

  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(Snapshot(s.drawing), before);
  EXPECT_EQ(s.history.UndoBytes(), 0u);
  EXPECT_EQ(s.history.RedoCount(), 1u);
  ASSERT_TRUE(s.history.Redo());
  EXPECT_EQ(Snapshot(s.drawing), after);

  // The next small step pushes the big one out.
  s.selection = {0};
  s.StyleCmd(StyleCommand::Fine);
  EXPECT_EQ(s.history.UndoCount(), 1u);
  EXPECT_LT(s.history.UndoBytes(), 1000u);
  ASSERT_TRUE(s.history.Undo());
  EXPECT_EQ(Snapshot(s.drawing), after);
  EXPECT_FALSE(s.history.Undo());
}

}  // namespace
}  // namespace zel
