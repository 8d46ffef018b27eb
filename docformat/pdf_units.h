// Conversion of a drawing between model units (mm/10, origin at the page
// centre, y down) and document units (points, origin at the top-left page
// corner; the writer negates y so the file's origin is the bottom-left).
#pragma once

#include "model/drawing.h"

namespace zel {

// Model to points: a point (x, y) becomes (k(x + W/2), k(y - H/2)).
void ConvertToPoints(Drawing& drawing);
// Points back to the model.
void ConvertFromPoints(Drawing& drawing);

}  // namespace zel
