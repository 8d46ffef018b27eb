#include "model/hit_test.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zel {

namespace {

// Coordinates may reach +-2^30, so differences need 64 bits and products of
// two differences need more.
using Wide = __int128;

// Sign of the cross product (b - a) x (p - a); 0 when the three are collinear.
int Orientation(IntPoint a, IntPoint b, IntPoint p) {
  Wide cross = Wide(int64_t(b.x) - a.x) * (int64_t(p.y) - a.y) - Wide(int64_t(b.y) - a.y) * (int64_t(p.x) - a.x);
  return cross > 0 ? 1 : (cross < 0 ? -1 : 0);
}

bool OnSegment(IntPoint a, IntPoint b, IntPoint p) {
  return Orientation(a, b, p) == 0 && p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) &&
         p.y >= std::min(a.y, b.y) && p.y <= std::max(a.y, b.y);
}

}  // namespace

bool PointInPolygon(const IntPoint* polygon, size_t count, const IntRect& box, IntPoint p) {
  if (p.x < box.left || p.x > box.right || p.y < box.top || p.y > box.bottom) return false;
  if (count < 2) return false;
  // Even-odd count of the edges crossed by a ray from the far left to p. Each
  // edge covers the half-open span of rows (min y, max y], so a ray through a
  // vertex counts one of its two edges only when they lie on opposite sides,
  // and horizontal edges never count. A point on the outline is inside: a tap
  // exactly on the edge of a filled shape hits it.
  bool inside = false;
  for (size_t i = 0; i < count; ++i) {
    IntPoint a = polygon[i];
    IntPoint b = polygon[(i + 1) % count];
    if (OnSegment(a, b, p)) return true;
    if ((a.y < p.y) == (b.y < p.y)) continue;
    // The edge crosses row p.y; it counts when the crossing lies left of p,
    // decided exactly instead of rounding the crossing to a pixel.
    IntPoint lo = a.y < b.y ? a : b;
    IntPoint hi = a.y < b.y ? b : a;
    if (Orientation(lo, hi, p) < 0) inside = !inside;
  }
  return inside;
}

bool PointNearPolyline(const IntPoint* points, size_t count, IntPoint p, float tolerance,
                       float* distance) {
  auto report = [&](double d) {
    if (!(d <= tolerance)) return false;
    if (distance != nullptr) *distance = static_cast<float>(d);
    return true;
  };
  if (count == 1) return report(std::hypot(double(p.x) - points[0].x, double(p.y) - points[0].y));
  for (size_t i = 0; i + 1 < count; ++i) {
    double ax = points[i].x, ay = points[i].y;
    double bx = points[i + 1].x, by = points[i + 1].y;
    double dx = bx - ax, dy = by - ay;
    double len2 = dx * dx + dy * dy;
    if (len2 == 0.0) {
      // A repeated point has no line to drop a perpendicular on.
      if (report(std::hypot(p.x - ax, p.y - ay))) return true;
      continue;
    }
    double t = ((p.x - ax) * dx + (p.y - ay) * dy) / len2;
    double fx = ax + t * dx;
    double fy = ay + t * dy;
    // The foot must lie on the segment (its box, widened against rounding).
    if (fx < std::min(ax, bx) - 1e-8 || fx > std::max(ax, bx) + 1e-8 || fy < std::min(ay, by) - 1e-8 ||
        fy > std::max(ay, by) + 1e-8) {
      continue;
    }
    if (report(std::hypot(p.x - fx, p.y - fy))) return true;
  }
  return false;
}

}  // namespace zel
