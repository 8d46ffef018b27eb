#include "model/bezier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace zel {
namespace {

bool SameBits(PointF a, PointF b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SamePoints(const PolyPoints& a, const PolyPoints& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!SameBits(a[i], b[i])) return false;
  }
  return true;
}

// An arch whose chord is c: up c/2 at both handles.
BezierSegment Arch(float c, float tolerance) {
  return BezierSegment{{0, 0}, {0, c / 2}, {c, c / 2}, {c, 0}, tolerance};
}

TEST(BezierEvaluate, EndsAreExactAndMiddleFollowsBernsteinForm) {
  BezierSegment s{{0.1f, -0.3f}, {17.7f, 3.3f}, {-2.2f, 9.1f}, {1.0f / 3.0f, 7.7f}};
  EXPECT_TRUE(SameBits(BezierEvaluate(s, 0.0f), s.p0));
  EXPECT_TRUE(SameBits(BezierEvaluate(s, 1.0f), s.p3));

  BezierSegment arch{{0, 0}, {0, 100}, {100, 100}, {100, 0}};
  PointF mid = BezierEvaluate(arch, 0.5f);
  EXPECT_FLOAT_EQ(mid.x, 50.0f);
  EXPECT_FLOAT_EQ(mid.y, 75.0f);
}

TEST(BezierNearestParameter, FindsTheFootOnKnownCurves) {
  // Evenly spaced control points: B(t) = (300 t, 0), so the foot is x / 300.
  BezierSegment line{{0, 0}, {100, 0}, {200, 0}, {300, 0}};
  // Distances are compared in single precision, which limits how finely a
  // point far off the curve can resolve; close by it is precise.
  EXPECT_NEAR(BezierNearestParameter(line, PointF{123.4f, 2}), 123.4f / 300.0f, 1e-5f);
  EXPECT_NEAR(BezierNearestParameter(line, PointF{123.4f, 50}), 123.4f / 300.0f, 1e-4f);
  EXPECT_EQ(BezierNearestParameter(line, PointF{-50, 10}), 0.0f);
  EXPECT_NEAR(BezierNearestParameter(line, PointF{400, 10}), 1.0f, 1e-5f);

  BezierSegment arch{{0, 0}, {0, 100}, {100, 100}, {100, 0}};
  for (float t : {0.137f, 0.37f, 0.5f, 0.81f}) {
    PointF on = BezierEvaluate(arch, t);
    EXPECT_NEAR(BezierNearestParameter(arch, on), t, 1e-5f) << "t " << t;
  }
}

