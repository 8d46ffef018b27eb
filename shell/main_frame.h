// CMainFrame: the editor's one top-level window. It carries the menus and
// accelerators, holds the view's window, routes every command to the view,
// the document, itself and the application in that order, and provides the
// document's framework services.
#pragma once

#include <memory>

#include <wx/frame.h>

#include "shell/document_ui.h"
#include "shell/view_window.h"
#include "shell/zel_doc.h"

namespace zel {

class CZelApp;

class CMainFrame final : public wxFrame, public DocumentUi {
 public:
  explicit CMainFrame(CZelApp& app);
  ~CMainFrame() override;

  CZelDoc& document() { return *document_; }
  CZelView* view() const { return viewWindow_ ? viewWindow_->view() : nullptr; }

  // Sends a command along the route; false when nobody handled it.
  bool RouteCommand(int id);

  // --- DocumentUi -----------------------------------------------------------------
  int MessageBox(std::u16string_view text, int style) override;
  bool FileDialog(FileDialogKind kind, std::u16string_view proposedName, std::string_view filter, int filterIndex,
                  std::string& path) override;
  void SetWaitCursor(bool on) override;
  void DocumentTitleChanged() override;

 private:
  void BuildMenus();
  void OnMenu(wxCommandEvent& event);
  void OnUpdateUi(wxUpdateUIEvent& event);
  void OnClose(wxCloseEvent& event);

  CZelApp& app_;
  CViewWindow* viewWindow_ = nullptr;  // a child window, owned by the frame
  std::unique_ptr<CZelDoc> document_;
  int busy_ = 0;
};

}  // namespace zel
