// Picture import: a loaded picture becomes an image shape, kept small and
// placed near the top-left corner of the view.
#pragma once

#include <memory>
#include <string>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"
#include "model/drawing.h"
#include "model/shape.h"
#include "model/viewport.h"

namespace zel {

// Pictures wider or taller than this many pixels are resampled to fit.
inline constexpr int kImportedPictureLimit = 220;
// Where the picture's top-left pixel goes, in view pixels.
inline constexpr int kImportedPictureOffset = 10;

// The image shape made from a picture: a 24-bit copy that fits inside
// limit x limit pixels (the picture's own size when it already fits; never
// under one pixel a side), placed from view pixel (10, 10) to
// (10 + width, 10 + height) through vp, on page. Null when the copy cannot
// be made.
std::unique_ptr<Shape> MakeImportedPicture(const DibImage& picture, const Viewport& vp, int page,
                                           int limit = kImportedPictureLimit);

// Loads the file and makes that shape; null with error filled on failure.
std::unique_ptr<Shape> ImportPicture(const std::string& path, const Viewport& vp, int page, PictureError* error,
                                     int limit = kImportedPictureLimit);

// The drawing of a picture file, as the command line reads one: the
// drawing is reset (its page size stays) and holds the one image shape,
// placed as in a view that shows the page at true size with the page's
// top-left corner in the view's corner. False with the last-error text set.
[[nodiscard]] bool ReadPictureDrawing(Drawing& drawing, const std::string& path, int limit = kImportedPictureLimit);

}  // namespace zel
