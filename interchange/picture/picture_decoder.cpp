#include "interchange/picture/picture_decoder.h"

#include <cstdio>
#include <new>
#include <vector>

#include "interchange/file_dispatch.h"
#include "interchange/picture/bmp_reader.h"
#include "interchange/picture/gif_decoder.h"
#include "interchange/picture/jpeg_decoder.h"
#include "interchange/picture/png_decoder.h"

namespace zel {

namespace {

bool Decode(std::span<const uint8_t> data, DibImage* out, PictureError* error) {
  if (data.empty()) return PictureFail(error, kPictureDamaged, "empty file");
  if (LooksLikeBmp(data)) return DecodeBmp(data, out, error);
  if (LooksLikeJpeg(data)) return DecodeJpeg(data, out, error);
  if (LooksLikePng(data)) return DecodePng(data, out, error);
  if (LooksLikeGif(data)) return DecodeGif(data, out, error);
  return PictureFail(error, kPictureNotRecognised, "unknown signature");
}

}  // namespace

bool DecodePicture(std::span<const uint8_t> data, DibImage* out, PictureError* error) {
  try {
    return Decode(data, out, error);
  } catch (const std::bad_alloc&) {
    *out = DibImage{};
    return PictureFail(error, kPictureOutOfMemory, "allocation failed");
  }
}

bool LoadPictureFile(const std::string& path, DibImage* out, PictureError* error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return PictureFail(error, kFailedToOpen, "cannot open " + path);
  std::vector<uint8_t> bytes;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok && uint64_t(size) > kMaxPictureFileBytes) {
    std::fclose(f);
    return PictureFail(error, kPictureTooLarge, path + " holds " + std::to_string(size) + " bytes");
  }
  if (ok) {
    try {
      bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
      std::fclose(f);
      return PictureFail(error, kPictureOutOfMemory, "no room for the file");
    }
    ok = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  }
  std::fclose(f);
  if (!ok) return PictureFail(error, kFailedToOpen, "cannot read " + path);
  return DecodePicture(bytes, out, error);
}

}  // namespace zel
