// Import and export dispatch: the extension table, the messages, and the
// save that never costs the previous file.
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "../docformat/pdf_test_util.h"
#include "interchange/file_dispatch.h"
#include "interchange/safe_save.h"
#include "platform/utf16.h"

namespace zel {
namespace {

using namespace zel::testing;

void Sample(Drawing& d) {
  d.SetPageCount(3);
  d.Add(PathShape({Contour({{0, 0}, {100, 0}, {100, 100}}, true)}, kPenSolid, kBrushSolid, 2));
  d.Add(TextShape(u"hello", {-200, -200}));
}

size_t FilesIn(const TempDir& dir) {
  size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) n += e.is_regular_file() ? 1 : 0;
  return n;
}

TEST(FileDispatchTest, NativeDocumentsAndTemplatesRegardlessOfCase) {
  TempDir dir;
  for (const char* name : {"a.pdf", "B.PDF", "c.Tpl", "d.TPL"}) {
    Drawing d;
    Sample(d);
    std::vector<std::u16string> notices;
    ASSERT_TRUE(ExportFile(d, dir / name, 0, -1, -1, [&](std::u16string_view m) { notices.emplace_back(m); }))
        << name << ": " << ToUtf8(d.LastError());
    // All pages go to the document, without the single-page notice.
    EXPECT_TRUE(notices.empty());
    EXPECT_TRUE(QpdfClean(dir / name));
    Drawing back;
    ASSERT_TRUE(ImportFile(back, dir / name)) << name;
    EXPECT_EQ(back.PageCount(), 3);
    EXPECT_EQ(back.Count(), 2);
    EXPECT_TRUE(back.LastError().empty());
  }
}

TEST(FileDispatchTest, MessagesOfTheFailures) {
  struct Case {
    const char* path;
    std::u16string_view import;
    std::u16string_view exported;
  };
  const Case cases[] = {
      {"drawing.svg", kFailedToOpen, kFailedToOpen},     // unknown extension
      {"drawingxai", kFailedToOpen, kFailedToOpen},      // "xai" is no ".ai"
      {"drawing.wmf", u"Metafile import is not available in this version.", kFailedToOpen},
      {"drawing.emf", u"Metafile import is not available in this version.",
       u"Enhanced Metafile export is not available in this version."},
      {"drawing.DXF", u"DXF import is not available in this version.", u"DXF export is not available in this version."},
      {"drawing.plt", u"HPGL import is not available in this version.", u"HPGL export is not available in this version."},
      {"drawing.Ai", u"Adobe Illustrator import is not available in this version.",
       u"Adobe Illustrator export is not available in this version."},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    Drawing d;
    Sample(d);
    EXPECT_FALSE(ExportFile(d, dir / c.path, 0, -1, -1));
    EXPECT_EQ(d.LastError(), c.exported);
    EXPECT_FALSE(ImportFile(d, dir / c.path));
    EXPECT_EQ(d.LastError(), c.import);
  }
  // Nothing was written.
  EXPECT_EQ(FilesIn(dir), 0u);
  Drawing d;
  EXPECT_FALSE(ImportFile(d, "abc"));
  EXPECT_EQ(d.LastError(), kFailedToOpen);
  EXPECT_FALSE(ExportFile(d, "abc", 0, -1, -1));
  EXPECT_EQ(d.LastError(), kFailedToSave);
}

TEST(FileDispatchTest, ReaderMessagesReachTheCaller) {
  TempDir dir;
  WriteFileBytes(dir / "foreign.pdf", "%PDF-1.4\n%%EOF\n");
  WriteFileBytes(dir / "empty.pdf", "");
  Drawing d;
  EXPECT_FALSE(ImportFile(d, dir / "foreign.pdf"));
  EXPECT_EQ(d.LastError(), kNotOurDocument);
  EXPECT_FALSE(ImportFile(d, dir / "empty.pdf"));
  EXPECT_EQ(d.LastError(), kFailedToOpen);
  EXPECT_FALSE(ImportFile(d, dir / "missing.pdf"));
  EXPECT_EQ(d.LastError(), kFailedToOpen);
}

TEST(FileDispatchTest, ExportRenumbersGroupsOfTheDrawing) {
  Drawing d;
  for (int id : {7, 0, 3, 7}) {
    d.Add(PathShape({Contour({{0, 0}, {1, 1}}, false)}));
    d.GetShape(d.Count() - 1)->groupId = id;
  }
  TempDir dir;
  ASSERT_TRUE(ExportFile(d, dir / "g.pdf", 0, -1, -1));
  EXPECT_EQ(d.GetShape(0)->groupId, 1);
  EXPECT_EQ(d.GetShape(1)->groupId, 0);
  EXPECT_EQ(d.GetShape(2)->groupId, 2);
  EXPECT_EQ(d.GetShape(3)->groupId, 1);
}

TEST(FileDispatchTest, FailedExportLeavesNoFileBehind) {
  Drawing d;
  Sample(d);
  EXPECT_FALSE(ExportFile(d, "/nonexistent-folder/out.pdf", 0, -1, -1));
  EXPECT_EQ(d.LastError(), kFailedToOpen);
}

// A save that fails halfway (here: the disk refuses more than 4 KB) used to
// truncate the user's document first. The old file must stay byte for byte.
TEST(FileDispatchTest, SaveThatFailsHalfwayKeepsTheOldFile) {
  TempDir dir;
  const std::string target = dir / "doc.pdf";
  Drawing small;
  small.Add(TextShape(u"the old document", {0, 0}));
  ASSERT_TRUE(ExportFile(small, target, 0, -1, -1));
  const std::string before = ReadFileBytes(target);
  ASSERT_LT(before.size(), 4096u);

  Drawing large;
  for (int i = 0; i < 2000; ++i) large.Add(PathShape({Contour({{float(i), 0}, {0, float(i)}}, false)}));
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = old;
  limited.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bool saved = ExportFile(large, target, 0, -1, -1);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);

