// The stored settings the shell reads besides the view's: the page size of
// new documents, the colour model, the library category, the FTP account,
// the last template and the last e-mailed file. Each has its default when
// it is missing; failed writes are ignored by every caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/drawing.h"
#include "view/settings_store.h"

namespace zel {

inline constexpr uint32_t kDefaultPageWidthStored = 148000;   // micrometres
inline constexpr uint32_t kDefaultPageHeightStored = 210000;  // micrometres
inline constexpr uint32_t kDefaultFtpPort = 21;

// "PageWidth" and "PageHeight" x 0.01: 1480 x 2100 by default.
PageSize LoadDefaultPageSize(const SettingsStore& store);
void SaveDefaultPageSize(SettingsStore& store, PageSize size);
// "Set as default" of the settings sheet stores the page frame flag too.
void SaveShowPage(SettingsStore& store, bool show);

// 0 RGB, 1 HLS.
int32_t LoadColorModel(const SettingsStore& store);
void SaveColorModel(SettingsStore& store, int32_t model);

// The library category last shown; none when never stored (the first one
// is shown then).
std::optional<int32_t> LoadLastCategory(const SettingsStore& store);
void SaveLastCategory(SettingsStore& store, int32_t category);

struct FtpAccount {
  std::u16string server;
  std::u16string folder;
  std::u16string username;
  std::u16string password;
  uint32_t port = kDefaultFtpPort;
};
FtpAccount LoadFtpAccount(const SettingsStore& store);
void SaveFtpAccount(SettingsStore& store, const FtpAccount& account);

// Empty when absent.
std::u16string LoadDefaultTemplate(const SettingsStore& store);
void SaveDefaultTemplate(SettingsStore& store, std::u16string_view name);
std::u16string LoadLastTempFile(const SettingsStore& store);
void SaveLastTempFile(SettingsStore& store, std::u16string_view name);

}  // namespace zel