TEST(BezierFlatten, StraightSegmentGivesItsEndOnly) {
  BezierSegment s{{1, 2}, {1, 2}, {50, 60}, {50, 60}};
  PolyPoints out;
  BezierFlatten(s, out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_TRUE(SameBits(out[0], s.p0));
  EXPECT_TRUE(SameBits(out[1], s.p3));

  BezierFlatten(BezierSegment{{50, 60}, {50, 60}, {-9, 0}, {-9, 0}}, out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_TRUE(SameBits(out[2], PointF{-9, 0}));

  // Asked to keep curves, a long straight segment is subdivided like any other.
  PolyPoints kept;
  BezierFlatten(s, kept, /*keepCurves=*/true);
  EXPECT_GT(kept.size(), 2u);
  EXPECT_TRUE(SameBits(kept.back(), s.p3));
}

TEST(BezierFlatten, FlatPieceAppendsItsControlPoints) {
  BezierSegment s{{0, 0}, {0.5f, 0.5f}, {1.0f, 0.5f}, {1.5f, 0}, 1.0f};
  PolyPoints out;
  BezierFlatten(s, out);
  ASSERT_EQ(out.size(), 4u);
  EXPECT_TRUE(SameBits(out[1], s.p1));
  EXPECT_TRUE(SameBits(out[2], s.p2));
  EXPECT_TRUE(SameBits(out[3], s.p3));

  // One split: de Casteljau halves, left half first.
  BezierSegment arch{{0, 0}, {0, 4}, {4, 4}, {4, 0}, 3.0f};
  out.clear();
  BezierFlatten(arch, out);
  const PointF expected[] = {{0, 0}, {0, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 2}, {4, 0}};
  ASSERT_EQ(out.size(), std::size(expected));
  for (size_t i = 0; i < out.size(); ++i) EXPECT_TRUE(SameBits(out[i], expected[i])) << i;
}

TEST(BezierFlatten, EveryPieceIsWithinTolerance) {
  BezierSegment s{{-300, 20}, {400, -500}, {-100, 900}, {350, 10}, 2.0f};
  PolyPoints out;
  BezierFlatten(s, out);
  ASSERT_GT(out.size(), 10u);
  EXPECT_EQ((out.size() - 1) % 3, 0u);
  for (size_t i = 1; i < out.size(); ++i) {
    EXPECT_LE(std::hypot(out[i].x - out[i - 1].x, out[i].y - out[i - 1].y), 2.0f) << i;
  }
}

TEST(BezierFlatten, LongChordsRaiseTheTolerance) {
  struct Case {
    float chord;
    float raisedTo;
  } cases[] = {{1500, 2}, {3000, 3}, {8000, 5}, {50000, 10}, {200000, 100}};
  for (const Case& c : cases) {
    PolyPoints asked, raised, coarser;
    BezierFlatten(Arch(c.chord, 2.0f), asked);
    BezierFlatten(Arch(c.chord, c.raisedTo), raised);
    BezierFlatten(Arch(c.chord, c.raisedTo * 2), coarser);
    EXPECT_TRUE(SamePoints(asked, raised)) << "chord " << c.chord;
    // A caller tolerance above the raised one still stands.
    EXPECT_LT(coarser.size(), raised.size()) << "chord " << c.chord;
  }
  // Below the first threshold the caller's tolerance is kept as given.
  PolyPoints fine, three;
  BezierFlatten(Arch(1500, 1.0f), fine);
  BezierFlatten(Arch(1500, 3.0f), three);
  EXPECT_GT(fine.size(), three.size());
}

TEST(BezierFlatten, SplitCounterBoundsDegenerateSegments) {
  constexpr size_t kMaxPoints = 1 + 3 * (kMaxFlattenSplits + 1);
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const BezierSegment cases[] = {
      {{-1e30f, -1e30f}, {1e30f, -1e30f}, {1e30f, 1e30f}, {-1e30f, 1e30f}, 2.0f},
      {{0, 0}, {kInf, 0}, {0, kInf}, {10, 10}, 2.0f},
      {{0, 0}, {std::nanf(""), 5}, {5, 5}, {10, 10}, 2.0f},
  };
  for (const BezierSegment& s : cases) {
    PolyPoints out;
    BezierFlatten(s, out);
    EXPECT_LE(out.size(), kMaxPoints);
    EXPECT_GT(out.size(), 3u * kMaxFlattenSplits / 2);
    EXPECT_TRUE(SameBits(out.back(), s.p3));
  }
}

TEST(FlattenSubPath, JoinsSegmentsWithTheCacheTolerance) {
  PathNode a{{0, 0}, {0, 0}, {0, 0}};
  PathNode b{{100, 0}, {100, 0}, {100, 0}};
  PathNode c{{100, 100}, {100, 100}, {100, 200}};
  PathNode d{{0, 300}, {0, 100}, {0, 100}};
  PolyPoints out{{7, 7}};  // replaced, not appended to
  FlattenSubPath(SubPath{a, b, c}, out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_TRUE(SameBits(out[0], a.anchor));
  EXPECT_TRUE(SameBits(out[2], c.anchor));

  FlattenSubPath(SubPath{a, b, c, d}, out);
  PolyPoints expected{a.anchor, b.anchor, c.anchor};
  BezierSegment curve = BezierSegment::FromNodes(c, d);
  curve.tolerance = kCacheFlattenTolerance;
  BezierFlatten(curve, expected);
  EXPECT_TRUE(SamePoints(out, expected));

  FlattenSubPath(SubPath{c}, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_TRUE(SameBits(out[0], c.anchor));
  FlattenSubPath(SubPath{}, out);
  EXPECT_TRUE(out.empty());
}

TEST(PolylineLength, SumsSegmentLengths) {
  EXPECT_FLOAT_EQ(PolylineLength(PolyPoints{{0, 0}, {3, 4}, {3, 10}, {3, 10}}), 11.0f);
  EXPECT_EQ(PolylineLength(PolyPoints{{5, 5}}), 0.0f);
  EXPECT_EQ(PolylineLength(PolyPoints{}), 0.0f);
}

}  // namespace
}  // namespace zel
