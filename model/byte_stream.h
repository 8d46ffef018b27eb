// Little-endian byte streams for the binary shape record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zel {

class ByteWriter {
 public:
  void Write(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
  }
  void U16(uint16_t v) { uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)}; Write(b, 2); }
  void U32(uint32_t v) {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Write(b, 4);
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v) { uint32_t u; std::memcpy(&u, &v, 4); U32(u); }

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t>& bytes() { return bytes_; }
  size_t size() const { return bytes_.size(); }

 private:
  std::vector<uint8_t> bytes_;
};

// Reads from a borrowed buffer. Every read reports whether it got all bytes.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit ByteReader(const std::vector<uint8_t>& v) : ByteReader(v.data(), v.size()) {}

  // Bytes actually read (fewer at the end of the stream).
  size_t Read(void* out, size_t n) {
    size_t k = n < remaining() ? n : remaining();
    if (k) std::memcpy(out, data_ + pos_, k);
    pos_ += k;
    return k;
  }
  [[nodiscard]] bool U16(uint16_t* v) {
    uint8_t b[2];
    if (Read(b, 2) != 2) return false;
    *v = uint16_t(b[0] | (b[1] << 8));
    return true;
  }
  [[nodiscard]] bool U32(uint32_t* v) {
    uint8_t b[4];
    if (Read(b, 4) != 4) return false;
    *v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return true;
  }
  [[nodiscard]] bool I32(int32_t* v) {
    uint32_t u;
    if (!U32(&u)) return false;
    *v = static_cast<int32_t>(u);
    return true;
  }
  [[nodiscard]] bool F32(float* v) {
    uint32_t u;
    if (!U32(&u)) return false;
    std::memcpy(v, &u, 4);
    return true;
  }

  size_t total() const { return size_; }
  size_t position() const { return pos_; }
  size_t remaining() const { return size_ - pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace zel
