#include "model/curve_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "model/bezier.h"

namespace zel {
namespace {

bool AllFinite(const SubPath& path) {
  for (const PathNode& n : path) {
    for (PointF p : {n.in, n.anchor, n.out}) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    }
  }
  return true;
}

// Distance from q to the nearest point of the fitted path.
double DistanceToPath(const SubPath& path, PointF q) {
  double best = std::numeric_limits<double>::infinity();
  for (size_t i = 0; i + 1 < path.size(); ++i) {
    BezierSegment s = BezierSegment::FromNodes(path[i], path[i + 1]);
    PointF p = BezierEvaluate(s, BezierNearestParameter(s, q));
    best = std::min(best, std::hypot(double(p.x) - q.x, double(p.y) - q.y));
  }
  return best;
}

std::vector<PointF> SineStroke() {
  std::vector<PointF> pts;
  for (int i = 0; i <= 200; ++i) {
    float x = i * 2.0f;
    pts.push_back(PointF{x, 50.0f * std::sin(x / 40.0f)});
  }
  return pts;
}

std::vector<PointF> ArcStroke() {
  std::vector<PointF> pts;
  for (int i = 0; i <= 150; ++i) {
    double a = i * (1.5 * M_PI / 150);
    pts.push_back(PointF{static_cast<float>(100 * std::cos(a)), static_cast<float>(100 * std::sin(a))});
  }
  return pts;
}

TEST(FitBezierPath, FollowsFreehandStrokesWithFewSegments) {
  constexpr float kError = 10.0f;  // bound on the squared distance at each point's parameter
  for (const std::vector<PointF>& pts : {SineStroke(), ArcStroke()}) {
    SubPath path = FitBezierPath(pts.data(), pts.size(), kError);
    ASSERT_GE(path.size(), 2u);
    EXPECT_LE(path.size(), 12u);
    ASSERT_TRUE(AllFinite(path));
    // The ends are the stroke's ends, with the outer handles on them.
    EXPECT_EQ(path.front().anchor.x, pts.front().x);
    EXPECT_EQ(path.front().anchor.y, pts.front().y);
    EXPECT_EQ(path.front().in.x, pts.front().x);
    EXPECT_EQ(path.back().anchor.x, pts.back().x);
    EXPECT_EQ(path.back().out.y, pts.back().y);
    for (const PathNode& n : path) EXPECT_EQ(n.flags, 0);
    for (size_t i = 0; i < pts.size(); ++i) {
      EXPECT_LE(DistanceToPath(path, pts[i]), std::sqrt(kError) + 1e-3) << "point " << i;
    }
  }
}

TEST(FitBezierPath, StartHandleFollowsTheFirstStep) {
  std::vector<PointF> pts = SineStroke();
  SubPath path = FitBezierPath(pts.data(), pts.size(), 10.0f);
  ASSERT_GE(path.size(), 2u);
  PointF h{path[0].out.x - path[0].anchor.x, path[0].out.y - path[0].anchor.y};
  PointF step{pts[1].x - pts[0].x, pts[1].y - pts[0].y};
  EXPECT_NEAR(h.x * step.y - h.y * step.x, 0.0f, 1e-3f * std::hypot(h.x, h.y));
  EXPECT_GT(h.x * step.x + h.y * step.y, 0.0f);
}

TEST(FitBezierPath, TwoPointsGiveHandlesAtOneThird) {
  PointF pts[] = {{0, 0}, {30, 0}};
  SubPath path = FitBezierPath(pts, 2, 10.0f);
  ASSERT_EQ(path.size(), 2u);
  EXPECT_FLOAT_EQ(path[0].out.x, 10.0f);
  EXPECT_FLOAT_EQ(path[1].in.x, 20.0f);
  EXPECT_EQ(path[1].out.x, 30.0f);
}

TEST(FitBezierPath, TooFewPointsGiveNoPath) {
  PointF one{4, 4};
  EXPECT_TRUE(FitBezierPath(&one, 1, 10.0f).empty());
  EXPECT_TRUE(FitBezierPath(nullptr, 0, 10.0f).empty());
  PointF bad[] = {{1, 1}, {std::nanf(""), 3}, {std::numeric_limits<float>::infinity(), 0}};
  EXPECT_TRUE(FitBezierPath(bad, 3, 10.0f).empty());
}

TEST(FitBezierPath, DegenerateStrokesStayFinite) {
  std::vector<std::vector<PointF>> strokes;
  strokes.push_back(std::vector<PointF>(6, PointF{7, 7}));  // a tap: one spot
  strokes.push_back({{5, 5}, {5, 5}});
  std::vector<PointF> doubled;  // every sample repeated, as a slow stylus gives
  for (PointF p : SineStroke()) {
    doubled.push_back(p);
    doubled.push_back(p);
  }
  strokes.push_back(doubled);
  std::vector<PointF> zigzag;  // scribbling back and forth over one line
  for (int i = 0; i < 300; ++i) zigzag.push_back(PointF{i % 2 ? 100.0f : 0.0f, 0.0f});
  strokes.push_back(zigzag);
  std::vector<PointF> spiky;  // back and forth with a repeat at every turn
  for (int i = 0; i < 60; ++i) {
    PointF p{float(i % 3) * 40.0f, float(i % 2) * 40.0f};
    spiky.push_back(p);
    spiky.push_back(p);
  }
  strokes.push_back(spiky);
  std::vector<PointF> holes = SineStroke();  // unusable samples are skipped
  holes[7].x = std::nanf("");
  holes[50].y = std::numeric_limits<float>::infinity();
  strokes.push_back(holes);

  for (size_t k = 0; k < strokes.size(); ++k) {
    SubPath path = FitBezierPath(strokes[k].data(), strokes[k].size(), 10.0f);
    EXPECT_GE(path.size(), 2u) << "stroke " << k;
    EXPECT_TRUE(AllFinite(path)) << "stroke " << k;
  }

  SubPath tap = FitBezierPath(strokes[0].data(), strokes[0].size(), 10.0f);
  for (const PathNode& n : tap) {
    EXPECT_EQ(n.anchor.x, 7.0f);
    EXPECT_EQ(n.out.y, 7.0f);
  }
}

}  // namespace
}  // namespace zel
