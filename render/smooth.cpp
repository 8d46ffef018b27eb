#include "render/smooth.h"

#include <vector>

#include "render/surface.h"

namespace zel {

// The filter is the product of (1, 6, 1) down and (1, 6, 1) across, so it
// runs as a vertical pass into one row of sums and a horizontal pass over
// them; the total before the shift is the same integer.
std::unique_ptr<DibImage> Smooth(const DibImage& in) {
  if (in.header.bitCount != 24 || in.header.compression != kBiRgb || in.header.width <= 0 ||
      in.header.height == 0 || in.bits.size() < in.RequiredBits())
    return nullptr;
  const int w = in.header.width;
  const int h = in.header.height < 0 ? -in.header.height : in.header.height;
  auto out = CreateSection24(w, h);
  if (!out) return nullptr;
  out->header = in.header;
  const uint64_t stride = in.stride();
  const size_t n = 3 * size_t(w);
  std::vector<uint16_t> sums(n);
  for (int y = 0; y < h; ++y) {
    // Memory rows; which of the two neighbours is "above" does not matter.
    const uint8_t* c = in.bits.data() + stride * uint64_t(y);
    const uint8_t* a = y > 0 ? c - stride : c;
    const uint8_t* b = y + 1 < h ? c + stride : c;
    for (size_t i = 0; i < n; ++i) sums[i] = uint16_t(a[i] + 6 * c[i] + b[i]);
    uint8_t* d = out->bits.data() + stride * uint64_t(y);
    auto put = [&](size_t i, size_t left, size_t right) {
      d[i] = uint8_t((sums[left] + 6u * sums[i] + sums[right]) >> 6);
    };
    // First and last pixel clamp; the run between needs no test.
    for (size_t i = 0; i < 3 && i < n; ++i) put(i, i, i + 3 < n ? i + 3 : i);
    for (size_t i = 3; i + 3 < n; ++i) put(i, i - 3, i + 3);
    for (size_t i = n >= 6 ? n - 3 : 3; i < n; ++i) put(i, i - 3, i);
  }
  return out;
}

}  // namespace zel
