#include "render/page_paint.h"

#include "render/shape_renderer.h"

namespace zel {

void DrawPageFrame(Surface& dc, const Viewport& vp, PageSize page) {
  IntPoint a = vp.toScreen({-page.width / 2, -page.height / 2});
  IntPoint b = vp.toScreen({page.width / 2, page.height / 2});
  Brush oldBrush = dc.SelectBrush(kWhiteBrush);
  Pen oldPen = dc.SelectPen(Pen{PS_SOLID, 1, kPageShadow});
  dc.Rectangle(a.x + 2, a.y + 2, b.x + 2, b.y + 2);
  dc.Rectangle(a.x + 1, a.y + 1, b.x + 1, b.y + 1);
  dc.SelectPen(kBlackPen);
  dc.Rectangle(a.x, a.y, b.x, b.y);
  dc.SelectPen(oldPen);
  dc.SelectBrush(oldBrush);
}

void PaintViewContent(Surface& dc, const Drawing& drawing, const Viewport& vp, const IntRect& client, int page,
                      const ViewSettings& settings) {
  dc.FillRect(client, settings.showPage ? kViewBackground : 0xFFFFFF);
  if (settings.showPage) DrawPageFrame(dc, vp, drawing.GetPageSize());
  DrawGrid(dc, vp, client, settings);
  RenderPage(drawing, dc, vp, client, page);
}

}  // namespace zel
