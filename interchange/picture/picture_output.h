// Writing an encoded picture to its file: through a temporary file in the
// same folder that takes the old file's place only once every byte is
// written, so a failure never leaves a truncated picture behind.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "interchange/picture/picture_error.h"

namespace zel {

// False with "Failed to save file!" when the folder cannot take the file or
// a write, flush or close fails; the old file then stays as it was.
[[nodiscard]] bool WritePictureFile(const std::string& path, std::span<const uint8_t> bytes, PictureError* error);

}  // namespace zel
