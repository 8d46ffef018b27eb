// The headers of a BMP file: file header, info header of any of the usual
// sizes, bit-field masks and colour table.
#include <bit>
#include <string>

#include "interchange/picture/bmp_layout_p.h"

namespace zel::bmp {

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kMaxHeaderSize = 124;  // the fifth version of the info header

bool Contiguous(uint32_t mask) {
  if (mask == 0) return true;
  const uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

bool SetMasks(Layout* layout, PictureError* error) {
  for (uint32_t m : layout->masks) {
    if (!Contiguous(m)) return PictureFail(error, kPictureUnsupported, "a colour mask has gaps");
    if (layout->bitCount == 16 && m > 0xFFFF) return PictureFail(error, kPictureDamaged, "a colour mask exceeds 16 bits");
  }
  return true;
}

}  // namespace

bool ParseLayout(std::span<const uint8_t> data, Layout* layout, PictureError* error) {
  if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
    return PictureFail(error, kPictureNotRecognised, "no BM signature");
  if (data.size() < kFileHeaderSize + 4) return PictureFail(error, kPictureDamaged, "file ends inside the headers");
  const uint8_t* p = data.data();
  const uint32_t offBits = Le32(p + 10);
  const uint32_t headerSize = Le32(p + kFileHeaderSize);
  if (headerSize < kCoreHeaderSize || headerSize > kMaxHeaderSize || (headerSize > kCoreHeaderSize && headerSize < 16))
    return PictureFail(error, kPictureUnsupported, "info header of " + std::to_string(headerSize) + " bytes");
  if (data.size() - kFileHeaderSize < headerSize)
    return PictureFail(error, kPictureDamaged, "file ends inside the info header");

  Layout l;
  const uint8_t* h = p + kFileHeaderSize;
  int64_t width = 0, height = 0;
  uint32_t clrUsed = 0;
  size_t entrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    width = Le16(h + 4);
    height = Le16(h + 6);
    l.bitCount = Le16(h + 10);
    entrySize = 3;
  } else {
    // Fields past the end of a short (OS/2) header count as zero.
    auto field = [&](uint32_t at) { return at + 4 <= headerSize ? Le32(h + at) : 0u; };
    width = int32_t(Le32(h + 4));
    height = int32_t(Le32(h + 8));
    l.bitCount = Le16(h + 14);
    l.compression = field(16);
    clrUsed = field(32);
    if (headerSize >= 52) {
      l.masks[0] = field(40);
      l.masks[1] = field(44);
      l.masks[2] = field(48);
      l.masks[3] = field(52);
    }
  }
  if (width <= 0 || height == 0) return PictureFail(error, kPictureDamaged, "width or height is zero or negative");
  l.topDown = height < 0;
  if (height < 0) height = -height;
  if (width > kMaxPictureSide || height > kMaxPictureSide)
    return PictureFail(error, kPictureTooLarge,
                       "header claims " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
  l.width = int(width);
  l.height = int(height);

  switch (l.bitCount) {
    case 1: case 2: case 4: case 8: case 16: case 24: case 32:
      break;
    default:
      return PictureFail(error, kPictureUnsupported, std::to_string(l.bitCount) + " bits per pixel");
  }

  size_t pos = kFileHeaderSize + headerSize;
  switch (l.compression) {
    case kBiRgb:
      if (l.bitCount == 16) {
        l.masks[0] = 0x7C00, l.masks[1] = 0x03E0, l.masks[2] = 0x001F, l.masks[3] = 0;
      } else if (l.bitCount == 32) {
        l.masks[0] = 0xFF0000, l.masks[1] = 0x00FF00, l.masks[2] = 0x0000FF;
        if (l.masks[3] == 0) l.masks[3] = 0xFF000000;
        l.alphaWhenPresent = true;
      }
      break;
    case kRle8:
    case kRle4:
      if (l.bitCount != (l.compression == kRle8 ? 8 : 4))
        return PictureFail(error, kPictureDamaged, "run-length compression does not match the depth");
      if (l.topDown) return PictureFail(error, kPictureDamaged, "run-length pictures cannot be stored top-down");
      break;
    case kBiBitfields:
    case kAlphaBitfields: {
      if (l.bitCount != 16 && l.bitCount != 32)
        return PictureFail(error, kPictureDamaged, "bit-field masks on a picture of " + std::to_string(l.bitCount) + " bits");
      if (headerSize < 52) {
        // A 40-byte header is followed by the masks.
        const size_t count = l.compression == kAlphaBitfields ? 4 : 3;
        if (data.size() - pos < 4 * count) return PictureFail(error, kPictureDamaged, "file ends inside the colour masks");
        for (size_t i = 0; i < count; ++i) l.masks[i] = Le32(p + pos + 4 * i);
        pos += 4 * count;
      }
      l.alphaWhenPresent = l.masks[3] != 0;
      break;
    }
    default:
      return PictureFail(error, kPictureUnsupported, "compression " + std::to_string(l.compression));
  }
  if (!SetMasks(&l, error)) return false;

  if (l.bitCount <= 8) {
    const size_t full = size_t(1) << l.bitCount;
    size_t count = clrUsed == 0 || clrUsed > full ? full : clrUsed;
    // The table ends where the pixels start; some writers store fewer
    // entries than the header says.
    const size_t end = offBits >= pos && offBits <= data.size() ? offBits : data.size();
    const size_t fit = end > pos ? (end - pos) / entrySize : 0;
    if (count > fit) count = fit;
    l.palette.resize(count);
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* e = p + pos + entrySize * i;
      l.palette[i] = (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
    }
    pos += entrySize * count;
  }

  // A zero offset means "right after the table", as some writers leave it.
  l.pixelOffset = offBits != 0 ? offBits : pos;
  if (l.pixelOffset < kFileHeaderSize + headerSize)
    return PictureFail(error, kPictureDamaged, "pixel data would start inside the headers");
  if (l.pixelOffset >= data.size())
    return PictureFail(error, kPictureDamaged,
                       "pixel data at byte " + std::to_string(l.pixelOffset) + " lies past the end of the file");
  *layout = std::move(l);
  return true;
}

}  // namespace zel::bmp
