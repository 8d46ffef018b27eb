#include "render/stroker.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr size_t kMaxArcSteps = 256;
constexpr double kSeam = 1e-6;

// Largest angle step whose chord stays within a tenth of a pixel of the arc.
double ArcStep(double r) { return r <= 0.1 ? kPi / 2 : 2.0 * std::acos(1.0 - 0.1 / r); }

}  // namespace

void WideStroker::AddConvex(const PointD* p, size_t n) {
  double ymin = p[0].y, ymax = p[0].y, xmin = p[0].x, xmax = p[0].x;
  for (size_t i = 1; i < n; ++i) {
    ymin = std::min(ymin, p[i].y);
    ymax = std::max(ymax, p[i].y);
    xmin = std::min(xmin, p[i].x);
    xmax = std::max(xmax, p[i].x);
  }
  if (!(xmax >= clip_.left - 1 && xmin <= clip_.right + 1 && ymax >= clip_.top - 1 && ymin <= clip_.bottom + 1))
    return;  // outside, or not a number
  // Rows whose centre lies in [ymin, ymax), within the clip. Each piece is
  // grown by a hair (kSeam) so that pieces sharing an edge leave no seam of
  // pixels between them when rounding puts the edge on either side.
  const int first = int(std::max(std::ceil(ymin - 0.5 - kSeam), double(clip_.top)));
  const int end = int(std::min(std::ceil(ymax - 0.5 + kSeam), double(clip_.bottom)));
  if (first >= end) return;
  // A convex outline crosses each row twice: walk every edge over its own
  // rows, keeping the leftmost and rightmost crossing per row.
  const size_t rows = size_t(end - first);
  left_.assign(rows, HUGE_VAL);
  right_.assign(rows, -HUGE_VAL);
  for (size_t i = 0; i < n; ++i) {
    PointD a = p[i], b = p[i + 1 == n ? 0 : i + 1];
    if (a.y == b.y) continue;
    if (a.y > b.y) std::swap(a, b);
    const double slope = (b.x - a.x) / (b.y - a.y);
    const int r0 = int(std::max(std::ceil(a.y - 0.5 - kSeam), double(first)));
    const int r1 = int(std::min(std::ceil(b.y - 0.5 + kSeam), double(end)));
    for (int row = r0; row < r1; ++row) {
      double t = std::clamp(row + 0.5 - a.y, 0.0, b.y - a.y);
      double x = a.x + t * slope;
      size_t k = size_t(row - first);
      left_[k] = std::min(left_[k], x);
      right_[k] = std::max(right_[k], x);
    }
  }
  for (size_t k = 0; k < rows; ++k) {
    if (!(left_[k] <= right_[k])) continue;
    double x0 = std::clamp(std::ceil(left_[k] - 0.5 - kSeam), double(clip_.left), double(clip_.right));
    double x1 = std::clamp(std::ceil(right_[k] - 0.5 + kSeam), double(clip_.left), double(clip_.right));
    if (x0 < x1) pieces_.push_back({int(k) + first, int(x0), int(x1)});
  }
}

// The pie slice of radius r about centre from the direction `from` (a unit
// vector) turning by sweep radians (|sweep| <= pi), so always convex.
void WideStroker::AddSector(PointD centre, double r, PointD from, double sweep) {
  // At least four steps to a half turn, so small dots come out round.
  size_t steps = size_t(std::ceil(std::fabs(sweep) / std::min(ArcStep(r), kPi / 4)));
  steps = std::clamp<size_t>(steps, 1, kMaxArcSteps);
  PointD pts[kMaxArcSteps + 2];
  pts[0] = centre;
  const double c = std::cos(sweep / double(steps)), s = std::sin(sweep / double(steps));
  PointD v = from;
  for (size_t i = 0; i < steps; ++i) {
    pts[i + 1] = {centre.x + v.x * r, centre.y + v.y * r};
    v = {v.x * c - v.y * s, v.x * s + v.y * c};
  }
  // The last point exactly where the slice ends, so that two slices (or a
  // slice and a segment) meet without a seam of rounding noise.
  PointD to = std::fabs(sweep) == kPi ? PointD{-from.x, -from.y}
                                      : PointD{from.x * std::cos(sweep) - from.y * std::sin(sweep),
                                               from.x * std::sin(sweep) + from.y * std::cos(sweep)};
  pts[steps + 1] = {centre.x + to.x * r, centre.y + to.y * r};
  AddConvex(pts, steps + 2);
}

