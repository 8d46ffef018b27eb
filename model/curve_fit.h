// Least-squares fitting of Bezier segments to a digitized polyline.
#pragma once

#include <cstddef>

#include "model/geometry.h"
#include "model/path_node.h"

namespace zel {

// Fits a Bezier path through points within the error bound (10 for freehand
// strokes on pixels, 3 for imported splines). Returns the nodes of the path;
// empty when fewer than two points come out.
SubPath FitBezierPath(const PointF* points, size_t count, float error);

}  // namespace zel
