// Drawing text: a line of glyphs as coverage spans in device pixels.
//
// Glyphs are placed at the same fractional pen positions that Font::Measure
// sums, so a drawn line is exactly as wide as its measured extent, and are
// rasterised from their unhinted outlines at the font's scale, turned by its
// escapement. Simulated bold and italic are applied here as the font says.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/font.h"

namespace zel {

// Pixels x .. x + length - 1 of row y, each covered by coverage / 255.
struct CoverageSpan {
  int x = 0;
  int y = 0;
  int length = 0;
  uint8_t coverage = 0;
};

// Right and bottom exclusive.
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Appends the coverage of text drawn with its baseline starting at (x, y) in
// device pixels (y growing downwards), the baseline running at the font's
// escapement, counter-clockwise. Only pixels inside clip are reported. Glyphs
// larger than the rasteriser can address (millions of pixels) are skipped.
// False when the font's outlines cannot be loaded.
bool RasterizeText(const Font& font, std::u16string_view text, double x, double y,
                   const PixelBox& clip, std::vector<CoverageSpan>& out);

}  // namespace zel
