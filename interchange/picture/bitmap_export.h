// Bitmap export: one page of a drawing written as a BMP, JPEG or PNG
// picture, sized from the page's content and a pixel limit, optionally
// smoothed.
#pragma once

#include <cstdint>
#include <string>

#include "model/drawing.h"
#include "model/geometry.h"

namespace zel {

// No exported picture holds more pixels than this (three bytes each, twice
// over when smoothed).
inline constexpr int64_t kMaxExportPixels = int64_t(64) * 1024 * 1024;

struct PixelSize {
  int width = 0;
  int height = 0;
};

// With exact set, (maxWidth, maxHeight). Otherwise the content's size at
// deviceScale pixels per mm/10, rounded, and when it passes a limit fitted
// into (maxWidth, maxHeight) keeping its proportions.
PixelSize ExportPixelSize(const RectF& content, float deviceScale, int maxWidth, int maxHeight, bool exact);

// The size rule of the request file and the command line: the longer side
// of the content becomes `longest` pixels and the other follows in
// proportion, each rounded half away from zero. Zeros for content without
// extent.
PixelSize SizeForLongestSide(const RectF& content, int longest);

// The limit of a fitted export when none is set ("Maximum pixels").
inline constexpr int kDefaultImageResolution = 640;

// Renders page `page` and writes it by the path's extension: ".bmp" as
// BMP, ".jpg" and ".jpeg" as JPEG at quality 100 under a name ending in
// ".jpg", ".png" as PNG. The screen's device scale sizes the content.
// False, with the drawing's last-error text set and no file touched, for an
// empty page, another extension, a picture beyond kMaxExportPixels or a
// failed write. writtenPath, when given, receives the file's name.
[[nodiscard]] bool ExportBitmap(Drawing& drawing, const std::string& path, int page, int maxWidth, int maxHeight,
                                bool exact, bool antialias, std::string* writtenPath = nullptr);

}  // namespace zel
