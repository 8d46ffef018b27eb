// Least-squares fitting of cubic Bezier segments to digitized points, after
// Schneider's method for fitting digitized curves (Graphics Gems, 1990): fit
// one segment by chord-length parameters, improve the parameters by
// Newton-Raphson steps while the error is moderate, otherwise split at the
// worst point and fit both halves.
#include "model/curve_fit.h"

#include <cmath>
#include <vector>

#include "model/bezier.h"

namespace zel {

namespace {

constexpr float kOneThird = 0.33333334f;     // 0x3EAAAAAB
constexpr float kHandleLimit = 0.618f;       // 0x3F1E353F, of the chord
constexpr int kMaxDepth = 100;
constexpr int kMaxReparameterizations = 4;

PointF Add(PointF a, PointF b) { return PointF{a.x + b.x, a.y + b.y}; }
PointF Sub(PointF a, PointF b) { return PointF{a.x - b.x, a.y - b.y}; }
PointF Mul(PointF a, float s) { return PointF{a.x * s, a.y * s}; }
float Dot(PointF a, PointF b) { return a.x * b.x + a.y * b.y; }
float SquaredLength(PointF a) { return a.x * a.x + a.y * a.y; }
float Length(PointF a) {
  double x = a.x;
  double y = a.y;
  return static_cast<float>(std::sqrt(x * x + y * y));
}

// A zero vector stays zero: duplicate or back-and-forth points give no
// direction, and dividing by a zero length would spread NaN through the fit.
PointF Normalize(PointF v) {
  float len = Length(v);
  if (!(len > 0.0f)) return PointF{};
  return PointF{v.x / len, v.y / len};
}

// v with its length set to len (reversed for a negative len); zero stays zero.
PointF ScaledTo(PointF v, float len) {
  float l = Length(v);
  if (!(l > 0.0f)) return v;
  return Mul(v, len / l);
}

class Fitter {
 public:
  Fitter(const std::vector<PointF>& d, float error) : d_(d), error_(error) {}

  void Fit(size_t first, size_t last, PointF t1, PointF t2, int depth);
  const std::vector<BezierSegment>& segments() const { return segments_; }

 private:
  std::vector<float> ChordLengthParameters(size_t first, size_t last) const;
  BezierSegment Generate(size_t first, size_t last, const std::vector<float>& u, PointF t1,
                         PointF t2) const;
  float MaxError(size_t first, size_t last, const BezierSegment& bez, const std::vector<float>& u,
                 size_t* split) const;
  void Reparameterize(size_t first, const BezierSegment& bez, std::vector<float>& u) const;
  PointF CenterTangent(size_t center) const;

