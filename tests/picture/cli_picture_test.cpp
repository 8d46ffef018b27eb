// Pictures through the command line: zel --export reads and writes them,
// with --size and --antialias; failures exit 1 with the message and leave
// the output file alone.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/picture/bmp_builder.h"
#include "tests/picture/magick.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

// The zel executable of the same build: <build>/app/zel beside <build>/tests/.
std::string Zel() {
  const fs::path self = fs::read_symlink("/proc/self/exe");
  return (self.parent_path().parent_path() / "app" / "zel").string();
}

struct Result {
  int status = -1;
  std::string output;  // standard output and error
};

Result RunZel(const std::string& args) {
  EXPECT_TRUE(fs::exists(Zel())) << Zel() << " is not built";
  Result r;
  std::FILE* p = ::popen((test::ShellQuote(Zel()) + " " + args + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) r.output.append(buffer, n);
  const int status = ::pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string Q(const std::string& s) { return test::ShellQuote(s); }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CliPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    test::BmpSpec spec;
    spec.width = 300;
    spec.height = 200;
    ASSERT_TRUE(test::WriteFileBytes(folder_.File("in.bmp"), test::BuildBmp(spec)));
  }
  std::string File(const std::string& name) const { return folder_.File(name); }
  test::TempFolder folder_;
};

TEST_F(CliPicture, PictureToDocumentToPictures) {
  ZEL_REQUIRE_IMAGEMAGICK();
  Result r = RunZel("--export " + Q(File("doc.pdf")) + " " + Q(File("in.bmp")));
  ASSERT_EQ(r.status, 0) << r.output;
  r = RunZel("--info " + Q(File("doc.pdf")));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("\"kind\":\"image\""), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("\"pixels\":{\"width\":220,\"height\":146}"), std::string::npos) << r.output;

  // The page's content is 220 x 146 screen pixels: written at that size.
  for (const char* name : {"out.jpg", "out.png", "out.bmp"}) {
    r = RunZel("--export " + Q(File(name)) + " " + Q(File("doc.pdf")));
    ASSERT_EQ(r.status, 0) << name << ": " << r.output;
    const std::string id = test::MagickIdentify(File(name));
    EXPECT_NE(id.find(" 220 146"), std::string::npos) << name << ": " << id;
  }
  // --size: the longer side; --antialias smooths.
  r = RunZel("--export " + Q(File("big.png")) + " --size 600 --antialias " + Q(File("doc.pdf")));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(test::MagickIdentify(File("big.png")), "PNG 600 398");
  r = RunZel("--export " + Q(File("sharp.png")) + " --size 600 " + Q(File("doc.pdf")));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(ReadText(File("big.png")), ReadText(File("sharp.png")));

  // A picture straight to a picture; --size also keeps more of the input.
  r = RunZel("--export " + Q(File("copy.png")) + " --size 300 " + Q(File("in.bmp")));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(test::MagickIdentify(File("copy.png")), "PNG 300 200");
  // ".jpeg" is written under ".jpg".
  r = RunZel("--export " + Q(File("photo.jpeg")) + " " + Q(File("in.bmp")));
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(File("photo.jpg")));
}

TEST_F(CliPicture, FailuresExitOneAndLeaveTheOutputAlone) {
  std::ofstream(File("out.jpg")) << "precious";
  std::ofstream(File("out.pdf")) << "precious";
  ASSERT_TRUE(test::WriteFileBytes(File("cut.png"), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}));
  // A picture one pixel tall: asked for 65501 pixels wide, within the pixel
  // cap but beyond what JPEG can hold.
  test::BmpSpec thin;
  thin.width = 220;
  thin.height = 1;
  ASSERT_TRUE(test::WriteFileBytes(File("thin.bmp"), test::BuildBmp(thin)));
  struct Case {
    std::string args;
    std::string message;
  };
  const Case cases[] = {
      {"--export " + Q(File("out.pdf")) + " " + Q(File("cut.png")), "The picture file is damaged or incomplete.\n"},
      {"--export " + Q(File("out.pdf")) + " " + Q(File("none.gif")), "Failed to open file!\n"},
      {"--export " + Q(File("out.jpg")) + " --size 65501 " + Q(File("thin.bmp")),
       "The picture could not be written as JPEG: Maximum supported image dimension is 65500 pixels.\n"},
      {"--export " + Q(File("out.jpg")) + " --size 100000 " + Q(File("in.bmp")),
       "The picture would be 100000 x 66667 pixels; at most 67108864 pixels can be exported.\n"},
      {"--export " + Q(File("out.jpg")) + " --size 0 " + Q(File("in.bmp")),
       "zel: --size needs a number of pixels of 1 or more\n"},
      {"--export " + Q(File("out.jpg")) + " --size", "zel: --size needs a number of pixels\n"},
      {"--export " + Q(File("out.jpg")) + " --page 2 " + Q(File("in.bmp")), "The drawing has no such page.\n"},
  };
  for (const Case& c : cases) {
    const Result r = RunZel(c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_EQ(r.output, c.message) << c.args;
  }
  EXPECT_EQ(ReadText(File("out.jpg")), "precious");
  EXPECT_EQ(ReadText(File("out.pdf")), "precious");
}

}  // namespace
}  // namespace zel
