// The Drawing: shape list, pages, groups and the error text.
#include "model/drawing.h"

#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "model/drawing_helpers.h"

namespace zel {
namespace {

using testing::Groups;
using testing::Pages;
using testing::Rect;
using testing::Tags;

// Six tagged shapes 1..6 on page 0.
Drawing SixShapes() {
  Drawing d;
  for (ColorRef t = 1; t <= 6; ++t) d.Add(Rect(t, 10.0f * t, 0));
  return d;
}

TEST(DrawingList, OutOfRangeIndicesAreHarmless) {
  Drawing d = SixShapes();
  EXPECT_EQ(d.GetShape(-1), nullptr);
  EXPECT_EQ(d.GetShape(6), nullptr);
  EXPECT_FALSE(d.InsertAt(7, Rect(9, 0, 0)));
  EXPECT_FALSE(d.InsertAt(-1, Rect(9, 0, 0)));
  EXPECT_FALSE(d.SetShape(6, Rect(9, 0, 0)));
  EXPECT_EQ(d.TakeShape(6), nullptr);
  d.RemoveRange(6, 1);
  d.RemoveRange(-1, 2);
  d.Add(nullptr);
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{1, 2, 3, 4, 5, 6}));

  EXPECT_TRUE(d.InsertAt(6, Rect(7, 0, 0)));  // Count() itself appends
  EXPECT_TRUE(d.InsertAt(0, Rect(8, 0, 0)));
  EXPECT_TRUE(d.SetShape(1, Rect(9, 0, 0)));
  d.RemoveRange(5, 100);  // clipped at the end
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{8, 9, 2, 3, 4}));
}

TEST(DrawingList, RemoveListTakesRunsAndIgnoresDuplicates) {
  struct Case {
    std::vector<int> indices;
    std::vector<ColorRef> left;
  };
  const Case cases[] = {
      {{4, 1, 2}, {1, 4, 6}},
      {{0, 5}, {2, 3, 4, 5}},
      {{3, 3}, {1, 2, 3, 5, 6}},  // a repeated index must not take its neighbour
      {{-1, 9, 2}, {1, 2, 4, 5, 6}},
      {{}, {1, 2, 3, 4, 5, 6}},
      {{5, 4, 3, 2, 1, 0}, {}},
  };
  for (const Case& c : cases) {
    Drawing d = SixShapes();
    d.RemoveList(c.indices);
    EXPECT_EQ(Tags(d), c.left) << ::testing::PrintToString(c.indices);
  }
}

TEST(DrawingList, MoveListToInsertsAtTargetMinusIndicesBelow) {
  struct Case {
    int target;
    std::vector<int> indices;
    std::vector<ColorRef> result;
  };
  const Case cases[] = {
      {6, {1, 3}, {1, 3, 5, 6, 2, 4}},     // bring to front
      {0, {4, 2}, {5, 3, 1, 2, 4, 6}},     // send to back, given order kept
      {3, {0, 5}, {2, 3, 1, 6, 4, 5}},     // one index on each side
      {2, {2}, {1, 2, 3, 4, 5, 6}},        // moving onto itself
      {99, {0}, {2, 3, 4, 5, 6, 1}},       // target clamped to Count()
      {0, {3, 3, 7}, {4, 1, 2, 3, 5, 6}},  // repeated and missing indices ignored
  };
  for (const Case& c : cases) {
    Drawing d = SixShapes();
    d.MoveListTo(c.target, c.indices);
    EXPECT_EQ(Tags(d), c.result) << "target " << c.target;
  }
}

TEST(DrawingList, InsertAscendingPutsEachShapeAtItsIndex) {
  Drawing d = SixShapes();
  d.RemoveList(std::vector<int>{0, 2, 3, 7});
  std::vector<IndexedShape> back;
  back.push_back({0, Rect(1, 0, 0)});
  back.push_back({2, Rect(3, 0, 0)});
  back.push_back({3, Rect(4, 0, 0)});
  back.push_back({9, Rect(99, 0, 0)});  // beyond the grown list: dropped
  d.InsertAscending(std::move(back));
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{1, 2, 3, 4, 5, 6}));
}

