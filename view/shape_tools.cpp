#include "view/shape_tools.h"

#include "model/shape.h"
#include "view/zel_view.h"

namespace zel {

void RubberBandTool::ToggleRubber() {
  DibImage* pixels = view_ ? view_->FeedbackPixels() : nullptr;
  if (!pixels) return;
  Surface window(pixels);
  DrawOverlay(window);
  const IntRect r = SpanRect(downPoint_, lastPoint_);
  view_->PresentFeedback(IntRect{r.left - 1, r.top - 1, r.right + 2, r.bottom + 2});
}

void RubberBandTool::DrawOverlay(Surface& dc) {
  if (!pressed_) return;
  // Not-XOR with the selected pen and no fill: a second drawing erases it.
  const int oldMode = dc.SetROP2(R2_NOTXORPEN);
  const Brush oldBrush = dc.SelectBrush(kNullBrush);
  DrawRubber(dc);
  dc.SelectBrush(oldBrush);
  dc.SetROP2(oldMode);
}

void RubberBandTool::StylusDown(uint32_t flags, IntPoint p) {
  p = view_->SnapPoint(p);
  Tool::StylusDown(flags, p);
  ToggleRubber();
}

void RubberBandTool::StylusMove(uint32_t flags, IntPoint p) {
  p = view_->SnapPoint(p);
  if (!pressed_) return;
  ToggleRubber();
  Tool::StylusMove(flags, p);
  ToggleRubber();
}

void RubberBandTool::StylusUp(uint32_t flags, IntPoint p) {
  p = view_->SnapPoint(p);
  if (pressed_) {
    ToggleRubber();
    if (!(p == downPoint_)) {
      const Viewport& vp = view_->viewport();
      const PointF d = vp.fromScreen(downPoint_);
      const PointF l = vp.fromScreen(lastPoint_);
      CreateShape(RectF{std::min(d.x, l.x), std::max(d.x, l.x), std::min(d.y, l.y), std::max(d.y, l.y)});
      view_->host().Invalidate(true);
    }
  }
  Tool::StylusUp(flags, p);
}

void LineTool::DrawRubber(Surface& dc) {
  dc.MoveTo(downPoint_.x, downPoint_.y);
  dc.LineTo(lastPoint_.x, lastPoint_.y);
}

void LineTool::CreateShape(const RectF& /*rect*/) {
  // The line runs from the press to the last point, whichever way it goes.
  const Viewport& vp = view_->viewport();
  const PointF a = vp.fromScreen(downPoint_);
  const PointF b = vp.fromScreen(lastPoint_);
  view_->AddPath(SubPath{PathNode{a, a, a, 0}, PathNode{b, b, b, 0}}, true);
}

void RectangleTool::DrawRubber(Surface& dc) {
  const IntRect r = SpanRect(downPoint_, lastPoint_);
  dc.Rectangle(r.left, r.top, r.right, r.bottom);
}

void RectangleTool::CreateShape(const RectF& rect) {
  view_->AddPath(MakeRectangle(rect)->path()->subPaths.front(), false);
}

void EllipseTool::DrawRubber(Surface& dc) {
  const IntRect r = SpanRect(downPoint_, lastPoint_);
  dc.Ellipse(r.left, r.top, r.right, r.bottom);
}

void EllipseTool::CreateShape(const RectF& rect) {
  view_->AddPath(MakeEllipse(rect)->path()->subPaths.front(), false);
}

}  // namespace zel
