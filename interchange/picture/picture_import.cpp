#include "interchange/picture/picture_import.h"

#include <algorithm>
#include <new>

#include "interchange/picture/loaded_bitmap.h"
#include "render/scaled_copy.h"

namespace zel {

std::unique_ptr<Shape> MakeImportedPicture(const DibImage& picture, const Viewport& vp, int page, int limit) {
  int w = picture.header.width;
  int h = picture.header.height < 0 ? -picture.header.height : picture.header.height;
  if (limit < 1) limit = 1;
  if (w > limit || h > limit) {
    const IntRect fit = FitKeepingAspect(w, h, limit, limit);
    // A picture of 10000 x 1 would fit as 220 x 0: keep one pixel.
    w = std::max(fit.right - fit.left, 1);
    h = std::max(fit.bottom - fit.top, 1);
  }
  std::unique_ptr<DibImage> copy = ScaledCopy(&picture, w, h, false);
  if (!copy) return nullptr;
  auto shape = std::make_unique<Shape>(KindImage);
  ImageContent* image = shape->image();
  image->dib = std::move(*copy);
  const int left = kImportedPictureOffset, top = kImportedPictureOffset;
  image->placement = RectF{vp.fromScreenX(left), vp.fromScreenX(left + w), vp.fromScreenY(top), vp.fromScreenY(top + h)};
  shape->pageIndex = page;
  shape->UpdateBounds();
  return shape;
}

std::unique_ptr<Shape> ImportPicture(const std::string& path, const Viewport& vp, int page, PictureError* error,
                                     int limit) {
  LoadedBitmap loaded;
  if (!loaded.Load(path)) {
    if (error) *error = loaded.error();
    return nullptr;
  }
  std::unique_ptr<Shape> shape;
  try {
    shape = MakeImportedPicture(*loaded.bitmap(), vp, page, limit);
  } catch (const std::bad_alloc&) {
    shape.reset();
  }
  if (!shape && error) *error = PictureError{std::u16string(kPictureOutOfMemory), "no room for the resampled copy"};
  return shape;
}

bool ReadPictureDrawing(Drawing& drawing, const std::string& path, int limit) {
  drawing.SetLastError(u"");
  drawing.Reset();
  const PageSize page = drawing.GetPageSize();
  Viewport vp;  // true size on the screen
  vp.setOrigin(-page.width / 2, -page.height / 2, 0, 0);
  PictureError error;
  std::unique_ptr<Shape> shape = ImportPicture(path, vp, 0, &error, limit);
  if (!shape) return drawing.Fail(error.message);
  drawing.Add(std::move(shape));
  return true;
}

}  // namespace zel
