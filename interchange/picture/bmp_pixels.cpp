// Turning the pixel data of a BMP file into a 24-bit bottom-up picture.
#include <bit>
#include <string>

#include "interchange/picture/bmp_layout_p.h"
#include "model/dib_field.h"

namespace zel::bmp {

namespace {

using Channel = DibColorField;

uint32_t PaletteColor(const std::vector<uint32_t>& palette, uint32_t index) {
  // An index past the table shows black rather than reading past it.
  return index < palette.size() ? palette[index] : 0;
}

uint8_t* OutputRow(DibImage* out, const Layout& l, int storedRow) {
  const int memoryRow = l.topDown ? l.height - 1 - storedRow : storedRow;
  return out->bits.data() + size_t(memoryRow) * out->stride();
}

// Pixel value x of a row of 16 or 32 bits.
uint32_t FieldPixel(const uint8_t* row, int depth, int x) {
  return depth == 16 ? Le16(row + 2 * size_t(x)) : Le32(row + 4 * size_t(x));
}

void ExpandRow(const uint8_t* src, const Layout& l, bool useAlpha, const Channel* ch, uint8_t* dst) {
  const int w = l.width;
  switch (l.bitCount) {
    case 1: case 2: case 4: case 8: {
      const int depth = l.bitCount;
      const int perByte = 8 / depth;
      const uint32_t maskBits = (1u << depth) - 1;
      for (int x = 0; x < w; ++x) {
        const int shift = 8 - depth * (x % perByte + 1);
        PutPixel(dst + 3 * size_t(x), PaletteColor(l.palette, (src[x / perByte] >> shift) & maskBits));
      }
      break;
    }
    case 24:
      for (int x = 0; x < w; ++x) {
        const uint8_t* s = src + 3 * size_t(x);
        uint8_t* d = dst + 3 * size_t(x);
        d[0] = s[0], d[1] = s[1], d[2] = s[2];
      }
      break;
    default:
      for (int x = 0; x < w; ++x) {
        const uint32_t v = FieldPixel(src, l.bitCount, x);
        const uint32_t rgb =
            (uint32_t(ch[0].Extract(v)) << 16) | (uint32_t(ch[1].Extract(v)) << 8) | ch[2].Extract(v);
        PutPixel(dst + 3 * size_t(x), rgb, useAlpha ? ch[3].Extract(v) : 255);
      }
      break;
  }
}

bool ExpandUncompressed(std::span<const uint8_t> data, const Layout& l, DibImage* out, PictureError* error) {
  const uint64_t stride = DibImage::Stride(l.width, l.bitCount);
  // The last row needs no padding: some writers leave it off.
  const uint64_t lastRow = (uint64_t(l.width) * uint64_t(l.bitCount) + 7) / 8;
  const uint64_t need = stride * uint64_t(l.height - 1) + lastRow;
  const uint64_t have = data.size() - l.pixelOffset;
  // Checked before the picture is allocated: a short file claiming a large
  // picture costs nothing.
  if (have < need)
    return PictureFail(error, kPictureDamaged,
                       "pixel rows need " + std::to_string(need) + " bytes but the file holds " + std::to_string(have));
  if (!out->Create24(l.width, l.height)) return PictureFail(error, kPictureOutOfMemory, "no room for the pixels");
  const uint8_t* base = data.data() + l.pixelOffset;
  const Channel ch[4] = {Channel(l.masks[0]), Channel(l.masks[1]), Channel(l.masks[2]), Channel(l.masks[3])};
  bool useAlpha = l.masks[3] != 0 && (l.bitCount == 16 || l.bitCount == 32);
  if (useAlpha && l.alphaWhenPresent) {
    useAlpha = false;
    for (int y = 0; y < l.height && !useAlpha; ++y) {
      const uint8_t* row = base + stride * uint64_t(y);
      for (int x = 0; x < l.width; ++x) {
        if (FieldPixel(row, l.bitCount, x) & l.masks[3]) {
          useAlpha = true;
          break;
        }
      }
    }
  }
  for (int y = 0; y < l.height; ++y) ExpandRow(base + stride * uint64_t(y), l, useAlpha, ch, OutputRow(out, l, y));
  return true;
}

}  // namespace

bool ExpandPixels(std::span<const uint8_t> data, const Layout& l, DibImage* out, PictureError* error) {
  if (l.bitCount <= 8 && l.palette.empty()) return PictureFail(error, kPictureDamaged, "the colour table is missing");
  if (l.compression != kRle8 && l.compression != kRle4) return ExpandUncompressed(data, l, out, error);

  std::vector<uint8_t> indices;
  if (!DecodeRle(data, l, &indices, error)) return false;
  if (!out->Create24(l.width, l.height)) return PictureFail(error, kPictureOutOfMemory, "no room for the pixels");
  for (int y = 0; y < l.height; ++y) {
    const uint8_t* src = indices.data() + size_t(y) * size_t(l.width);
    uint8_t* dst = OutputRow(out, l, y);
    for (int x = 0; x < l.width; ++x) PutPixel(dst + 3 * size_t(x), PaletteColor(l.palette, src[x]));
  }
  return true;
}

}  // namespace zel::bmp
