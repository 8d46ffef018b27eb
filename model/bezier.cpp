#include "model/bezier.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {

// Differences in single precision, the length in double, narrowed back.
float Distance(PointF a, PointF b) {
  double dx = a.x - b.x;
  double dy = a.y - b.y;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

PointF Mid(PointF a, PointF b) { return PointF{(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f}; }

// Long chords get a coarser tolerance so that huge shapes stay cheap.
float RaisedTolerance(float tolerance, float chord) {
  if (chord > 100000.0f) return std::max(tolerance, 100.0f);
  if (chord > 10000.0f) return std::max(tolerance, 10.0f);
  if (chord > 5000.0f) return std::max(tolerance, 5.0f);
  if (chord > 2000.0f) return std::max(tolerance, 3.0f);
  return tolerance;
}

struct Piece {
  PointF p0, p1, p2, p3;
};

// Scans [from, to] in steps of step, keeping any strictly nearer parameter.
void ScanNearest(const BezierSegment& s, PointF q, float from, float to, float step, float& bestT,
                 float& bestDist) {
  for (float t = from; t <= to; t += step) {
    float d = Distance(BezierEvaluate(s, t), q);
    if (d < bestDist) {
      bestDist = d;
      bestT = t;
    }
  }
}

}  // namespace

PointF BezierEvaluate(const BezierSegment& s, float t) {
  if (t == 0.0f) return s.p0;
  if (t == 1.0f) return s.p3;
  float mt = 1.0f - t;
  float b0 = mt * mt * mt;
  float b1 = 3.0f * t * mt * mt;
  float b2 = 3.0f * t * t * mt;
  float b3 = t * t * t;
  return PointF{b0 * s.p0.x + b1 * s.p1.x + b2 * s.p2.x + b3 * s.p3.x,
                b0 * s.p0.y + b1 * s.p1.y + b2 * s.p2.y + b3 * s.p3.y};
}

float BezierNearestParameter(const BezierSegment& s, PointF q) {
  float bestT = 0.0f;
  float bestDist = 1e20f;
  float step = 0.01f;
  ScanNearest(s, q, 0.0f, 1.0f, step, bestT, bestDist);
  for (int pass = 0; pass < 4; ++pass) {
    float fine = step * 0.1f;
    float from = std::max(0.0f, bestT - step);
    float to = std::min(1.0f, bestT + step);
    ScanNearest(s, q, from, to, fine, bestT, bestDist);
    step = fine;
  }
  return bestT;
}

void BezierFlatten(const BezierSegment& s, PolyPoints& out, bool keepCurves) {
  if (out.empty()) out.push_back(s.p0);
  if (!keepCurves && Distance(s.p0, s.p1) < 1e-8f && Distance(s.p2, s.p3) < 1e-8f) {
    out.push_back(s.p3);
    return;
  }
  const float tolerance = RaisedTolerance(s.tolerance, Distance(s.p0, s.p3));

  // Depth-first subdivision, left half before right, with an explicit stack so
  // that a degenerate segment cannot exhaust the call stack. The counter bounds
  // the splits of the whole segment.
  int counter = 0;
  // Reused between calls: a path flattens thousands of segments in a row.
  thread_local std::vector<Piece> pending;
  pending.clear();
  pending.push_back(Piece{s.p0, s.p1, s.p2, s.p3});
  while (!pending.empty()) {
    Piece c = pending.back();
    pending.pop_back();
    ++counter;
    bool flat = Distance(c.p0, c.p1) <= tolerance && Distance(c.p1, c.p2) <= tolerance &&
                Distance(c.p2, c.p3) <= tolerance;
    if (flat || counter > kMaxFlattenSplits) {
      // The flat piece's own control points stand for it: no curve evaluation.
      out.push_back(c.p1);
      out.push_back(c.p2);
      out.push_back(c.p3);
      continue;
    }
    PointF l1 = Mid(c.p0, c.p1);
    PointF h = Mid(c.p1, c.p2);
    PointF r2 = Mid(c.p2, c.p3);
    PointF l2 = Mid(l1, h);
    PointF r1 = Mid(h, r2);
    PointF m = Mid(l2, r1);
    pending.push_back(Piece{m, r1, r2, c.p3});
    pending.push_back(Piece{c.p0, l1, l2, m});
  }
}

void FlattenSubPath(const SubPath& nodes, PolyPoints& out) {
  out.clear();
  if (nodes.size() == 1) {
    // A lone node has no segment; keep its anchor so it still has a place.
    out.push_back(nodes.front().anchor);
    return;
  }
  for (size_t i = 0; i + 1 < nodes.size(); ++i) {
    BezierSegment seg = BezierSegment::FromNodes(nodes[i], nodes[i + 1]);
    seg.tolerance = kCacheFlattenTolerance;
    BezierFlatten(seg, out);
  }
}

float PolylineLength(const PolyPoints& points) {
  double total = 0.0;
  for (size_t i = 1; i < points.size(); ++i) {
    double dx = points[i].x - points[i - 1].x;
    double dy = points[i].y - points[i - 1].y;
    total += std::hypot(dx, dy);
  }
  return static_cast<float>(total);
}

}  // namespace zel
