// Outlines of wide pens: round caps and round joins, as one area.
//
// A wide line is the union of convex pieces: a rectangle per segment, a pie
// slice on the outer side of every join and a half disc at each open end.
// Every piece is scanned into one span per row and the spans of all pieces
// are merged row by row, so every covered pixel is written exactly once even
// where pieces overlap (a stroke in exclusive-or mode must not cancel itself
// at the joins).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/geometry.h"
#include "render/scan_converter.h"
#include "render/span.h"

namespace zel {

class WideStroker {
 public:
  // Appends to out the spans of the outline of width pixels along points
  // (integer pixel positions, drawn through pixel centres), inside clip,
  // sorted by row and then by x, none overlapping. closed joins the last
  // point to the first.
  void Stroke(const IntPoint* points, size_t count, bool closed, int width, const IntRect& clip, SpanList& out);

 private:
  void AddConvex(const PointD* p, size_t n);
  void AddSector(PointD centre, double r, PointD from, double sweep);

  IntRect clip_;
  std::vector<PointD> path_;
  std::vector<PointD> dirs_;
  std::vector<double> left_;
  std::vector<double> right_;
  SpanList pieces_;
  SpanList sorted_;
  std::vector<size_t> rowStart_;
};

// Adds a polygon approximating the ellipse inscribed in the box, finely
// enough that no covered pixel differs from the true ellipse by more than a
// quarter pixel.
void AddEllipse(ScanConverter& sc, double left, double top, double right, double bottom);

}  // namespace zel
