// Pictures as the RGB samples of a document's image objects: rows from the
// top, three bytes per pixel in the order red, green, blue.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/dib.h"

namespace zel {

// The samples of a bitmap of any depth (palette, 16, 24 or 32 bits),
// converted the way the screen shows it. False when the bitmap cannot be
// drawn or its samples would need more than maxBytes.
[[nodiscard]] bool DibToRgb(const DibImage& dib, std::string* rgb, int* width, int* height,
                            uint64_t maxBytes = uint64_t(1) << 32);

// A 24-bit bottom-up bitmap from width x height samples (rgb holds exactly
// width x height x 3 bytes). False when the sizes do not fit.
[[nodiscard]] bool RgbToDib(std::string_view rgb, int width, int height, DibImage* dib);

}  // namespace zel
