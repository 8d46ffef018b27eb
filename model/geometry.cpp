#include "model/geometry.h"

#include <algorithm>
#include <cmath>

namespace zel {

int RoundToInt(double v) {
  if (std::isnan(v)) return 0;
  // Half away from zero: add half the sign, then truncate toward zero.
  double r = v > 0.0 ? v + 0.5 : (v < 0.0 ? v - 0.5 : 0.0);
  if (r >= kCoordLimit) return kCoordLimit;
  if (r <= -kCoordLimit) return -kCoordLimit;
  return static_cast<int>(r);
}

IntRect ToIntRect(const RectF& r) {
  return IntRect{RoundToInt(r.xmin), RoundToInt(r.ymin), RoundToInt(r.xmax), RoundToInt(r.ymax)};
}

RectF Normalized(const RectF& r) {
  return RectF{std::min(r.xmin, r.xmax), std::max(r.xmin, r.xmax), std::min(r.ymin, r.ymax),
               std::max(r.ymin, r.ymax)};
}

IntRect Normalized(const IntRect& r) {
  return IntRect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                 std::max(r.top, r.bottom)};
}

RectF Union(const RectF& a, const RectF& b) {
  return RectF{std::min(a.xmin, b.xmin), std::max(a.xmax, b.xmax), std::min(a.ymin, b.ymin),
               std::max(a.ymax, b.ymax)};
}

RectF EmptyUnionStart() { return RectF{1e10f, -1e10f, 1e10f, -1e10f}; }

void GrowBy(RectF& r, PointF p) {
  r.xmin = std::min(r.xmin, p.x);
  r.xmax = std::max(r.xmax, p.x);
  r.ymin = std::min(r.ymin, p.y);
  r.ymax = std::max(r.ymax, p.y);
}

bool PointsEqual(PointF a, PointF b) {
  // The differences are taken in single precision, like every coordinate.
  float dx = a.x - b.x;
  float dy = a.y - b.y;
  return std::fabs(static_cast<double>(dx)) < 1e-8 && std::fabs(static_cast<double>(dy)) < 1e-8;
}

PointF RotatePoint(PointF p, PointF c, double a) {
  double x = static_cast<double>(p.x) - c.x;
  double y = static_cast<double>(p.y) - c.y;
  double cs = std::cos(a);
  double sn = std::sin(a);
  return PointF{static_cast<float>(x * cs - y * sn + c.x), static_cast<float>(y * cs + x * sn + c.y)};
}

double NormalizeAngle(double radians) { return radians < 0.0 ? radians + kTwoPi : radians; }

int NormalizeTextAngle(double degrees) {
  int a = RoundToInt(degrees) % 360;
  return a < 0 ? a + 360 : a;
}

IntRect FitKeepingAspect(int cw, int ch, int bw, int bh) {
  if (cw < 1 || ch < 1 || bw < 1 || bh < 1) return IntRect{0, 0, bw, bh};
  double r = static_cast<double>(cw) / ch;
  // Compared before narrowing: a very tall content makes bw / r far beyond int.
  double hd = std::trunc(bw / r);
  int w, h;
  if (hd > bh) {
    h = bh;
    w = static_cast<int>(std::trunc(bh * r));
  } else {
    h = static_cast<int>(hd);
    w = bw;
  }
  int left = bw / 2 - w / 2;
  int top = bh / 2 - h / 2;
  return IntRect{left, top, left + w, top + h};
}

}  // namespace zel
