// A run of pixels on one row: the seam between the rasterisers, which
// decide which pixels a shape covers, and the surface, which writes them.
#pragma once

#include <vector>

namespace zel {

// Pixels x0 <= x < x1 of row y (rows counted from the top).
struct Span {
  int y = 0;
  int x0 = 0;
  int x1 = 0;
  friend bool operator==(const Span&, const Span&) = default;
};

using SpanList = std::vector<Span>;

}  // namespace zel
