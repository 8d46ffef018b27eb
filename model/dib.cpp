#include "model/dib.h"

#include <cstring>

namespace zel {

namespace {
bool SupportedDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}
void Put16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
}  // namespace

uint64_t DibImage::Stride(int64_t width, int bitCount) {
  if (width <= 0 || bitCount <= 0 || bitCount > 32) return 0;
  return ((uint64_t(width) * uint64_t(bitCount) + 31) / 32) * 4;
}

uint64_t DibImage::RequiredBits() const {
  int64_t h = header.height < 0 ? -int64_t(header.height) : int64_t(header.height);
  return stride() * uint64_t(h);
}

bool DibImage::Create24(int width, int height, size_t maxBytes) {
  if (width <= 0 || height <= 0) return false;
  uint64_t need = Stride(width, 24) * uint64_t(height);
  if (need > maxBytes) return false;
  header = BitmapInfoHeader{};
  header.width = width;
  header.height = height;
  header.bitCount = 24;
  header.sizeImage = static_cast<uint32_t>(need);
  colors.clear();
  bits.assign(static_cast<size_t>(need), 0);
  return true;
}

std::vector<uint8_t> DibImage::HeaderBytes() const {
  std::vector<uint8_t> v;
  v.reserve(kBitmapInfoHeaderSize + colors.size() * 4);
  Put32(v, static_cast<uint32_t>(kBitmapInfoHeaderSize));
  Put32(v, static_cast<uint32_t>(header.width));
  Put32(v, static_cast<uint32_t>(header.height));
  Put16(v, header.planes);
  Put16(v, header.bitCount);
  Put32(v, header.compression);
  Put32(v, header.sizeImage);
  Put32(v, static_cast<uint32_t>(header.xPelsPerMeter));
  Put32(v, static_cast<uint32_t>(header.yPelsPerMeter));
  Put32(v, header.clrUsed);
  Put32(v, header.clrImportant);
  for (uint32_t c : colors) Put32(v, c);
  return v;
}

bool DibImage::SetHeaderBytes(const uint8_t* p, size_t size) {
  if (size < kBitmapInfoHeaderSize || size > kMaxDibHeaderSize || (size - kBitmapInfoHeaderSize) % 4)
    return false;
  BitmapInfoHeader h;
  h.size = Le32(p);
  h.width = static_cast<int32_t>(Le32(p + 4));
  h.height = static_cast<int32_t>(Le32(p + 8));
  h.planes = Le16(p + 12);
  h.bitCount = Le16(p + 14);
  h.compression = Le32(p + 16);
  h.sizeImage = Le32(p + 20);
  h.xPelsPerMeter = static_cast<int32_t>(Le32(p + 24));
  h.yPelsPerMeter = static_cast<int32_t>(Le32(p + 28));
  h.clrUsed = Le32(p + 32);
  h.clrImportant = Le32(p + 36);
  header = h;
  header.size = kBitmapInfoHeaderSize;
  size_t n = (size - kBitmapInfoHeaderSize) / 4;
  colors.resize(n);
  for (size_t i = 0; i < n; ++i) colors[i] = Le32(p + kBitmapInfoHeaderSize + 4 * i);
  return true;
}

bool DibImage::IsDrawable() const {
  if (!SupportedDepth(header.bitCount) || header.width <= 0 || header.height == 0) return false;
  if (header.height == INT32_MIN) return false;
  if (header.compression == kBiBitfields) {
    if (header.bitCount != 16 && header.bitCount != 32) return false;
  } else if (header.compression != kBiRgb) {
    return false;
  }
  if (header.bitCount <= 8 && colors.empty()) return false;
  return bits.size() >= RequiredBits();
}

uint64_t DibImage::RowOffsetFromTop(int y) const {
  int64_t h = header.height < 0 ? -int64_t(header.height) : int64_t(header.height);
  int64_t row = header.height > 0 ? h - 1 - y : y;
  return uint64_t(row) * stride();
}

}  // namespace zel
