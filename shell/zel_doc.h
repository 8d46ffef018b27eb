// CZelDoc: the one document of the editor. It owns the Drawing, carries the
// file commands (New, Open, Save, Save As) with the document's path name,
// title and modified flag, and asks the save-changes question before the
// drawing is replaced or the program ends. It never parses a file itself:
// drawings go through ImportFile and ExportFile, pictures through the
// picture reader and the bitmap exporter.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "interchange/file_dispatch.h"
#include "model/drawing.h"
#include "shell/document_ui.h"
#include "view/settings_store.h"
#include "view/view_document.h"

namespace zel {

class CZelView;

inline constexpr std::u16string_view kUntitled = u"Untitled";

// Writes a drawing file as ExportFile does (which it is, unless a test puts
// a recorder in its place).
using DrawingWriter = std::function<bool(Drawing& drawing, const std::string& path, int page, int maxWidth,
                                         int maxHeight, const NoticeHandler& notice)>;

class CZelDoc final : public ViewDocument {
 public:
  // appDirectory holds the Templates folder.
  CZelDoc(DocumentUi& ui, SettingsStore& settings, std::string appDirectory);
  CZelDoc(const CZelDoc&) = delete;
  CZelDoc& operator=(const CZelDoc&) = delete;

  void SetDrawingWriter(DrawingWriter writer) { writer_ = std::move(writer); }

  // The view that shows the document (null when there is none).
  void SetView(CZelView* view) { view_ = view; }
  CZelView* view() const { return view_; }

  Drawing& drawing() override { return drawing_; }
  const Drawing& drawing() const { return drawing_; }
  bool IsModified() const override { return modified_; }
  void SetModifiedFlag(bool modified) override;
  // Empty for a document that was never saved or opened.
  const std::string& pathName() const { return pathName_; }
  const std::u16string& title() const { return title_; }
  // Set by every new-document initialisation.
  bool newDocumentFlag() const { return newDocument_; }
  void ClearNewDocumentFlag() { newDocument_ = false; }

  // --- framework hooks ---------------------------------------------------------
  // An empty drawing of one page of the default page size.
  bool OnNewDocument();
  // Replaces the drawing by the file's content; false (with the message
  // shown) when the file cannot be read.
  bool OnOpenDocument(const std::string& path);
  // The save-changes question. True when the drawing may be replaced or
  // dropped: it was not modified, the user said No, or it was saved so
  // that it is no longer modified.
  bool SaveModified();

  // --- commands ----------------------------------------------------------------
  // New: the question, then a new document.
  bool NewCommand();
  // Open: the dialog, then OpenDocumentFile.
  bool OpenCommand();
  // The question, then the file; on failure the document is a new one.
  bool OpenDocumentFile(const std::string& path);
  bool SaveCommand();
  bool SaveAsCommand();
  // Handles the document's own commands (Save, Save As); false for others.
  bool OnCommand(int id);

  // Writes the document; a ".tpl" goes into the templates folder. The
  // document takes the path as its name, and is no longer modified, only
  // when the file holds the whole document: a ".plt", a ".tpl" or one page
  // of a longer document written to a single-page format leaves both alone.
  bool SaveDocumentTo(const std::string& path, int emfWidth, int emfHeight);
  // Writes the current page to a file without touching the name or flag.
  bool SaveCopyTo(const std::string& path);

  // ".bmp", ".jpg", ".jpeg", ".gif", ".png" or ".2bp" in any case.
  static bool IsBitmapPath(std::string_view path);
  // ".pdf" and ".tpl" hold every page; the other formats one page.
  static bool IsWholeDocumentFormat(std::string_view path);

 private:
  void ResetDrawing();
  void SetPathName(const std::string& path, std::u16string title);
  int CurrentPage() const;
  void ShowLastError();

  DocumentUi& ui_;
  SettingsStore& settings_;
  std::string appDirectory_;
  CZelView* view_ = nullptr;
  DrawingWriter writer_;
  Drawing drawing_;
  bool newDocument_ = false;
  bool modified_ = false;
  bool questionOpen_ = false;
  std::string pathName_;
  std::u16string title_{kUntitled};
};

}  // namespace zel
