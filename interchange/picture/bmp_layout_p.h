// Private to the BMP and 2BP readers: the parsed headers of a BMP file and
// the steps that turn its pixel data into a 24-bit picture.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel::bmp {

inline constexpr size_t kFileHeaderSize = 14;
inline constexpr uint32_t kRle8 = 1;
inline constexpr uint32_t kRle4 = 2;
inline constexpr uint32_t kAlphaBitfields = 6;

struct Layout {
  int width = 0;
  int height = 0;          // always positive
  bool topDown = false;    // the first stored row is the top row
  int bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t masks[4] = {};  // red, green, blue, alpha (16 and 32 bits)
  // Use the alpha mask only when some pixel has a non-zero alpha: many
  // writers leave the fourth byte of 32-bit pixels at zero.
  bool alphaWhenPresent = false;
  std::vector<uint32_t> palette;  // 0x00RRGGBB, at most 256 entries
  uint64_t pixelOffset = 0;
};

uint16_t Le16(const uint8_t* p);
uint32_t Le32(const uint8_t* p);

// Reads the file header, the info header, the masks and the colour table.
// A missing colour table is not an error here: palette stays empty.
[[nodiscard]] bool ParseLayout(std::span<const uint8_t> data, Layout* layout, PictureError* error);

// Expands the pixel data (any depth or compression the layout names) into
// out, a 24-bit picture of the layout's size.
[[nodiscard]] bool ExpandPixels(std::span<const uint8_t> data, const Layout& layout, DibImage* out,
                                PictureError* error);

// Decodes RLE8 or RLE4 data into one palette index per pixel, rows in
// stored order (bottom row first). Skipped pixels keep index 0.
[[nodiscard]] bool DecodeRle(std::span<const uint8_t> data, const Layout& layout, std::vector<uint8_t>* indices,
                             PictureError* error);

// Writes one pixel into a 24-bit row, laying a partly transparent colour over
// white.
inline void PutPixel(uint8_t* bgr, uint32_t rgb, uint32_t alpha = 255) {
  uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (alpha < 255) {
    const uint32_t back = 255 * (255 - alpha);
    r = (r * alpha + back + 127) / 255;
    g = (g * alpha + back + 127) / 255;
    b = (b * alpha + back + 127) / 255;
  }
  bgr[0] = uint8_t(b);
  bgr[1] = uint8_t(g);
  bgr[2] = uint8_t(r);
}

}  // namespace zel::bmp
