// A resampled copy of a picture, as picture import and the metafile and DXF
// readers make to keep imported pictures small.
#pragma once

#include <memory>

#include "model/dib.h"

namespace zel {

// A 24-bit picture of width x height holding the whole source stretched
// with a plain copy (nearest pixel); upside down when flip is set. Null when
// the source is missing or cannot be drawn, or the size is not positive.
std::unique_ptr<DibImage> ScaledCopy(const DibImage* source, int width, int height, bool flip);

}  // namespace zel
