// Builds BMP files of known pictures for the reader tests: every depth,
// header size, row order and compression the reader claims to read.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/picture/magick.h"

namespace zel::test {

enum class BmpCoding { kRgb, kBitfields, kRle };

struct BmpSpec {
  int width = 1;
  int height = 1;
  int bitCount = 24;
  BmpCoding coding = BmpCoding::kRgb;
  bool topDown = false;
  uint32_t headerSize = 40;        // 12, 40, 108 or 124
  bool withPalette = true;         // indexed depths
  uint32_t masks[4] = {0, 0, 0, 0};  // bit fields; zero: 5-6-5 or 8-8-8
  bool dropLastPadding = false;
};

// Colours the test pictures use, RGB; the first 2^n serve an n-bit picture.
inline uint32_t TestColor(int i) {
  static const uint32_t kColors[16] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,
                                       0x00FFFF, 0xFF00FF, 0x808080, 0x800000, 0x008000, 0x000080,
                                       0x808000, 0x008080, 0x800080, 0xC0C0C0};
  return kColors[i & 15];
}

// The palette index of pixel (x, y), top row 0, for a table of n colours.
inline int TestIndex(int x, int y, int n) { return (x * 3 + y * 5 + x * y) % n; }

// 16-bit pictures keep to the colours that 5 bits hold exactly.
inline int ColorCount(int bitCount) { return bitCount <= 8 ? (1 << bitCount) : bitCount == 16 ? 8 : 16; }

// The picture a BmpSpec describes, top row first.
inline RgbPicture ExpectedPicture(const BmpSpec& s) {
  RgbPicture p;
  p.width = s.width;
  p.height = s.height;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      const uint32_t c = TestColor(TestIndex(x, y, ColorCount(s.bitCount)));
      p.rgb.push_back(uint8_t(c >> 16));
      p.rgb.push_back(uint8_t(c >> 8));
      p.rgb.push_back(uint8_t(c));
    }
  }
  return p;
}

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// One stored row (bottom-up order index r) in the raw depth, unpadded.
inline std::vector<uint8_t> RawRow(const BmpSpec& s, int y, const uint32_t* masks) {
  std::vector<uint8_t> row;
  const int n = ColorCount(s.bitCount);
  if (s.bitCount <= 8) {
    row.assign((size_t(s.width) * s.bitCount + 7) / 8, 0);
    for (int x = 0; x < s.width; ++x) {
      const int bit = x * s.bitCount;
      row[size_t(bit / 8)] |= uint8_t(TestIndex(x, y, n) << (8 - s.bitCount - bit % 8));
    }
    return row;
  }
  for (int x = 0; x < s.width; ++x) {
    const uint32_t c = TestColor(TestIndex(x, y, n));
    const uint32_t rgb[3] = {(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF};
    if (s.bitCount == 24) {
      row.push_back(uint8_t(rgb[2]));
      row.push_back(uint8_t(rgb[1]));
      row.push_back(uint8_t(rgb[0]));
      continue;
    }
    uint32_t v = 0;
    for (int i = 0; i < 3; ++i) {
      const uint32_t m = masks[i];
      int shift = 0, bits = 0;
      while (m && !((m >> shift) & 1)) ++shift;
      while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) ++bits;
      const uint32_t field = bits >= 8 ? rgb[i] << (bits - 8) : (rgb[i] * ((1u << bits) - 1) + 127) / 255;
      v |= field << shift;
    }
    if (masks[3]) v |= masks[3];  // opaque
    if (s.bitCount == 16) {
      Put16(row, v);
    } else {
      Put32(row, v);
    }
  }
  return row;
}

// RLE8 or RLE4 data of the picture: runs of equal indices as encoded runs,
// the rest as absolute runs (at least 3 pixels), an end-of-line per row and
// an end-of-picture mark.
inline std::vector<uint8_t> RleData(const BmpSpec& s) {
  const bool four = s.bitCount == 4;
  const int n = ColorCount(s.bitCount);
  std::vector<uint8_t> out;
  for (int r = 0; r < s.height; ++r) {
    const int y = s.height - 1 - r;
    std::vector<int> idx(size_t(s.width));
    for (int x = 0; x < s.width; ++x) idx[size_t(x)] = TestIndex(x, y, n);
    int x = 0;
    while (x < s.width) {
      int run = 1;
      while (x + run < s.width && run < 255 && idx[size_t(x + run)] == idx[size_t(x)]) ++run;
      if (run >= 2 || s.width - x < 3) {
        run = four ? std::min(run, 255) : run;
        out.push_back(uint8_t(run));
        out.push_back(uint8_t(four ? (idx[size_t(x)] << 4) | idx[size_t(x)] : idx[size_t(x)]));
        x += run;
        continue;
      }
      int lit = 3;
      while (x + lit < s.width && lit < 255) ++lit;
      out.push_back(0);
      out.push_back(uint8_t(lit));
      size_t bytes = 0;
      for (int i = 0; i < lit; i += four ? 2 : 1) {
        uint8_t b = four ? uint8_t(idx[size_t(x + i)] << 4 | (i + 1 < lit ? idx[size_t(x + i + 1)] : 0))
                         : uint8_t(idx[size_t(x + i)]);
        out.push_back(b);
        ++bytes;
      }
      if (bytes & 1) out.push_back(0);
      x += lit;
    }
    out.push_back(0);
    out.push_back(0);
  }
  out.push_back(0);
  out.push_back(1);
  return out;
}

