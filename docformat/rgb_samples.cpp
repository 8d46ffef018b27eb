#include "docformat/rgb_samples.h"

#include "model/dib_field.h"

#include <cstring>

namespace zel {

namespace {

uint32_t MaskOr(const DibImage& dib, size_t i, uint32_t fallback) {
  const bool fields = dib.header.compression == kBiBitfields && dib.colors.size() >= 3;
  return fields ? dib.colors[i] : fallback;
}

}  // namespace

bool DibToRgb(const DibImage& dib, std::string* rgb, int* width, int* height, uint64_t maxBytes) {
  if (!dib.IsDrawable()) return false;
  const int w = dib.header.width;
  const int64_t h64 = dib.header.height < 0 ? -int64_t(dib.header.height) : dib.header.height;
  const uint64_t need = uint64_t(w) * uint64_t(h64) * 3;
  if (need > maxBytes || need > rgb->max_size()) return false;
  const int h = int(h64);
  const int depth = dib.header.bitCount;
  const bool wide = depth == 16;
  const DibColorField r(MaskOr(dib, 0, wide ? 0x7C00 : 0xFF0000));
  const DibColorField g(MaskOr(dib, 1, wide ? 0x03E0 : 0x00FF00));
  const DibColorField b(MaskOr(dib, 2, wide ? 0x001F : 0x0000FF));

  rgb->resize(size_t(need));
  char* out = rgb->data();
  auto indexed = [&](unsigned index) {
    // An index past the table reads as black, as on the screen.
    const uint32_t c = index < dib.colors.size() ? dib.colors[index] : 0;
    *out++ = char(c >> 16);
    *out++ = char(c >> 8);
    *out++ = char(c);
  };
  auto fields = [&](uint32_t v) {
    *out++ = char(r.Extract(v));
    *out++ = char(g.Extract(v));
    *out++ = char(b.Extract(v));
  };
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = dib.bits.data() + dib.RowOffsetFromTop(y);
    for (int x = 0; x < w; ++x) {
      switch (depth) {
        case 1: indexed((row[x >> 3] >> (7 - (x & 7))) & 1); break;
        case 4: indexed((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF); break;
        case 8: indexed(row[x]); break;
        case 16: fields(uint32_t(row[2 * x] | (row[2 * x + 1] << 8))); break;
        case 24: {
          const uint8_t* p = row + 3 * size_t(x);
          *out++ = char(p[2]);
          *out++ = char(p[1]);
          *out++ = char(p[0]);
          break;
        }
        default: {
          const uint8_t* p = row + 4 * size_t(x);
          fields(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24));
        }
      }
    }
  }
  *width = w;
  *height = h;
  return true;
}

bool RgbToDib(std::string_view rgb, int width, int height, DibImage* dib) {
  if (width <= 0 || height <= 0) return false;
  if (uint64_t(width) * uint64_t(height) * 3 != rgb.size()) return false;
  if (!dib->Create24(width, height)) return false;
  const size_t stride = size_t(dib->stride());
  const auto* in = reinterpret_cast<const uint8_t*>(rgb.data());
  for (int y = 0; y < height; ++y) {
    // The first sample row is the top row: the last one stored.
    uint8_t* row = dib->bits.data() + size_t(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x, in += 3) {
      row[3 * x] = in[2];
      row[3 * x + 1] = in[1];
      row[3 * x + 2] = in[0];
    }
  }
  return true;
}

}  // namespace zel
