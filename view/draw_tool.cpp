#include "view/draw_tool.h"

#include <cmath>

#include "model/curve_fit.h"
#include "view/zel_view.h"

namespace zel {

namespace {

// Drawing coordinates of a fractional pixel, without rounding.
PointF FromScreenF(const Viewport& vp, PointF p) {
  return PointF{(p.x - float(vp.anchorX())) / vp.getScale() + vp.originX(),
                (p.y - float(vp.anchorY())) / vp.getScale() + vp.originY()};
}

IntPoint Pixel(PointF p) { return IntPoint{RoundToInt(p.x), RoundToInt(p.y)}; }

}  // namespace

void DrawTool::StylusDown(uint32_t flags, IntPoint p) {
  points_.clear();
  first_ = current_ = PointF{float(p.x), float(p.y)};
  points_.push_back(first_);
  Tool::StylusDown(flags, p);
}

void DrawTool::StylusMove(uint32_t flags, IntPoint p) {
  if (pressed_ && !(p == lastPoint_)) {
    current_ = PointF{float(p.x), float(p.y)};
    if (std::hypot(current_.x - first_.x, current_.y - first_.y) >= kFreehandStartDistance) {
      points_.push_back(current_);
      if (points_.size() >= 2) {
        // Only the newest segment is drawn, in exclusive-or on the window.
        if (DibImage* pixels = view_->FeedbackPixels()) {
          Surface window(pixels);
          const int oldMode = window.SetROP2(R2_NOTXORPEN);
          const Pen oldPen = window.SelectPen(kBlackPen);
          const IntPoint a = Pixel(points_[points_.size() - 2]);
          const IntPoint b = Pixel(points_.back());
          window.MoveTo(a.x, a.y);
          window.LineTo(b.x, b.y);
          window.SelectPen(oldPen);
          window.SetROP2(oldMode);
          view_->PresentFeedback(IntRect{std::min(a.x, b.x) - 1, std::min(a.y, b.y) - 1,
                                         std::max(a.x, b.x) + 2, std::max(a.y, b.y) + 2});
        }
      }
    }
  }
  Tool::StylusMove(flags, p);
}

void DrawTool::StylusUp(uint32_t flags, IntPoint p) {
  if (!pressed_) return;
  if (!(p == lastPoint_)) points_.push_back(PointF{float(p.x), float(p.y)});
  if (points_.size() >= 3) {
    const bool open = view_->style().brushStyle == kBrushNull;
    if (!open && !PointsEqual(points_.back(), points_.front())) points_.push_back(points_.front());
    SubPath nodes = FitBezierPath(points_.data(), points_.size(), kFreehandFitError);
    if (nodes.size() > 1) {
      const Viewport& vp = view_->viewport();
      for (PathNode& n : nodes) {
        n.in = FromScreenF(vp, n.in);
        n.anchor = FromScreenF(vp, n.anchor);
        n.out = FromScreenF(vp, n.out);
      }
      // An open stroke gets the current brush too: with "No Fill" it is 1.
      view_->AddPath(std::move(nodes), false);
    }
  }
  view_->host().Invalidate(true);
  points_.clear();
  Tool::StylusUp(flags, p);
}

void DrawTool::DrawOverlay(Surface& dc) {
  if (!pressed_ || points_.size() < 2) return;
  const int oldMode = dc.SetROP2(R2_NOTXORPEN);
  const Pen oldPen = dc.SelectPen(kBlackPen);
  std::vector<IntPoint> line;
  line.reserve(points_.size());
  for (PointF q : points_) line.push_back(Pixel(q));
  dc.Polyline(line.data(), line.size());
  dc.SelectPen(oldPen);
  dc.SetROP2(oldMode);
}

}  // namespace zel
