// A page of a drawing rendered into a 24-bit picture of a given size: the
// raster behind bitmap export and the symbol library's thumbnails.
#pragma once

#include <memory>

#include "model/dib.h"
#include "model/drawing.h"

namespace zel {

// White picture, the page's shapes fitted into it with a one-pixel margin;
// no grid, frame or selection. Smoothed when antialias is set. Null when
// the size is not positive, the picture cannot be made, or page is not
// below the page count.
std::unique_ptr<DibImage> RenderPageToBitmap(const Drawing& drawing, int width, int height, bool antialias,
                                             int page);

}  // namespace zel
