// The settings the view keeps for the whole run: the style given to new
// shapes, the grid, snapping, scroll bars and bitmap export. Read from the
// settings store when the view is made and written back when it goes.
#pragma once

#include <cstdint>

#include "interchange/picture/bitmap_export.h"
#include "model/color.h"
#include "model/shape.h"
#include "view/settings_store.h"

namespace zel {

inline constexpr ColorRef kDefaultPenColor = 0x321A75;
inline constexpr ColorRef kDefaultBrushColor = 0x14B4DF;
inline constexpr float kMinTextHeight = 3.0f;
inline constexpr float kMinGridSpacing = 10.0f;
inline constexpr float kMaxGridSpacing = 3000.0f;
inline constexpr float kMaxSnapSpacing = 100.0f;

// Measurement units (how sizes are shown and typed in dialogs).
inline constexpr int32_t kUnitCm = 0;
inline constexpr int32_t kUnitInch = 1;
inline constexpr int32_t kUnitMm = 2;
inline constexpr int32_t kUnitTenthMm = 3;
inline constexpr int32_t kUnitPixel = 4;

struct ViewPreferences {
  ColorRef penColor = kDefaultPenColor;
  ColorRef brushColor = kDefaultBrushColor;
  ColorRef textColor = 0;
  int32_t textType = kTextArtistic;
  float textHeight = kDefaultTextSize;  // mm/10
  bool showGrid = false;
  float gridSpacing = 100.0f;  // mm/10
  float snapSpacing = 0.0f;    // mm/10, 0 = off
  bool antiAlias = false;
  int32_t imageResolution = kDefaultImageResolution;
  bool showScrollBars = false;
};

// Every value from the store, the defaults where one is missing, with the
// ranges applied: text height at least 3, grid 10 .. 3000, snap 0 .. 100,
// an image resolution below 1 gives 640.
ViewPreferences LoadViewPreferences(const SettingsStore& store);
// Applies the grid and snap ranges again and stores every value. Failed
// writes are ignored.
void SaveViewPreferences(SettingsStore& store, const ViewPreferences& prefs);

// "ShowPage", on when absent.
bool LoadShowPage(const SettingsStore& store);

// The measurement unit is left as it is when none is stored (mm is the
// program's starting value).
void LoadMeasurementUnit(const SettingsStore& store, int32_t& unit);
void SaveMeasurementUnit(SettingsStore& store, int32_t unit);

}  // namespace zel
