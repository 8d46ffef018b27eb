// The units in which dialogs show and take lengths, and their conversions
// to and from the model's tenths of a millimetre.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

// The screen's horizontal pixels per inch, measured at start-up; the pixel
// unit depends on it. 96 until set.
void SetScreenLogPixels(int pixelsPerInch);
int ScreenLogPixels();

// "cm", "in", "mm", "mm/10", "px"; empty for any other value.
std::u16string_view UnitLabel(int32_t unit);
// Tenths of a millimetre per one unit (10 for unknown units).
float UnitFactor(int32_t unit);
// Digits shown after the point (1 for unknown units).
int UnitDecimals(int32_t unit);

// A length in mm/10 as the unit shows it: length / factor with the unit's
// decimals ("148.0" for 1480 in mm).
std::u16string FormatLength(float tenths, int32_t unit);
// A typed value in the unit as mm/10: value x factor.
float LengthFromUnit(float value, int32_t unit);

// "Width(mm):" and "Height(mm):".
std::u16string WidthCaption(int32_t unit);
std::u16string HeightCaption(int32_t unit);

}  // namespace zel
