// Rectangle helpers of the drawing surface's callers: clip tests, frames and
// handles. Rectangles exclude their right and bottom edges; sums saturate at
// the 32-bit limits instead of wrapping.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/geometry.h"

namespace zel {

namespace rect_detail {
inline int Saturate(int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
}  // namespace rect_detail

inline IntRect InflateRect(const IntRect& r, int dx, int dy) {
  using rect_detail::Saturate;
  return {Saturate(int64_t(r.left) - dx), Saturate(int64_t(r.top) - dy), Saturate(int64_t(r.right) + dx),
          Saturate(int64_t(r.bottom) + dy)};
}

inline IntRect OffsetRect(const IntRect& r, int dx, int dy) {
  using rect_detail::Saturate;
  return {Saturate(int64_t(r.left) + dx), Saturate(int64_t(r.top) + dy), Saturate(int64_t(r.right) + dx),
          Saturate(int64_t(r.bottom) + dy)};
}

inline bool IsRectEmpty(const IntRect& r) { return r.left >= r.right || r.top >= r.bottom; }

// The common part of a and b; false (and an all-zero *out) when they do not
// overlap.
inline bool IntersectRect(IntRect* out, const IntRect& a, const IntRect& b) {
  IntRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  if (IsRectEmpty(r)) r = {0, 0, 0, 0};
  if (out) *out = r;
  return !IsRectEmpty(r);
}

inline bool PtInRect(const IntRect& r, IntPoint p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace zel
