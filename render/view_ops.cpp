#include "render/view_ops.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {

constexpr int kFitMargin = 2;
constexpr int kScrollLimit = 30000;
constexpr ColorRef kGridColor = 0x606060;

IntRect Shrunk(const IntRect& r, int d) { return {r.left + d, r.top + d, r.right - d, r.bottom - d}; }

int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  return int(std::clamp(std::trunc(v), double(INT32_MIN), double(INT32_MAX)));
}

}  // namespace

float GridSpacingFromStored(int64_t stored) { return std::clamp(float(stored) / 100.0f, 10.0f, 3000.0f); }
float SnapSpacingFromStored(int64_t stored) { return std::clamp(float(stored) / 100.0f, 0.0f, 100.0f); }

IntPoint ClientCentre(const IntRect& c) {
  return {int((int64_t(c.left) + c.right) / 2), int((int64_t(c.top) + c.bottom) / 2)};
}

void ZoomInView(Viewport& vp, const IntRect& client) { vp.zoomIn(ClientCentre(client)); }
void ZoomOutView(Viewport& vp, const IntRect& client) { vp.zoomOut(ClientCentre(client)); }

void ZoomOneToOne(Viewport& vp, const IntRect& client) {
  vp.zoomAbout(ScreenDeviceScale() / vp.getScale(), ClientCentre(client));
}

void FitDrawing(Viewport& vp, const IntRect& client, const RectF& b) {
  IntRect target = Shrunk(client, kFitMargin);
  if (std::fabs(b.xmax - b.xmin) > 1.0f && std::fabs(b.ymax - b.ymin) > 1.0f) {
    vp.fitRect(b.xmin, b.ymin, b.xmax, b.ymax, target);
    return;
  }
  IntPoint c = ClientCentre(target);
  vp.setOrigin(0.0f, 0.0f, c.x, c.y);
  vp.setScale(ScreenDeviceScale());
}

void FitDrawing(Viewport& vp, const IntRect& client, const Drawing& drawing, int page) {
  FitDrawing(vp, client, drawing.PageBounds(page));
}

bool FitPage(Viewport& vp, const IntRect& client, PageSize page) {
  IntRect target = Normalized(Shrunk(client, kFitMargin));
  if (!(page.width > 1.0f && page.height > 1.0f)) return false;
  vp.fitRect(-page.width / 2, -page.height / 2, page.width / 2, page.height / 2, target);
  return true;
}

ScrollRange ScrollBarRange(bool shown) {
  return shown ? ScrollRange{-kScrollLimit, kScrollLimit} : ScrollRange{0, 0};
}

ScrollPositions ScrollBarPositions(const Viewport& vp) {
  PointF p = vp.fromScreen({0, 0});
  return {TruncToInt(double(p.x) + 0.5), TruncToInt(double(p.y) + 0.5)};
}

int ScrollShift(const Viewport& vp, const IntRect& client, bool horizontal, int code, int position) {
  const int64_t extent = horizontal ? int64_t(client.right) - client.left : int64_t(client.bottom) - client.top;
  const int line = int(extent / 10);
  const int page = int((2 * extent) / 3);
  switch (code) {
    case SB_LINELEFT:
      return line;
    case SB_LINERIGHT:
      return -line;
    case SB_PAGELEFT:
      return page;
    case SB_PAGERIGHT:
      return -page;
    case SB_THUMBPOSITION: {
      // Brings drawing coordinate `position` to the client's first pixel.
      if (horizontal) {
        float here = float(TruncToInt(double(vp.fromScreenX(0)) + 0.5));
        return int(int64_t(vp.toScreenX(here)) - vp.toScreenX(float(position)));
      }
      float here = float(TruncToInt(double(vp.fromScreenY(0)) + 0.5));
      return int(int64_t(vp.toScreenY(here)) - vp.toScreenY(float(position)));
    }
    default:
      return 0;
  }
}

bool ScrollView(Viewport& vp, const IntRect& client, bool horizontal, int code, int position) {
  int d = ScrollShift(vp, client, horizontal, code, position);
  if (d == 0) return false;
  if (horizontal) {
    vp.pan({0, 0}, {d, 0});
  } else {
    vp.pan({0, 0}, {0, d});
  }
  return true;
}

void DrawGrid(Surface& dc, const Viewport& vp, const IntRect& client, const ViewSettings& settings) {
  if (!settings.showGrid || !(settings.gridSpacing * vp.getScale() >= 3.0f)) return;
  const int64_t step = std::max(1, RoundToInt(settings.gridSpacing));
  Pen oldPen = dc.SelectPen(Pen{PS_SOLID, 0, kGridColor});
  int oldRop = dc.SetROP2(R2_NOTXORPEN);
  int oldBk = dc.SetBkMode(TRANSPARENT);

  // First multiple of the step at or after a, lines up to b.
  auto lines = [&](int64_t a, int64_t b, auto&& draw) {
    int64_t v = a;
    while (v % step != 0 && v <= b) ++v;
    for (; v <= b; v += step) draw(float(v));
  };
  lines(RoundToInt(vp.fromScreenX(client.left)), RoundToInt(vp.fromScreenX(client.right)), [&](float x) {
    int px = vp.toScreenX(x);
    dc.MoveTo(px, client.top);
    dc.LineTo(px, client.bottom);
  });
  lines(RoundToInt(vp.fromScreenY(client.top)), RoundToInt(vp.fromScreenY(client.bottom)), [&](float y) {
    int py = vp.toScreenY(y);
    dc.MoveTo(client.left, py);
    dc.LineTo(client.right, py);
  });

  dc.SetBkMode(oldBk);
  dc.SetROP2(oldRop);
  dc.SelectPen(oldPen);
}

IntPoint SnapPoint(const Viewport& vp, IntPoint p, float snapSpacing) {
  if (snapSpacing == 0.0f) return p;
  return vp.toScreen({vp.snappedFromScreenX(p.x, snapSpacing), vp.snappedFromScreenY(p.y, snapSpacing)});
}

void ZoomToArea(Viewport& vp, IntPoint down, IntPoint up, const IntRect& client) {
  IntRect r = Normalized(IntRect{down.x, down.y, up.x, up.y});
  if (int64_t(r.right) - r.left > 10 && int64_t(r.bottom) - r.top > 10) {
    vp.fitPixelRect(r, client);
    return;
  }
  IntPoint centre = ClientCentre(client);
  vp.pan(ClientCentre(r), centre);
  vp.zoomIn(centre);
}

void ComposePanPreview(Surface& target, const Surface& captured, IntPoint offset, const IntRect& client) {
  target.FillRect(client, 0xFFFFFF);
  target.BitBlt(client.left + offset.x, client.top + offset.y, captured.width(), captured.height(), captured, 0,
                0, SRCCOPY);
}

}  // namespace zel
