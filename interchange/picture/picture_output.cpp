#include "interchange/picture/picture_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "interchange/file_dispatch.h"
#include "interchange/safe_save.h"

namespace zel {

bool WritePictureFile(const std::string& path, std::span<const uint8_t> bytes, PictureError* error) {
  std::string problem;
  const bool ok = SafeSave(path, [&](const std::string& temp) {
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
      problem = std::strerror(errno);
      return false;
    }
    bool good = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    good = std::fflush(f) == 0 && good;
    if (!good) problem = std::strerror(errno);
    if (std::fclose(f) != 0 && good) {
      problem = std::strerror(errno);
      good = false;
    }
    return good;
  });
  if (ok) return true;
  return PictureFail(error, kFailedToSave, "cannot write " + path + (problem.empty() ? "" : ": " + problem));
}

}  // namespace zel
