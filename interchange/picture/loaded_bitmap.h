// A picture loaded from a file, owned by its caller: the first step of
// picture import and of the pictures of DXF files.
#pragma once

#include <memory>
#include <string>

#include "interchange/picture/picture_error.h"
#include "model/dib.h"

namespace zel {

class LoadedBitmap {
 public:
  // Releases the picture held, then loads the file. True when a picture was
  // made; otherwise none is held and error() says why.
  [[nodiscard]] bool Load(const std::string& path);

  // Null when nothing is loaded.
  const DibImage* bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  const PictureError& error() const { return error_; }

  // Hands the picture over; the object is empty afterwards.
  std::unique_ptr<DibImage> Take();
  void Release();

 private:
  std::unique_ptr<DibImage> bitmap_;
  int width_ = 0;
  int height_ = 0;
  PictureError error_;
};

}  // namespace zel
