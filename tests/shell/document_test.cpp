// The document's file commands with a scripted user: New, Open, Save, Save
// As, the modified flag, the title and the save-changes question.
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "docformat/pdf_writer.h"
#include "interchange/file_dispatch.h"
#include "interchange/picture/bitmap_export.h"
#include "platform/utf16.h"
#include "shell/file_filters.h"
#include "shell/zel_doc.h"
#include "view/command_ids.h"
#include "view/fake_view_host.h"
#include "view/setting_names.h"
#include "view/zel_view.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using testing::FakeViewHost;
using testing::MemorySettings;

// Answers message boxes and file dialogs from queues and records what was
// asked.
class ScriptedUi final : public DocumentUi {
 public:
  int MessageBox(std::u16string_view text, int /*style*/) override {
    messages.emplace_back(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected message box: " << ToUtf8(text);
      return IDCANCEL;
    }
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  bool FileDialog(FileDialogKind kind, std::u16string_view proposedName, std::string_view filter, int /*index*/,
                  std::string& path) override {
    dialogs.push_back({kind, std::u16string(proposedName), std::string(filter)});
    if (files.empty()) {
      ADD_FAILURE() << "unexpected file dialog";
      return false;
    }
    const std::optional<std::string> f = files.front();
    files.pop_front();
    if (!f) return false;
    path = *f;
    return true;
  }
  void SetWaitCursor(bool on) override { waiting += on ? 1 : -1; }
  void DocumentTitleChanged() override { ++titleChanges; }

  struct Dialog {
    FileDialogKind kind;
    std::u16string proposed;
    std::string filter;
  };
  std::deque<int> answers;
  std::deque<std::optional<std::string>> files;  // nullopt: cancelled
  std::vector<std::u16string> messages;
  std::vector<Dialog> dialogs;
  int waiting = 0;
  int titleChanges = 0;
};

std::unique_ptr<Shape> Box(float x, float y, int page = 0) {
  auto s = MakeRectangle(RectF{x, x + 100, y, y + 100});
  s->fillColor = 0x3366CC;
  s->pageIndex = page;
  s->UpdateBounds();
  return s;
}

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zel-doc-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    doc_ = std::make_unique<CZelDoc>(ui_, store_, dir_ + "/app");
    view_ = std::make_unique<CZelView>(host_, store_, unit_);
    view_->SetDocument(doc_.get());
    doc_->SetView(view_.get());
    ASSERT_TRUE(doc_->OnNewDocument());
    view_->OnInitialUpdate();
    host_.posted.clear();
    ui_.titleChanges = 0;
  }
  void TearDown() override {
    EXPECT_EQ(ui_.waiting, 0) << "the wait cursor was left on";
    EXPECT_TRUE(ui_.answers.empty()) << "a scripted answer was not asked for";
    EXPECT_TRUE(ui_.files.empty()) << "a scripted file dialog did not open";
    doc_->SetView(nullptr);
    view_.reset();
    fs::remove_all(dir_);
  }

  // A document with shapes on `pages` pages, marked modified.
  void MakeEdited(int pages) {
    Drawing& d = doc_->drawing();
    d.SetPageCount(pages);
    for (int p = 0; p < pages; ++p) d.Add(Box(10.0f * float(p), 0, p));
    doc_->SetModifiedFlag(true);
  }

  std::string dir_;
  ScriptedUi ui_;
  MemorySettings store_;
  FakeViewHost host_;
  int32_t unit_ = kUnitMm;
  std::unique_ptr<CZelDoc> doc_;
  std::unique_ptr<CZelView> view_;
};

TEST_F(DocumentTest, NewDocumentHasOnePageOfTheDefaultSize) {
  store_.dwords[std::string(setting::kPageWidth)] = 100000;
  store_.dwords[std::string(setting::kPageHeight)] = 50050;
  MakeEdited(3);
  ui_.answers = {IDNO};
  ASSERT_TRUE(doc_->NewCommand());
  EXPECT_EQ(ui_.messages.at(0), u"Save changes to Untitled?");
  const Drawing& d = doc_->drawing();
  EXPECT_EQ(d.PageCount(), 1);
  EXPECT_EQ(d.Count(), 0);
  EXPECT_FLOAT_EQ(d.GetPageSize().width, 1000.0f);
  EXPECT_FLOAT_EQ(d.GetPageSize().height, 500.5f);
  EXPECT_EQ(doc_->title(), u"Untitled");
  EXPECT_EQ(doc_->pathName(), "");
  EXPECT_FALSE(doc_->IsModified());
  EXPECT_TRUE(doc_->newDocumentFlag());
  EXPECT_EQ(host_.RunPosted(*view_), std::vector<int>{cmd::kFitPage});
}

