// A device-independent bitmap: 40-byte header, colour table and pixel bits.
//
// Pictures of image shapes live here; rendering, bitmap export and the
// readers share it. Rows are bottom-up when height > 0, padded to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr size_t kBitmapInfoHeaderSize = 40;
// Header plus a full 8-bit palette: the largest header a record may carry.
inline constexpr size_t kMaxDibHeaderSize = kBitmapInfoHeaderSize + 256 * 4;

struct BitmapInfoHeader {
  uint32_t size = kBitmapInfoHeaderSize;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = kBiRgb;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

class DibImage {
 public:
  BitmapInfoHeader header;
  std::vector<uint32_t> colors;  // RGBQUAD entries, 0x00RRGGBB as stored little-endian
  std::vector<uint8_t> bits;

  // A zero-filled 24-bit bitmap (bottom-up). False when the size is not
  // positive or the pixel bytes would exceed maxBytes.
  [[nodiscard]] bool Create24(int width, int height, size_t maxBytes = size_t(1) << 31);

  // Bytes per row, padded to 4, in 64 bits (0 for a bad header).
  static uint64_t Stride(int64_t width, int bitCount);
  uint64_t stride() const { return Stride(header.width, header.bitCount); }
  // Bytes the pixel rows need.
  uint64_t RequiredBits() const;

  // The header and colour table as stored in files and records.
  std::vector<uint8_t> HeaderBytes() const;
  // Parses a header and colour table (40 + 4 n bytes, at most 1064).
  [[nodiscard]] bool SetHeaderBytes(const uint8_t* data, size_t size);
  // Consistent enough to draw: a supported depth and compression, a positive
  // width, a non-zero height, and pixel bytes for every row.
  bool IsDrawable() const;

  // Offset of the first byte of image row y counted from the top.
  uint64_t RowOffsetFromTop(int y) const;
};

}  // namespace zel
