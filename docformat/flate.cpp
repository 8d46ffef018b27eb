#include "docformat/flate.h"

#include <algorithm>

namespace zel {

namespace {

constexpr size_t kChunk = 64 * 1024;
// A stored deflate block holds at most this many bytes.
constexpr size_t kStoredBlockMax = 65535;

}  // namespace

FlateSink::FlateSink(ByteSink& next, FlateMode mode) : next_(next), mode_(mode) {
  if (mode_ == FlateMode::kCompress) {
    zReady_ = deflateInit(&z_, Z_DEFAULT_COMPRESSION) == Z_OK;
    failed_ = !zReady_;
  } else {
    block_.reserve(kStoredBlockMax);
  }
}

FlateSink::~FlateSink() {
  if (zReady_) deflateEnd(&z_);
}

bool FlateSink::Emit(const uint8_t* data, size_t n) {
  if (n == 0) return true;
  if (headerFlags_ >= 0 && emitted_ < 2) {
    // The header's flag byte may arrive in this piece; patch a copy.
    std::string piece(reinterpret_cast<const char*>(data), n);
    const uint64_t at = 1 - emitted_;
    if (at < n) piece[at] = char(headerFlags_);
    emitted_ += n;
    return next_.Write(piece.data(), piece.size());
  }
  emitted_ += n;
  return next_.Write(data, n);
}

bool FlateSink::DeflateSome(const uint8_t* data, size_t n, int flush) {
  uint8_t out[kChunk];
  z_.next_in = const_cast<Bytef*>(data);
  z_.avail_in = static_cast<uInt>(n);
  for (;;) {
    z_.next_out = out;
    z_.avail_out = sizeof out;
    const int rc = deflate(&z_, flush);
    if (rc == Z_STREAM_ERROR) return false;
    if (!Emit(out, sizeof out - z_.avail_out)) return false;
    if (flush == Z_FINISH) {
      if (rc == Z_STREAM_END) return true;
    } else if (z_.avail_in == 0 && z_.avail_out != 0) {
      return true;
    }
  }
}

bool FlateSink::EmitStoredBlock(bool final) {
  const size_t n = block_.size();
  const uint8_t head[5] = {uint8_t(final ? 1 : 0), uint8_t(n), uint8_t(n >> 8), uint8_t(~n),
                           uint8_t(~n >> 8)};
  bool ok = Emit(head, sizeof head) && Emit(block_.data(), n);
  block_.clear();
  return ok;
}

bool FlateSink::Write(const void* data, size_t n) {
  if (failed_ || finished_) return false;
  const auto* p = static_cast<const uint8_t*>(data);
  if (mode_ == FlateMode::kCompress) {
    // zlib counts input in 32-bit units; feed huge buffers in pieces.
    while (n > 0 && !failed_) {
      const size_t take = std::min<size_t>(n, size_t(1) << 30);
      failed_ = !DeflateSome(p, take, Z_NO_FLUSH);
      p += take;
      n -= take;
    }
    return !failed_;
  }
  if (emitted_ == 0) {
    const uint8_t header[2] = {0x78, 0x01};
    failed_ = !Emit(header, 2);
  }
  while (n > 0 && !failed_) {
    const size_t take = std::min(n, kStoredBlockMax - block_.size());
    adler_ = adler32_z(adler_, p, take);
    block_.insert(block_.end(), p, p + take);
    p += take;
    n -= take;
    if (block_.size() == kStoredBlockMax) failed_ = !EmitStoredBlock(false);
  }
  return !failed_;
}

bool FlateSink::Finish() {
  if (failed_ || finished_) return false;
  finished_ = true;
  if (mode_ == FlateMode::kCompress) {
    failed_ = !DeflateSome(nullptr, 0, Z_FINISH);
  } else {
    if (emitted_ == 0) {
      const uint8_t header[2] = {0x78, 0x01};
      failed_ = !Emit(header, 2);
    }
    if (!failed_) failed_ = !EmitStoredBlock(true);
    const uint8_t trailer[4] = {uint8_t(adler_ >> 24), uint8_t(adler_ >> 16), uint8_t(adler_ >> 8),
                                uint8_t(adler_)};
    if (!failed_) failed_ = !Emit(trailer, 4);
  }
  // The next stage is finished by its owner: a flate sink usually feeds a
  // buffer that is written on afterwards.
  return !failed_;
}

bool Deflate(std::string_view in, FlateMode mode, std::string* out) {
  MemorySink memory;
  FlateSink flate(memory, mode);
  if (!flate.Write(in) || !flate.Finish()) return false;
  *out = std::move(memory.bytes());
  return true;
}

InflateResult Inflate(std::string_view in, uint64_t cap, std::string* out) {
  out->clear();
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return InflateResult::kCorrupt;
  InflateResult result = InflateResult::kCorrupt;
  const auto* next = reinterpret_cast<const Bytef*>(in.data());
  size_t left = in.size();
  // Output grows in steps, never past cap plus one byte (the byte that tells
  // a stream of exactly cap bytes from a larger one).
  const uint64_t limit = cap + 1;
  for (;;) {
    if (z.avail_in == 0 && left > 0) {
      const size_t take = std::min<size_t>(left, size_t(1) << 30);
      z.next_in = const_cast<Bytef*>(next);
      z.avail_in = static_cast<uInt>(take);
      next += take;
      left -= take;
    }
    const uint64_t have = out->size();
    if (have >= limit) {
      result = InflateResult::kTooLarge;
      break;
    }
    const uint64_t step = std::min<uint64_t>(std::max<uint64_t>(have, 16 * 1024), limit - have);
    out->resize(size_t(have + step));
    z.next_out = reinterpret_cast<Bytef*>(out->data() + have);
    z.avail_out = static_cast<uInt>(std::min<uint64_t>(step, uint64_t(1) << 30));
    const uInt before = z.avail_out;
    const int rc = inflate(&z, Z_NO_FLUSH);
    out->resize(size_t(have + (before - z.avail_out)));
    if (rc == Z_STREAM_END) {
      result = out->size() > cap ? InflateResult::kTooLarge : InflateResult::kOk;
      break;
    }
    if (rc != Z_OK && rc != Z_BUF_ERROR) break;
    // No progress with all input consumed: the data stops short.
    if (rc == Z_BUF_ERROR && z.avail_in == 0 && left == 0) break;
  }
  inflateEnd(&z);
  if (result != InflateResult::kOk) out->clear();
  return result;
}

}  // namespace zel
