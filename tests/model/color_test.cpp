#include "model/color.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zel {
namespace {

TEST(ColorRef, ComponentLayoutIsBlueGreenRed) {
  ColorRef c = MakeColor(0x12, 0x34, 0x56);
  EXPECT_EQ(c, 0x00563412u);
  EXPECT_EQ(RedOf(c), 0x12);
  EXPECT_EQ(GreenOf(c), 0x34);
  EXPECT_EQ(BlueOf(c), 0x56);
}

TEST(RgbToHsl, HueStartsWithRedAtSixty) {
  struct Case {
    int r, g, b;
    double h, s, l;
  } cases[] = {
      {255, 0, 0, 60, 1, 0.5},      {0, 255, 0, 180, 1, 0.5},    {0, 0, 255, 300, 1, 0.5},
      {255, 255, 0, 120, 1, 0.5},   {0, 255, 255, 240, 1, 0.5},  {255, 0, 255, 0, 1, 0.5},
      {128, 128, 128, 60, 0, 128 / 255.0},
      {255, 255, 255, 60, 0, 1},    {0, 0, 0, 60, 0, 0},
      {255, 128, 128, 60, 1, (255 + 128) / 510.0},
      {64, 32, 0, 90, 1, 32 / 255.0},
      {300, -5, 0, 60, 1, 0.5},  // inputs clamp to 0..255
  };
  for (const Case& c : cases) {
    Hsl hsl = RgbToHsl(c.r, c.g, c.b);
    EXPECT_NEAR(hsl.h, c.h, 1e-9) << c.r << "," << c.g << "," << c.b;
    EXPECT_NEAR(hsl.s, c.s, 1e-9) << c.r << "," << c.g << "," << c.b;
    EXPECT_NEAR(hsl.l, c.l, 1e-9) << c.r << "," << c.g << "," << c.b;
  }
}

TEST(HslToRgb, SectorsAndClamping) {
  struct Case {
    double h, s, l;
    ColorRef rgb;
  } cases[] = {
      {60, 1, 0.5, MakeColor(255, 0, 0)},     {180, 1, 0.5, MakeColor(0, 255, 0)},
      {300, 1, 0.5, MakeColor(0, 0, 255)},    {120, 1, 0.5, MakeColor(255, 255, 0)},
      {240, 1, 0.5, MakeColor(0, 255, 255)},  {0, 1, 0.5, MakeColor(255, 0, 255)},
      {360, 1, 0.5, MakeColor(255, 0, 255)},  {90, 1, 0.5, MakeColor(255, 128, 0)},
      {200, 0, 0.5, MakeColor(128, 128, 128)}, {60, 1, 0.75, MakeColor(255, 128, 128)},
      {60, 0.5, 0.25, MakeColor(96, 32, 32)},
      {1000, 2, -1, MakeColor(0, 0, 0)},      {-50, 5, 2, MakeColor(255, 255, 255)},
      {std::nan(""), std::nan(""), std::nan(""), MakeColor(0, 0, 0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HslToRgb(c.h, c.s, c.l), c.rgb) << c.h << "," << c.s << "," << c.l;
  }
}

TEST(HslToRgb, RoundTripKeepsEveryColour) {
  for (int r = 0; r < 256; r += 3) {
    for (int g = 0; g < 256; g += 5) {
      for (int b = 0; b < 256; b += 7) {
        Hsl hsl = RgbToHsl(r, g, b);
        ASSERT_EQ(HslToRgb(hsl.h, hsl.s, hsl.l), MakeColor(r, g, b)) << r << "," << g << "," << b;
      }
    }
  }
  for (int v : {0, 1, 127, 128, 254, 255}) {
    Hsl hsl = RgbToHsl(v, v, v);
    EXPECT_EQ(HslToRgb(hsl.h, hsl.s, hsl.l), MakeColor(v, v, v));
  }
}

}  // namespace
}  // namespace zel
