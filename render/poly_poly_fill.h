// CPolyPolyFill: fills a set of polygons under the even-odd rule taken over
// the whole set (a polygon inside another makes a hole), directly into the
// pixels of a 24- or 32-bit bitmap, optionally as a sparse dot pattern.
//
// The fill is two steps: the polygons become spans (which tests check on tiny
// polygons), then the spans are written. Edges are clipped to the bitmap's
// rows 0 .. height - 2 and their x held to columns 0 .. width - 1; a row's
// edge crossings, rounded half away from zero, pair up into spans [a, b).
// Crossings are stepped exactly in 64-bit integers, so any 32-bit coordinates
// fill correctly, and every span is cut to the bitmap again when written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/color.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "render/span.h"

namespace zel {

class CPolyPolyFill {
 public:
  static constexpr const char* kClassName = "CPolyPolyFill";

  // Fills the polygons of points (counts[i] points each, back to back;
  // pointCount bounds them all) into bitmap in colour. False when
  // polygonCount is below 1; true otherwise, also when the bitmap is neither
  // 24 nor 32 bits deep, in which case nothing is written. dotted writes the
  // dot pattern instead of a solid fill (24-bit bitmaps only).
  bool fill(DibImage& bitmap, const IntPoint* points, size_t pointCount, const int* counts,
            int polygonCount, ColorRef colour, bool dotted);

  // The spans of the polygons in a width x height bitmap, rows from the top.
  void MakeSpans(int width, int height, const IntPoint* points, size_t pointCount, const int* counts,
                 int polygonCount, SpanList& out);

  // Writes spans into a 24- or 32-bit bitmap (any other depth is left as it
  // is), each cut to the bitmap first.
  static void WriteSpans(DibImage& bitmap, const SpanList& spans, ColorRef colour, bool dotted);

 private:
  // x on the current row is q + rem / dy exactly, 0 <= rem < dy.
  struct Edge {
    int yStart;
    int yEnd;
    int64_t q;
    int64_t rem;
    int64_t dy;
    int64_t stepQ;
    int64_t stepRem;
  };

  void AddEdge(IntPoint a, IntPoint b, int height);

  std::vector<Edge> edges_;
  std::vector<Edge> active_;
  std::vector<int> crossings_;
  SpanList spans_;
};

}  // namespace zel
