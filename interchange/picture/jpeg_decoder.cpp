#include "interchange/picture/jpeg_decoder.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <memory>
#include <string>
#include <vector>

namespace zel {

namespace {

constexpr long kMaxDecoderMemory = 1024L * 1024 * 1024;

// libjpeg's default handler ends the program; this one jumps back to the
// decoder, which cleans up and reports the library's message.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  bool truncated = false;
  bool outOfMemory = false;
  char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, e->message);
  const int code = cinfo->err->msg_code;
  e->outOfMemory = code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE;
  std::longjmp(e->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
  const int code = cinfo->err->msg_code;
  if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) {
    e->truncated = true;
    (*cinfo->err->format_message)(cinfo, e->message);
  }
  ++cinfo->err->num_warnings;
}

struct Decoder {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  std::vector<uint8_t> row;  // grey or CMYK samples before conversion
};

void ConvertRow(const Decoder& d, uint8_t* bgr) {
  const jpeg_decompress_struct& c = d.cinfo;
  const uint8_t* s = d.row.data();
  if (c.out_color_space == JCS_GRAYSCALE) {
    for (JDIMENSION x = 0; x < c.output_width; ++x, bgr += 3) bgr[0] = bgr[1] = bgr[2] = s[x];
    return;
  }
  // Adobe writes CMYK inverted (0 = full ink); plain CMYK is converted the
  // same way after inverting it.
  const bool inverted = c.saw_Adobe_marker;
  for (JDIMENSION x = 0; x < c.output_width; ++x, s += 4, bgr += 3) {
    const unsigned k = inverted ? s[3] : 255 - s[3];
    for (int i = 0; i < 3; ++i) {
      const unsigned ink = inverted ? s[i] : 255 - s[i];
      bgr[2 - i] = uint8_t((ink * k + 127) / 255);
    }
  }
}

// All library calls happen here, under the jump target; the caller destroys
// the decompressor whatever happened.
bool Run(Decoder* d, std::span<const uint8_t> data, DibImage* out, PictureError* error) {
  if (setjmp(d->err.jump)) {
    if (d->err.outOfMemory) return PictureFail(error, kPictureOutOfMemory, d->err.message);
    return PictureFail(error, kPictureDamaged, d->err.message);
  }
  jpeg_decompress_struct& c = d->cinfo;
  jpeg_mem_src(&c, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&c, TRUE);
  if (c.image_width > unsigned(kMaxPictureSide) || c.image_height > unsigned(kMaxPictureSide))
    return PictureFail(error, kPictureTooLarge,
                       "frame of " + std::to_string(c.image_width) + " x " + std::to_string(c.image_height));
  switch (c.jpeg_color_space) {
    case JCS_GRAYSCALE:
      c.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      c.out_color_space = JCS_CMYK;
      break;
    default:
      c.out_color_space = JCS_EXT_BGR;
      break;
  }
  c.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_start_decompress(&c);
  if (c.output_width == 0 || c.output_height == 0 || !out->Create24(int(c.output_width), int(c.output_height)))
    return PictureFail(error, kPictureOutOfMemory, "no room for the pixels");
  const bool direct = c.out_color_space == JCS_EXT_BGR;
  if (!direct) d->row.resize(size_t(c.output_width) * size_t(c.output_components));
  const uint64_t stride = out->stride();
  while (c.output_scanline < c.output_height) {
    // Rows come top first; the picture stores them bottom-up.
    uint8_t* dst = out->bits.data() + stride * (c.output_height - 1 - c.output_scanline);
    JSAMPROW rows[1] = {direct ? dst : d->row.data()};
    if (jpeg_read_scanlines(&c, rows, 1) != 1) break;
    if (!direct) ConvertRow(*d, dst);
    if (d->err.truncated) break;
  }
  if (!d->err.truncated) jpeg_finish_decompress(&c);
  if (d->err.truncated) return PictureFail(error, kPictureDamaged, d->err.message);
  return true;
}

}  // namespace

bool LooksLikeJpeg(std::span<const uint8_t> data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool DecodeJpeg(std::span<const uint8_t> data, DibImage* out, PictureError* error) {
  if (data.empty()) return PictureFail(error, kPictureDamaged, "empty file");
  auto d = std::make_unique<Decoder>();
  d->cinfo.err = jpeg_std_error(&d->err.pub);
  d->err.pub.error_exit = OnError;
  d->err.pub.emit_message = OnMessage;
  jpeg_create_decompress(&d->cinfo);
  const bool ok = Run(d.get(), data, out, error);
  jpeg_destroy_decompress(&d->cinfo);
  return ok;
}

}  // namespace zel
