#include "render/page_bitmap.h"

#include "model/viewport.h"
#include "render/shape_renderer.h"
#include "render/smooth.h"
#include "render/surface.h"

namespace zel {

std::unique_ptr<DibImage> RenderPageToBitmap(const Drawing& drawing, int width, int height, bool antialias,
                                             int page) {
  if (page < 0 || page >= drawing.PageCount()) return nullptr;
  std::unique_ptr<DibImage> section = CreateSection24(width, height);
  if (!section) return nullptr;
  {
    Surface dc(section.get());
    dc.FillRect(IntRect{0, 0, width, height}, 0xFFFFFF);
    // The content never touches the edge of the picture.
    const IntRect target{1, 1, width - 1, height - 1};
    const RectF bounds = drawing.PageBounds(page);
    Viewport vp;
    vp.fitRect(bounds.xmin, bounds.ymin, bounds.xmax, bounds.ymax, target);
    RenderPage(drawing, dc, vp, target, page);
  }
  if (antialias) return Smooth(*section);
  return section;
}

}  // namespace zel
