// The framework services the document uses: message boxes, file dialogs,
// the wait cursor, and telling the frame that its caption changed. The
// main frame provides them on the desktop; tests script them.
#pragma once

#include <string>
#include <string_view>

namespace zel {

enum class FileDialogKind { kOpen, kSave };

class DocumentUi {
 public:
  virtual ~DocumentUi() = default;
  // IDOK, IDYES, IDNO or IDCANCEL (view/view_host.h).
  virtual int MessageBox(std::u16string_view text, int style) = 0;
  // A file dialog with a filter of kind file_filters.h, the entry
  // filterIndex (zero-based) chosen at first and, for saving, the name
  // proposed. Save dialogs ask before replacing a file. False when cancelled.
  virtual bool FileDialog(FileDialogKind kind, std::u16string_view proposedName, std::string_view filter,
                          int filterIndex, std::string& path) = 0;
  virtual void SetWaitCursor(bool on) = 0;
  // The title or modified flag changed.
  virtual void DocumentTitleChanged() = 0;
};

// Shows the wait cursor for as long as it lives.
class WaitCursor {
 public:
  explicit WaitCursor(DocumentUi& ui) : ui_(ui) { ui_.SetWaitCursor(true); }
  ~WaitCursor() { ui_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  DocumentUi& ui_;
};

}  // namespace zel
