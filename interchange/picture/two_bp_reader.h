// The handheld's 2BP pictures: BMP files of 2 bits per pixel, four shades
// of grey. Files that carry no colour table get the device's own shades.
#pragma once

#include <cstdint>
#include <span>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

// The device's four shades, darkest first, as 0x00RRGGBB.
inline constexpr uint32_t k2bpGreys[4] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF};

// Decodes a 2BP file into a 24-bit picture. A BMP file of another depth is
// refused with kPictureNotRecognised (DecodeBmp reads those).
[[nodiscard]] bool Decode2bp(std::span<const uint8_t> data, DibImage* out, PictureError* error);

}  // namespace zel
