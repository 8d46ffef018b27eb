// JPEG files of 24-bit pictures through libjpeg-turbo's IJG interface, with
// the settings every caller uses: three components, sequential, baseline
// quantisation tables forced, optimised Huffman coding, the library's
// default DCT, no smoothing. The file is composed in memory first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

inline constexpr int kJpegQuality = 100;
// The library's limit on either side.
inline constexpr int kJpegMaxSide = 65500;

// quality 1 ... 100 (clamped). False, with the library's message in the
// error, when the picture is not 24 bits deep or the library refuses it
// (a side above kJpegMaxSide, for instance).
[[nodiscard]] bool EncodeJpeg(const DibImage& section, int quality, std::vector<uint8_t>* out, PictureError* error);

[[nodiscard]] bool WriteJpeg(const std::string& path, const DibImage& section, int quality, PictureError* error);

}  // namespace zel
