// Hit primitives on integer device coordinates.
#pragma once

#include <cstddef>

#include "model/geometry.h"

namespace zel {

// Even-odd point in polygon; points outside the inclusive box are rejected first.
bool PointInPolygon(const IntPoint* polygon, size_t count, const IntRect& box, IntPoint p);

// True at the first segment whose perpendicular foot lies on the segment and
// no farther than tolerance pixels from p; *distance gets that distance. A
// zero-length segment is tested as its single point.
bool PointNearPolyline(const IntPoint* points, size_t count, IntPoint p, float tolerance,
                       float* distance);

}  // namespace zel
