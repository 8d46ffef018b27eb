// The pixels of a one-pixel line, as a Bresenham walk that can start
// anywhere: only the part inside the clip is visited, so a line millions of
// pixels long costs no more than its visible part.
#pragma once

#include <cstdint>

#include "model/geometry.h"

namespace zel {

namespace line_detail {

// Floor and ceiling of n / d for d > 0.
inline __int128 FloorDiv(__int128 n, __int128 d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }
inline __int128 CeilDiv(__int128 n, __int128 d) { return n >= 0 ? (n + d - 1) / d : -((-n) / d); }

// Range of steps [lo, hi] for which base + sign * step lies in [low, high].
inline void StepRange(int64_t base, int sign, int64_t low, int64_t high, int64_t* lo, int64_t* hi) {
  if (sign > 0) {
    *lo = low - base;
    *hi = high - base;
  } else {
    *lo = base - high;
    *hi = base - low;
  }
}

}  // namespace line_detail

// Calls plot(x, y, step) for the pixels of the line from a to b, the end
// point b excluded, that lie inside clip (right and bottom exclusive). step
// counts pixels from a along the line's longer axis, so a dash pattern keeps
// its phase wherever the clip starts.
template <class Plot>
void TraceLine(IntPoint a, IntPoint b, const IntRect& clip, Plot&& plot) {
  using line_detail::CeilDiv;
  using line_detail::FloorDiv;
  int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
  int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  if (adx == 0 && ady == 0) return;
  if (clip.left >= clip.right || clip.top >= clip.bottom) return;
  bool xMajor = adx >= ady;
  // Major axis: the one advancing every step. Minor offset after step i is
  // k(i) = floor((2 i minor + major) / (2 major)), the nearest row or column.
  int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  int majSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  int minSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
  int64_t majBase = xMajor ? a.x : a.y, minBase = xMajor ? a.y : a.x;
  int64_t majLow = xMajor ? clip.left : clip.top, majHigh = (xMajor ? clip.right : clip.bottom) - 1;
  int64_t minLow = xMajor ? clip.top : clip.left, minHigh = (xMajor ? clip.bottom : clip.right) - 1;

  auto inside = [&](IntPoint p) { return p.x >= clip.left && p.x < clip.right && p.y >= clip.top && p.y < clip.bottom; };
  if (inside(a) && inside(b)) {
    // The common short segment wholly inside: no clipping arithmetic.
    int64_t rem = major, k = 0;
    for (int64_t i = 0; i < major; ++i) {
      int64_t mj = majBase + majSign * i, mn = minBase + minSign * k;
      if (xMajor) {
        plot(int(mj), int(mn), i);
      } else {
        plot(int(mn), int(mj), i);
      }
      rem += 2 * minor;
      if (rem >= 2 * major) {
        rem -= 2 * major;
        ++k;
      }
    }
    return;
  }

  int64_t lo, hi;
  line_detail::StepRange(majBase, majSign, majLow, majHigh, &lo, &hi);
  if (lo < 0) lo = 0;
  if (hi > major - 1) hi = major - 1;
  int64_t kLo, kHi;
  line_detail::StepRange(minBase, minSign, minLow, minHigh, &kLo, &kHi);
  if (kHi < 0) return;
  __int128 two_major = __int128(2) * major;
  if (minor == 0) {
    if (kLo > 0) return;
  } else {
    // k(i) >= kLo  <=>  i >= ceil((2 major kLo - major) / (2 minor))
    __int128 iFirst = CeilDiv(two_major * kLo - major, __int128(2) * minor);
    // k(i) <= kHi  <=>  i <= ceil((2 major (kHi + 1) - major) / (2 minor)) - 1
    __int128 iLast = CeilDiv(two_major * (kHi + 1) - major, __int128(2) * minor) - 1;
    if (iFirst > lo) lo = int64_t(iFirst > hi ? hi + 1 : iFirst);
    if (iLast < hi) hi = int64_t(iLast < lo ? lo - 1 : iLast);
  }
  if (lo > hi) return;

  __int128 num = __int128(2) * lo * minor + major;
  int64_t k = int64_t(FloorDiv(num, two_major));
  int64_t rem = int64_t(num - __int128(k) * two_major);
  int64_t step2 = 2 * minor, wrap = 2 * major;
  for (int64_t i = lo; i <= hi; ++i) {
    int64_t mj = majBase + majSign * i;
    int64_t mn = minBase + minSign * k;
    if (xMajor) {
      plot(int(mj), int(mn), i);
    } else {
      plot(int(mn), int(mj), i);
    }
    rem += step2;
    if (rem >= wrap) {
      rem -= wrap;
      ++k;
    }
  }
}

}  // namespace zel
