// ImageMagick as the reference reader of pictures in the picture tests.
// Tests that need it fail (they do not skip) when it is missing: install
// the imagemagick package.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <stdlib.h>

#include "model/dib.h"

namespace zel::test {

// 8-bit RGB samples, top row first.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(int x, int y) const { return rgb.data() + 3 * (size_t(y) * size_t(width) + size_t(x)); }
};

inline std::string ShellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs a command and returns its standard output; false when it fails.
inline bool RunCommand(const std::string& command, std::string* output) {
  std::FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (!p) return false;
  output->clear();
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) output->append(buffer, n);
  return ::pclose(p) == 0;
}

inline bool HaveImageMagick() {
  std::string out;
  return RunCommand("convert -version", &out) && out.find("ImageMagick") != std::string::npos;
}

#define ZEL_REQUIRE_IMAGEMAGICK() \
  ASSERT_TRUE(::zel::test::HaveImageMagick()) << "ImageMagick's convert is needed: apt-get install imagemagick"

inline bool ParsePpm(const std::string& data, RgbPicture* out) {
  size_t pos = 0;
  auto token = [&](std::string* t) {
    while (pos < data.size() && (std::isspace(static_cast<unsigned char>(data[pos])) || data[pos] == '#')) {
      if (data[pos] == '#') {
        while (pos < data.size() && data[pos] != '\n') ++pos;
      } else {
        ++pos;
      }
    }
    t->clear();
    while (pos < data.size() && !std::isspace(static_cast<unsigned char>(data[pos]))) *t += data[pos++];
    return !t->empty();
  };
  std::string magic, w, h, maxval;
  if (!token(&magic) || magic != "P6" || !token(&w) || !token(&h) || !token(&maxval) || maxval != "255") return false;
  ++pos;  // the single white space before the samples
  out->width = std::stoi(w);
  out->height = std::stoi(h);
  const size_t need = 3 * size_t(out->width) * size_t(out->height);
  if (data.size() - pos < need) return false;
  out->rgb.assign(data.begin() + long(pos), data.begin() + long(pos + need));
  return true;
}

// ImageMagick's decoding of the first frame, transparent parts laid over
// white as our readers do.
inline bool MagickDecode(const std::string& path, RgbPicture* out) {
  std::string ppm;
  if (!RunCommand("convert " + ShellQuote(path + "[0]") +
                      " -background white -alpha remove -alpha off -depth 8 ppm:-",
                  &ppm))
    return false;
  return ParsePpm(ppm, out);
}

// "FORMAT WIDTH HEIGHT" as identify sees the file, or empty.
inline std::string MagickIdentify(const std::string& path) {
  std::string out;
  if (!RunCommand("identify -format '%m %w %h\\n' " + ShellQuote(path), &out)) return {};
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

inline RgbPicture FromDib(const DibImage& dib) {
  RgbPicture p;
  p.width = dib.header.width;
  p.height = dib.header.height < 0 ? -dib.header.height : dib.header.height;
  p.rgb.resize(3 * size_t(p.width) * size_t(p.height));
  for (int y = 0; y < p.height; ++y) {
    const uint8_t* row = dib.bits.data() + dib.RowOffsetFromTop(y);
    for (int x = 0; x < p.width; ++x) {
      uint8_t* d = p.rgb.data() + 3 * (size_t(y) * size_t(p.width) + size_t(x));
      d[0] = row[3 * x + 2], d[1] = row[3 * x + 1], d[2] = row[3 * x];
    }
  }
  return p;
}

// Same size, and no sample further than tolerance from the other's. Reports
// the first pixel beyond it and the largest difference seen.
inline ::testing::AssertionResult SamePixels(const RgbPicture& actual, const RgbPicture& expected, int tolerance) {
  if (actual.width != expected.width || actual.height != expected.height)
    return ::testing::AssertionFailure() << "size " << actual.width << " x " << actual.height << ", expected "
                                         << expected.width << " x " << expected.height;
  int worst = 0;
  std::string first;
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        const int d = std::abs(int(actual.At(x, y)[c]) - int(expected.At(x, y)[c]));
        if (d > worst) worst = d;
        if (d > tolerance && first.empty()) {
          const uint8_t* a = actual.At(x, y);
          const uint8_t* e = expected.At(x, y);
          first = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + std::to_string(a[0]) + "," +
                  std::to_string(a[1]) + "," + std::to_string(a[2]) + ", expected " + std::to_string(e[0]) + "," +
                  std::to_string(e[1]) + "," + std::to_string(e[2]);
        }
      }
    }
  }
  if (!first.empty())
    return ::testing::AssertionFailure() << first << " (tolerance " << tolerance << ", largest difference " << worst
                                         << ")";
  return ::testing::AssertionSuccess() << "largest difference " << worst;
}

// A fresh folder for one test's files, removed with the object.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zel-picture-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace zel::test
