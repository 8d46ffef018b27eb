#include "shell/app_directory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace zel {

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

std::string WithoutTrailingSlashes(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

bool IsFolder(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string UserFolder(const char* variable, std::string_view fallbackUnderHome) {
  // Relative XDG paths are to be ignored.
  if (const char* env = std::getenv(variable); env && env[0] == '/') return WithoutTrailingSlashes(env);
  return HomeFolder() + "/" + std::string(fallbackUnderHome);
}

bool MakeFolders(const std::string& path, mode_t mode) {
  if (path.empty() || IsFolder(path)) return !path.empty();
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), mode)) return false;
  if (::mkdir(path.c_str(), mode) == 0) return true;
  return errno == EEXIST && IsFolder(path);
}

std::string AppDirectory() {
  std::string dir;
  if (const char* env = std::getenv("ZEL_HOME"); env && *env) {
    dir = WithoutTrailingSlashes(env);
  } else {
    dir = UserFolder("XDG_DATA_HOME", ".local/share") + "/zel";
  }
  // A failure shows later, when a file below it cannot be written.
  MakeFolders(dir, 0755);
  return dir;
}

std::string AppPath(std::string_view tail) {
  std::string path = AppDirectory();
  path += '/';
  path += tail;
  return path;
}

}  // namespace zel
