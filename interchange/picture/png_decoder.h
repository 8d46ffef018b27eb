// PNG pictures through libpng, into a 24-bit bottom-up picture. Every
// colour type and depth; transparency is laid over white.
#pragma once

#include <cstdint>
#include <span>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

bool LooksLikePng(std::span<const uint8_t> data);

// A file cut short anywhere, up to and including its end chunk, is refused.
[[nodiscard]] bool DecodePng(std::span<const uint8_t> data, DibImage* out, PictureError* error);

}  // namespace zel
