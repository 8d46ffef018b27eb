#include "view/view_preferences.h"

#include <algorithm>

#include "view/setting_names.h"

namespace zel {

namespace {

void ReadColor(const SettingsStore& store, std::string_view name, ColorRef& c) {
  uint32_t v = 0;
  if (store.ReadSettingDword(name, v)) c = v;
}

void ReadBool(const SettingsStore& store, std::string_view name, bool& b) {
  uint32_t v = 0;
  if (store.ReadSettingDword(name, v)) b = v != 0;
}

void ReadInt(const SettingsStore& store, std::string_view name, int32_t& i) {
  uint32_t v = 0;
  if (store.ReadSettingDword(name, v)) i = static_cast<int32_t>(v);
}

void ReadLength(const SettingsStore& store, std::string_view name, float& f) {
  uint32_t v = 0;
  if (store.ReadSettingDword(name, v)) f = setting::FromMicrometres(v);
}

float ClampGrid(float g) { return std::clamp(g, kMinGridSpacing, kMaxGridSpacing); }
float ClampSnap(float s) { return std::clamp(s, 0.0f, kMaxSnapSpacing); }

}  // namespace

ViewPreferences LoadViewPreferences(const SettingsStore& store) {
  ViewPreferences p;
  ReadColor(store, setting::kPenColor, p.penColor);
  ReadColor(store, setting::kBrushColor, p.brushColor);
  ReadColor(store, setting::kTextColor, p.textColor);
  ReadInt(store, setting::kTextType, p.textType);
  ReadLength(store, setting::kTextHeight, p.textHeight);
  if (!(p.textHeight >= kMinTextHeight)) p.textHeight = kMinTextHeight;
  ReadBool(store, setting::kShowGrid, p.showGrid);
  ReadLength(store, setting::kGridSpacing, p.gridSpacing);
  p.gridSpacing = ClampGrid(p.gridSpacing);
  ReadLength(store, setting::kSnapSpacing, p.snapSpacing);
  p.snapSpacing = ClampSnap(p.snapSpacing);
  ReadBool(store, setting::kAntiAlias, p.antiAlias);
  ReadInt(store, setting::kImageResolution, p.imageResolution);
  if (p.imageResolution < 1) p.imageResolution = kDefaultImageResolution;
  ReadBool(store, setting::kShowScrollBars, p.showScrollBars);
  return p;
}

void SaveViewPreferences(SettingsStore& store, const ViewPreferences& p) {
  store.WriteSettingDword(setting::kBrushColor, p.brushColor);
  store.WriteSettingDword(setting::kPenColor, p.penColor);
  store.WriteSettingDword(setting::kTextType, static_cast<uint32_t>(p.textType));
  store.WriteSettingDword(setting::kTextColor, p.textColor);
  store.WriteSettingDword(setting::kTextHeight, setting::ToMicrometres(p.textHeight));
  store.WriteSettingDword(setting::kShowGrid, p.showGrid ? 1 : 0);
  store.WriteSettingDword(setting::kGridSpacing, setting::ToMicrometres(ClampGrid(p.gridSpacing)));
  store.WriteSettingDword(setting::kSnapSpacing, setting::ToMicrometres(ClampSnap(p.snapSpacing)));
  store.WriteSettingDword(setting::kAntiAlias, p.antiAlias ? 1 : 0);
  store.WriteSettingDword(setting::kImageResolution, static_cast<uint32_t>(p.imageResolution));
  store.WriteSettingDword(setting::kShowScrollBars, p.showScrollBars ? 1 : 0);
}

bool LoadShowPage(const SettingsStore& store) {
  bool show = true;
  ReadBool(store, setting::kShowPage, show);
  return show;
}

void LoadMeasurementUnit(const SettingsStore& store, int32_t& unit) { ReadInt(store, setting::kMeasurementUnit, unit); }

void SaveMeasurementUnit(SettingsStore& store, int32_t unit) {
  store.WriteSettingDword(setting::kMeasurementUnit, static_cast<uint32_t>(unit));
}

}  // namespace zel