TEST_F(DocumentTest, SaveAsPdfNamesTheDocumentAndClearsTheFlag) {
  MakeEdited(2);
  const std::string path = dir_ + "/two pages.pdf";
  ui_.files = {path};
  ASSERT_TRUE(doc_->SaveCommand());  // untitled: Save asks for a name
  ASSERT_EQ(ui_.dialogs.size(), 1u);
  EXPECT_EQ(ui_.dialogs[0].kind, FileDialogKind::kSave);
  EXPECT_EQ(ui_.dialogs[0].proposed, u"Untitled");
  EXPECT_EQ(ui_.dialogs[0].filter, kSaveAsFilter);
  EXPECT_FALSE(doc_->IsModified());
  EXPECT_EQ(doc_->pathName(), path);
  EXPECT_EQ(doc_->title(), Utf16FromUtf8(path));
  EXPECT_GT(ui_.titleChanges, 0);

  Drawing back;
  ASSERT_TRUE(ImportFile(back, path));
  EXPECT_EQ(back.PageCount(), 2);
  EXPECT_EQ(back.Count(), 2);

  // A later Save writes the same file without asking.
  doc_->drawing().Add(Box(500, 500));
  doc_->SetModifiedFlag(true);
  ASSERT_TRUE(doc_->SaveCommand());
  EXPECT_FALSE(doc_->IsModified());
  ASSERT_TRUE(ImportFile(back, path));
  EXPECT_EQ(back.Count(), 3);
}

struct NameCase {
  const char* file;
  int pages;
  bool takesName;
};

TEST_F(DocumentTest, OnlyAFileHoldingTheWholeDocumentNamesItAndClearsTheFlag) {
  const NameCase cases[] = {
      {"a.pdf", 3, true},  {"a.dxf", 1, true},   {"a.dxf", 3, false}, {"a.AI", 1, true},  {"a.ai", 2, false},
      {"a.emf", 1, true},  {"a.emf", 2, false},  {"a.plt", 1, false}, {"a.plt", 2, false},
  };
  std::vector<int> pagesWritten;
  doc_->SetDrawingWriter([&](Drawing&, const std::string&, int page, int, int, const NoticeHandler&) {
    pagesWritten.push_back(page);
    return true;
  });
  for (const NameCase& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " with " + std::to_string(c.pages) + " pages");
    doc_->OnNewDocument();
    MakeEdited(c.pages);
    view_->SetCurrentPage(c.pages - 1);
    const std::string path = dir_ + "/" + c.file;
    ASSERT_TRUE(doc_->SaveDocumentTo(path, -1, -1));
    EXPECT_EQ(pagesWritten.back(), c.pages - 1);
    EXPECT_EQ(doc_->IsModified(), !c.takesName);
    EXPECT_EQ(doc_->pathName(), c.takesName ? path : "");
    EXPECT_EQ(doc_->title(), c.takesName ? Utf16FromUtf8(path) : u"Untitled");
  }
}

TEST_F(DocumentTest, ExitAfterSavingOnePageOfSeveralStillAsks) {
  // A document read from a single-page format, grown to two pages.
  doc_->SetDrawingWriter([](Drawing&, const std::string&, int, int, int, const NoticeHandler&) { return true; });
  MakeEdited(1);
  ASSERT_TRUE(doc_->SaveDocumentTo(dir_ + "/plan.dxf", -1, -1));
  EXPECT_FALSE(doc_->IsModified());
  doc_->drawing().AddPages(1);
  doc_->SetModifiedFlag(true);
  // Yes saves the DXF again, which holds one page only: the drawing must
  // not be dropped.
  ui_.answers = {IDYES};
  EXPECT_FALSE(doc_->SaveModified());
  EXPECT_TRUE(doc_->IsModified());
  EXPECT_EQ(doc_->drawing().PageCount(), 2);
  EXPECT_EQ(ui_.messages.back(), u"Save changes to " + Utf16FromUtf8(dir_ + "/plan.dxf") + u"?");
}

