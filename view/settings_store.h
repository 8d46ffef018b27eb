// The user's settings: named 32-bit numbers and short strings that outlive
// the program. The view reads and writes its own values here; the shell
// provides the store (a settings file) and tests an in-memory one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

// Strings of this many UTF-16 units or more are not read back.
inline constexpr size_t kSettingStringLimit = 100;

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // False, value untouched, when the value is missing or holds a string.
  [[nodiscard]] virtual bool ReadSettingDword(std::string_view name, uint32_t& value) const = 0;
  // False when the store cannot be written; every caller carries on.
  virtual bool WriteSettingDword(std::string_view name, uint32_t value) = 0;
  // False, text untouched, when the value is missing, holds a number, or is
  // kSettingStringLimit units or longer.
  [[nodiscard]] virtual bool ReadSettingString(std::string_view name, std::u16string& text) const = 0;
  virtual bool WriteSettingString(std::string_view name, std::u16string_view text) = 0;
};

}  // namespace zel
