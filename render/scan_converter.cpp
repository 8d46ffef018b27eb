#include "render/scan_converter.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {

// First pixel whose centre lies at or right of x, kept inside [lo, hi].
int PixelFrom(double x, int lo, int hi) {
  double v = std::ceil(x - 0.5);
  if (!(v > lo)) return lo;  // NaN too
  if (v > hi) return hi;
  return static_cast<int>(v);
}

}  // namespace

void ScanConverter::Reset(const IntRect& clip) {
  clip_ = clip;
  edges_.clear();
}

void ScanConverter::AddEdge(PointD a, PointD b) {
  if (!(a.y != b.y)) return;  // horizontal or NaN
  if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) return;
  int dir = 1;
  if (a.y > b.y) {
    std::swap(a, b);
    dir = -1;
  }
  // Rows whose centre y + 0.5 lies in [a.y, b.y).
  double first = std::ceil(a.y - 0.5);
  double end = std::ceil(b.y - 0.5);
  if (first < clip_.top) first = clip_.top;
  if (end > clip_.bottom) end = clip_.bottom;
  if (!(first < end)) return;
  Edge e;
  e.dxdy = (b.x - a.x) / (b.y - a.y);
  e.yStart = static_cast<int>(first);
  e.yEnd = static_cast<int>(end);
  e.x = a.x + (first + 0.5 - a.y) * e.dxdy;
  e.dir = dir;
  edges_.push_back(e);
}

void ScanConverter::AddPolygon(const IntPoint* p, size_t n, double offset) {
  if (n < 2) return;
  for (size_t i = 0; i < n; ++i) {
    const IntPoint& a = p[i];
    const IntPoint& b = p[i + 1 == n ? 0 : i + 1];
    AddEdge({a.x + offset, a.y + offset}, {b.x + offset, b.y + offset});
  }
}

void ScanConverter::AddPolygon(const PointD* p, size_t n) {
  if (n < 2) return;
  for (size_t i = 0; i < n; ++i) AddEdge(p[i], p[i + 1 == n ? 0 : i + 1]);
}

void ScanConverter::Sweep(FillRule rule, SpanList& out) {
  if (edges_.empty() || clip_.left >= clip_.right) return;
  std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.yStart < b.yStart; });
  active_.clear();
  size_t next = 0;
  int y = edges_[0].yStart;
  const bool evenOdd = rule == FillRule::kEvenOdd;
  while (next < edges_.size() || !active_.empty()) {
    if (active_.empty() && edges_[next].yStart > y) y = edges_[next].yStart;
    while (next < edges_.size() && edges_[next].yStart == y) active_.push_back(edges_[next++]);

    // Insertion sort: the order changes little from row to row.
    for (size_t i = 1; i < active_.size(); ++i) {
      Edge e = active_[i];
      size_t j = i;
      while (j > 0 && active_[j - 1].x > e.x) {
        active_[j] = active_[j - 1];
        --j;
      }
      active_[j] = e;
    }

    int winding = 0;
    double spanStart = 0.0;
    for (const Edge& e : active_) {
      int before = winding;
      winding = evenOdd ? (winding ^ 1) : winding + e.dir;
      if (before == 0 && winding != 0) {
        spanStart = e.x;
      } else if (before != 0 && winding == 0) {
        int x0 = PixelFrom(spanStart, clip_.left, clip_.right);
        int x1 = PixelFrom(e.x, clip_.left, clip_.right);
        if (x0 < x1) {
          // Two areas that touch on this row make one span.
          if (!out.empty() && out.back().y == y && out.back().x1 >= x0) {
            if (x1 > out.back().x1) out.back().x1 = x1;
          } else {
            out.push_back({y, x0, x1});
          }
        }
      }
    }

    ++y;
    size_t keep = 0;
    for (size_t i = 0; i < active_.size(); ++i) {
      Edge& e = active_[i];
      if (e.yEnd <= y) continue;
      e.x += e.dxdy;
      active_[keep++] = e;
    }
    active_.resize(keep);
  }
}

}  // namespace zel
