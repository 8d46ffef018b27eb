#include "interchange/safe_save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace zel {

namespace {

// Where the file really lives: a symbolic link is followed, so the link stays
// a link and the file it names gets the new content.
std::string RealTarget(const std::string& target) {
  struct stat st;
  if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = ::realpath(target.c_str(), nullptr)) {
      std::string resolved(real);
      std::free(real);
      return resolved;
    }
  }
  return target;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool SafeSave(const std::string& target, const std::function<bool(const std::string& tempPath)>& write) {
  const std::string path = RealTarget(target);
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return false;
  std::string temp = (slash == std::string::npos ? std::string("./") : folder) + "." + name + ".XXXXXX";
  std::vector<char> buffer(temp.begin(), temp.end());
  buffer.push_back('\0');
  const int fd = ::mkstemp(buffer.data());
  if (fd < 0) return false;
  ::close(fd);
  temp.assign(buffer.data());

  bool ok = write(temp);
  if (ok) {
    struct stat st;
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : NewFileMode();
    ok = ::chmod(temp.c_str(), mode) == 0 && std::rename(temp.c_str(), path.c_str()) == 0;
  }
  if (!ok) std::remove(temp.c_str());
  return ok;
}

}  // namespace zel
