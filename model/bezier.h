// Cubic Bezier evaluation, nearest parameter and flattening.
#pragma once

#include "model/geometry.h"
#include "model/path_node.h"

namespace zel {

struct BezierSegment {
  PointF p0, p1, p2, p3;
  float tolerance = 1.0f;

  static BezierSegment FromNodes(const PathNode& a, const PathNode& b) {
    return BezierSegment{a.anchor, a.out, b.in, b.anchor};
  }
};

// Subdivisions allowed per flattened segment before a piece counts as flat.
inline constexpr int kMaxFlattenSplits = 10000;
// Tolerance the path cache flattens with.
inline constexpr float kCacheFlattenTolerance = 2.0f;

// t = 0 gives p0 and t = 1 gives p3 exactly; single-precision Bernstein form between.
PointF BezierEvaluate(const BezierSegment& s, float t);
// Parameter of the point of the segment nearest to q (coarse scan, then four refinements).
float BezierNearestParameter(const BezierSegment& s, PointF q);
// Appends the flattened segment to out (p0 first when out is empty). A straight
// segment gives just p3 unless keepCurves is set.
void BezierFlatten(const BezierSegment& s, PolyPoints& out, bool keepCurves = false);
// Replaces out by the whole contour flattened with the cache tolerance; a
// single node gives its anchor.
void FlattenSubPath(const SubPath& nodes, PolyPoints& out);
float PolylineLength(const PolyPoints& points);

}  // namespace zel
