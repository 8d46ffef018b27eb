// Freehand drawing: the stroke is shown segment by segment in exclusive-or
// and fitted with Bezier curves at the release, in pixels, so the fitting
// tolerance does not depend on the zoom.
#pragma once

#include <vector>

#include "view/tool.h"

namespace zel {

class DrawTool final : public Tool {
 public:
  DrawTool() : Tool(kDrawToolId) {}

  void StylusDown(uint32_t flags, IntPoint p) override;
  void StylusUp(uint32_t flags, IntPoint p) override;
  void DrawOverlay(Surface& dc) override;
  void StylusMove(uint32_t flags, IntPoint p) override;

  const std::vector<PointF>& points() const { return points_; }

 private:
  PointF first_;
  PointF current_;
  std::vector<PointF> points_;
};

// Fitting error of freehand strokes, in pixels.
inline constexpr float kFreehandFitError = 10.0f;
// A stroke point closer than this to the start is not recorded.
inline constexpr float kFreehandStartDistance = 3.0f;

}  // namespace zel
