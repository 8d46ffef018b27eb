// Spans of the surface's polygon scan conversion, checked on tiny polygons and
// against a slow per-pixel reference on random polygons.
#include "render/scan_converter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>


namespace zel {
namespace {

SpanList Sweep(const std::vector<IntPoint>& poly, FillRule rule, IntRect clip = {-100, -100, 100, 100}) {
  ScanConverter sc;
  sc.Reset(clip);
  sc.AddPolygon(poly.data(), poly.size());
  SpanList out;
  sc.Sweep(rule, out);
  return out;
}

TEST(ScanConverter, RectangleExcludesRightAndBottomEdges) {
  SpanList spans = Sweep({{2, 2}, {6, 2}, {6, 5}, {2, 5}}, FillRule::kEvenOdd);
  EXPECT_EQ(spans, (SpanList{{2, 2, 6}, {3, 2, 6}, {4, 2, 6}}));
}

TEST(ScanConverter, TinyShapes) {
  struct Case {
    const char* name;
    std::vector<IntPoint> poly;
    SpanList expected;
  } cases[] = {
      // A triangle samples pixel centres: row 0's centre line y = 0.5 crosses at x 0.25 .. 3.75.
      {"triangle", {{0, 0}, {4, 0}, {0, 4}}, {{0, 0, 3}, {1, 0, 2}, {2, 0, 1}}},
      {"flat", {{0, 3}, {5, 3}, {9, 3}}, {}},
      {"single point", {{1, 1}}, {}},
      {"unit square", {{3, 3}, {4, 3}, {4, 4}, {3, 4}}, {{3, 3, 4}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Sweep(c.poly, FillRule::kEvenOdd), c.expected) << c.name;
}

TEST(ScanConverter, EvenOddLeavesOverlapOpenNonZeroFillsIt) {
  // Two overlapping squares in one contour set, both clockwise.
  ScanConverter sc;
  sc.Reset({0, 0, 20, 20});
  std::vector<IntPoint> a{{0, 0}, {6, 0}, {6, 2}, {0, 2}}, b{{3, 0}, {9, 0}, {9, 2}, {3, 2}};
  sc.AddPolygon(a.data(), a.size());
  sc.AddPolygon(b.data(), b.size());
  SpanList eo;
  sc.Sweep(FillRule::kEvenOdd, eo);
  EXPECT_EQ(eo, (SpanList{{0, 0, 3}, {0, 6, 9}, {1, 0, 3}, {1, 6, 9}}));
  SpanList nz;
  sc.Sweep(FillRule::kNonZero, nz);
  EXPECT_EQ(nz, (SpanList{{0, 0, 9}, {1, 0, 9}}));
}

TEST(ScanConverter, HugeCoordinatesFillExactlyTheClip) {
  const int big = 1 << 30;
  SpanList spans = Sweep({{-big, -big}, {big, -big}, {big, big}, {-big, big}}, FillRule::kEvenOdd, {0, 0, 5, 3});
  EXPECT_EQ(spans, (SpanList{{0, 0, 5}, {1, 0, 5}, {2, 0, 5}}));
  // The extreme 32-bit values too: no overflow, no span outside.
  spans = Sweep({{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}},
                FillRule::kNonZero, {0, 0, 4, 2});
  EXPECT_EQ(spans, (SpanList{{0, 0, 4}, {1, 0, 4}}));
}

TEST(ScanConverter, NonFiniteEdgesAreIgnored) {
  ScanConverter sc;
  sc.Reset({0, 0, 10, 10});
  double nan = std::nan("");
  PointD p[3] = {{0, 0}, {nan, 5}, {5, 5}};
  sc.AddPolygon(p, 3);
  SpanList out;
  sc.Sweep(FillRule::kEvenOdd, out);
  for (const Span& s : out) EXPECT_TRUE(s.x0 >= 0 && s.x1 <= 10 && s.x0 < s.x1);
}

// The reference: a pixel is inside when its centre has an odd crossing count
// (or non-zero winding) over crossings at or left of it, in exact integers.
// Pixels whose centre lies exactly on an edge may go either way and are skipped.
struct ReferenceResult {
  bool inside = false;
  bool tie = false;
};

ReferenceResult ReferencePixel(const std::vector<IntPoint>& poly, int x, int y, FillRule rule) {
  ReferenceResult r;
  int winding = 0, crossings = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    IntPoint a = poly[i], b = poly[(i + 1) % poly.size()];
    int dir = 1;
    if (a.y == b.y) continue;
    if (a.y > b.y) {
      std::swap(a, b);
      dir = -1;
    }
    // Centre row 2y + 1 in half units lies in [2 a.y, 2 b.y).
    if (!(2 * int64_t(a.y) <= 2 * int64_t(y) + 1 && 2 * int64_t(y) + 1 < 2 * int64_t(b.y))) continue;
    // crossing <= centre  <=>  2 a.x dy + (2y + 1 - 2 a.y) dx <= (2x + 1) dy
    int64_t dy = int64_t(b.y) - a.y, dx = int64_t(b.x) - a.x;
    int64_t lhs = 2 * int64_t(a.x) * dy + (2 * int64_t(y) + 1 - 2 * int64_t(a.y)) * dx;
    int64_t rhs = (2 * int64_t(x) + 1) * dy;
    if (lhs == rhs) r.tie = true;
    if (lhs <= rhs) {
      ++crossings;
      winding += dir;
    }
  }
  r.inside = rule == FillRule::kEvenOdd ? (crossings & 1) : winding != 0;
  return r;
}

TEST(ScanConverter, MatchesSlowReferenceOnRandomPolygons) {
  std::mt19937 rng(20240611);
  const IntRect clip{0, 0, 24, 20};
  for (int round = 0; round < 400; ++round) {
    std::uniform_int_distribution<int> count(3, 9), coord(-6, 30);
    std::vector<IntPoint> poly(size_t(count(rng)));
    for (IntPoint& p : poly) p = {coord(rng), coord(rng)};
    FillRule rule = round % 2 ? FillRule::kNonZero : FillRule::kEvenOdd;
    SpanList spans = Sweep(poly, rule, clip);
    bool filled[20][24] = {};
    for (const Span& s : spans)
      for (int x = s.x0; x < s.x1; ++x) filled[s.y][x] = true;
    for (int y = clip.top; y < clip.bottom; ++y) {
      for (int x = clip.left; x < clip.right; ++x) {
        ReferenceResult ref = ReferencePixel(poly, x, y, rule);
        if (ref.tie || ref.inside == filled[y][x]) continue;
        std::string pts;
        for (IntPoint p : poly) pts += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
        FAIL() << "round " << round << " pixel (" << x << "," << y << ") polygon " << pts;
      }
    }
  }
}

}  // namespace
}  // namespace zel
