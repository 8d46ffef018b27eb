// The headless command line: --info, --export and their failures.
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "../docformat/pdf_test_util.h"

namespace zel {
namespace {

using namespace zel::testing;

// The zel executable of the same build: <build>/app/zel beside <build>/tests/.
std::string Zel() {
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  return (self.parent_path().parent_path() / "app" / "zel").string();
}

CommandResult RunZel(const std::string& args) {
  EXPECT_TRUE(std::filesystem::exists(Zel())) << Zel() << " is not built";
  return RunCommand(Quote(Zel()) + " " + args);
}

std::string Example(const char* name) { return std::string(ZEL_SOURCE_DIR) + "/examples/" + name; }

TEST(CliTest, HelpAndVersion) {
  CommandResult r = RunZel("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("--export OUT"), std::string::npos);
  r = RunZel("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output.rfind("zel ", 0), 0u);
}

TEST(CliTest, InfoPrintsPagesAndShapesAsJson) {
  const CommandResult r = RunZel("--info " + Quote(Example("pages-and-groups.pdf")));
  ASSERT_EQ(r.status, 0) << r.output;
  const std::string& j = r.output;
  EXPECT_EQ(j.rfind("{\"pageCount\":3,\"pageSize\":{\"width\":", 0), 0u) << j;
  EXPECT_NE(j.find("\"kind\":\"image\""), std::string::npos);
  EXPECT_NE(j.find("\"text\":\"A grouped label\""), std::string::npos);
  EXPECT_NE(j.find("\"contours\":1,\"nodes\":5,\"group\":3"), std::string::npos);
  EXPECT_NE(j.find("\"group\":4"), std::string::npos);
  EXPECT_NE(j.find("\"bounds\":{\"xmin\":"), std::string::npos);
  EXPECT_EQ(j.back(), '\n');
  // One object: braces balance and close at the end.
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < j.size(); ++i) {
    if (inString) {
      if (j[i] == '\\') ++i;
      else if (j[i] == '"') inString = false;
    } else if (j[i] == '"') {
      inString = true;
    } else if (j[i] == '{' || j[i] == '[') {
      ++depth;
    } else if (j[i] == '}' || j[i] == ']') {
      --depth;
      if (depth == 0) {
        EXPECT_EQ(j.substr(i + 1), "\n");
      }
    }
  }
  EXPECT_EQ(depth, 0);
}

TEST(CliTest, InfoEscapesTextForJson) {
  TempDir dir;
  Drawing d;
  d.Add(TextShape(u"quote \" back \\ tab\t\r\nline \u00e9", {0, 0}));
  ASSERT_TRUE(SavePdf(dir / "t.pdf", d));
  const CommandResult r = RunZel("--info " + Quote(dir / "t.pdf"));
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("\"text\":\"quote \\\" back \\\\ tab\\t\\r\\nline \xc3\xa9\""), std::string::npos)
      << r.output;
}

TEST(CliTest, ExportConvertsADocument) {
  TempDir dir;
  const CommandResult r = RunZel("--export " + Quote(dir / "copy.PDF") + " --page 2 " + Quote(Example("text.pdf")));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(r.output.empty()) << r.output;
  EXPECT_TRUE(QpdfClean(dir / "copy.PDF"));
  Drawing a, b;
  ASSERT_TRUE(LoadPdf(Example("text.pdf"), a));
  ASSERT_TRUE(LoadPdf(dir / "copy.PDF", b));
  EXPECT_EQ(a.Count(), b.Count());
}

TEST(CliTest, FailuresPrintTheMessageAndLeaveTheOutputAlone) {
  TempDir dir;
  const std::string out = dir / "out.pdf";
  WriteFileBytes(out, "precious");
  WriteFileBytes(dir / "foreign.pdf", "%PDF-1.4\n%%EOF\n");
  struct Case {
    std::string args;
    std::string message;
  };
  const Case cases[] = {
      {"--export " + Quote(out) + " " + Quote(dir / "missing.pdf"), "Failed to open file!\n"},
      {"--export " + Quote(out) + " " + Quote(dir / "foreign.pdf"),
       "Only PDF documents created by Orvane Draw can be opened!\n"},
      {"--export " + Quote(dir / "out.dxf") + " " + Quote(Example("shapes.pdf")),
       "DXF export is not available in this version.\n"},
      {"--export " + Quote(dir / "out.xyz") + " " + Quote(Example("shapes.pdf")), "Failed to open file!\n"},
      {"--export " + Quote(out) + " --page 0 " + Quote(Example("shapes.pdf")),
       "zel: --page needs a page number of 1 or more\n"},
      {"--export " + Quote(out), "zel: usage: zel --export OUT [--page N] IN\n"},
      {"--info " + Quote(dir / "foreign.pdf"), "Only PDF documents created by Orvane Draw can be opened!\n"},
      {"--info", "zel: --info takes one file: zel --info IN\n"},
  };
  for (const Case& c : cases) {
    const CommandResult r = RunZel(c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_EQ(r.output, c.message) << c.args;
  }
  EXPECT_EQ(ReadFileBytes(out), "precious");
  EXPECT_FALSE(std::filesystem::exists(dir / "out.dxf"));
}

}  // namespace
}  // namespace zel