inline std::vector<uint8_t> BuildBmp(const BmpSpec& s) {
  uint32_t masks[4] = {s.masks[0], s.masks[1], s.masks[2], s.masks[3]};
  if (s.bitCount == 16 && !masks[0]) {
    masks[0] = s.coding == BmpCoding::kBitfields ? 0xF800 : 0x7C00;
    masks[1] = s.coding == BmpCoding::kBitfields ? 0x07E0 : 0x03E0;
    masks[2] = 0x001F;
  } else if (s.bitCount == 32 && !masks[0]) {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }
  const bool core = s.headerSize == 12;
  const int entries = s.bitCount <= 8 && s.withPalette ? (1 << s.bitCount) : 0;
  const size_t entrySize = core ? 3 : 4;
  const bool fieldsAfterHeader = s.coding == BmpCoding::kBitfields && s.headerSize == 40;
  const uint32_t offset =
      uint32_t(14 + s.headerSize + (fieldsAfterHeader ? 12 : 0) + entrySize * size_t(entries));

  std::vector<uint8_t> pixels;
  if (s.coding == BmpCoding::kRle) {
    pixels = RleData(s);
  } else {
    const size_t stride = ((size_t(s.width) * s.bitCount + 31) / 32) * 4;
    for (int r = 0; r < s.height; ++r) {
      const int y = s.topDown ? r : s.height - 1 - r;
      std::vector<uint8_t> row = RawRow(s, y, masks);
      const bool last = r == s.height - 1;
      if (!(last && s.dropLastPadding)) row.resize(stride, 0);
      pixels.insert(pixels.end(), row.begin(), row.end());
    }
  }

  std::vector<uint8_t> f;
  f.push_back('B');
  f.push_back('M');
  Put32(f, uint32_t(offset + pixels.size()));
  Put32(f, 0);
  Put32(f, offset);
  Put32(f, s.headerSize);
  if (core) {
    Put16(f, uint32_t(s.width));
    Put16(f, uint32_t(s.height));
    Put16(f, 1);
    Put16(f, uint32_t(s.bitCount));
  } else {
    uint32_t compression = 0;
    if (s.coding == BmpCoding::kBitfields) compression = 3;
    if (s.coding == BmpCoding::kRle) compression = s.bitCount == 8 ? 1 : 2;
    Put32(f, uint32_t(s.width));
    Put32(f, uint32_t(s.topDown ? -s.height : s.height));
    Put16(f, 1);
    Put16(f, uint32_t(s.bitCount));
    Put32(f, compression);
    Put32(f, uint32_t(pixels.size()));
    Put32(f, 2835);
    Put32(f, 2835);
    Put32(f, uint32_t(entries));
    Put32(f, 0);
    if (s.headerSize > 40) {
      const uint32_t fields = s.coding == BmpCoding::kBitfields || s.bitCount == 32;
      for (int i = 0; i < 4; ++i) Put32(f, fields ? masks[i] : 0);
      Put32(f, 0x73524742);  // "sRGB"
      while (f.size() < 14 + s.headerSize) f.push_back(0);
    }
    if (fieldsAfterHeader) {
      for (int i = 0; i < 3; ++i) Put32(f, masks[i]);
    }
  }
  for (int i = 0; i < entries; ++i) {
    const uint32_t c = TestColor(i);
    f.push_back(uint8_t(c));
    f.push_back(uint8_t(c >> 8));
    f.push_back(uint8_t(c >> 16));
    if (!core) f.push_back(0);
  }
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

inline uint32_t Le32Of(const std::vector<uint8_t>& v, size_t at) {
  return uint32_t(v[at]) | (uint32_t(v[at + 1]) << 8) | (uint32_t(v[at + 2]) << 16) | (uint32_t(v[at + 3]) << 24);
}

inline bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace zel::test