void WideStroker::Stroke(const IntPoint* points, size_t count, bool closed, int width, const IntRect& clip,
                         SpanList& out) {
  if (count == 0) return;
  clip_ = clip;
  pieces_.clear();
  path_.clear();
  for (size_t i = 0; i < count; ++i) {
    PointD c{points[i].x + 0.5, points[i].y + 0.5};
    if (path_.empty() || c.x != path_.back().x || c.y != path_.back().y) path_.push_back(c);
  }
  if (closed && path_.size() > 1 && path_.back().x == path_.front().x && path_.back().y == path_.front().y)
    path_.pop_back();
  const double r = std::max(width, 1) * 0.5;
  const size_t n = path_.size();
  if (n == 1) {
    AddSector(path_[0], r, {1, 0}, kPi);
    AddSector(path_[0], r, {-1, 0}, kPi);
  } else {
    closed = closed && n > 2;
    const size_t segments = closed ? n : n - 1;
    dirs_.resize(segments);
    for (size_t i = 0; i < segments; ++i) {
      const PointD& a = path_[i];
      const PointD& b = path_[(i + 1) % n];
      double len = std::hypot(b.x - a.x, b.y - a.y);
      dirs_[i] = {(b.x - a.x) / len, (b.y - a.y) / len};
    }
    auto dir = [&](size_t i) { return dirs_[i]; };
    for (size_t i = 0; i < segments; ++i) {
      const PointD& a = path_[i];
      const PointD& b = path_[(i + 1) % n];
      PointD d = dir(i);
      PointD nr{-d.y * r, d.x * r};
      PointD quad[4] = {{a.x + nr.x, a.y + nr.y}, {b.x + nr.x, b.y + nr.y}, {b.x - nr.x, b.y - nr.y},
                        {a.x - nr.x, a.y - nr.y}};
      AddConvex(quad, 4);
    }
    // Joins: a slice on the outer side of each turn; a slight turn needs
    // only the triangle between the two segments' corners.
    const double cosStep = std::cos(std::min(ArcStep(r), kPi / 4));
    for (size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i) {
      PointD d1 = dir((i + n - 1) % n), d2 = dir(i);
      double cross = d1.x * d2.y - d1.y * d2.x, dot = d1.x * d2.x + d1.y * d2.y;
      if (cross == 0 && dot > 0) continue;  // straight on
      const PointD& v = path_[i];
      if (dot >= cosStep) {
        double side = cross > 0 ? -r : r;
        PointD tri[3] = {v, {v.x - d1.y * side, v.y + d1.x * side}, {v.x - d2.y * side, v.y + d2.x * side}};
        AddConvex(tri, 3);
        continue;
      }
      PointD n1{-d1.y, d1.x};
      double sweep = std::atan2(cross, dot);
      if (cross == 0) sweep = -kPi;  // a reversal: round the far end, ahead of d1
      // Turning towards n1, the outer side is the opposite one.
      if (cross > 0) n1 = {-n1.x, -n1.y};
      AddSector(path_[i], r, n1, sweep);
    }
    if (!closed) {
      // Half discs behind the start and ahead of the end.
      PointD d0 = dir(0), dl = dir(n - 2);
      AddSector(path_[0], r, {-d0.y, d0.x}, kPi);
      AddSector(path_[n - 1], r, {-dl.y, dl.x}, -kPi);
    }
  }

  // Row-major order by counting the pieces of each row, then by start within
  // a row (a handful each); overlapping runs merge.
  if (pieces_.empty()) return;
  int top = pieces_[0].y, bottom = pieces_[0].y;
  for (const Span& p : pieces_) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  rowStart_.assign(size_t(bottom - top) + 2, 0);
  for (const Span& p : pieces_) ++rowStart_[size_t(p.y - top) + 1];
  for (size_t i = 1; i < rowStart_.size(); ++i) rowStart_[i] += rowStart_[i - 1];
  sorted_.resize(pieces_.size());
  for (const Span& p : pieces_) sorted_[rowStart_[size_t(p.y - top)]++] = p;
  for (size_t begin = 0; begin < sorted_.size();) {
    size_t end = begin + 1;
    while (end < sorted_.size() && sorted_[end].y == sorted_[begin].y) ++end;
    for (size_t i = begin + 1; i < end; ++i) {
      Span p = sorted_[i];
      size_t j = i;
      for (; j > begin && sorted_[j - 1].x0 > p.x0; --j) sorted_[j] = sorted_[j - 1];
      sorted_[j] = p;
    }
    for (size_t i = begin; i < end; ++i) {
      const Span& p = sorted_[i];
      if (i > begin && p.x0 <= out.back().x1) {
        out.back().x1 = std::max(out.back().x1, p.x1);
      } else {
        out.push_back(p);
      }
    }
    begin = end;
  }
}

void AddEllipse(ScanConverter& sc, double left, double top, double right, double bottom) {
  double rx = std::fabs(right - left) * 0.5, ry = std::fabs(bottom - top) * 0.5;
  if (rx <= 0.0 || ry <= 0.0) return;
  PointD c{(left + right) * 0.5, (top + bottom) * 0.5};
  int n = int(std::clamp(std::ceil(2 * kPi / ArcStep(std::max(rx, ry))), 8.0, 1024.0));
  std::vector<PointD> pts(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    double a = 2.0 * kPi * i / n;
    pts[size_t(i)] = {c.x + rx * std::cos(a), c.y + ry * std::sin(a)};
  }
  sc.AddPolygon(pts.data(), pts.size());
}

}  // namespace zel
