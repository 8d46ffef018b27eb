// The selection tool: picks shapes and bands of shapes, and moves, copies,
// scales and rotates the selection by dragging it or its handles. During a
// drag the window captured at the press is shown with the outlines of the
// selection moved to where the drag puts them; nothing is re-rendered.
#pragma once

#include <chrono>
#include <memory>
#include <set>

#include "model/dib.h"
#include "model/transform.h"
#include "view/tool.h"

namespace zel {

class Shape;

class SelectTool final : public Tool {
 public:
  enum DragMode { kBand = 0, kMove = 1, kCopyMove = 2, kRotate = 3, kScale = 4 };
  enum class Scope { kAll, kUnselected, kSelected };

  SelectTool() : Tool(kSelectToolId) {}

  void StylusDown(uint32_t flags, IntPoint p) override;
  void StylusUp(uint32_t flags, IntPoint p) override;
  void DoubleTap(uint32_t flags, IntPoint p) override;
  void DrawOverlay(Surface& dc) override;
  void StylusMove(uint32_t flags, IntPoint p) override;
  void Activate() override;
  void Deactivate() override;

  // The working selection again from the view's list (each index with its group).
  void Resync();
  // Empties the working selection and allows every handle again.
  void ClearSelection();

  // The topmost shape under p within the scope, -1 for none.
  int HitTest(IntPoint p, Scope scope) const;
  int dragMode() const { return dragMode_; }
  const std::set<int>& workingSelection() const { return selected_; }
  bool rotateAllowed() const { return rotateAllowed_; }
  // The frame in pixels with its nine handles, as the marks are drawn.
  IntRect PixelFrame() const;
  void Handles(IntPoint out[9]) const;

 private:
  void AddWithGroup(int index);
  void AddOne(int index);
  void RemoveWithGroup(int index);
  void RecomputeFrame();
  void CopyToView();
  bool HandleVisible(int i) const;
  // Exclusive-or, so a second call erases them; on the window when dc is null.
  void DrawMarks(Surface* dc = nullptr);
  int Classify(IntPoint p);
  Transform DragTransform() const;
  void DrawPreview(Surface& dc);
  void DrawOutline(Surface& dc, const Shape& shape, const Transform& t);
  void TakeSnapshot();
  void ComposeDrag();
  void Commit();
  void ApplyBand();
  void StartBand();

  bool rotateAllowed_ = true;
  bool cornersAllowed_ = true;
  bool edgesAllowed_ = true;
  bool freeScaling_ = true;
  // Bounds of the selection in mm/10.
  float left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  std::set<int> selected_;
  int dragMode_ = kBand;
  int grabbed_ = -1;
  int hitShape_ = -1;
  Transform dragTransform_;
  std::unique_ptr<DibImage> snapshot_;
  std::unique_ptr<DibImage> compose_;
  std::chrono::steady_clock::time_point previewStart_;
  std::vector<PointF> scratchF_;
  std::vector<IntPoint> scratch_;
};

}  // namespace zel
