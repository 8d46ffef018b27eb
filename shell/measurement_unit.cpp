#include "shell/measurement_unit.h"

#include <charconv>

#include "platform/utf16.h"
#include "view/view_preferences.h"

namespace zel {

namespace {
int g_logPixels = 96;
}

void SetScreenLogPixels(int pixelsPerInch) {
  if (pixelsPerInch > 0) g_logPixels = pixelsPerInch;
}
int ScreenLogPixels() { return g_logPixels; }

std::u16string_view UnitLabel(int32_t unit) {
  switch (unit) {
    case kUnitCm: return u"cm";
    case kUnitInch: return u"in";
    case kUnitMm: return u"mm";
    case kUnitTenthMm: return u"mm/10";
    case kUnitPixel: return u"px";
    default: return u"";
  }
}

float UnitFactor(int32_t unit) {
  switch (unit) {
    case kUnitCm: return 100.0f;
    case kUnitInch: return 254.0f;
    case kUnitMm: return 10.0f;
    case kUnitTenthMm: return 1.0f;
    case kUnitPixel: return 254.0f / static_cast<float>(g_logPixels);
    default: return 10.0f;
  }
}

int UnitDecimals(int32_t unit) {
  switch (unit) {
    case kUnitCm:
    case kUnitInch: return 2;
    case kUnitMm: return 1;
    case kUnitTenthMm:
    case kUnitPixel: return 0;
    default: return 1;
  }
}

std::u16string FormatLength(float tenths, int32_t unit) {
  // Independent of the C locale, which the toolkit sets from the desktop.
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(tenths / UnitFactor(unit)),
                               std::chars_format::fixed, UnitDecimals(unit));
  if (r.ec != std::errc()) return u"";
  return Utf16FromUtf8(std::string_view(buf, size_t(r.ptr - buf)));
}

float LengthFromUnit(float value, int32_t unit) { return value * UnitFactor(unit); }

std::u16string WidthCaption(int32_t unit) { return u"Width(" + std::u16string(UnitLabel(unit)) + u"):"; }
std::u16string HeightCaption(int32_t unit) { return u"Height(" + std::u16string(UnitLabel(unit)) + u"):"; }

}  // namespace zel