TEST(DrawingList, CopyFromIsDeepAndRenumbersGroups) {
  Drawing src;
  src.Add(Rect(1, 0, 0, 10, 10, 0, 7));
  src.Add(Rect(2, 0, 0, 10, 10, 1, 3));
  src.SetPageCount(2);
  src.SetPageSize(500, 600);
  src.SetBackgroundColor(0x112233);
  Drawing copy;
  copy.Add(Rect(9, 0, 0));
  copy.CopyFrom(src);
  EXPECT_EQ(Tags(copy), (std::vector<ColorRef>{1, 2}));
  EXPECT_EQ(Groups(copy), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(copy.PageCount(), 2);
  EXPECT_EQ(copy.GetPageSize().width, 500.0f);
  EXPECT_EQ(copy.BackgroundColor(), 0x112233u);
  EXPECT_NE(copy.GetShape(0), src.GetShape(0));
  copy.GetShape(0)->path()->subPaths.clear();
  EXPECT_FALSE(src.GetShape(0)->path()->subPaths.empty());
}

TEST(DrawingList, Bounds) {
  Drawing d;
  const RectF empty = d.Bounds(false);
  EXPECT_EQ(empty.xmin, 0.0f);
  EXPECT_EQ(empty.xmax, 0.0f);
  d.Add(Rect(1, 0, 0, 10, 20));
  d.Add(Rect(2, -5, 30, 10, 10));
  for (int i = 0; i < d.Count(); ++i) d.GetShape(i)->setSelected(false);
  const RectF none = d.Bounds(true);
  EXPECT_EQ(none.xmin, 1e10f);
  EXPECT_EQ(none.xmax, -1e10f);
  const RectF all = d.Bounds(false);
  EXPECT_EQ(all.xmin, -5.0f);
  EXPECT_EQ(all.xmax, 10.0f);
  EXPECT_EQ(all.ymin, 0.0f);
  EXPECT_EQ(all.ymax, 40.0f);
  d.GetShape(1)->setSelected(true);
  EXPECT_EQ(d.Bounds(true).xmax, 5.0f);
}

TEST(DrawingPages, CountsAndInsertion) {
  Drawing d;
  d.SetPageCount(-1);
  EXPECT_EQ(d.PageCount(), 1);
  d.SetPageCount(0);  // a drawing has at least one page
  EXPECT_EQ(d.PageCount(), 1);
  d.AddPages(0);
  d.AddPages(-2);
  EXPECT_EQ(d.PageCount(), 1);
  d.AddPages(2);
  EXPECT_EQ(d.PageCount(), 3);
  d.AddPages(INT_MAX);  // would overflow
  EXPECT_EQ(d.PageCount(), 3);

  d.Add(Rect(1, 0, 0, 10, 10, 0));
  d.Add(Rect(2, 0, 0, 10, 10, 1));
  d.Add(Rect(3, 0, 0, 10, 10, 2));
  d.InsertPages(1, 2);
  EXPECT_EQ(d.PageCount(), 5);
  EXPECT_EQ(Pages(d), (std::vector<int32_t>{0, 3, 4}));
  d.InsertPages(5, 1);  // at the end: appends
  EXPECT_EQ(d.PageCount(), 6);
  d.InsertPages(7, 1);  // beyond the end: nothing
  d.InsertPages(2, 0);
  EXPECT_EQ(d.PageCount(), 6);
  EXPECT_EQ(d.ShapesOnPage(3), 1);
  EXPECT_EQ(d.ShapesOnPage(1), 0);
  EXPECT_EQ(d.ShapesOnPage(6), 0);
  d.Reset();
  EXPECT_EQ(d.PageCount(), 1);
  EXPECT_EQ(d.Count(), 0);
}

TEST(DrawingPages, DeletePages) {
  auto three = [] {
    Drawing d;
    d.SetPageCount(3);
    for (int p = 0; p < 3; ++p) {
      d.Add(Rect(10 * p + 1, 0, 0, 10, 10, p));
      d.Add(Rect(10 * p + 2, 0, 0, 10, 10, p));
    }
    return d;
  };
  Drawing d = three();
  d.DeletePages(0, 1);
  EXPECT_EQ(d.PageCount(), 2);
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{11, 12, 21, 22}));
  EXPECT_EQ(Pages(d), (std::vector<int32_t>{0, 0, 1, 1}));

  d = three();
  d.DeletePages(2, 1);  // the last page: nothing else moves
  EXPECT_EQ(Pages(d), (std::vector<int32_t>{0, 0, 1, 1}));

  d = three();
  d.DeletePages(1, 5);  // clipped to the pages that exist
  EXPECT_EQ(d.PageCount(), 1);
  EXPECT_EQ(Tags(d), (std::vector<ColorRef>{1, 2}));

  d = three();
  d.DeletePages(0, 3);  // every page: refused, one page must stay
  d.DeletePages(3, 1);
  d.DeletePages(-1, 1);
  EXPECT_EQ(d.PageCount(), 3);
  EXPECT_EQ(d.Count(), 6);

  Drawing one;
  one.Add(Rect(1, 0, 0));
  one.DeletePages(0, 1);
  EXPECT_EQ(one.PageCount(), 1);
  EXPECT_EQ(one.Count(), 1);
}

TEST(DrawingPages, PageBounds) {
  Drawing d;
  d.SetPageCount(2);
  d.Add(Rect(1, 0, 0, 10, 10, 0));
  d.Add(Rect(2, 100, 0, 10, 10, 1));
  d.Add(Rect(3, -50, 5, 10, 10, 0));
  const RectF b = d.PageBounds(0);
  EXPECT_EQ(b.xmin, -50.0f);
  EXPECT_EQ(b.xmax, 10.0f);
  EXPECT_EQ(b.ymax, 15.0f);
  const RectF none = d.PageBounds(5);
  EXPECT_EQ(none.xmin, 0.0f);
  EXPECT_EQ(none.xmax, 0.0f);
}

