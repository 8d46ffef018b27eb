#include "interchange/picture/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <memory>
#include <new>

#include "interchange/picture/picture_output.h"

namespace zel {

namespace {

constexpr std::u16string_view kPngFailed = u"The picture could not be written as PNG.";

struct Encoder {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t>* out = nullptr;
  bool outOfMemory = false;  // no exception may cross libpng's C frames
  std::string message;
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* e = static_cast<Encoder*>(png_get_error_ptr(png));
  e->message = message ? message : "libpng error";
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void Write(png_structp png, png_bytep data, size_t length) {
  auto* e = static_cast<Encoder*>(png_get_io_ptr(png));
  if (e->outOfMemory) return;
  try {
    e->out->insert(e->out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    e->outOfMemory = true;
  }
}

void Flush(png_structp) {}

bool Run(Encoder* e, const DibImage& section) {
  if (setjmp(png_jmpbuf(e->png))) return false;
  const png_uint_32 width = png_uint_32(section.header.width);
  const png_uint_32 height = png_uint_32(section.header.height < 0 ? -section.header.height : section.header.height);
  png_set_write_fn(e->png, e, Write, Flush);
  png_set_IHDR(e->png, e->info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(e->png, e->info);
  png_set_bgr(e->png);
  const uint64_t stride = section.stride();
  const bool bottomUp = section.header.height > 0;
  for (png_uint_32 y = 0; y < height; ++y) {
    const uint64_t row = bottomUp ? height - 1 - y : y;
    png_write_row(e->png, section.bits.data() + stride * row);
  }
  png_write_end(e->png, e->info);
  return true;
}

}  // namespace

bool EncodePng(const DibImage& section, std::vector<uint8_t>* out, PictureError* error) {
  if (section.header.bitCount != 24 || section.header.compression != kBiRgb || section.header.width <= 0 ||
      section.header.height == 0 || section.header.height == INT32_MIN || section.bits.size() < section.RequiredBits())
    return PictureFail(error, kPngFailed, "not a complete 24-bit picture");
  auto e = std::make_unique<Encoder>();
  e->out = out;
  out->clear();
  e->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, e.get(), OnError, OnWarning);
  if (!e->png) return PictureFail(error, kPngFailed, "libpng could not start");
  e->info = png_create_info_struct(e->png);
  bool ok = e->info && Run(e.get(), section);
  if (ok && e->outOfMemory) {
    ok = false;
    e->message = "out of memory";
  }
  png_destroy_write_struct(&e->png, e->info ? &e->info : nullptr);
  if (ok) return true;
  return PictureFail(error, kPngFailed, e->message.empty() ? "libpng could not start" : e->message);
}

bool WritePng(const std::string& path, const DibImage& section, PictureError* error) {
  std::vector<uint8_t> bytes;
  if (!EncodePng(section, &bytes, error)) return false;
  return WritePictureFile(path, bytes, error);
}

}  // namespace zel
