#include "shell/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/utf16.h"
#include "shell/app_directory.h"

namespace zel {

namespace {

std::string EntryName(std::string_view name) {
  return name.empty() ? std::string(kUnnamedSettingEntry) : std::string(name);
}

bool ValidName(std::string_view name) {
  for (char c : name)
    if (c == '=' || c == '\n' || c == '\r') return false;
  return name.empty() || (name[0] != ';' && name[0] != '#' && name[0] != '[' && name[0] != ' ');
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseDword(std::string_view s, uint32_t& out) {
  if (s.empty() || s.size() > 8) return false;
  uint32_t v = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    v = (v << 4) | uint32_t(d);
  }
  out = v;
  return true;
}

bool ParseQuoted(std::string_view s, std::string& out) {
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') return false;
  s = s.substr(1, s.size() - 2);
  out.clear();
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') return false;
    if (c == '\\') {
      if (++i >= s.size()) return false;
      switch (s[i]) {
        case '\\': c = '\\'; break;
        case '"': c = '"'; break;
        case 'n': c = '\n'; break;
        case 'r': c = '\r'; break;
        case 't': c = '\t'; break;
        default: return false;
      }
    }
    out += c;
  }
  return true;
}

std::string Quote(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + '"';
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

}  // namespace

std::string SettingsFile::DefaultPath() {
  if (const char* env = std::getenv("ZEL_CONFIG"); env && *env) return env;
  return UserFolder("XDG_CONFIG_HOME", ".config") + "/zel/settings";
}

SettingsFile::Entries SettingsFile::Parse(std::string_view text) {
  Entries entries;
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[') continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string name(line.substr(0, eq));
    const std::string_view raw = line.substr(eq + 1);
    Value value;
    uint32_t dword = 0;
    std::string str;
    if (raw.starts_with("dword:") && ParseDword(raw.substr(6), dword)) {
      value = dword;
    } else if (ParseQuoted(raw, str)) {
      value = std::move(str);
    } else {
      continue;
    }
    bool replaced = false;
    for (auto& e : entries) {
      if (e.first == name) {
        e.second = value;
        replaced = true;
      }
    }
    if (!replaced) entries.emplace_back(name, std::move(value));
  }
  return entries;
}

std::string SettingsFile::Format(const Entries& entries) {
  std::string out = "; Zel settings\n";
  for (const auto& [name, value] : entries) {
    out += name;
    out += '=';
    if (const uint32_t* d = std::get_if<uint32_t>(&value)) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "dword:%08x", *d);
      out += buf;
    } else {
      out += Quote(std::get<std::string>(value));
    }
    out += '\n';
  }
  return out;
}

bool SettingsFile::Load(Entries& entries) const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  entries = Parse(text.str());
  return true;
}

bool SettingsFile::Store(const Entries& entries) const {
  const std::string folder = ParentOf(path_);
  if (!MakeFolders(folder, 0700)) return false;
  std::string temp = path_ + ".XXXXXX";
  // mkstemp creates the file with mode 0600; it is never wider than that.
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, 0600) == 0 && WriteAll(fd, Format(entries)) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(temp.c_str(), path_.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

bool SettingsFile::Write(std::string_view name, Value value) {
  if (!ValidName(name)) return false;
  Entries entries;
  if (!Load(entries)) entries.clear();
  const std::string key = EntryName(name);
  bool found = false;
  for (auto& e : entries) {
    if (e.first == key) {
      e.second = value;
      found = true;
    }
  }
  if (!found) entries.emplace_back(key, std::move(value));
  return Store(entries);
}

bool SettingsFile::ReadSettingDword(std::string_view name, uint32_t& value) const {
  Entries entries;
  if (!Load(entries)) return false;
  const std::string key = EntryName(name);
  for (const auto& e : entries) {
    if (e.first != key) continue;
    const uint32_t* d = std::get_if<uint32_t>(&e.second);
    if (!d) return false;
    value = *d;
    return true;
  }
  return false;
}

bool SettingsFile::WriteSettingDword(std::string_view name, uint32_t value) { return Write(name, value); }

bool SettingsFile::ReadSettingString(std::string_view name, std::u16string& text) const {
  Entries entries;
  if (!Load(entries)) return false;
  const std::string key = EntryName(name);
  for (const auto& e : entries) {
    if (e.first != key) continue;
    const std::string* s = std::get_if<std::string>(&e.second);
    if (!s) return false;
    std::u16string wide = Utf16FromUtf8(*s);
    if (wide.size() >= kSettingStringLimit) return false;
    text = std::move(wide);
    return true;
  }
  return false;
}

bool SettingsFile::WriteSettingString(std::string_view name, std::u16string_view text) {
  return Write(name, ToUtf8(text));
}

}  // namespace zel
