// The view's viewport commands: zooming, fitting, scrolling, grid and
// scroll bars.
#include "view/command_ids.h"
#include "view/zel_view.h"

namespace zel {

void CZelView::UpdateScrollBars() {
  const ScrollPositions p = ScrollBarPositions(viewport_);
  host_.SetScrollBarPosition(true, p.horizontal);
  host_.SetScrollBarPosition(false, p.vertical);
}

void CZelView::FitDrawingCommand() {
  if (drawing()) {
    FitDrawing(viewport_, Client(), *drawing(), currentPage_);
  } else {
    FitDrawing(viewport_, Client(), RectF{});
  }
  UpdateScrollBars();
  host_.Invalidate(true);
}

void CZelView::FitPageCommand() {
  const PageSize page = drawing() ? drawing()->GetPageSize() : PageSize{};
  if (!FitPage(viewport_, Client(), page)) {
    host_.PostCommand(cmd::kZoomOneToOne);
    return;
  }
  UpdateScrollBars();
  host_.Invalidate(true);
  ActivateTool(kPanTool);
}

void CZelView::AfterZoom() {
  UpdateScrollBars();
  ActivateTool(kPanTool);
  host_.Invalidate(true);
}

void CZelView::OnScroll(bool horizontal, int code, int position) {
  if (ScrollView(viewport_, Client(), horizontal, code, position)) {
    UpdateScrollBars();
    host_.Invalidate(true);
  }
}

namespace {

// The commands that make a tool current, with the tool they activate.
struct ToolCommand {
  int command;
  int tool;
};
constexpr ToolCommand kToolCommands[] = {
    {cmd::kToolSelect, 0},     {cmd::kToolZoom, 1},  {cmd::kZoomArea, 1},      {cmd::kToolPan, 2},
    {cmd::kToolDraw, 9},       {cmd::kToolBezier, 10}, {cmd::kToolLine, 11}, {cmd::kToolRectangle, 12},
    {cmd::kToolEllipse, 13},
};

}  // namespace

bool CZelView::OnCommand(int id) {
  for (const ToolCommand& c : kToolCommands) {
    if (c.command == id && id != cmd::kToolPan) {
      ActivateTool(c.tool);
      return true;
    }
  }
  switch (id) {
    case cmd::kZoomIn:
      ZoomInView(viewport_, Client());
      AfterZoom();
      return true;
    case cmd::kZoomOut:
      ZoomOutView(viewport_, Client());
      AfterZoom();
      return true;
    case cmd::kZoomOneToOne:
      ZoomOneToOne(viewport_, Client());
      AfterZoom();
      return true;
    case cmd::kFitDrawing:
      FitDrawingCommand();
      return true;
    case cmd::kFitToWindow:
      FitDrawingCommand();
      ActivateTool(kPanTool);
      return true;
    case cmd::kFitPage:
      FitPageCommand();
      return true;
    case cmd::kToolPan:
      ActivateTool(kPanTool);
      return true;
    case cmd::kToolText:
      PlaceText();
      return true;
    case cmd::kScrollLeft:
      OnScroll(true, SB_LINELEFT, 0);
      return true;
    case cmd::kScrollRight:
      OnScroll(true, SB_LINERIGHT, 0);
      return true;
    case cmd::kScrollUp:
      OnScroll(false, SB_LINEUP, 0);
      return true;
    case cmd::kScrollDown:
      OnScroll(false, SB_LINEDOWN, 0);
      return true;
    case cmd::kGrid:
      prefs_.showGrid = !prefs_.showGrid;
      host_.Invalidate(true);
      return true;
    case cmd::kScrollBars: {
      prefs_.showScrollBars = !prefs_.showScrollBars;
      const ScrollRange range = ScrollBarRange(prefs_.showScrollBars);
      host_.SetScrollBarRange(true, range.min, range.max);
      host_.SetScrollBarRange(false, range.min, range.max);
      UpdateScrollBars();
      return true;
    }
    default:
      return false;
  }
}

bool CZelView::OnUpdateCommand(int id, CommandUi& ui) const {
  // Tool commands are always enabled and checked while their tool is current.
  for (const ToolCommand& c : kToolCommands) {
    if (c.command == id && id != cmd::kZoomArea) {
      ui.enabled = true;
      ui.checked = currentTool_ == c.tool;
      return true;
    }
  }
  switch (id) {
    case cmd::kToolText:
      ui.enabled = true;
      ui.checked = currentTool_ == 6;
      return true;
    case cmd::kGrid:
      ui.enabled = true;
      ui.checked = prefs_.showGrid;
      return true;
    case cmd::kScrollBars:
      ui.enabled = true;
      ui.checked = prefs_.showScrollBars;
      return true;
    default:
      return false;
  }
}

}  // namespace zel