TEST(DrawingGroups, RenumberInOrderOfFirstAppearance) {
  Drawing d;
  for (int g : {7, 0, 3, 7}) d.Add(Rect(1, 0, 0, 10, 10, 0, g));
  EXPECT_EQ(d.RenumberGroups(), 2);
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{1, 0, 2, 1}));
  EXPECT_EQ(d.HighestGroupId(), 2);
  d.Add(Rect(1, 0, 0, 10, 10, 0, 1));
  d.Add(Rect(1, 0, 0, 10, 10, 0, 9));
  d.Add(Rect(1, 0, 0, 10, 10, 0, 1));
  EXPECT_EQ(d.RenumberGroupsFrom(4, 2), 4);  // pasted groups stay apart
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{1, 0, 2, 1, 3, 4, 3}));
}

TEST(DrawingGroups, RenumberOnPageNeverMergesWithOtherPages) {
  Drawing d;
  d.SetPageCount(2);
  d.Add(Rect(1, 0, 0, 10, 10, 0, 1));
  d.Add(Rect(2, 0, 0, 10, 10, 0, 1));
  d.Add(Rect(3, 0, 0, 10, 10, 1, 2));
  d.Add(Rect(4, 0, 0, 10, 10, 1, 2));
  d.Add(Rect(5, 0, 0, 10, 10, 1, 1));  // group 1 spans both pages
  EXPECT_EQ(d.RenumberGroupsOnPage(1), 2);
  const std::vector<int32_t> g = Groups(d);
  EXPECT_EQ(g[2], 1);
  EXPECT_EQ(g[3], 1);
  EXPECT_EQ(g[4], 2);
  EXPECT_EQ(g[0], 2);  // still with its partner on page 1
  EXPECT_EQ(g[1], 2);
  EXPECT_EQ(d.RenumberGroupsOnPage(2), 0);
}

TEST(DrawingGroups, BuildGroupListCountsPageMajorPositions) {
  Drawing d;
  d.SetPageCount(2);
  // List order interleaves pages: positions are 0 (p0), 2 (p1), 1 (p0), 3 (p1).
  d.Add(Rect(1, 0, 0, 10, 10, 0, 5));
  d.Add(Rect(2, 0, 0, 10, 10, 1, 5));
  d.Add(Rect(3, 0, 0, 10, 10, 0, 0));
  d.Add(Rect(4, 0, 0, 10, 10, 1, 8));
  std::vector<int32_t> list;
  d.BuildGroupList(&list);
  EXPECT_EQ(list, (std::vector<int32_t>{2, 0, 2, 1, 3}));
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{1, 1, 0, 2}));

  std::vector<int32_t> page{42};
  d.BuildPageGroupList(2, &page);
  EXPECT_EQ(page, (std::vector<int32_t>{42}));  // beyond the last page
  d.BuildPageGroupList(1, &page);
  EXPECT_EQ(page, (std::vector<int32_t>{1, 0, 1, 1}));
}

TEST(DrawingGroups, ApplyGroupList) {
  Drawing d = SixShapes();
  EXPECT_TRUE(d.ApplyGroupList(std::vector<int32_t>{2, 0, 3, 1, 5}));
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{1, 0, 0, 1, 0, 2}));
  // Members outside the list of shapes are skipped; empty groups use an id.
  EXPECT_TRUE(d.ApplyGroupList(std::vector<int32_t>{0, 2, 9, 1, 1, -4}));
  EXPECT_EQ(Groups(d), (std::vector<int32_t>{0, 2, 0, 0, 0, 0}));
}

TEST(DrawingGroups, ApplyGroupListStopsOnBadCounts) {
  // Lists as a damaged file may hold them: each must end, in bounds.
  const std::vector<std::vector<int32_t>> bad = {
      {1, 0, -1, 2},          // -1 would never advance
      {1, 0, -5, 1, 2},       // would index before the count
      {1, 0, INT32_MAX, 2},   // end check would overflow
      {1, 0, 3, 1, 2},        // runs past the end
  };
  for (const auto& list : bad) {
    Drawing d = SixShapes();
    EXPECT_FALSE(d.ApplyGroupList(list)) << ::testing::PrintToString(list);
    EXPECT_EQ(Groups(d), (std::vector<int32_t>{1, 0, 0, 0, 0, 0}));
  }
}

TEST(DrawingGroups, BuildThenApplyRestoresGroupsWhenPagesAreInOrder) {
  Drawing d;
  d.SetPageCount(2);
  for (int i = 0; i < 8; ++i) d.Add(Rect(i + 1, 0, 0, 10, 10, i / 4, (i * 5) % 3));
  std::vector<int32_t> list;
  d.BuildGroupList(&list);
  const std::vector<int32_t> before = Groups(d);
  EXPECT_TRUE(d.ApplyGroupList(list));
  EXPECT_EQ(Groups(d), before);
}

TEST(DrawingErrors, FailSetsTheText) {
  Drawing d;
  EXPECT_TRUE(d.LastError().empty());
  EXPECT_FALSE(d.Fail(u"Unable to read the file."));
  EXPECT_EQ(d.LastError(), u"Unable to read the file.");
  d.SetLastError(u"");
  EXPECT_TRUE(d.LastError().empty());
}

}  // namespace
}  // namespace zel
