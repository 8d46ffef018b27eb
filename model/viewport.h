// Mapping between drawing coordinates (mm/10) and device pixels.
//
// A plain value: the screen view keeps one, rendering jobs make their own.
// There is no axis flip; both y axes grow downwards.
#pragma once

#include "model/geometry.h"

namespace zel {

// 96 dpi x (1 / 254): pixels per mm/10 of a typical desktop screen.
inline constexpr float kPixelsPerInchToScale = 0.003937008f;

// The screen's device scale, measured once at start-up (pixels per mm/10).
float ScreenDeviceScale();
void SetScreenDeviceScale(float scale);

class Viewport {
 public:
  Viewport();
  explicit Viewport(float scale);

  float toScreenXf(float x) const { return (x - originX_) * scale_ + anchorX_; }
  float toScreenYf(float y) const { return (y - originY_) * scale_ + anchorY_; }
  int toScreenX(float x) const;
  int toScreenY(float y) const;
  IntPoint toScreen(PointF p) const { return {toScreenX(p.x), toScreenY(p.y)}; }

  float fromScreenX(int px) const;
  float fromScreenY(int py) const;
  PointF fromScreen(IntPoint p) const { return {fromScreenX(p.x), fromScreenY(p.y)}; }
  float snappedFromScreenX(int px, float step) const;
  float snappedFromScreenY(int py, float step) const;

  void setOrigin(float originX, float originY, int anchorX, int anchorY);
  float originX() const { return originX_; }
  float originY() const { return originY_; }
  int anchorX() const { return anchorX_; }
  int anchorY() const { return anchorY_; }

  float getScale() const { return scale_; }
  // Takes |s| clamped to the limits; true when s exceeded the upper limit.
  bool setScale(float s);
  float maxScale() const { return maxScale_; }
  float minScale() const { return minScale_; }

  void fitSize(float w, float h, int pixelW, int pixelH);
  void fitRect(float x1, float y1, float x2, float y2, const IntRect& pixelRect);
  void fitPixelRect(const IntRect& pixelRectIn, const IntRect& pixelRectOut);
  void zoomAbout(float factor, IntPoint pixel);
  void pan(IntPoint fromPixel, IntPoint toPixel);
  void zoomIn(IntPoint pixel) { zoomAbout(2.0f, pixel); }
  void zoomOut(IntPoint pixel) { zoomAbout(0.5f, pixel); }

 private:
  float scale_;
  float originX_ = 0.0f;
  float originY_ = 0.0f;
  int anchorX_ = 0;
  int anchorY_ = 0;
  float maxScale_ = 100000.0f;
  float minScale_ = 0.00001f;
};

}  // namespace zel
