// Picture files of every format the program reads, recognised by their
// first bytes (the name's extension does not matter), decoded into a 24-bit
// bottom-up picture.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

// Files larger than this are not read into memory at all.
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t(1) << 30;

// BMP (2BP included), JPEG, PNG or GIF. Never throws; running out of memory
// is a failure like any other.
[[nodiscard]] bool DecodePicture(std::span<const uint8_t> data, DibImage* out, PictureError* error);

// Reads the whole file and decodes it. A file that cannot be opened fails
// with "Failed to open file!".
[[nodiscard]] bool LoadPictureFile(const std::string& path, DibImage* out, PictureError* error);

}  // namespace zel
