// Byte sinks: the stages a writer's output passes through.
//
// A writer talks to one sink; sinks chain (a counting sink in front of a file
// sink gives the byte offsets of the cross-reference table, a flate sink in
// front of a memory sink gives a compressed stream and its length). Every
// stage reports failure through its return value, and a failed stage stays
// failed, so a writer may check once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zel {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  [[nodiscard]] virtual bool Write(const void* data, size_t n) = 0;
  [[nodiscard]] bool Write(std::string_view s) { return Write(s.data(), s.size()); }
  // Pushes out whatever the stage still holds. Writing after Finish fails.
  [[nodiscard]] virtual bool Finish() = 0;
};

// Collects everything in memory.
class MemorySink final : public ByteSink {
 public:
  using ByteSink::Write;
  bool Write(const void* data, size_t n) override;
  bool Finish() override { return true; }
  const std::string& bytes() const { return bytes_; }
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
};

// Counts the bytes passed on to the next stage.
class CountingSink final : public ByteSink {
 public:
  explicit CountingSink(ByteSink& next) : next_(next) {}
  using ByteSink::Write;
  bool Write(const void* data, size_t n) override;
  bool Finish() override { return next_.Finish(); }
  uint64_t count() const { return count_; }

 private:
  ByteSink& next_;
  uint64_t count_ = 0;
};

// Writes a file. Every write is checked; Finish flushes, syncs and closes the
// file and is the only way a written file counts as complete. A sink that is
// destroyed without a successful Finish closes the file and leaves it to the
// caller to remove.
class FileSink final : public ByteSink {
 public:
  FileSink() = default;
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Creates or truncates the file for binary writing.
  [[nodiscard]] bool Open(const std::string& path);
  using ByteSink::Write;
  bool Write(const void* data, size_t n) override;
  bool Finish() override;

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace zel
