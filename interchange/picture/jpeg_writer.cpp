#include "interchange/picture/jpeg_writer.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
// clang-format on

#include <memory>

#include "interchange/picture/picture_output.h"

namespace zel {

namespace {

constexpr std::u16string_view kJpegFailed = u"The picture could not be written as JPEG: ";

// libjpeg's default handler calls exit(); this one jumps back to the
// encoder, which frees everything and reports the library's message.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, e->message);
  std::longjmp(e->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

struct Encoder {
  jpeg_compress_struct cinfo;
  ErrorManager err;
  unsigned char* buffer = nullptr;  // grown by the library with malloc
  unsigned long size = 0;
};

bool Run(Encoder* e, const DibImage& section, int quality) {
  if (setjmp(e->err.jump)) return false;
  jpeg_compress_struct& c = e->cinfo;
  jpeg_mem_dest(&c, &e->buffer, &e->size);
  c.image_width = JDIMENSION(section.header.width);
  c.image_height = JDIMENSION(section.header.height < 0 ? -section.header.height : section.header.height);
  c.input_components = 3;
  c.in_color_space = JCS_EXT_BGR;  // the picture's own byte order
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  c.optimize_coding = TRUE;
  c.smoothing_factor = 0;
  jpeg_start_compress(&c, TRUE);
  const uint64_t stride = section.stride();
  const bool bottomUp = section.header.height > 0;
  while (c.next_scanline < c.image_height) {
    const uint64_t row = bottomUp ? c.image_height - 1 - c.next_scanline : c.next_scanline;
    JSAMPROW rows[1] = {const_cast<uint8_t*>(section.bits.data() + stride * row)};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  return true;
}

}  // namespace

bool EncodeJpeg(const DibImage& section, int quality, std::vector<uint8_t>* out, PictureError* error) {
  if (section.header.bitCount != 24 || section.header.compression != kBiRgb || section.header.width <= 0 ||
      section.header.height == 0 || section.header.height == INT32_MIN || section.bits.size() < section.RequiredBits())
    return PictureFail(error, std::u16string(kJpegFailed) + u"only complete 24-bit pictures are written.",
                       "not a 24-bit picture");
  quality = quality < 1 ? 1 : (quality > 100 ? 100 : quality);
  auto e = std::make_unique<Encoder>();
  e->cinfo.err = jpeg_std_error(&e->err.pub);
  e->err.pub.error_exit = OnError;
  e->err.pub.emit_message = OnMessage;
  jpeg_create_compress(&e->cinfo);
  const bool ok = Run(e.get(), section, quality);
  jpeg_destroy_compress(&e->cinfo);
  if (ok) out->assign(e->buffer, e->buffer + e->size);
  std::free(e->buffer);
  if (ok) return true;
  std::u16string message(kJpegFailed);
  for (const char* m = e->err.message; *m; ++m) message.push_back(char16_t(static_cast<unsigned char>(*m)));
  message.push_back(u'.');
  return PictureFail(error, message, e->err.message);
}

bool WriteJpeg(const std::string& path, const DibImage& section, int quality, PictureError* error) {
  std::vector<uint8_t> bytes;
  if (!EncodeJpeg(section, quality, &bytes, error)) return false;
  return WritePictureFile(path, bytes, error);
}

}  // namespace zel
