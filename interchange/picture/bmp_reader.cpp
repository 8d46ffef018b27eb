#include "interchange/picture/bmp_reader.h"

#include "interchange/picture/bmp_layout_p.h"
#include "interchange/picture/two_bp_reader.h"

namespace zel {

bool LooksLikeBmp(std::span<const uint8_t> data) { return data.size() >= 2 && data[0] == 'B' && data[1] == 'M'; }

bool DecodeBmp(std::span<const uint8_t> data, DibImage* out, PictureError* error) {
  bmp::Layout layout;
  if (!bmp::ParseLayout(data, &layout, error)) return false;
  // A BMP file of 2 bits is the handheld's 2BP picture.
  if (layout.bitCount == 2) return Decode2bp(data, out, error);
  return bmp::ExpandPixels(data, layout, out, error);
}

}  // namespace zel
