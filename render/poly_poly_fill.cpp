#include "render/poly_poly_fill.h"

#include <algorithm>

namespace zel {

namespace {

// n / d rounded half away from zero, d > 0.
int64_t RoundedQuotient(__int128 n, __int128 d) {
  if (n >= 0) return int64_t((2 * n + d) / (2 * d));
  return -int64_t((-2 * n + d) / (2 * d));
}

}  // namespace

void CPolyPolyFill::AddEdge(IntPoint a, IntPoint b, int height) {
  const int64_t last = int64_t(height) - 1;
  if (a.y == b.y) return;  // horizontal: crosses no row
  if ((a.y <= 0 && b.y <= 0) || (a.y >= last && b.y >= last)) return;
  if (a.y > b.y) std::swap(a, b);
  const int64_t dx = int64_t(b.x) - a.x;
  const int64_t dy = int64_t(b.y) - a.y;  // > 0, up to 2^32
  int64_t xTop = a.x;
  int64_t yTop = a.y, yBottom = b.y;
  if (yTop < 0) {
    // Moved along the edge to row 0; the shift rounded half away from zero.
    xTop += RoundedQuotient(__int128(-yTop) * dx, dy);
    yTop = 0;
  }
  if (yBottom > last) yBottom = last;
  if (yTop >= yBottom) return;
  Edge e;
  e.yStart = int(yTop);
  e.yEnd = int(yBottom);
  e.q = xTop;
  e.rem = 0;
  e.dy = dy;
  // Floor division, so that the remainder stays in [0, dy).
  e.stepQ = dx / dy;
  e.stepRem = dx % dy;
  if (e.stepRem < 0) {
    e.stepRem += dy;
    e.stepQ -= 1;
  }
  edges_.push_back(e);
}

void CPolyPolyFill::MakeSpans(int width, int height, const IntPoint* points, size_t pointCount,
                              const int* counts, int polygonCount, SpanList& out) {
  edges_.clear();
  if (width <= 0 || height <= 0 || !points || !counts) return;
  size_t start = 0;
  for (int i = 0; i < polygonCount && start < pointCount; ++i) {
    size_t n = counts[i] > 0 ? size_t(counts[i]) : 0;
    n = std::min(n, pointCount - start);
    const IntPoint* p = points + start;
    for (size_t k = 0; k < n; ++k) AddEdge(p[k], p[k + 1 == n ? 0 : k + 1], height);
    start += n;
  }
  if (edges_.empty()) return;
  std::stable_sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.yStart < b.yStart; });

  const int64_t lastColumn = int64_t(width) - 1;
  active_.clear();
  size_t next = 0;
  int row = edges_[0].yStart;
  while (next < edges_.size() || !active_.empty()) {
    if (active_.empty() && edges_[next].yStart > row) row = edges_[next].yStart;
    while (next < edges_.size() && edges_[next].yStart <= row) active_.push_back(edges_[next++]);

    crossings_.clear();
    for (const Edge& e : active_) {
      // x held to the border columns, then rounded half away from zero.
      int64_t x;
      if (e.q < 0) {
        x = 0;
      } else if (e.q >= lastColumn) {
        x = lastColumn;
      } else {
        x = e.q + (2 * e.rem >= e.dy ? 1 : 0);
      }
      crossings_.push_back(int(x));
    }
    std::sort(crossings_.begin(), crossings_.end());
    for (size_t k = 0; k + 1 < crossings_.size(); k += 2) {
      if (crossings_[k] < crossings_[k + 1]) out.push_back({row, crossings_[k], crossings_[k + 1]});
    }

    ++row;
    size_t keep = 0;
    for (Edge& e : active_) {
      if (e.yEnd <= row) continue;
      e.q += e.stepQ;
      e.rem += e.stepRem;
      if (e.rem >= e.dy) {
        e.rem -= e.dy;
        e.q += 1;
      }
      active_[keep++] = e;
    }
    active_.resize(keep);
  }
}

void CPolyPolyFill::WriteSpans(DibImage& bitmap, const SpanList& spans, ColorRef colour, bool dotted) {
  const BitmapInfoHeader& h = bitmap.header;
  const int depth = h.bitCount;
  if ((depth != 24 && depth != 32) || !bitmap.IsDrawable()) return;
  const int width = h.width;
  const int height = h.height < 0 ? -h.height : h.height;
  const uint8_t b = uint8_t(BlueOf(colour)), g = uint8_t(GreenOf(colour)), r = uint8_t(RedOf(colour));
  const uint32_t colour32 = (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
  dotted = dotted && depth == 24;
  uint8_t* bits = bitmap.bits.data();
  for (const Span& s : spans) {
    // Cut to the bitmap here, whoever made the span.
    if (s.y < 0 || s.y >= height) continue;
    const int x0 = std::max(s.x0, 0), x1 = std::min(s.x1, width);
    if (x0 >= x1) continue;
    const uint64_t rowOffset = bitmap.RowOffsetFromTop(s.y);
    if (depth == 32) {
      for (int x = x0; x < x1; ++x) {
        uint8_t* p = bits + rowOffset + 4 * uint64_t(x);
        p[0] = uint8_t(colour32);
        p[1] = uint8_t(colour32 >> 8);
        p[2] = uint8_t(colour32 >> 16);
        p[3] = 0;
      }
      continue;
    }
    if (!dotted) {
      uint8_t* p = bits + rowOffset + 3 * uint64_t(x0);
      for (int x = x0; x < x1; ++x, p += 3) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
      }
      continue;
    }
    if (s.y % 3 != 0) continue;
    for (int x = x0; x < x1; ++x) {
      const uint64_t o = rowOffset + 3 * uint64_t(x);
      // The dot pattern: a pixel whose bytes include a multiple of 9.
      if (o % 9 != 0 && (o + 1) % 9 != 0 && (o + 2) % 9 != 0) continue;
      bits[o] = b;
      bits[o + 1] = g;
      bits[o + 2] = r;
    }
  }
}

bool CPolyPolyFill::fill(DibImage& bitmap, const IntPoint* points, size_t pointCount, const int* counts,
                         int polygonCount, ColorRef colour, bool dotted) {
  if (polygonCount < 1) return false;
  const int depth = bitmap.header.bitCount;
  if ((depth != 24 && depth != 32) || !bitmap.IsDrawable()) return true;
  const int height = bitmap.header.height < 0 ? -bitmap.header.height : bitmap.header.height;
  spans_.clear();
  MakeSpans(bitmap.header.width, height, points, pointCount, counts, polygonCount, spans_);
  WriteSpans(bitmap, spans_, colour, dotted);
  return true;
}

}  // namespace zel
