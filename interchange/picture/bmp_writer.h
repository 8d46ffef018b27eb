// BMP files of pictures of any depth: the 14-byte file header, the 40-byte
// info header, the colour table the depth calls for and the pixel rows,
// bottom row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

// Colour-table entries written for a depth: 2, 4, 16 or 256 colours, the
// three masks for 16 and 32 bits, none for 24.
int BmpColorTableEntries(int bitCount);

// False when the picture is not complete or the file would pass 4 GB.
[[nodiscard]] bool EncodeBmp(const DibImage& bitmap, std::vector<uint8_t>* out);

[[nodiscard]] bool WriteBmp(const std::string& path, const DibImage& bitmap, PictureError* error);

}  // namespace zel
