// Fuzz target: the BMP and 2BP readers.
//
// Whatever the bytes, both readers either refuse them with a message or
// produce a complete 24-bit picture within the size limit; a picture they
// produce writes back as a BMP file that reads to the same pixels.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "interchange/picture/bmp_reader.h"
#include "interchange/picture/bmp_writer.h"
#include "interchange/picture/two_bp_reader.h"

namespace {

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Pictures that are legal but big (a few bytes of run-length data may
// cover 10000 x 10000 pixels) only make the fuzzer slow: skip them.
bool TooSlow(std::span<const uint8_t> d) {
  if (d.size() < 26) return false;
  int64_t w = 0, h = 0;
  if (Le32(d.data() + 14) == 12) {
    w = d[18] | (d[19] << 8);
    h = d[20] | (d[21] << 8);
  } else {
    w = int32_t(Le32(d.data() + 18));
    h = int32_t(Le32(d.data() + 22));
  }
  if (h < 0) h = -h;
  return w * h > (int64_t(1) << 22) && w <= zel::kMaxPictureSide && h <= zel::kMaxPictureSide;
}

void Check(bool ok, const zel::DibImage& dib, const zel::PictureError& error) {
  if (!ok) {
    if (error.message.empty() || error.detail.empty()) std::abort();
    return;
  }
  const auto& h = dib.header;
  if (h.bitCount != 24 || h.compression != zel::kBiRgb || h.width <= 0 || h.height <= 0) std::abort();
  if (h.width > zel::kMaxPictureSide || h.height > zel::kMaxPictureSide) std::abort();
  if (dib.bits.size() != dib.RequiredBits()) std::abort();

  std::vector<uint8_t> file;
  if (!zel::EncodeBmp(dib, &file)) std::abort();
  zel::DibImage again;
  if (!zel::DecodeBmp(file, &again, nullptr)) std::abort();
  if (again.header.width != h.width || again.header.height != h.height || again.bits != dib.bits) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (TooSlow(bytes)) return 0;
  zel::DibImage dib;
  zel::PictureError error;
  Check(zel::DecodeBmp(bytes, &dib, &error), dib, error);
  zel::DibImage grey;
  zel::PictureError greyError;
  Check(zel::Decode2bp(bytes, &grey, &greyError), grey, greyError);
  return 0;
}
