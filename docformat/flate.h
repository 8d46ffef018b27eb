// The zlib stage of the writers and capped inflation for the readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <zlib.h>

#include "docformat/byte_sink.h"

namespace zel {

enum class FlateMode {
  // zlib at its default level: what documents are saved with.
  kCompress,
  // Stored (uncompressed) deflate blocks framed by our own code: valid Flate
  // data whose bytes depend on nothing but the input, not on the zlib build.
  // For outputs that are compared byte for byte.
  kStored,
};

// Compresses everything written to it into the zlib format and passes the
// result on. Output is produced as input arrives, so no buffer limits the
// amount of data.
class FlateSink final : public ByteSink {
 public:
  FlateSink(ByteSink& next, FlateMode mode);
  ~FlateSink() override;
  FlateSink(const FlateSink&) = delete;
  FlateSink& operator=(const FlateSink&) = delete;

  // Replaces the flag byte of the zlib header (the second byte) with one
  // that declares another compression level. It must keep the header's
  // check bits valid; 0xDA does with the usual first byte 0x78.
  void SetHeaderFlags(uint8_t flags) { headerFlags_ = flags; }

  using ByteSink::Write;
  bool Write(const void* data, size_t n) override;
  bool Finish() override;

 private:
  bool Emit(const uint8_t* data, size_t n);
  bool DeflateSome(const uint8_t* data, size_t n, int flush);
  bool EmitStoredBlock(bool final);

  ByteSink& next_;
  FlateMode mode_;
  z_stream z_{};
  bool zReady_ = false;
  bool failed_ = false;
  bool finished_ = false;
  uint64_t emitted_ = 0;
  int headerFlags_ = -1;
  // kStored: the block being filled and the running checksum.
  std::vector<uint8_t> block_;
  uLong adler_ = 1;
};

// Compresses a buffer in one go.
[[nodiscard]] bool Deflate(std::string_view in, FlateMode mode, std::string* out);

enum class InflateResult {
  kOk,
  kCorrupt,   // not zlib data, or it ends before the end of the stream
  kTooLarge,  // the data would inflate to more than the cap
};

// Inflates zlib data into out, never growing out beyond cap bytes. Bytes
// after the end of the compressed stream are ignored.
InflateResult Inflate(std::string_view in, uint64_t cap, std::string* out);

}  // namespace zel
