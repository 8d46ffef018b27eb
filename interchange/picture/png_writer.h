// PNG files of 24-bit pictures through libpng: 8-bit RGB, not interlaced,
// zlib's default level. Lossless, unlike the JPEG output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

[[nodiscard]] bool EncodePng(const DibImage& section, std::vector<uint8_t>* out, PictureError* error);

[[nodiscard]] bool WritePng(const std::string& path, const DibImage& section, PictureError* error);

}  // namespace zel
