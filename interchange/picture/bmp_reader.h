// Our own reader of BMP files (a DIB behind a 14-byte file header).
//
// Reads 1, 2, 4, 8, 16, 24 and 32 bits per pixel, RLE8 and RLE4, bit-field
// masks (16 and 32 bits, with or without alpha), top-down and bottom-up rows,
// and the 12-byte core header as well as the 40- to 124-byte info headers.
// The result is always a 24-bit bottom-up picture; transparent pixels are
// laid over white, the colour of the page.
#pragma once

#include <cstdint>
#include <span>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

// True when the bytes start with the "BM" signature.
bool LooksLikeBmp(std::span<const uint8_t> data);

// Decodes a whole BMP file. On failure out is left unspecified and error
// says why; sizes above kMaxPictureSide are refused before any allocation.
[[nodiscard]] bool DecodeBmp(std::span<const uint8_t> data, DibImage* out, PictureError* error);

}  // namespace zel
