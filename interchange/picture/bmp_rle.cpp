// Run-length compressed BMP pixels (RLE8 and RLE4).
//
// Runs that reach past the end of a row are clipped, not wrapped; a delta
// or end-of-line past the last row ends the picture. Data that stops before
// the end-of-picture mark while rows are still missing is a damaged file.
#include <string>

#include "interchange/picture/bmp_layout_p.h"

namespace zel::bmp {

bool DecodeRle(std::span<const uint8_t> data, const Layout& l, std::vector<uint8_t>* indices, PictureError* error) {
  const size_t w = size_t(l.width), h = size_t(l.height);
  indices->assign(w * h, 0);
  const bool four = l.compression == kRle4;
  const uint8_t* p = data.data() + l.pixelOffset;
  const uint8_t* end = data.data() + data.size();
  size_t x = 0, y = 0;
  auto put = [&](uint8_t index) {
    if (x < w && y < h) (*indices)[y * w + x] = index;
    ++x;
  };
  auto truncated = [&] {
    return PictureFail(error, kPictureDamaged,
                       "compressed data ends at row " + std::to_string(y) + " of " + std::to_string(h));
  };

  while (y < h) {
    if (end - p < 2) return truncated();
    const unsigned count = p[0], value = p[1];
    p += 2;
    if (count > 0) {
      // Encoded run: one index, or for RLE4 two alternating nibbles.
      for (unsigned i = 0; i < count; ++i) put(four ? ((i & 1) ? (value & 0xF) : (value >> 4)) : value);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of picture
        return true;
      case 2:  // delta
        if (end - p < 2) return truncated();
        x += p[0];
        y += p[1];
        p += 2;
        break;
      default: {  // absolute run of `value` pixels, padded to 16 bits
        const size_t bytes = four ? (value + 1) / 2 : value;
        const size_t padded = bytes + (bytes & 1);
        if (size_t(end - p) < bytes) return truncated();
        for (unsigned i = 0; i < value; ++i) put(four ? ((i & 1) ? (p[i / 2] & 0xF) : (p[i / 2] >> 4)) : p[i]);
        p += size_t(end - p) < padded ? bytes : padded;
        break;
      }
    }
  }
  return true;
}

}  // namespace zel::bmp
