#include "model/hit_test.h"

#include <gtest/gtest.h>

#include <vector>

namespace zel {
namespace {

constexpr IntRect kWide{-1000, -1000, 1000, 1000};

bool Inside(const std::vector<IntPoint>& poly, IntPoint p, IntRect box = kWide) {
  return PointInPolygon(poly.data(), poly.size(), box, p);
}

TEST(PointInPolygon, SquareInsideOutsideAndOutline) {
  std::vector<IntPoint> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  struct Case {
    IntPoint p;
    bool in;
  } cases[] = {
      {{5, 5}, true},   {{1, 9}, true},    {{15, 5}, false}, {{-1, 5}, false}, {{5, -1}, false},
      {{5, 11}, false}, {{0, 5}, true},    {{10, 5}, true},  {{5, 0}, true},   {{5, 10}, true},
      {{10, 10}, true}, {{0, 0}, true},    {{11, 0}, false}, {{-3, 10}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Inside(square, c.p), c.in) << c.p.x << "," << c.p.y;
  // The same square, closed by repeating its first point.
  square.push_back({0, 0});
  for (const Case& c : cases) EXPECT_EQ(Inside(square, c.p), c.in) << c.p.x << "," << c.p.y;
}

TEST(PointInPolygon, BoxRejectsFirst) {
  std::vector<IntPoint> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_FALSE(Inside(square, {5, 5}, IntRect{0, 0, 4, 4}));
  EXPECT_TRUE(Inside(square, {4, 4}, IntRect{0, 0, 4, 4}));  // the box is inclusive
}

TEST(PointInPolygon, RayThroughVerticesCountsEachCrossingOnce) {
  // Diamond: the ray of row 5 runs through its left and right corners.
  std::vector<IntPoint> diamond{{5, 0}, {10, 5}, {5, 10}, {0, 5}};
  EXPECT_TRUE(Inside(diamond, {7, 5}));
  EXPECT_TRUE(Inside(diamond, {2, 5}));
  EXPECT_FALSE(Inside(diamond, {12, 5}));
  EXPECT_FALSE(Inside(diamond, {-2, 5}));

  // A notch whose tip only touches row 5 from above.
  std::vector<IntPoint> notch{{0, 0}, {5, 5}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(Inside(notch, {7, 5}));
  EXPECT_TRUE(Inside(notch, {3, 5}));
  EXPECT_FALSE(Inside(notch, {7, 2}));
  EXPECT_FALSE(Inside(notch, {12, 5}));
}

TEST(PointInPolygon, HorizontalEdgesOnTheRay) {
  // A step: horizontal edges at rows 0, 5 and 10.
  std::vector<IntPoint> step{{0, 0}, {10, 0}, {10, 5}, {20, 5}, {20, 10}, {0, 10}};
  EXPECT_TRUE(Inside(step, {15, 5}));   // on the step's horizontal edge
  EXPECT_FALSE(Inside(step, {25, 5}));  // beyond it on the same row
  EXPECT_FALSE(Inside(step, {15, 4}));
  EXPECT_TRUE(Inside(step, {15, 6}));
  EXPECT_TRUE(Inside(step, {5, 5}));
  EXPECT_FALSE(Inside(step, {25, 0}));
}

TEST(PointInPolygon, NestedContoursMakeHoles) {
  std::vector<IntPoint> outer{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  std::vector<IntPoint> inner{{30, 30}, {70, 30}, {70, 70}, {30, 70}};
  // Shapes count the contours containing the point; odd is filled.
  auto count = [&](IntPoint p) { return int(Inside(outer, p)) + int(Inside(inner, p)); };
  EXPECT_EQ(count({10, 50}) % 2, 1);
  EXPECT_EQ(count({50, 50}) % 2, 0);
  EXPECT_EQ(count({150, 50}) % 2, 0);

  // Both rings in one polygon, joined by a bridge walked both ways.
  std::vector<IntPoint> joined{{0, 0},   {100, 0}, {100, 100}, {0, 100}, {0, 0},
                               {30, 30}, {30, 70}, {70, 70},   {70, 30}, {30, 30}};
  EXPECT_TRUE(Inside(joined, {10, 50}));
  EXPECT_FALSE(Inside(joined, {50, 50}));
  EXPECT_TRUE(Inside(joined, {20, 10}));  // the ray crosses the bridge twice
  EXPECT_TRUE(Inside(joined, {85, 50}));
}

TEST(PointInPolygon, ExtremeCoordinatesDoNotOverflow) {
  constexpr int L = kCoordLimit;
  std::vector<IntPoint> huge{{-L, -L}, {L, -L}, {L, L}, {-L, L}};
  IntRect box{-L, -L, L, L};
  EXPECT_TRUE(Inside(huge, {0, 0}, box));
  EXPECT_TRUE(Inside(huge, {L - 1, -L + 1}, box));
  std::vector<IntPoint> sliver{{-L, -L}, {L, L - 1}, {L, L}};
  EXPECT_FALSE(Inside(sliver, {0, 1}, box));
}

TEST(PointInPolygon, DegeneratePolygons) {
  std::vector<IntPoint> none;
  EXPECT_FALSE(Inside(none, {0, 0}));
  std::vector<IntPoint> one{{3, 3}};
  EXPECT_FALSE(Inside(one, {3, 3}));
  std::vector<IntPoint> line{{0, 0}, {10, 0}};
  EXPECT_TRUE(Inside(line, {4, 0}));
  EXPECT_FALSE(Inside(line, {4, 1}));
}

TEST(PointNearPolyline, FootMustLieOnTheSegment) {
  std::vector<IntPoint> l{{0, 0}, {100, 0}, {100, 100}};
  float d = -1;
  EXPECT_TRUE(PointNearPolyline(l.data(), l.size(), {50, 3}, 4.0f, &d));
  EXPECT_FLOAT_EQ(d, 3.0f);
  EXPECT_FALSE(PointNearPolyline(l.data(), l.size(), {50, 5}, 4.0f, &d));
  // Beyond the free end the foot is off the segment, however close the end is.
  EXPECT_FALSE(PointNearPolyline(l.data(), l.size(), {-3, 0}, 4.0f, &d));
  // The first segment that passes reports.
  EXPECT_TRUE(PointNearPolyline(l.data(), l.size(), {98, 50}, 4.0f, &d));
  EXPECT_FLOAT_EQ(d, 2.0f);

  std::vector<IntPoint> diagonal{{0, 0}, {10, 10}};
  EXPECT_TRUE(PointNearPolyline(diagonal.data(), 2, {0, 4}, 4.0f, nullptr));
  EXPECT_FALSE(PointNearPolyline(diagonal.data(), 2, {0, 6}, 4.0f, nullptr));
}

TEST(PointNearPolyline, RepeatedPointsAreTestedAsPoints) {
  std::vector<IntPoint> dup{{5, 5}, {5, 5}, {50, 5}};
  float d = -1;
  EXPECT_TRUE(PointNearPolyline(dup.data(), dup.size(), {5, 8}, 4.0f, &d));
  EXPECT_FLOAT_EQ(d, 3.0f);
  EXPECT_FALSE(PointNearPolyline(dup.data(), dup.size(), {0, 0}, 4.0f, &d));

  std::vector<IntPoint> dot{{5, 5}, {5, 5}};
  EXPECT_TRUE(PointNearPolyline(dot.data(), dot.size(), {7, 5}, 4.0f, &d));
  EXPECT_FLOAT_EQ(d, 2.0f);
  EXPECT_FALSE(PointNearPolyline(dot.data(), dot.size(), {10, 5}, 4.0f, &d));
  EXPECT_TRUE(PointNearPolyline(dot.data(), 1, {5, 9}, 4.0f, &d));
  EXPECT_FALSE(PointNearPolyline(dot.data(), 0, {5, 5}, 4.0f, &d));
}

}  // namespace
}  // namespace zel
