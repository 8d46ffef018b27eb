#include "view/tool.h"

#include <algorithm>

#include "view/zel_view.h"

namespace zel {

IntRect SpanRect(IntPoint a, IntPoint b) {
  return IntRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Tool::~Tool() {
  if (timerId_ != 0 && view_) view_->host().KillTimer(timerId_);
}

void Tool::StylusDown(uint32_t /*flags*/, IntPoint p) {
  pressed_ = true;
  downPoint_ = lastPoint_ = p;
  if (view_) view_->host().CaptureStylus();
  dragged_ = false;
}

void Tool::StylusUp(uint32_t /*flags*/, IntPoint p) {
  if (!pressed_) return;
  pressed_ = false;
  if (view_) view_->host().ReleaseStylus();
  lastPoint_ = p;
  dragged_ = false;
}

void Tool::DoubleTap(uint32_t /*flags*/, IntPoint /*p*/) {}

void Tool::DrawOverlay(Surface& /*dc*/) {}

void Tool::StylusMove(uint32_t /*flags*/, IntPoint p) {
  if (!pressed_) return;
  lastPoint_ = p;
  if (!(p == downPoint_)) dragged_ = true;
}

void Tool::Activate() { Refresh(); }

void Tool::Deactivate() {
  if (pressed_) EndPress();
  Refresh();
}

void Tool::Timer(int /*id*/) {}

void Tool::Refresh() {}

void Tool::EndPress() {
  if (view_) view_->host().ReleaseStylus();
  pressed_ = false;
  dragged_ = false;
}

void Tool::DrawFocusBand(Surface* dc) {
  const IntRect band = SpanRect(downPoint_, lastPoint_);
  if (dc) {
    dc->DrawFocusRect(band);
    return;
  }
  if (!view_) return;
  DibImage* pixels = view_->FeedbackPixels();
  if (!pixels) return;
  Surface window(pixels);
  window.DrawFocusRect(band);
  view_->PresentFeedback(IntRect{band.left, band.top, band.right + 1, band.bottom + 1});
}

Surface* Tool::FeedbackTarget(Surface* dc, Surface& window) {
  if (dc) return dc;
  DibImage* pixels = view_->FeedbackPixels();
  if (!pixels) return nullptr;
  window.SelectBitmap(pixels);
  return &window;
}

}  // namespace zel
