#include "render/stroker.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Adds a convex polygon turned so that its signed area is positive: pieces of
// one stroke then all wind the same way and overlap into a union.
void AddPositive(ScanConverter& sc, PointD* p, size_t n) {
  double area = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const PointD& a = p[i];
    const PointD& b = p[(i + 1) % n];
    area += a.x * b.y - b.x * a.y;
  }
  if (area < 0) std::reverse(p, p + n);
  sc.AddPolygon(p, n);
}

int SidesForRadius(double r) {
  if (r <= 0.25) return 4;
  double step = std::acos(1.0 - 0.25 / r);
  int n = static_cast<int>(std::ceil(kPi / step));
  return std::clamp(n, 8, 256);
}

void AddDisc(ScanConverter& sc, PointD c, double rx, double ry) {
  PointD pts[256];
  int n = SidesForRadius(std::max(rx, ry));
  for (int i = 0; i < n; ++i) {
    double a = 2.0 * kPi * i / n;
    pts[i] = {c.x + rx * std::cos(a), c.y + ry * std::sin(a)};
  }
  AddPositive(sc, pts, size_t(n));
}

bool Visible(const ScanConverter& sc, PointD a, PointD b, double r) {
  const IntRect& c = sc.clip();
  return std::max(a.x, b.x) + r >= c.left && std::min(a.x, b.x) - r <= c.right &&
         std::max(a.y, b.y) + r >= c.top && std::min(a.y, b.y) - r <= c.bottom;
}

}  // namespace

void AddWideStroke(ScanConverter& sc, const IntPoint* points, size_t count, bool closed, int width) {
  if (count == 0) return;
  double r = std::max(width, 1) * 0.5;
  auto centre = [&](size_t i) { return PointD{points[i].x + 0.5, points[i].y + 0.5}; };
  size_t segments = closed && count > 2 ? count : count - 1;
  for (size_t i = 0; i < segments; ++i) {
    PointD a = centre(i);
    PointD b = centre((i + 1) % count);
    if (!Visible(sc, a, b, r)) continue;
    double dx = b.x - a.x, dy = b.y - a.y;
    double len = std::hypot(dx, dy);
    if (len == 0.0) continue;
    double nx = -dy / len * r, ny = dx / len * r;
    PointD quad[4] = {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    AddPositive(sc, quad, 4);
  }
  for (size_t i = 0; i < count; ++i) {
    PointD c = centre(i);
    if (Visible(sc, c, c, r)) AddDisc(sc, c, r, r);
  }
}

void AddEllipse(ScanConverter& sc, double left, double top, double right, double bottom) {
  double rx = std::fabs(right - left) * 0.5, ry = std::fabs(bottom - top) * 0.5;
  if (rx <= 0.0 || ry <= 0.0) return;
  AddDisc(sc, {(left + right) * 0.5, (top + bottom) * 0.5}, rx, ry);
}

}  // namespace zel
