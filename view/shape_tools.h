// The rubber-band tools: a press, a drag and a release span a line, a
// rectangle or an ellipse, shown in exclusive-or while the stylus moves.
#pragma once

#include "view/tool.h"

namespace zel {

class RubberBandTool : public Tool {
 public:
  using Tool::Tool;

  void StylusDown(uint32_t flags, IntPoint p) override;
  void StylusUp(uint32_t flags, IntPoint p) override;
  void DrawOverlay(Surface& dc) override;
  void StylusMove(uint32_t flags, IntPoint p) override;

  // The tool's figure from downPoint to lastPoint.
  virtual void DrawRubber(Surface& dc) = 0;
  // The shape for the drawing rectangle the press spanned.
  virtual void CreateShape(const RectF& rect) = 0;

 private:
  void ToggleRubber();
};

class LineTool final : public RubberBandTool {
 public:
  LineTool() : RubberBandTool(kLineToolId) {}
  void DrawRubber(Surface& dc) override;
  void CreateShape(const RectF& rect) override;
};

class RectangleTool final : public RubberBandTool {
 public:
  RectangleTool() : RubberBandTool(kRectangleToolId) {}
  void DrawRubber(Surface& dc) override;
  void CreateShape(const RectF& rect) override;
};

class EllipseTool final : public RubberBandTool {
 public:
  EllipseTool() : RubberBandTool(kEllipseToolId) {}
  void DrawRubber(Surface& dc) override;
  void CreateShape(const RectF& rect) override;
};

}  // namespace zel