TEST_F(DocumentTest, ThePageNoticeOfTheWriterIsShown) {
  doc_->SetDrawingWriter([](Drawing&, const std::string&, int, int, int, const NoticeHandler& notice) {
    notice(kSinglePageNotice);
    return true;
  });
  MakeEdited(2);
  ui_.answers = {IDOK};
  ASSERT_TRUE(doc_->SaveDocumentTo(dir_ + "/a.emf", -1, -1));
  EXPECT_EQ(ui_.messages.back(), kSinglePageNotice);
}

TEST_F(DocumentTest, SaveAsPictureKeepsTheNameAndTheFlag) {
  MakeEdited(1);
  const std::string picture = dir_ + "/copy.bmp";
  ui_.files = {picture};
  ASSERT_TRUE(doc_->SaveAsCommand());
  EXPECT_TRUE(fs::file_size(picture) > 54);
  EXPECT_TRUE(doc_->IsModified());
  EXPECT_EQ(doc_->title(), u"Untitled");
  EXPECT_EQ(doc_->pathName(), "");
}

TEST_F(DocumentTest, SaveChangesQuestionAnswersSavedOnlyWhenNothingIsLeftUnsaved) {
  // Not modified: no question.
  EXPECT_TRUE(doc_->SaveModified());
  EXPECT_TRUE(ui_.messages.empty());

  MakeEdited(1);
  ui_.answers = {IDCANCEL};
  EXPECT_FALSE(doc_->SaveModified());
  ui_.answers = {IDNO};
  EXPECT_TRUE(doc_->SaveModified());
  EXPECT_TRUE(doc_->IsModified());  // No drops the changes; it does not save them

  // Yes, then the name dialog cancelled: nothing saved, nothing dropped.
  ui_.answers = {IDYES};
  ui_.files = {std::nullopt};
  EXPECT_FALSE(doc_->SaveModified());

  // Yes, then a picture: a copy of one page, the drawing itself unsaved.
  ui_.answers = {IDYES};
  ui_.files = {dir_ + "/copy.jpg"};
  EXPECT_FALSE(doc_->SaveModified());
  EXPECT_TRUE(fs::exists(dir_ + "/copy.jpg"));

  // Yes, then a plotter file: written, but the document keeps no name and
  // stays modified.
  doc_->SetDrawingWriter([](Drawing&, const std::string&, int, int, int, const NoticeHandler&) { return true; });
  ui_.answers = {IDYES};
  ui_.files = {dir_ + "/plot.plt"};
  EXPECT_FALSE(doc_->SaveModified());
  doc_->SetDrawingWriter(ExportFile);

  // Yes, then a failing save (a format nobody writes).
  ui_.answers = {IDYES, IDOK};
  ui_.files = {dir_ + "/drawing.xyz"};
  EXPECT_FALSE(doc_->SaveModified());
  EXPECT_TRUE(doc_->IsModified());

  // Yes, then a document file: saved, so the drawing may go.
  ui_.answers = {IDYES};
  ui_.files = {dir_ + "/kept.pdf"};
  EXPECT_TRUE(doc_->SaveModified());
  EXPECT_FALSE(doc_->IsModified());
  EXPECT_TRUE(fs::exists(dir_ + "/kept.pdf"));
}

TEST_F(DocumentTest, TemplatesAreSavedInTheTemplatesFolder) {
  MakeEdited(1);
  ASSERT_TRUE(doc_->SaveDocumentTo("/nowhere/in/particular/logo.tpl", -1, -1));
  const std::string stored = dir_ + "/app/Templates/logo.tpl";
  EXPECT_TRUE(fs::exists(stored));
  EXPECT_EQ(doc_->title(), u"Untitled");
  EXPECT_TRUE(doc_->IsModified());

  ui_.answers = {IDNO};
  EXPECT_FALSE(doc_->SaveDocumentTo("C:\\work\\logo.tpl", -1, -1));
  EXPECT_EQ(ui_.messages.back(), u"Template exists - do you want to replace the existing template?");
  ui_.answers = {IDYES};
  EXPECT_TRUE(doc_->SaveDocumentTo("logo.tpl", -1, -1));
}

TEST_F(DocumentTest, SavingWithoutAViewFails) {
  MakeEdited(1);
  doc_->SetView(nullptr);
  ui_.answers = {IDOK};
  EXPECT_FALSE(doc_->SaveDocumentTo(dir_ + "/a.pdf", -1, -1));
  EXPECT_EQ(ui_.messages.back(), u"Failed to save file!");
  EXPECT_FALSE(fs::exists(dir_ + "/a.pdf"));
  doc_->SetView(view_.get());
}

