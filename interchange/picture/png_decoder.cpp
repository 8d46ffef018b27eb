#include "interchange/picture/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "interchange/picture/bmp_layout_p.h"

namespace zel {

namespace {

struct Decoder {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::span<const uint8_t> data;
  size_t pos = 0;
  std::string message;
  std::vector<uint8_t> pixels;  // the whole picture as libpng delivers it
  std::vector<png_bytep> rows;
};

// libpng's default handler prints and aborts the caller's jump buffer; this
// one keeps the message and jumps back to the decoder.
[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* d = static_cast<Decoder*>(png_get_error_ptr(png));
  d->message = message ? message : "libpng error";
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void Read(png_structp png, png_bytep out, size_t length) {
  auto* d = static_cast<Decoder*>(png_get_io_ptr(png));
  if (d->data.size() - d->pos < length) png_error(png, "file ends before the picture does");
  std::memcpy(out, d->data.data() + d->pos, length);
  d->pos += length;
}

bool Run(Decoder* d, DibImage* out, PictureError* error) {
  if (setjmp(png_jmpbuf(d->png))) return PictureFail(error, kPictureDamaged, d->message);
  png_structp png = d->png;
  png_infop info = d->info;
  png_set_read_fn(png, d, Read);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width > png_uint_32(kMaxPictureSide) || height > png_uint_32(kMaxPictureSide))
    return PictureFail(error, kPictureTooLarge, "header claims " + std::to_string(width) + " x " + std::to_string(height));

  // Everything becomes 8-bit BGR, with alpha when the file has any.
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int channels = png_get_channels(png, info);
  if (channels != 3 && channels != 4) return PictureFail(error, kPictureUnsupported, "unexpected channel count");

  if (!out->Create24(int(width), int(height))) return PictureFail(error, kPictureOutOfMemory, "no room for the pixels");
  const size_t rowBytes = png_get_rowbytes(png, info);
  const uint64_t stride = out->stride();
  d->rows.resize(height);
  if (channels == 3) {
    // Rows go straight into the picture, which stores them bottom-up.
    for (png_uint_32 y = 0; y < height; ++y) d->rows[y] = out->bits.data() + stride * (height - 1 - y);
  } else {
    d->pixels.resize(rowBytes * height);
    for (png_uint_32 y = 0; y < height; ++y) d->rows[y] = d->pixels.data() + rowBytes * y;
  }
  png_read_image(png, d->rows.data());
  png_read_end(png, nullptr);
  if (channels == 4) {
    for (png_uint_32 y = 0; y < height; ++y) {
      const uint8_t* s = d->rows[y];
      uint8_t* dst = out->bits.data() + stride * (height - 1 - y);
      for (png_uint_32 x = 0; x < width; ++x, s += 4, dst += 3)
        bmp::PutPixel(dst, (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | s[0], s[3]);
    }
  }
  return true;
}

}  // namespace

bool LooksLikePng(std::span<const uint8_t> data) {
  return data.size() >= 8 && png_sig_cmp(data.data(), 0, 8) == 0;
}

bool DecodePng(std::span<const uint8_t> data, DibImage* out, PictureError* error) {
  if (!LooksLikePng(data)) return PictureFail(error, kPictureDamaged, "no PNG signature");
  auto d = std::make_unique<Decoder>();
  d->data = data;
  d->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, d.get(), OnError, OnWarning);
  if (!d->png) return PictureFail(error, kPictureOutOfMemory, "libpng could not start");
  d->info = png_create_info_struct(d->png);
  bool ok = false;
  if (!d->info) {
    ok = PictureFail(error, kPictureOutOfMemory, "libpng could not start");
  } else {
    ok = Run(d.get(), out, error);
  }
  png_destroy_read_struct(&d->png, d->info ? &d->info : nullptr, nullptr);
  return ok;
}

}  // namespace zel
