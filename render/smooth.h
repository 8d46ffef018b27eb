// The smoothing of exported pictures: one pass of a 3 x 3 filter over the
// finished picture instead of drawing at a higher resolution.
#pragma once

#include <memory>

#include "model/dib.h"

namespace zel {

// A new 24-bit picture of the same size: each byte becomes
// (36 C + 6 (N + S + W + E) + (NW + NE + SW + SE)) / 64, neighbours beyond
// the border replaced by the pixel's own row or column. Null when the input
// is not a 24-bit picture or the copy cannot be made.
std::unique_ptr<DibImage> Smooth(const DibImage& section);

}  // namespace zel
