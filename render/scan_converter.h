// Scan conversion of polygon sets into spans.
//
// Coordinates are continuous device pixels: pixel (x, y) covers the unit square
// from (x, y) to (x + 1, y + 1) and is filled when its centre lies inside the
// area. A polygon with integer corners (2, 2) and (6, 5) therefore fills
// columns 2..5 of rows 2..4, the usual exclusive right and bottom edges.
// Edges are kept in double precision, so coordinates anywhere in the 32-bit
// range step exactly enough and never overflow.
#pragma once

#include <cstddef>
#include <vector>

#include "model/geometry.h"
#include "render/span.h"

namespace zel {

enum class FillRule { kEvenOdd, kNonZero };

struct PointD {
  double x = 0.0;
  double y = 0.0;
};

class ScanConverter {
 public:
  // Drops every edge and sets the rectangle outside which no span is made.
  void Reset(const IntRect& clip);
  const IntRect& clip() const { return clip_; }
  bool empty() const { return edges_.empty(); }

  // One directed edge; the direction counts for the non-zero rule.
  void AddEdge(PointD a, PointD b);
  // A closed contour (the last point joins the first), each point moved by offset.
  void AddPolygon(const IntPoint* points, size_t count, double offset = 0.0);
  void AddPolygon(const PointD* points, size_t count);

  // Appends the spans of the area to out, row by row from the top, each row's
  // spans from left to right, none overlapping and none outside the clip.
  void Sweep(FillRule rule, SpanList& out);

 private:
  struct Edge {
    double x;      // crossing at the centre of the current row
    double dxdy;
    int yStart;    // first row
    int yEnd;      // row after the last
    int dir;       // +1 downwards, -1 upwards
  };

  IntRect clip_;
  std::vector<Edge> edges_;
  std::vector<Edge> active_;
};

}  // namespace zel
