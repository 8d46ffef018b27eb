#include "interchange/picture/bitmap_export.h"

#include <cmath>
#include <memory>
#include <new>
#include <string>

#include "interchange/picture/bmp_writer.h"
#include "interchange/picture/jpeg_writer.h"
#include "interchange/picture/picture_paths.h"
#include "interchange/picture/png_writer.h"
#include "model/viewport.h"
#include "render/page_bitmap.h"

namespace zel {

namespace {

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

bool Write(Drawing& drawing, const std::string& path, int page, int maxWidth, int maxHeight, bool exact,
           bool antialias, std::string* writtenPath) {
  const BitmapOutput kind = BitmapOutputOf(path);
  if (kind == BitmapOutput::kNone) return drawing.Fail(u"Pictures are exported only as BMP, JPEG or PNG files.");
  if (page < 0 || page >= drawing.PageCount()) return drawing.Fail(u"The drawing has no such page.");
  const PixelSize size =
      ExportPixelSize(drawing.PageBounds(page), ScreenDeviceScale(), maxWidth, maxHeight, exact);
  if (size.width < 1 || size.height < 1) return drawing.Fail(u"The page is empty: there is nothing to export.");
  // 64-bit: the product of two large sides does not fit in 32 bits.
  if (int64_t(size.width) * int64_t(size.height) > kMaxExportPixels)
    return drawing.Fail(Ascii("The picture would be " + std::to_string(size.width) + " x " +
                              std::to_string(size.height) + " pixels; at most " + std::to_string(kMaxExportPixels) +
                              " pixels can be exported."));
  std::unique_ptr<DibImage> bitmap = RenderPageToBitmap(drawing, size.width, size.height, antialias, page);
  if (!bitmap) return drawing.Fail(u"There is not enough memory to make the picture.");

  PictureError error;
  std::string target = path;
  bool ok = false;
  switch (kind) {
    case BitmapOutput::kBmp:
      target = ReplaceExtension(path, "bmp");
      ok = WriteBmp(target, *bitmap, &error);
      break;
    case BitmapOutput::kJpeg:
      target = ReplaceExtension(path, "jpg");
      ok = WriteJpeg(target, *bitmap, kJpegQuality, &error);
      break;
    case BitmapOutput::kPng:
      target = ReplaceExtension(path, "png");
      ok = WritePng(target, *bitmap, &error);
      break;
    case BitmapOutput::kNone:
      break;
  }
  if (!ok) return drawing.Fail(error.message);
  if (writtenPath) *writtenPath = target;
  return true;
}

}  // namespace

PixelSize ExportPixelSize(const RectF& content, float deviceScale, int maxWidth, int maxHeight, bool exact) {
  if (exact) return {maxWidth, maxHeight};
  const double s = deviceScale;
  const int w = RoundToInt(std::abs(double(content.xmax) - double(content.xmin)) * s);
  const int h = RoundToInt(std::abs(double(content.ymax) - double(content.ymin)) * s);
  if (w <= maxWidth && h <= maxHeight) return {w, h};
  const IntRect fit = FitKeepingAspect(w, h, maxWidth, maxHeight);
  return {fit.right - fit.left, fit.bottom - fit.top};
}

PixelSize SizeForLongestSide(const RectF& content, int longest) {
  const double w = std::abs(double(content.xmax) - double(content.xmin));
  const double h = std::abs(double(content.ymax) - double(content.ymin));
  if (w <= 0 || h <= 0 || longest <= 0) return {0, 0};
  const double scale = w < h ? longest / h : longest / w;
  return {RoundToInt(w * scale), RoundToInt(h * scale)};
}

bool ExportBitmap(Drawing& drawing, const std::string& path, int page, int maxWidth, int maxHeight, bool exact,
                  bool antialias, std::string* writtenPath) {
  drawing.SetLastError(u"");
  try {
    return Write(drawing, path, page, maxWidth, maxHeight, exact, antialias, writtenPath);
  } catch (const std::bad_alloc&) {
    return drawing.Fail(u"There is not enough memory to make the picture.");
  }
}

}  // namespace zel
