// The view's stylus routing and tool switching, and the services the tools
// use: the window pixels for feedback, snapping, adding shapes.
#include <algorithm>

#include "render/surface.h"
#include "view/bezier_tool.h"
#include "view/command_ids.h"
#include "view/draw_tool.h"
#include "view/select_tool.h"
#include "view/shape_tools.h"
#include "view/text_tool.h"
#include "view/tool.h"
#include "view/zel_view.h"
#include "view/zoom_pan_tools.h"

namespace zel {

void CZelView::EnsureTools() {
  if (!tools_.empty()) return;
  tools_.resize(kShapeToolId + 1);
  tools_[kSelectToolId] = std::make_shared<SelectTool>();
  tools_[kZoomToolId] = std::make_shared<ZoomTool>();
  tools_[kPanToolId] = std::make_shared<PanTool>();
  tools_[kTextToolId] = std::make_shared<TextTool>();
  tools_[kDrawToolId] = std::make_shared<DrawTool>();
  tools_[kBezierToolId] = std::make_shared<BezierTool>();
  tools_[kLineToolId] = std::make_shared<LineTool>();
  tools_[kRectangleToolId] = std::make_shared<RectangleTool>();
  tools_[kEllipseToolId] = std::make_shared<EllipseTool>();
  for (auto& tool : tools_)
    if (tool) tool->SetView(this);
}

Tool* CZelView::GetTool(int id) {
  EnsureTools();
  if (id < 0 || id >= static_cast<int>(tools_.size())) return nullptr;
  return tools_[static_cast<size_t>(id)].get();
}

void CZelView::ActivateTool(int id) {
  Tool* next = GetTool(id);
  if (!next) {
    id = kPanToolId;
    next = GetTool(id);
  }
  if (id == currentTool_) {
    // Choosing the Bezier tool again finishes the path being placed.
    if (id == kBezierToolId) static_cast<BezierTool*>(next)->Finish();
    return;
  }
  if (Tool* previous = CurrentToolObject()) previous->Deactivate();
  currentTool_ = id;
  next->Activate();
  // Only the selection-keeping tools hold a selection.
  if (id != kSelectToolId && id != kShapeToolId) {
    selection_.clear();
    static_cast<SelectTool*>(GetTool(kSelectToolId))->ClearSelection();
  }
  host_.Invalidate(true);
}

void CZelView::ResyncSelection() {
  selection_ = drawing() ? ValidSelection(*drawing(), selection_) : Selection{};
  auto* select = static_cast<SelectTool*>(GetTool(kSelectToolId));
  if (currentTool_ == kSelectToolId) select->Resync();
}

void CZelView::OnStylusDown(uint32_t flags, IntPoint p) {
  if (Tool* tool = CurrentToolObject(); tool && drawing()) tool->StylusDown(flags, p);
}

void CZelView::OnStylusMove(uint32_t flags, IntPoint p) {
  if (Tool* tool = CurrentToolObject(); tool && drawing()) tool->StylusMove(flags, p);
}

void CZelView::OnStylusUp(uint32_t flags, IntPoint p) {
  if (Tool* tool = CurrentToolObject(); tool && drawing()) tool->StylusUp(flags, p);
}

void CZelView::OnDoubleTap(uint32_t flags, IntPoint p) {
  if (Tool* tool = CurrentToolObject(); tool && drawing()) tool->DoubleTap(flags, p);
}

void CZelView::OnTimer(int id) {
  if (Tool* tool = CurrentToolObject()) tool->Timer(id);
}

void CZelView::DrawToolOverlay(Surface& window) {
  if (Tool* tool = CurrentToolObject(); tool && drawing()) tool->DrawOverlay(window);
}

DibImage* CZelView::FeedbackPixels() {
  const IntRect client = Client();
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0 || !EnsureBitmaps(width, height)) return nullptr;
  return window_.get();
}

void CZelView::PresentFeedback(const IntRect& area) {
  if (!window_) return;
  const IntRect clipped{std::max(area.left, 0), std::max(area.top, 0),
                        std::min(area.right, int(window_->header.width)),
                        std::min(area.bottom, int(window_->header.height))};
  if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) return;
  host_.Present(*window_, clipped);
}

void CZelView::MarkModified() {
  if (document_) document_->SetModifiedFlag(true);
}

IntPoint CZelView::SnapPoint(IntPoint p) const { return zel::SnapPoint(viewport_, p, prefs_.snapSpacing); }

void CZelView::AddPath(SubPath nodes, bool open) {
  Drawing* d = drawing();
  if (!d || nodes.empty()) return;
  auto shape = std::make_unique<Shape>(KindPath);
  PathContent* path = shape->path();
  path->subPaths.push_back(std::move(nodes));
  path->penStyle = style_.penStyle;
  path->lineWidth = style_.lineWidth;
  path->penColor = style_.penColor;
  path->brushStyle = open ? kBrushNull : style_.brushStyle;
  shape->fillColor = style_.fillColor;
  shape->pageIndex = currentPage_;
  shape->UpdateBounds();
  (void)undo_.RecordAdd(true, 1);
  d->Add(std::move(shape));
  MarkModified();
}

void CZelView::PlaceText() {
  Drawing* d = drawing();
  if (!d) return;
  const int previous = currentTool_;
  ActivateTool(kTextToolId);
  const int before = d->Count();
  Tool* text = GetTool(kTextToolId);
  text->StylusDown(0, IntPoint{100, 100});
  text->StylusUp(0, IntPoint{100, 100});
  if (d->Count() <= before) {
    ActivateTool(previous);
    return;
  }
  selection_.assign(1, d->Count() - 1);
  // Placed as Paste places shapes: its top-left corner under pixel (10, 10).
  MoveTopLeftTo(*d, selection_, viewport_.fromScreen(IntPoint{10, 10}));
  ActivateTool(kSelectToolId);
  ResyncSelection();
}

}  // namespace zel
