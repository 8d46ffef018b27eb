// One colour channel of a 16- or 32-bit DIB pixel, given by its bit mask.
#pragma once

#include <bit>
#include <cstdint>

namespace zel {

struct DibColorField {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit DibColorField(uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m);
  }
  // The channel scaled to a byte: a 5-bit 31 becomes 255.
  uint8_t Extract(uint32_t v) const {
    if (bits == 0) return 0;
    const uint32_t c = (v & mask) >> shift;
    if (bits >= 8) return uint8_t(c >> (bits - 8));
    const uint32_t top = (1u << bits) - 1;
    return uint8_t((c * 255 + top / 2) / top);
  }
};

}  // namespace zel