  EXPECT_FALSE(saved);
  EXPECT_EQ(large.LastError(), kFailedToOpen);
  EXPECT_EQ(ReadFileBytes(target), before);
  EXPECT_EQ(FilesIn(dir), 1u);  // no temporary file left
  Drawing back;
  ASSERT_TRUE(ImportFile(back, target));
  EXPECT_EQ(back.GetShape(0)->text()->text, u"the old document");
}

TEST(FileDispatchTest, ReplacedFileKeepsPermissionsAndLinks) {
  TempDir dir;
  const std::string real = dir / "real.pdf";
  const std::string link = dir / "link.pdf";
  Drawing d;
  Sample(d);
  ASSERT_TRUE(ExportFile(d, real, 0, -1, -1));
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  std::filesystem::create_symlink(real, link);
  d.Add(TextShape(u"more", {0, 0}));
  ASSERT_TRUE(ExportFile(d, link, 0, -1, -1));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  struct stat st;
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  Drawing back;
  ASSERT_TRUE(ImportFile(back, real));
  EXPECT_EQ(back.Count(), 3);
}

TEST(SafeSaveTest, WriterFailureRemovesTheTemporaryFile) {
  TempDir dir;
  WriteFileBytes(dir / "keep.txt", "old");
  std::string temp;
  EXPECT_FALSE(SafeSave(dir / "keep.txt", [&](const std::string& t) {
    temp = t;
    WriteFileBytes(t, "partial");
    return false;
  }));
  EXPECT_EQ(std::filesystem::path(temp).parent_path(), dir.path());
  EXPECT_FALSE(std::filesystem::exists(temp));
  EXPECT_EQ(ReadFileBytes(dir / "keep.txt"), "old");
  EXPECT_TRUE(SafeSave(dir / "keep.txt", [&](const std::string& t) {
    WriteFileBytes(t, "new");
    return true;
  }));
  EXPECT_EQ(ReadFileBytes(dir / "keep.txt"), "new");
  EXPECT_EQ(FilesIn(dir), 1u);
}

}  // namespace
}  // namespace zel
