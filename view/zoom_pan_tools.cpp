#include "view/zoom_pan_tools.h"

#include "render/view_ops.h"
#include "view/zel_view.h"

namespace zel {

void PanTool::StylusDown(uint32_t flags, IntPoint p) {
  captured_.reset();
  if (DibImage* pixels = view_->FeedbackPixels()) captured_ = std::make_unique<DibImage>(*pixels);
  const Viewport& vp = view_->viewport();
  anchorAtPress_ = IntPoint{vp.anchorX(), vp.anchorY()};
  Tool::StylusDown(flags, p);
}

void PanTool::StylusMove(uint32_t flags, IntPoint p) {
  if (pressed_ && !(p == lastPoint_)) {
    Viewport& vp = view_->viewport();
    vp.setOrigin(vp.originX(), vp.originY(), vp.anchorX() + (p.x - lastPoint_.x),
                 vp.anchorY() + (p.y - lastPoint_.y));
    view_->UpdateScrollBars();
    DibImage* pixels = view_->FeedbackPixels();
    if (pixels && captured_) {
      // Only the captured picture moves; no shape is drawn during the drag.
      Surface window(pixels);
      Surface captured(captured_.get());
      const IntRect client = view_->host().ClientRect();
      ComposePanPreview(window, captured,
                        IntPoint{vp.anchorX() - anchorAtPress_.x, vp.anchorY() - anchorAtPress_.y}, client);
      view_->PresentFeedback(client);
    }
  }
  Tool::StylusMove(flags, p);
}

void PanTool::StylusUp(uint32_t flags, IntPoint p) {
  if (pressed_ && !(p == downPoint_)) view_->host().Invalidate(true);
  captured_.reset();
  Tool::StylusUp(flags, p);
}

void ZoomTool::DrawOverlay(Surface& dc) {
  if (pressed_) DrawFocusBand(&dc);
}

void ZoomTool::StylusDown(uint32_t flags, IntPoint p) {
  Tool::StylusDown(flags, p);
  DrawFocusBand();
}

void ZoomTool::StylusMove(uint32_t flags, IntPoint p) {
  if (!pressed_) return;
  DrawFocusBand();
  Tool::StylusMove(flags, p);
  DrawFocusBand();
}

void ZoomTool::StylusUp(uint32_t flags, IntPoint p) {
  if (!pressed_) return;
  DrawFocusBand();
  Tool::StylusUp(flags, p);
  ZoomToArea(view_->viewport(), downPoint_, p, view_->host().ClientRect());
  view_->UpdateScrollBars();
  view_->host().Invalidate(true);
  view_->ActivateTool(kPanToolId);
}

}  // namespace zel
