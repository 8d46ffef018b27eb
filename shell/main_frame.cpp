#include "shell/main_frame.h"

#include <wx/accel.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "shell/app_directory.h"
#include "shell/wx_support.h"
#include "shell/zel_app.h"
#include "view/command_ids.h"

namespace zel {

CMainFrame::CMainFrame(CZelApp& app)
    : wxFrame(nullptr, wxID_ANY, ToWx(kAppTitle), wxDefaultPosition, wxSize(800, 600)), app_(app) {
  BuildMenus();
  viewWindow_ = new CViewWindow(this, this);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(viewWindow_, 1, wxEXPAND);
  SetSizer(sizer);

  document_ = std::make_unique<CZelDoc>(*this, app_.settings(), AppDirectory());
  viewWindow_->SetView(std::make_unique<CZelView>(*viewWindow_, app_.settings(), app_.measurementUnit()));
  viewWindow_->view()->SetDocument(document_.get());
  document_->SetView(viewWindow_->view());

  Bind(wxEVT_MENU, &CMainFrame::OnMenu, this);
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateUi, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  DocumentTitleChanged();
}

CMainFrame::~CMainFrame() {
  // The view (and with it the settings it writes back) goes before the
  // document it points to.
  if (document_) document_->SetView(nullptr);
  DestroyChildren();
  viewWindow_ = nullptr;
  while (busy_ > 0) SetWaitCursor(false);
}

void CMainFrame::BuildMenus() {
  auto* file = new wxMenu;
  file->Append(WxIdFromCommand(cmd::kFileNew), "New\tCtrl+N");
  file->Append(WxIdFromCommand(cmd::kFileOpen), "Open...\tCtrl+O");
  file->AppendSeparator();
  file->Append(WxIdFromCommand(cmd::kFileSave), "Save\tCtrl+S");
  file->Append(WxIdFromCommand(cmd::kFileSaveAs), "Save As...");
  file->AppendSeparator();
  file->Append(WxIdFromCommand(cmd::kAppExit), "E&xit\tCtrl+Q");
  auto* view = new wxMenu;
  view->AppendCheckItem(WxIdFromCommand(cmd::kGrid), "Grid");
  view->AppendCheckItem(WxIdFromCommand(cmd::kScrollBars), "Scrollbars");
  view->AppendSeparator();
  view->Append(WxIdFromCommand(cmd::kZoomIn), "Zoom In");
  view->Append(WxIdFromCommand(cmd::kZoomOut), "Zoom Out");
  view->Append(WxIdFromCommand(cmd::kZoomOneToOne), "Zoom 1:1");
  view->Append(WxIdFromCommand(cmd::kFitPage), "Fit Page");
  view->Append(WxIdFromCommand(cmd::kFitToWindow), "Fit To Window");
  // The tools: a menu and a toolbar of check items, kept checked by the
  // view's update rules.
  struct ToolItem {
    int command;
    const char* label;
  };
  constexpr ToolItem kTools[] = {
      {cmd::kToolSelect, "&Select"}, {cmd::kToolZoom, "&Zoom"},         {cmd::kToolPan, "&Pan"},
      {cmd::kToolText, "&Text"},     {cmd::kToolDraw, "&Draw"},         {cmd::kToolBezier, "&Bezier"},
      {cmd::kToolLine, "&Line"},     {cmd::kToolRectangle, "&Rectangle"}, {cmd::kToolEllipse, "&Ellipse"},
  };
  auto* tools = new wxMenu;
  auto* toolbar = CreateToolBar(wxTB_HORIZONTAL | wxTB_TEXT | wxTB_NOICONS);
  for (const ToolItem& t : kTools) {
    tools->AppendCheckItem(WxIdFromCommand(t.command), t.label);
    wxString label = t.label;
    label.Replace("&", "");
    toolbar->AddCheckTool(WxIdFromCommand(t.command), label, wxBitmap(16, 16));
  }
  toolbar->Realize();
  auto* bar = new wxMenuBar;
  bar->Append(file, "File");
  bar->Append(view, "View");
  bar->Append(tools, "&Tools");
  SetMenuBar(bar);

  wxAcceleratorEntry keys[] = {
      {wxACCEL_NORMAL, WXK_LEFT, WxIdFromCommand(cmd::kScrollLeft)},
      {wxACCEL_NORMAL, WXK_RIGHT, WxIdFromCommand(cmd::kScrollRight)},
      {wxACCEL_NORMAL, WXK_UP, WxIdFromCommand(cmd::kScrollUp)},
      {wxACCEL_NORMAL, WXK_DOWN, WxIdFromCommand(cmd::kScrollDown)},
  };
  SetAcceleratorTable(wxAcceleratorTable(int(std::size(keys)), keys));
}

bool CMainFrame::RouteCommand(int id) {
  if (CZelView* v = view(); v && v->OnCommand(id)) return true;
  if (document_ && document_->OnCommand(id)) return true;
  return app_.OnCommand(id);
}

void CMainFrame::OnMenu(wxCommandEvent& event) {
  if (!RouteCommand(CommandFromWxId(event.GetId()))) event.Skip();
}

void CMainFrame::OnUpdateUi(wxUpdateUIEvent& event) {
  CommandUi ui;
  if (CZelView* v = view(); v && v->OnUpdateCommand(CommandFromWxId(event.GetId()), ui)) {
    event.Enable(ui.enabled);
    if (event.IsCheckable()) event.Check(ui.checked);
  }
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  if (event.CanVeto() && document_ && !document_->SaveModified()) {
    event.Veto();
    return;
  }
  Destroy();
}

int CMainFrame::MessageBox(std::u16string_view text, int style) {
  return ShowMessageBox(IsShown() ? this : nullptr, text, style);
}

bool CMainFrame::FileDialog(FileDialogKind kind, std::u16string_view proposedName, std::string_view filter,
                            int filterIndex, std::string& path) {
  return ShowFileDialog(this, kind, proposedName, filter, filterIndex, path);
}

void CMainFrame::SetWaitCursor(bool on) {
  if (on) {
    ++busy_;
    wxBeginBusyCursor();
  } else if (busy_ > 0) {
    --busy_;
    wxEndBusyCursor();
  }
}

void CMainFrame::DocumentTitleChanged() {
  if (!document_) return;
  SetTitle(ToWx(document_->title()) + " - " + ToWx(kAppTitle));
}

}  // namespace zel