TEST_F(DocumentTest, OpenReadsTheFileAndNamesTheDocumentAfterIt) {
  Drawing source;
  source.SetPageSize(1000, 700);
  source.SetPageCount(2);
  source.Add(Box(0, 0, 0));
  source.Add(Box(50, 50, 1));
  const std::string path = dir_ + "/source.pdf";
  ASSERT_TRUE(SavePdf(path, source));

  view_->SetCurrentPage(0);
  ui_.files = {path};
  ASSERT_TRUE(doc_->OpenCommand());
  EXPECT_EQ(ui_.dialogs.at(0).kind, FileDialogKind::kOpen);
  EXPECT_EQ(ui_.dialogs.at(0).filter, kOpenFilter);
  EXPECT_EQ(doc_->pathName(), path);
  EXPECT_EQ(doc_->title(), u"source.pdf");
  EXPECT_FALSE(doc_->IsModified());
  EXPECT_EQ(doc_->drawing().Count(), 2);
  EXPECT_EQ(doc_->drawing().PageCount(), 2);
  EXPECT_NEAR(doc_->drawing().GetPageSize().width, 1000.0f, 0.1f);
  EXPECT_EQ(view_->currentPage(), 0);
  // The view is fitted to the loaded shapes once the open is over.
  EXPECT_EQ(host_.RunPosted(*view_), std::vector<int>{cmd::kFitDrawing});
}

TEST_F(DocumentTest, CancellingTheQuestionLeavesTheDocumentAlone) {
  MakeEdited(2);
  ui_.answers = {IDCANCEL};
  EXPECT_FALSE(doc_->OpenDocumentFile(dir_ + "/whatever.pdf"));
  EXPECT_TRUE(doc_->IsModified());
  EXPECT_EQ(doc_->drawing().Count(), 2);
}

TEST_F(DocumentTest, AFileThatCannotBeReadLeavesANewDocument) {
  std::ofstream(dir_ + "/broken.pdf") << "not a document";
  for (const std::string& path : {dir_ + "/missing.pdf", dir_ + "/broken.pdf"}) {
    SCOPED_TRACE(path);
    MakeEdited(1);
    ui_.answers = {IDNO, IDOK};
    EXPECT_FALSE(doc_->OpenDocumentFile(path));
    EXPECT_FALSE(ui_.messages.back().empty());
    EXPECT_EQ(doc_->drawing().Count(), 0);
    EXPECT_EQ(doc_->drawing().PageCount(), 1);
    EXPECT_EQ(doc_->title(), u"Untitled");
    EXPECT_EQ(doc_->pathName(), "");
    EXPECT_FALSE(doc_->IsModified());
  }
  EXPECT_EQ(ui_.messages.at(1), u"Failed to open file!");
}

TEST_F(DocumentTest, OpeningAPictureMakesADrawingOfIt) {
  Drawing source;
  source.Add(Box(0, 0));
  const std::string picture = dir_ + "/box.bmp";
  ASSERT_TRUE(ExportBitmap(source, picture, 0, 64, 64, true, false));
  ASSERT_TRUE(doc_->OpenDocumentFile(picture));
  ASSERT_EQ(doc_->drawing().Count(), 1);
  EXPECT_EQ(doc_->drawing().GetShape(0)->kind(), KindImage);
  EXPECT_EQ(doc_->title(), u"box.bmp");
}

TEST(DocumentPaths, PictureAndWholeDocumentExtensions) {
  for (const char* p : {"a.bmp", "a.JPG", "x.jpeg", "y.Gif", "z.png", "w.2BP"}) EXPECT_TRUE(CZelDoc::IsBitmapPath(p)) << p;
  for (const char* p : {"a.pdf", "bmp", ".bm", "a.bmp.pdf", "a.tif", ""}) EXPECT_FALSE(CZelDoc::IsBitmapPath(p)) << p;
  EXPECT_TRUE(CZelDoc::IsWholeDocumentFormat("x.PDF"));
  EXPECT_TRUE(CZelDoc::IsWholeDocumentFormat("x.tpl"));
  EXPECT_FALSE(CZelDoc::IsWholeDocumentFormat("x.dxf"));
}

}  // namespace
}  // namespace zel