  const std::vector<PointF>& d_;
  float error_;
  std::vector<BezierSegment> segments_;
};

void Fitter::Fit(size_t first, size_t last, PointF t1, PointF t2, int depth) {
  if (last - first + 1 == 2) {
    float dist = Length(Sub(d_[last], d_[first])) * kOneThird;
    segments_.push_back(BezierSegment{d_[first], Add(d_[first], ScaledTo(t1, dist)),
                                      Add(d_[last], ScaledTo(t2, dist)), d_[last]});
    return;
  }

  std::vector<float> u = ChordLengthParameters(first, last);
  BezierSegment bez = Generate(first, last, u, t1, t2);
  size_t split = 0;
  float maxError = MaxError(first, last, bez, u, &split);
  if (maxError < error_) {
    segments_.push_back(bez);
    return;
  }
  // Close enough that better parameters may do: a few Newton-Raphson rounds.
  if (maxError < error_ * error_) {
    for (int i = 0; i < kMaxReparameterizations; ++i) {
      Reparameterize(first, bez, u);
      bez = Generate(first, last, u, t1, t2);
      maxError = MaxError(first, last, bez, u, &split);
      if (maxError < error_) {
        segments_.push_back(bez);
        return;
      }
    }
  }
  // Past the depth bound the range is left out rather than recursing forever.
  if (depth >= kMaxDepth) return;
  PointF center = CenterTangent(split);
  Fit(first, split, t1, center, depth + 1);
  Fit(split, last, Mul(center, -1.0f), t2, depth + 1);
}

std::vector<float> Fitter::ChordLengthParameters(size_t first, size_t last) const {
  std::vector<float> u(last - first + 1);
  u[0] = 0.0f;
  for (size_t i = first + 1; i <= last; ++i) {
    u[i - first] = u[i - first - 1] + Length(Sub(d_[i], d_[i - 1]));
  }
  float total = u.back();
  // All points on one spot: keep the zero parameters rather than divide by zero.
  if (total >= 1e-8f) {
    for (size_t i = 1; i < u.size(); ++i) u[i] /= total;
  }
  return u;
}

BezierSegment Fitter::Generate(size_t first, size_t last, const std::vector<float>& u, PointF t1,
                               PointF t2) const {
  PointF p0 = d_[first];
  PointF p3 = d_[last];
  float c00 = 0.0f, c01 = 0.0f, c11 = 0.0f;
  float x0 = 0.0f, x1 = 0.0f;
  for (size_t i = 0; i < u.size(); ++i) {
    float t = u[i];
    float mt = 1.0f - t;
    float b0 = mt * mt * mt;
    float b1 = 3.0f * t * mt * mt;
    float b2 = 3.0f * t * t * mt;
    float b3 = t * t * t;
    PointF a0 = Mul(t1, b1);
    PointF a1 = Mul(t2, b2);
    c00 += Dot(a0, a0);
    c01 += Dot(a0, a1);
    c11 += Dot(a1, a1);
    PointF tmp = Sub(d_[first + i], Add(Add(Mul(p0, b0), Mul(p0, b1)), Add(Mul(p3, b2), Mul(p3, b3))));
    x0 += Dot(a0, tmp);
    x1 += Dot(a1, tmp);
  }
  float c10 = c01;
  float detC = c00 * c11 - c10 * c01;
  float detC0X = c00 * x1 - c10 * x0;
  float detXC1 = x0 * c11 - x1 * c01;
  if (std::fabs(detC) < 1e-8f) detC = c00 * c11 + 1e-8f;
  float al = detXC1 / detC;
  float ar = detC0X / detC;

  float seg = Length(Sub(p3, p0));
  float limit = seg * kHandleLimit;
  float len1 = Length(t1);
  float len2 = Length(t2);
  if (len1 >= 1e-8f && len2 >= 1e-8f) {
    // Handles longer than a good part of the chord make loops; cap them.
    if (std::fabs(al) > limit / len1) al = limit / len1;
    if (std::fabs(ar) > limit / len2) ar = limit / len2;
    if (al >= 0.0f && ar >= 0.0f) {
      return BezierSegment{p0, Add(p0, ScaledTo(t1, al)), Add(p3, ScaledTo(t2, ar)), p3};
    }
  }
  float third = seg / 3.0f;
  return BezierSegment{p0, Add(p0, ScaledTo(t1, third)), Add(p3, ScaledTo(t2, third)), p3};
}

float Fitter::MaxError(size_t first, size_t last, const BezierSegment& bez,
                       const std::vector<float>& u, size_t* split) const {
  // Starts at the middle of the range so that it is an inner point even when
  // no distance compares (NaN); ties go to the later point.
  *split = first + (last - first + 1) / 2;
  float maxDist = 0.0f;
  for (size_t i = first + 1; i < last; ++i) {
    float dist = SquaredLength(Sub(BezierEvaluate(bez, u[i - first]), d_[i]));
    if (dist >= maxDist) {
      maxDist = dist;
      *split = i;
    }
  }
  return maxDist;
}

void Fitter::Reparameterize(size_t first, const BezierSegment& bez, std::vector<float>& u) const {
  // First and second derivative control points.
  PointF q1[3] = {Mul(Sub(bez.p1, bez.p0), 3.0f), Mul(Sub(bez.p2, bez.p1), 3.0f),
                  Mul(Sub(bez.p3, bez.p2), 3.0f)};
  PointF q2[2] = {Mul(Sub(q1[1], q1[0]), 2.0f), Mul(Sub(q1[2], q1[1]), 2.0f)};
  for (size_t i = 0; i < u.size(); ++i) {
    float t = u[i];
    float mt = 1.0f - t;
    PointF q = BezierEvaluate(bez, t);
    PointF d1 = Add(Add(Mul(q1[0], mt * mt), Mul(q1[1], 2.0f * t * mt)), Mul(q1[2], t * t));
    PointF d2 = Add(Mul(q2[0], mt), Mul(q2[1], t));
    PointF diff = Sub(q, d_[first + i]);
    float numerator = Dot(diff, d1);
    float denominator = Dot(d1, d1) + Dot(diff, d2);
    // A flat spot of the distance function gives no step: keep the parameter.
    if (denominator == 0.0f) continue;
    float next = t - numerator / denominator;
    if (std::isfinite(next)) u[i] = next;
  }
}

PointF Fitter::CenterTangent(size_t center) const {
  PointF v1 = Sub(d_[center - 1], d_[center]);
  PointF v2 = Sub(d_[center], d_[center + 1]);
  return Normalize(Mul(Add(v1, v2), 0.5f));
}

}  // namespace

SubPath FitBezierPath(const PointF* points, size_t count, float error) {
  // Non-finite input points carry no position; they would only poison the fit.
  std::vector<PointF> d;
  d.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (std::isfinite(points[i].x) && std::isfinite(points[i].y)) d.push_back(points[i]);
  }
  if (d.size() < 2) return {};

  size_t n = d.size();
  Fitter fitter(d, error);
  fitter.Fit(0, n - 1, Normalize(Sub(d[1], d[0])), Normalize(Sub(d[n - 2], d[n - 1])), 0);

  const std::vector<BezierSegment>& segs = fitter.segments();
  if (segs.empty()) return {};
  SubPath nodes;
  nodes.reserve(segs.size() + 1);
  nodes.push_back(PathNode{segs[0].p0, segs[0].p0, segs[0].p1, 0});
  for (size_t i = 0; i + 1 < segs.size(); ++i) {
    nodes.push_back(PathNode{segs[i].p2, segs[i].p3, segs[i + 1].p1, 0});
  }
  nodes.push_back(PathNode{segs.back().p2, segs.back().p3, segs.back().p3, 0});
  return nodes;
}

}  // namespace zel
