#include "docformat/byte_sink.h"

#include <unistd.h>

namespace zel {

bool MemorySink::Write(const void* data, size_t n) {
  bytes_.append(static_cast<const char*>(data), n);
  return true;
}

bool CountingSink::Write(const void* data, size_t n) {
  if (!next_.Write(data, n)) return false;
  count_ += n;
  return true;
}

FileSink::~FileSink() {
  if (file_) std::fclose(file_);
}

bool FileSink::Open(const std::string& path) {
  if (file_) std::fclose(file_);
  failed_ = false;
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

bool FileSink::Write(const void* data, size_t n) {
  if (!file_ || failed_) return false;
  if (n && std::fwrite(data, 1, n, file_) != n) failed_ = true;
  return !failed_;
}

bool FileSink::Finish() {
  if (!file_) return false;
  // The data must be on the disk before anyone renames the file over an
  // older copy, or a crash could leave neither.
  bool ok = !failed_ && std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  failed_ = !ok;
  return ok;
}

}  // namespace zel
