#include "interchange/picture/bmp_writer.h"

#include <cstring>

#include "interchange/picture/picture_output.h"

namespace zel {

namespace {

void Put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

int BmpColorTableEntries(int bitCount) {
  switch (bitCount) {
    case 1: return 2;
    case 2: return 4;
    case 4: return 16;
    case 8: return 256;
    case 16: case 32: return 3;
    default: return 0;
  }
}

bool EncodeBmp(const DibImage& bitmap, std::vector<uint8_t>* out) {
  const BitmapInfoHeader& in = bitmap.header;
  const int depth = in.bitCount;
  if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) return false;
  if (in.width <= 0 || in.height == 0 || in.height == INT32_MIN) return false;
  if (bitmap.bits.size() < bitmap.RequiredBits()) return false;
  const int entries = BmpColorTableEntries(depth);
  const uint64_t height = in.height < 0 ? -int64_t(in.height) : int64_t(in.height);
  const uint64_t stride = bitmap.stride();
  const uint64_t imageSize = stride * height;
  const uint64_t offset = 14 + 40 + 4 * uint64_t(entries);
  if (offset + imageSize > UINT32_MAX) return false;

  out->assign(size_t(offset + imageSize), 0);
  uint8_t* p = out->data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, uint32_t(offset + imageSize));
  Put32(p + 10, uint32_t(offset));
  uint8_t* h = p + 14;
  Put32(h, 40);
  Put32(h + 4, uint32_t(in.width));
  Put32(h + 8, uint32_t(height));
  Put16(h + 12, 1);
  Put16(h + 14, uint32_t(depth));
  Put32(h + 16, depth == 16 || depth == 32 ? kBiBitfields : kBiRgb);
  Put32(h + 20, uint32_t(imageSize));

  uint32_t table[256] = {};
  if (depth == 16 || depth == 32) {
    const bool fields = in.compression == kBiBitfields && bitmap.colors.size() >= 3;
    const uint32_t defaults16[3] = {0x7C00, 0x03E0, 0x001F}, defaults32[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 3; ++i) table[i] = fields ? bitmap.colors[i] : (depth == 16 ? defaults16[i] : defaults32[i]);
  } else {
    for (int i = 0; i < entries && size_t(i) < bitmap.colors.size(); ++i) table[i] = bitmap.colors[size_t(i)];
  }
  for (int i = 0; i < entries; ++i) Put32(h + 40 + 4 * i, table[i]);

  // Files store the bottom row first; a top-down picture is turned over.
  uint8_t* rows = p + offset;
  if (in.height > 0) {
    std::memcpy(rows, bitmap.bits.data(), size_t(imageSize));
  } else {
    for (uint64_t y = 0; y < height; ++y)
      std::memcpy(rows + stride * y, bitmap.bits.data() + stride * (height - 1 - y), size_t(stride));
  }
  return true;
}

bool WriteBmp(const std::string& path, const DibImage& bitmap, PictureError* error) {
  std::vector<uint8_t> bytes;
  if (!EncodeBmp(bitmap, &bytes))
    return PictureFail(error, u"The picture could not be written as BMP.", "incomplete picture or file over 4 GB");
  return WritePictureFile(path, bytes, error);
}

}  // namespace zel
