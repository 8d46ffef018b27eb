#include "model/viewport.h"

#include <cmath>

namespace zel {

namespace {
float g_screenScale = 96.0f * kPixelsPerInchToScale;

float SnapToStep(float value, float step) {
  if (std::fabs(step) < 1e-8f) step = step < 0 ? -1e-8f : 1e-8f;
  return static_cast<float>(RoundToInt(value / step)) * step;
}
}  // namespace

float ScreenDeviceScale() { return g_screenScale; }
void SetScreenDeviceScale(float scale) {
  if (scale > 0.0f && std::isfinite(scale)) g_screenScale = scale;
}

Viewport::Viewport() : scale_(ScreenDeviceScale()) {}
Viewport::Viewport(float scale) : scale_(scale) {}

int Viewport::toScreenX(float x) const { return RoundToInt(toScreenXf(x)); }
int Viewport::toScreenY(float y) const { return RoundToInt(toScreenYf(y)); }

float Viewport::fromScreenX(int px) const {
  return static_cast<float>(px - anchorX_) / scale_ + originX_;
}
float Viewport::fromScreenY(int py) const {
  return static_cast<float>(py - anchorY_) / scale_ + originY_;
}

float Viewport::snappedFromScreenX(int px, float step) const { return SnapToStep(fromScreenX(px), step); }
float Viewport::snappedFromScreenY(int py, float step) const { return SnapToStep(fromScreenY(py), step); }

void Viewport::setOrigin(float originX, float originY, int anchorX, int anchorY) {
  originX_ = originX;
  originY_ = originY;
  anchorX_ = anchorX;
  anchorY_ = anchorY;
}

bool Viewport::setScale(float s) {
  s = std::fabs(s);
  bool exceeded = s > maxScale_;
  if (!(s >= minScale_)) s = minScale_;  // NaN too
  if (s > maxScale_) s = maxScale_;
  scale_ = s;
  return exceeded;
}

void Viewport::fitSize(float w, float h, int pixelW, int pixelH) {
  if (std::fabs(w) < 1e-6f) w = w >= 0 ? 1e-6f : -1e-6f;
  if (std::fabs(h) < 1e-6f) h = h >= 0 ? 1e-6f : -1e-6f;
  if (pixelW == 0) pixelW = 1;
  if (pixelH == 0) pixelH = 1;
  float sx = static_cast<float>(pixelW) / w;
  float sy = static_cast<float>(pixelH) / h;
  setScale(sy >= sx ? sx : sy);
}

void Viewport::fitRect(float x1, float y1, float x2, float y2, const IntRect& r) {
  setOrigin((x1 + x2) * 0.5f, (y1 + y2) * 0.5f, static_cast<int>((int64_t(r.left) + r.right) / 2),
            static_cast<int>((int64_t(r.top) + r.bottom) / 2));
  fitSize(x2 - x1, y2 - y1, r.right - r.left, r.bottom - r.top);
}

void Viewport::fitPixelRect(const IntRect& in, const IntRect& out) {
  PointF a = fromScreen({in.left, in.top});
  PointF b = fromScreen({in.right, in.bottom});
  fitRect(a.x, a.y, b.x, b.y, out);
}

void Viewport::zoomAbout(float factor, IntPoint p) {
  PointF d = fromScreen(p);
  setOrigin(d.x, d.y, p.x, p.y);
  setScale(getScale() * factor);
}

void Viewport::pan(IntPoint from, IntPoint to) {
  anchorX_ += to.x - from.x;
  anchorY_ += to.y - from.y;
}

}  // namespace zel
