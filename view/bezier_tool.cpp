#include "view/bezier_tool.h"

#include <cmath>

#include "model/bezier.h"
#include "view/zel_view.h"

namespace zel {

namespace {

constexpr ColorRef kHandleBlue = 0xFF0000;
constexpr ColorRef kAnchorFill = 0xC00000;
constexpr ColorRef kAnchorFrame = 0xC8C8C8;
constexpr float kPreviewTolerance = 2.0f;
constexpr double kOneDegree = 0.017453292;
constexpr double kPi = 3.14159265358979323846;

// Angle at the anchor from the in-handle to the out-handle in [-pi, pi];
// 0 when two of the points coincide.
double HandleAngle(const PathNode& n) {
  if (PointsEqual(n.in, n.anchor) || PointsEqual(n.out, n.anchor) || PointsEqual(n.in, n.out)) return 0.0;
  const double a = NormalizeAngle(std::atan2(double(n.in.y) - n.anchor.y, double(n.in.x) - n.anchor.x));
  const double b = NormalizeAngle(std::atan2(double(n.out.y) - n.anchor.y, double(n.out.x) - n.anchor.x));
  double d = b - a;
  if (std::abs(d) > kPi) d -= 2.0 * kPi * (d > 0 ? 1.0 : -1.0);
  return d;
}

PointF PixelF(const Viewport& vp, PointF p) { return PointF{vp.toScreenXf(p.x), vp.toScreenYf(p.y)}; }

}  // namespace

void BezierTool::ToggleMarkers(Surface& dc, const PathNode& node) {
  const Viewport& vp = view_->viewport();
  const IntPoint a = vp.toScreen(node.anchor);
  const Pen oldPen = dc.SelectPen(Pen{PS_DASH, 0, kHandleBlue});
  const Brush oldBrush = dc.SelectBrush(Brush{BS_SOLID, kHandleBlue, 0});
  for (PointF handle : {node.in, node.out}) {
    const IntPoint h = vp.toScreen(handle);
    dc.SelectPen(Pen{PS_DASH, 0, kHandleBlue});
    dc.MoveTo(a.x, a.y);
    dc.LineTo(h.x, h.y);
    dc.SelectPen(Pen{PS_SOLID, 0, kHandleBlue});
    dc.Ellipse(h.x - 2, h.y - 2, h.x + 3, h.y + 3);
  }
  dc.SelectPen(Pen{PS_SOLID, 0, kAnchorFrame});
  dc.SelectBrush(Brush{BS_SOLID, kAnchorFill, 0});
  dc.Rectangle(a.x - 3, a.y - 3, a.x + 4, a.y + 4);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

void BezierTool::TogglePreview(Surface* dc) {
  Surface window;
  Surface* const feedback = FeedbackTarget(dc, window);
  if (!feedback) return;
  Surface& target = *feedback;
  const int oldMode = target.SetROP2(R2_NOTXORPEN);
  const Viewport& vp = view_->viewport();
  if (!nodes_.empty()) {
    const PathNode& last = nodes_.back();
    BezierSegment s{PixelF(vp, last.anchor), PixelF(vp, last.out), PixelF(vp, placing_.in),
                    PixelF(vp, placing_.anchor), kPreviewTolerance};
    PolyPoints flat;
    BezierFlatten(s, flat, true);
    std::vector<IntPoint> line;
    for (PointF q : flat) line.push_back(IntPoint{RoundToInt(q.x), RoundToInt(q.y)});
    const Pen oldPen = target.SelectPen(kBlackPen);
    target.Polyline(line.data(), line.size());
    target.SelectPen(oldPen);
  }
  ToggleMarkers(target, placing_);
  target.SetROP2(oldMode);
  if (!dc) view_->PresentFeedback(view_->host().ClientRect());
}

void BezierTool::StylusDown(uint32_t flags, IntPoint p) {
  p = view_->SnapPoint(p);
  if (!nodes_.empty()) {
    if (DibImage* pixels = view_->FeedbackPixels()) {
      Surface window(pixels);
      const int oldMode = window.SetROP2(R2_NOTXORPEN);
      ToggleMarkers(window, nodes_.back());
      window.SetROP2(oldMode);
    }
  }
  const PointF a = view_->viewport().fromScreen(p);
  placing_ = PathNode{a, a, a, 0};
  TogglePreview();
  Tool::StylusDown(flags, p);
}

void BezierTool::HandlesFrom(IntPoint p) {
  placing_.out = view_->viewport().fromScreen(p);
  uint16_t cusp = placing_.flags & kNodeCusp;
  if (view_->KeyDown(HostKey::kControl)) cusp = kNodeCusp;
  if (view_->KeyDown(HostKey::kShift)) cusp = 0;
  placing_.flags = cusp;
  if (!cusp) {
    // A smooth node mirrors its out-handle.
    placing_.in = PointF{placing_.anchor.x - (placing_.out.x - placing_.anchor.x),
                         placing_.anchor.y - (placing_.out.y - placing_.anchor.y)};
  }
}

void BezierTool::StylusMove(uint32_t flags, IntPoint p) {
  p = view_->SnapPoint(p);
  if (!pressed_ || p == lastPoint_) {
    Tool::StylusMove(flags, p);
    return;
  }
  TogglePreview();
  Tool::StylusMove(flags, p);
  HandlesFrom(p);
  TogglePreview();
}

void BezierTool::StylusUp(uint32_t flags, IntPoint p) {
  p = view_->SnapPoint(p);
  const bool wasPressed = pressed_;
  Tool::StylusUp(flags, p);
  if (!wasPressed) return;
  TogglePreview();
  HandlesFrom(p);
  TogglePreview();
  if (std::abs(std::abs(HandleAngle(placing_)) - kPi) > kOneDegree) placing_.flags |= kNodeCusp;
  nodes_.push_back(placing_);
}

void BezierTool::DoubleTap(uint32_t /*flags*/, IntPoint p) {
  if (std::hypot(double(p.x - downPoint_.x), double(p.y - downPoint_.y)) <= kPickDistance) Finish();
}

void BezierTool::Deactivate() {
  Tool::Deactivate();
  Finish();
}

void BezierTool::Finish() {
  if (nodes_.size() >= 2) {
    SubPath nodes = std::move(nodes_);
    if (view_->style().brushStyle != kBrushNull && !PointsEqual(nodes.front().anchor, nodes.back().anchor)) {
      const PointF first = nodes.front().anchor;
      nodes.push_back(PathNode{first, first, first, 0});
      nodes.front().in = first;
    }
    view_->AddPath(std::move(nodes), false);
  }
  nodes_.clear();
  view_->host().Invalidate(true);
}

void BezierTool::DrawOverlay(Surface& dc) {
  if (nodes_.empty() && !pressed_) return;
  const int oldMode = dc.SetROP2(R2_NOTXORPEN);
  const Viewport& vp = view_->viewport();
  // The segments placed so far, then the node in hand or the last node's marks.
  const Pen oldPen = dc.SelectPen(kBlackPen);
  for (size_t i = 1; i < nodes_.size(); ++i) {
    BezierSegment s{PixelF(vp, nodes_[i - 1].anchor), PixelF(vp, nodes_[i - 1].out), PixelF(vp, nodes_[i].in),
                    PixelF(vp, nodes_[i].anchor), kPreviewTolerance};
    PolyPoints flat;
    BezierFlatten(s, flat, true);
    std::vector<IntPoint> line;
    for (PointF q : flat) line.push_back(IntPoint{RoundToInt(q.x), RoundToInt(q.y)});
    dc.Polyline(line.data(), line.size());
  }
  dc.SelectPen(oldPen);
  dc.SetROP2(oldMode);
  if (pressed_) {
    TogglePreview(&dc);
  } else {
    const int mode = dc.SetROP2(R2_NOTXORPEN);
    ToggleMarkers(dc, nodes_.back());
    dc.SetROP2(mode);
  }
}

}  // namespace zel
