#include "render/scaled_copy.h"

#include "model/shape.h"
#include "render/surface.h"

namespace zel {

std::unique_ptr<DibImage> ScaledCopy(const DibImage* source, int width, int height, bool flip) {
  if (!source || !source->IsDrawable()) return nullptr;
  auto section = CreateSection24(width, height);
  if (!section) return nullptr;
  const int sw = source->header.width;
  const int sh = source->header.height < 0 ? -source->header.height : source->header.height;
  Surface dc(section.get());
  // Flipped: the copy starts at the last row and runs upwards.
  const bool drawn = flip ? dc.StretchDIBits(0, height - 1, width, -height, 0, 0, sw, sh, *source, kRasterSrcCopy)
                          : dc.StretchDIBits(0, 0, width, height, 0, 0, sw, sh, *source, kRasterSrcCopy);
  if (!drawn) return nullptr;
  return section;
}

}  // namespace zel
