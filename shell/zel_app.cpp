#include "shell/zel_app.h"

#include <wx/gdicmn.h>
#include <wx/init.h>

#include "model/viewport.h"
#include "shell/main_frame.h"
#include "shell/measurement_unit.h"
#include "shell/run_editor.h"
#include "shell/wx_support.h"
#include "view/command_ids.h"
#include "view/view_preferences.h"

namespace zel {

CZelApp::CZelApp() : settings_(SettingsFile::DefaultPath()), unit_(kUnitMm) {}

bool CZelApp::OnInit() {
  // The toolkit's own profile place; the program's settings are the store's.
  SetVendorName("Orvane Applications");
  SetAppName("zel");
  SetAppDisplayName(ToWx(kAppTitle));

  // The screen's scale is measured once and kept for the whole run.
  const wxSize ppi = wxGetDisplayPPI();
  if (ppi.GetWidth() > 0) {
    SetScreenDeviceScale(float(ppi.GetWidth()) * kPixelsPerInchToScale);
    SetScreenLogPixels(ppi.GetWidth());
  }

  // The toolkit has taken its own options out of the command line; what is
  // left is at most the drawing to open.
  std::string file;
  if (argc > 1) file = PathFromWx(argv[1]);

  frame_ = new CMainFrame(*this);
  CZelDoc& doc = frame_->document();
  const bool ok = file.empty() ? doc.OnNewDocument() : doc.OpenDocumentFile(file);
  if (!ok) {
    frame_->Destroy();
    frame_ = nullptr;
    return false;
  }
  if (CZelView* view = frame_->view()) view->OnInitialUpdate();
  SetTopWindow(frame_);
  frame_->Show();
  return true;
}

int CZelApp::OnExit() {
  clipboard_.RemoveAll();
  return wxApp::OnExit();
}

bool CZelApp::OnCommand(int id) {
  if (!frame_) return false;
  switch (id) {
    case cmd::kFileNew:
      frame_->document().NewCommand();
      return true;
    case cmd::kFileOpen:
      frame_->document().OpenCommand();
      return true;
    case cmd::kAppExit:
      frame_->Close();
      return true;
    default:
      return false;
  }
}

int RunEditor(int argc, char** argv) {
  wxApp::SetInstance(new CZelApp);
  return wxEntry(argc, argv);
}

}  // namespace zel
