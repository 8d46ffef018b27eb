// GIF pictures through giflib, into a 24-bit bottom-up picture: the first
// frame on the file's logical screen, transparent pixels and the screen
// outside the frame white.
#pragma once

#include <cstdint>
#include <span>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

bool LooksLikeGif(std::span<const uint8_t> data);

// An animation gives its first frame; a file whose first frame is cut
// short is refused.
[[nodiscard]] bool DecodeGif(std::span<const uint8_t> data, DibImage* out, PictureError* error);

}  // namespace zel
