// The colour word 0x00BBGGRR and hue/lightness/saturation conversion.
#pragma once

#include <cstdint>

namespace zel {

using ColorRef = uint32_t;

constexpr ColorRef MakeColor(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(ColorRef c) { return c & 0xFF; }
constexpr int GreenOf(ColorRef c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(ColorRef c) { return (c >> 16) & 0xFF; }

inline constexpr float kByteToUnit = 0.003921569f;  // 1 / 255 for writers

// Hue in degrees (60 = red, 180 = green, 300 = blue), saturation and lightness 0..1.
struct Hsl {
  double h = 0.0;
  double s = 0.0;
  double l = 0.0;
};

Hsl RgbToHsl(int r, int g, int b);
ColorRef HslToRgb(double h, double s, double l);

}  // namespace zel
