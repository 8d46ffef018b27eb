// Outlines of wide pens: round caps and round joins, as one area.
//
// A wide line is the union of a rectangle per segment and a disc per point,
// all added with the same orientation and swept with the non-zero rule, so
// every covered pixel is written once even where pieces overlap (a stroke in
// exclusive-or mode must not cancel itself at the joins).
#pragma once

#include <cstddef>

#include "model/geometry.h"
#include "render/scan_converter.h"

namespace zel {

// Adds the outline of width pixels along points (integer pixel positions,
// drawn through pixel centres). closed joins the last point to the first.
void AddWideStroke(ScanConverter& sc, const IntPoint* points, size_t count, bool closed, int width);

// Adds a polygon approximating the ellipse inscribed in the box, finely
// enough that no covered pixel differs from the true ellipse by more than a
// quarter pixel.
void AddEllipse(ScanConverter& sc, double left, double top, double right, double bottom);

}  // namespace zel
