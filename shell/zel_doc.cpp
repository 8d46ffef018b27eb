#include "shell/zel_doc.h"

#include <sys/stat.h>

#include <fstream>
#include <utility>

#include "interchange/file_dispatch.h"
#include "interchange/picture/bitmap_export.h"
#include "interchange/picture/picture_import.h"
#include "shell/app_directory.h"
#include "shell/file_filters.h"
#include "shell/shell_settings.h"
#include "platform/utf16.h"
#include "view/command_ids.h"
#include "view/view_host.h"
#include "view/zel_view.h"

namespace zel {

namespace {

constexpr std::u16string_view kTemplateExists = u"Template exists - do you want to replace the existing template?";
constexpr std::u16string_view kFileExists = u"File exists - do you want to replace the existing file?";

std::string LowerTail(std::string_view path, size_t n) {
  std::string tail(path.substr(path.size() - n));
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return tail;
}

bool EndsWithNoCase(std::string_view path, std::string_view ext) {
  return path.size() >= ext.size() && LowerTail(path, ext.size()) == ext;
}

bool FileExists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0;
}

std::string FileNameOf(const std::string& path) {
  const size_t sep = path.find_last_of("/\\");
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

bool WriteThroughDispatch(Drawing& drawing, const std::string& path, int page, int maxWidth, int maxHeight,
                          const NoticeHandler& notice) {
  return ExportFile(drawing, path, page, maxWidth, maxHeight, notice);
}

// Clears a flag when it goes out of scope.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

CZelDoc::CZelDoc(DocumentUi& ui, SettingsStore& settings, std::string appDirectory)
    : ui_(ui),
      settings_(settings),
      appDirectory_(std::move(appDirectory)),
      writer_(WriteThroughDispatch) {}

bool CZelDoc::IsBitmapPath(std::string_view path) {
  if (path.size() < 4) return false;
  for (std::string_view ext : {".bmp", ".jpg", ".jpeg", ".gif", ".png", ".2bp"})
    if (EndsWithNoCase(path, ext)) return true;
  return false;
}

bool CZelDoc::IsWholeDocumentFormat(std::string_view path) {
  return EndsWithNoCase(path, ".pdf") || EndsWithNoCase(path, ".tpl");
}

void CZelDoc::SetModifiedFlag(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  ui_.DocumentTitleChanged();
}

void CZelDoc::SetPathName(const std::string& path, std::u16string title) {
  pathName_ = path;
  title_ = std::move(title);
  ui_.DocumentTitleChanged();
}

int CZelDoc::CurrentPage() const { return view_ ? view_->currentPage() : 0; }

void CZelDoc::ShowLastError() {
  const std::u16string& text = drawing_.LastError();
  ui_.MessageBox(text.empty() ? kFailedToSave : std::u16string_view(text), MB_OK | MB_ICONEXCLAMATION);
}

void CZelDoc::ResetDrawing() {
  drawing_.Reset();
  const PageSize page = LoadDefaultPageSize(settings_);
  drawing_.SetPageSize(page.width, page.height);
}

bool CZelDoc::OnNewDocument() {
  ResetDrawing();
  modified_ = false;
  SetPathName("", std::u16string(kUntitled));
  if (view_) view_->ResetToInitialState();
  newDocument_ = true;
  return true;
}

bool CZelDoc::OnOpenDocument(const std::string& path) {
  // The previous drawing goes first, whatever becomes of the file.
  ResetDrawing();
  modified_ = false;
  SetPathName("", std::u16string(kUntitled));
  if (!std::ifstream(path, std::ios::binary)) {
    ui_.MessageBox(kFailedToOpen, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  ResetDrawing();
  if (view_) view_->SetCurrentPage(0);
  const bool ok = IsBitmapPath(path) ? ReadPictureDrawing(drawing_, path) : ImportFile(drawing_, path);
  if (!ok) {
    ShowLastError();
    // A reader that gave up half way may have left shapes behind.
    ResetDrawing();
  }
  return ok;
}

bool CZelDoc::SaveModified() {
  if (questionOpen_) return false;
  if (!modified_) return true;
  FlagGuard open(questionOpen_);
  const std::u16string name = pathName_.empty() ? title_ : Utf16FromUtf8(pathName_);
  const int answer = ui_.MessageBox(u"Save changes to " + name + u"?", MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return false;
  if (answer != IDYES) return true;
  // A picture, a plotter file or one page of several is written without the
  // document becoming unmodified; only a save that holds everything lets the
  // drawing go.
  return SaveCommand() && !modified_;
}

bool CZelDoc::NewCommand() {
  if (!SaveModified()) return false;
  return OnNewDocument();
}

bool CZelDoc::OpenCommand() {
  std::string path;
  if (!ui_.FileDialog(FileDialogKind::kOpen, u"", kOpenFilter, 0, path)) return false;
  return OpenDocumentFile(path);
}

bool CZelDoc::OpenDocumentFile(const std::string& path) {
  if (!SaveModified()) return false;
  WaitCursor wait(ui_);
  const bool ok = OnOpenDocument(path);
  if (ok) SetPathName(path, Utf16FromUtf8(FileNameOf(path)));
  newDocument_ = !ok;
  if (view_) view_->ResetToInitialState();
  return ok;
}

bool CZelDoc::SaveCommand() {
  if (pathName_.empty()) return SaveAsCommand();
  return SaveDocumentTo(pathName_, -1, -1);
}

bool CZelDoc::SaveAsCommand() {
  std::string path;
  if (!ui_.FileDialog(FileDialogKind::kSave, title_, kSaveAsFilter, 0, path)) return false;
  if (!IsBitmapPath(path)) return SaveDocumentTo(path, -1, -1);
  // A picture is a copy of one page: the document keeps its name and flag.
  WaitCursor wait(ui_);
  const int resolution = view_ ? view_->preferences().imageResolution : kDefaultImageResolution;
  const bool antialias = view_ && view_->preferences().antiAlias;
  if (!ExportBitmap(drawing_, path, CurrentPage(), resolution, resolution, false, antialias)) {
    ShowLastError();
    return false;
  }
  return true;
}

bool CZelDoc::OnCommand(int id) {
  switch (id) {
    case cmd::kFileSave:
      SaveCommand();
      return true;
    case cmd::kFileSaveAs:
      SaveAsCommand();
      return true;
    default:
      return false;
  }
}

bool CZelDoc::SaveDocumentTo(const std::string& path, int emfWidth, int emfHeight) {
  WaitCursor wait(ui_);
  std::string target = path;
  bool takeName = true;
  if (path.size() > 4) {
    const std::string ext = LowerTail(path, 4);
    if (ext == ".tpl") {
      // Templates live in their own folder, whatever folder was chosen.
      const std::string folder = appDirectory_ + "/Templates";
      MakeFolders(folder, 0755);
      target = folder + "/" + FileNameOf(path);
      if (FileExists(target) && ui_.MessageBox(kTemplateExists, MB_YESNO | MB_ICONQUESTION) == IDNO) return false;
      takeName = false;
    } else if (ext == ".plt") {
      takeName = false;
    }
  }
  if (!view_) {
    ui_.MessageBox(kFailedToSave, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  const auto notice = [this](std::u16string_view message) { ui_.MessageBox(message, MB_OK | MB_ICONINFORMATION); };
  if (!writer_(drawing_, target, CurrentPage(), emfWidth, emfHeight, notice)) {
    ShowLastError();
    return false;
  }
  // A single-page format holds the whole document only while it has one
  // page; otherwise the file is a copy and the document stays modified, so
  // the other pages are never dropped without a question.
  if (takeName && (IsWholeDocumentFormat(target) || drawing_.PageCount() <= 1)) {
    modified_ = false;
    SetPathName(path, Utf16FromUtf8(path));
  }
  return true;
}

bool CZelDoc::SaveCopyTo(const std::string& path) {
  if (FileExists(path) && ui_.MessageBox(kFileExists, MB_YESNO | MB_ICONQUESTION) == IDNO) return false;
  WaitCursor wait(ui_);
  if (!view_) {
    ui_.MessageBox(kFailedToSave, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (!writer_(drawing_, path, CurrentPage(), -1, -1, {})) {
    ShowLastError();
    return false;
  }
  return true;
}

}  // namespace zel
