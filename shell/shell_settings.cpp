#include "shell/shell_settings.h"

#include "view/setting_names.h"

namespace zel {

namespace {

uint32_t ReadDword(const SettingsStore& store, std::string_view name, uint32_t fallback) {
  uint32_t v = fallback;
  return store.ReadSettingDword(name, v) ? v : fallback;
}

std::u16string ReadString(const SettingsStore& store, std::string_view name) {
  std::u16string text;
  return store.ReadSettingString(name, text) ? text : std::u16string();
}

}  // namespace

PageSize LoadDefaultPageSize(const SettingsStore& store) {
  return PageSize{setting::FromMicrometres(ReadDword(store, setting::kPageWidth, kDefaultPageWidthStored)),
                  setting::FromMicrometres(ReadDword(store, setting::kPageHeight, kDefaultPageHeightStored))};
}

void SaveDefaultPageSize(SettingsStore& store, PageSize size) {
  store.WriteSettingDword(setting::kPageWidth, setting::ToMicrometres(size.width));
  store.WriteSettingDword(setting::kPageHeight, setting::ToMicrometres(size.height));
}

void SaveShowPage(SettingsStore& store, bool show) { store.WriteSettingDword(setting::kShowPage, show ? 1 : 0); }

int32_t LoadColorModel(const SettingsStore& store) {
  return static_cast<int32_t>(ReadDword(store, setting::kColorModel, 0));
}
void SaveColorModel(SettingsStore& store, int32_t model) {
  store.WriteSettingDword(setting::kColorModel, static_cast<uint32_t>(model));
}

std::optional<int32_t> LoadLastCategory(const SettingsStore& store) {
  uint32_t v = 0;
  if (!store.ReadSettingDword(setting::kLastCategory, v)) return std::nullopt;
  return static_cast<int32_t>(v);
}
void SaveLastCategory(SettingsStore& store, int32_t category) {
  store.WriteSettingDword(setting::kLastCategory, static_cast<uint32_t>(category));
}

FtpAccount LoadFtpAccount(const SettingsStore& store) {
  FtpAccount a;
  a.server = ReadString(store, setting::kFtpServer);
  a.folder = ReadString(store, setting::kFtpFolder);
  a.username = ReadString(store, setting::kFtpUsername);
  a.password = ReadString(store, setting::kPassword);
  a.port = ReadDword(store, setting::kFtpPort, kDefaultFtpPort);
  return a;
}

void SaveFtpAccount(SettingsStore& store, const FtpAccount& a) {
  store.WriteSettingString(setting::kFtpServer, a.server);
  store.WriteSettingString(setting::kFtpFolder, a.folder);
  store.WriteSettingString(setting::kFtpUsername, a.username);
  store.WriteSettingString(setting::kPassword, a.password);
  store.WriteSettingDword(setting::kFtpPort, a.port);
}

std::u16string LoadDefaultTemplate(const SettingsStore& store) { return ReadString(store, setting::kDefaultTemplate); }
void SaveDefaultTemplate(SettingsStore& store, std::u16string_view name) {
  store.WriteSettingString(setting::kDefaultTemplate, name);
}
std::u16string LoadLastTempFile(const SettingsStore& store) { return ReadString(store, setting::kLastTempFile); }
void SaveLastTempFile(SettingsStore& store, std::u16string_view name) {
  store.WriteSettingString(setting::kLastTempFile, name);
}

}  // namespace zel
