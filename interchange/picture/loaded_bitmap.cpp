#include "interchange/picture/loaded_bitmap.h"

#include "interchange/picture/picture_decoder.h"

namespace zel {

bool LoadedBitmap::Load(const std::string& path) {
  Release();
  error_ = PictureError{};
  auto picture = std::make_unique<DibImage>();
  if (!LoadPictureFile(path, picture.get(), &error_)) return false;
  width_ = picture->header.width;
  height_ = picture->header.height;
  bitmap_ = std::move(picture);
  return true;
}

std::unique_ptr<DibImage> LoadedBitmap::Take() {
  width_ = height_ = 0;
  return std::move(bitmap_);
}

void LoadedBitmap::Release() {
  bitmap_.reset();
  width_ = height_ = 0;
}

}  // namespace zel
