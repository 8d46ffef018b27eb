// Helpers of the document format tests: temporary folders, the external
// checkers (qpdf, pdftoppm) and small drawing builders.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "docformat/byte_sink.h"
#include "docformat/pdf_reader.h"
#include "docformat/pdf_writer.h"
#include "model/drawing.h"
#include "model/shape.h"

namespace zel::testing {

// A folder that lives as long as the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zel-pdf-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string PdfBytes(const Drawing& d, bool deterministic = false) {
  MemorySink sink;
  PdfWriteOptions options;
  options.deterministic = deterministic;
  EXPECT_TRUE(WritePdf(d, sink, options));
  return sink.bytes();
}

struct CommandResult {
  int status = -1;  // exit code, or -1 when it could not run
  std::string output;  // stdout and stderr together
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult r;
  std::FILE* p = ::popen((command + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
  const int status = ::pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The external checkers are part of the test setup: a missing one fails
// the test instead of skipping it.
inline bool HaveTool(const char* tool) {
  const bool found = RunCommand(std::string("command -v ") + tool).status == 0;
  EXPECT_TRUE(found) << tool << " is not installed (sh tools/install-deps.sh installs it)";
  return found;
}

// qpdf --check: exit code 0 and no warning.
inline ::testing::AssertionResult QpdfClean(const std::string& path) {
  if (!HaveTool("qpdf")) return ::testing::AssertionFailure() << "no qpdf";
  const CommandResult r = RunCommand("qpdf --check " + Quote(path));
  if (r.status != 0 || r.output.find("WARNING") != std::string::npos ||
      r.output.find("No syntax or stream encoding errors found") == std::string::npos) {
    return ::testing::AssertionFailure() << "qpdf --check " << path << " (exit " << r.status << "):\n"
                                         << r.output;
  }
  return ::testing::AssertionSuccess();
}

// --- Builders (model units, mm/10) ---------------------------------------------

inline PathNode Node(float x, float y) { return PathNode{{x, y}, {x, y}, {x, y}, 0}; }

inline SubPath Contour(std::initializer_list<PointF> points, bool close) {
  SubPath s;
  for (PointF p : points) s.push_back(Node(p.x, p.y));
  if (close) s.push_back(s.front());
  return s;
}

inline std::unique_ptr<Shape> PathShape(std::vector<SubPath> contours, int pen = kPenSolid,
                                        int brush = kBrushSolid, int page = 0) {
  auto s = std::make_unique<Shape>(KindPath);
  s->path()->subPaths = std::move(contours);
  s->path()->penStyle = pen;
  s->path()->brushStyle = brush;
  s->path()->lineWidth = kLineNormal;
  s->path()->penColor = MakeColor(10, 20, 30);
  s->fillColor = MakeColor(200, 100, 50);
  s->pageIndex = page;
  s->UpdateBounds();
  return s;
}

inline std::unique_ptr<Shape> TextShape(const std::u16string& text, PointF anchor, int type = kTextArtistic,
                                        PointF corner = {}, int page = 0) {
  auto s = std::make_unique<Shape>(KindText);
  s->text()->text = text;
  s->text()->faceName = u"Liberation Sans";
  s->text()->anchor = anchor;
  s->text()->corner = corner;
  s->text()->textType = type;
  s->pageIndex = page;
  s->UpdateBounds();
  return s;
}

// A 24-bit picture whose pixel (x, y from the top) has a colour derived
// from its position.
inline DibImage Picture24(int w, int h) {
  DibImage dib;
  EXPECT_TRUE(dib.Create24(w, h));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = dib.bits.data() + dib.RowOffsetFromTop(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = uint8_t(x * 7 + y);
      row[3 * x + 1] = uint8_t(y * 11);
      row[3 * x + 2] = uint8_t(x * 13 + 5);
    }
  }
  return dib;
}

inline std::unique_ptr<Shape> ImageShape(DibImage dib, RectF placement, int page = 0) {
  auto s = std::make_unique<Shape>(KindImage);
  s->image()->dib = std::move(dib);
  s->image()->placement = placement;
  s->pageIndex = page;
  s->UpdateBounds();
  return s;
}

inline std::vector<std::filesystem::path> ExampleFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(ZEL_SOURCE_DIR) / "examples")) {
    if (e.path().extension() == ".pdf") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace zel::testing

#include "docformat/flate.h"
#include "docformat/page_tree.h"

namespace zel::testing {

// The (inflated) stream data of an object of a written file, found by its
// "N 0 obj" line; empty when there is none.
inline std::string StreamOf(const std::string& pdf, int64_t object) {
  const std::string head = "\n" + std::to_string(object) + " 0 obj\r\n";
  const size_t at = pdf.find(head);
  if (at == std::string::npos) return {};
  const size_t stream = pdf.find("stream\r\n", at);
  const size_t length = pdf.find("/Length ", at);
  if (stream == std::string::npos || length == std::string::npos || length > stream) return {};
  const size_t n = std::stoul(pdf.substr(length + 8, 20));
  const std::string data = pdf.substr(stream + 8, n);
  if (pdf.substr(at, stream - at).find("/FlateDecode") == std::string::npos) return data;
  std::string text;
  EXPECT_EQ(Inflate(data, uint64_t(1) << 30, &text), InflateResult::kOk);
  return text;
}

inline std::string PageContent(const std::string& pdf, int pages, int page) {
  return StreamOf(pdf, PageTreeFor(pages).ContentObject(page));
}

}  // namespace zel::testing
