// Every picture of the shared corpus: the sound ones decode to what
// ImageMagick decodes from the same file, the damaged ones (named
// corrupt_*) fail with a clear message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "interchange/picture/loaded_bitmap.h"
#include "interchange/picture/picture_decoder.h"
#include "tests/picture/magick.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

fs::path CorpusRoot() {
  if (const char* env = std::getenv("ZEL_PICTURE_CORPUS")) return env;
  return fs::path(ZEL_SOURCE_DIR) / ".." / "shared" / "corpus" / "pictures";
}

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::recursive_directory_iterator(CorpusRoot(), ec)) {
    if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool IsCorrupt(const std::string& path) { return fs::path(path).filename().string().rfind("corrupt_", 0) == 0; }

// How close our pixels must come to ImageMagick's: exactly (the JPEG files
// too, decoded by the same libjpeg-turbo), except where a partly
// transparent colour is laid over white: both round once, in different
// precisions.
int Tolerance(const std::string& path) {
  return fs::path(path).filename().string().find("alpha") != std::string::npos ? 1 : 0;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = fs::path(info.param).parent_path().filename().string() + "_" +
                     fs::path(info.param).stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

TEST(PictureCorpus, IsPresent) {
  const auto files = CorpusFiles();
  EXPECT_GE(files.size(), 30u) << "picture corpus not found at " << CorpusRoot()
                               << " (set ZEL_PICTURE_CORPUS to its folder)";
}

class CorpusPicture : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusPicture, DecodesLikeImageMagickOrFailsClearly) {
  const std::string& path = GetParam();
  LoadedBitmap loaded;
  const bool ok = loaded.Load(path);
  if (IsCorrupt(path)) {
    EXPECT_FALSE(ok) << "a damaged file must be refused";
    EXPECT_EQ(loaded.bitmap(), nullptr);
    const std::u16string& m = loaded.error().message;
    EXPECT_TRUE(m == kPictureDamaged || m == kPictureTooLarge || m == kPictureNotRecognised)
        << "unexpected message for " << path;
    EXPECT_FALSE(loaded.error().detail.empty());
    return;
  }
  ASSERT_TRUE(ok) << loaded.error().detail;
  ASSERT_NE(loaded.bitmap(), nullptr);
  const DibImage& dib = *loaded.bitmap();
  EXPECT_EQ(dib.header.bitCount, 24);
  EXPECT_GT(dib.header.height, 0) << "pictures are stored bottom-up";
  EXPECT_EQ(loaded.width(), dib.header.width);
  EXPECT_EQ(loaded.height(), dib.header.height);

  ZEL_REQUIRE_IMAGEMAGICK();
  test::RgbPicture expected;
  ASSERT_TRUE(test::MagickDecode(path, &expected)) << "ImageMagick cannot read " << path;
  EXPECT_TRUE(test::SamePixels(test::FromDib(dib), expected, Tolerance(path)));
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusPicture, ::testing::ValuesIn(CorpusFiles()), TestName);

}  // namespace
}  // namespace zel
