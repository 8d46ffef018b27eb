// The stylus tool interface: every stylus event of the view goes to exactly
// one current tool. The base class keeps the press state that all tools
// share (press point, last point, whether the stylus moved) and captures the
// stylus for the duration of a press.
#pragma once

#include <cstdint>

#include "model/geometry.h"
#include "render/surface.h"

namespace zel {

class CZelView;

// The ids the view switches tools by; any other id activates the pan tool.
enum ToolId : int {
  kSelectToolId = 0,
  kZoomToolId = 1,
  kPanToolId = 2,
  kTextToolId = 6,
  kDrawToolId = 9,
  kBezierToolId = 10,
  kLineToolId = 11,
  kRectangleToolId = 12,
  kEllipseToolId = 13,
  kShapeToolId = 15,
};

// Distance in pixels within which a handle or a double tap counts as hit.
inline constexpr float kPickDistance = 5.0f;

class Tool {
 public:
  explicit Tool(int id) : id_(id) {}
  virtual ~Tool();
  Tool(const Tool&) = delete;
  Tool& operator=(const Tool&) = delete;

  int id() const { return id_; }
  // Set once the view's window exists.
  void SetView(CZelView* view) { view_ = view; }

  virtual void StylusDown(uint32_t flags, IntPoint p);
  virtual void StylusUp(uint32_t flags, IntPoint p);
  virtual void DoubleTap(uint32_t flags, IntPoint p);
  // Redraws the tool's exclusive-or feedback after a paint.
  virtual void DrawOverlay(Surface& dc);
  virtual void StylusMove(uint32_t flags, IntPoint p);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Timer(int id);
  // Recomputes the feedback state after a mode change.
  virtual void Refresh();

  bool pressed() const { return pressed_; }
  IntPoint downPoint() const { return downPoint_; }
  IntPoint lastPoint() const { return lastPoint_; }
  bool dragged() const { return dragged_; }

 protected:
  // The dotted exclusive-or frame from downPoint to lastPoint; with no
  // surface given, on the view's window surface, which is then presented.
  void DrawFocusBand(Surface* dc = nullptr);
  // Where exclusive-or feedback goes: the paint's own surface when there is
  // one, else `window` set on the view's window pixels; null when the view
  // has none yet.
  Surface* FeedbackTarget(Surface* dc, Surface& window);
  // Ends a press without a release: the capture goes.
  void EndPress();

  CZelView* view_ = nullptr;
  bool pressed_ = false;
  IntPoint downPoint_;
  IntPoint lastPoint_;
  bool dragged_ = false;
  int timerId_ = 0;

 private:
  int id_;
};

// The normalised pixel rectangle spanned by two points.
IntRect SpanRect(IntPoint a, IntPoint b);

}  // namespace zel
