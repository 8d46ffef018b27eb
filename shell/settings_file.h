// The settings store kept in a small text file, one value a line:
//
//   PenColor=dword:00321a75
//   FtpServer="ftp.example.org"
//   @=dword:00000002
//
// "@" is the entry of the unnamed value. Strings are UTF-8 with \\, \",
// \n, \r and \t escaped. Lines the reader does not understand are skipped.
// The file holds the FTP password, so it is only ever written readable by
// its owner alone (mode 0600), in a folder only the owner can enter.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "view/settings_store.h"

namespace zel {

// Entry name of the unnamed value.
inline constexpr std::string_view kUnnamedSettingEntry = "@";

class SettingsFile final : public SettingsStore {
 public:
  // $ZEL_CONFIG when set, otherwise $XDG_CONFIG_HOME/zel/settings (with
  // ~/.config in place of an unset or relative XDG_CONFIG_HOME).
  static std::string DefaultPath();

  explicit SettingsFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  [[nodiscard]] bool ReadSettingDword(std::string_view name, uint32_t& value) const override;
  bool WriteSettingDword(std::string_view name, uint32_t value) override;
  [[nodiscard]] bool ReadSettingString(std::string_view name, std::u16string& text) const override;
  bool WriteSettingString(std::string_view name, std::u16string_view text) override;

  using Value = std::variant<uint32_t, std::string>;  // a string is UTF-8
  using Entries = std::vector<std::pair<std::string, Value>>;

  // The file's text to entries and back; exposed for tests.
  static Entries Parse(std::string_view text);
  static std::string Format(const Entries& entries);

 private:
  // Every call reads the file afresh, as each registry call opens the key:
  // two running programs never keep a stale copy.
  [[nodiscard]] bool Load(Entries& entries) const;
  [[nodiscard]] bool Store(const Entries& entries) const;
  bool Write(std::string_view name, Value value);

  std::string path_;
};

}  // namespace zel
