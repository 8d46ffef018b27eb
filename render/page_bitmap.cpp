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
    // The content never touches the edge of the picture. Outlines cover
    // the pixel their last coordinate falls in, so the fitted area ends one
    // pixel short of the last row and column: white on all four sides.
    const IntRect target{1, 1, width - 2, height - 2};
    const RectF bounds = drawing.PageBounds(page);
    Viewport vp;
    vp.fitRect(bounds.xmin, bounds.ymin, bounds.xmax, bounds.ymax, target);
    RenderPage(drawing, dc, vp, target, page);
  }
  if (antialias) return Smooth(*section);
  return section;
}

}  // namespace zel
