#include "interchange/picture/two_bp_reader.h"

#include <iterator>

#include "interchange/picture/bmp_layout_p.h"

namespace zel {

bool Decode2bp(std::span<const uint8_t> data, DibImage* out, PictureError* error) {
  bmp::Layout layout;
  if (!bmp::ParseLayout(data, &layout, error)) return false;
  if (layout.bitCount != 2) return PictureFail(error, kPictureNotRecognised, "not a picture of 2 bits per pixel");
  // The device writes its files without a colour table; its shades apply.
  if (layout.palette.empty()) layout.palette.assign(std::begin(k2bpGreys), std::end(k2bpGreys));
  return bmp::ExpandPixels(data, layout, out, error);
}

}  // namespace zel
