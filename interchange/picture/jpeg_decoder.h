// JPEG pictures through libjpeg-turbo's IJG interface, into a 24-bit
// bottom-up picture. Library errors come back as failures, never as an exit.
#pragma once

#include <cstdint>
#include <span>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

bool LooksLikeJpeg(std::span<const uint8_t> data);

// Baseline, progressive and arithmetic-coded files; grey, YCbCr, RGB and
// CMYK (Adobe's inverted form too). A file whose data ends before the
// picture is complete is refused rather than shown half grey.
[[nodiscard]] bool DecodeJpeg(std::span<const uint8_t> data, DibImage* out, PictureError* error);

}  // namespace zel
