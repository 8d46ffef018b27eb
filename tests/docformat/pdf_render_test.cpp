// Every page of every example, drawn by poppler's pdftoppm from the file and
// by our renderer from the drawing read back, must show the same picture.
//
// Resolution: 254 dpi, one pixel per mm/10. The editor draws text at whole
// pixel heights and the examples' text sizes are whole mm/10, so both
// renderers draw text at the same size; every picture is enlarged at least
// four times, where poppler stops smoothing pictures as our renderer never
// does. Both smooth text, neither smooths shapes.
//
// The metric. Two renderers never agree pixel for pixel: scan conversion,
// line ends and glyph hinting differ by a pixel or two along edges. So a
// pixel counts as matched when the other picture has a pixel of nearly the
// same colour (each channel within kColorTolerance) within kRadius pixels.
// What stays unmatched is edge noise, which forms small clusters (a glyph
// stem a pixel off gives a thin sliver of a few dozen pixels), or a real
// fault: a shape placed wrongly, missing, or filled where it should not be
// leaves a large connected cluster along a whole edge or area. The largest
// cluster of unmatched pixels (8-connected, both directions together) must
// stay below kMaxCluster; the examples' noise stays below about 100. The
// second test proves the threshold catches the faults: each path of the
// shapes example moved by 5 pixels (half a millimetre), left out, or filled
// in red must push the largest cluster over it.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/viewport.h"
#include "pdf_test_util.h"
#include "platform/utf16.h"
#include "render/shape_renderer.h"
#include "render/surface.h"

namespace zel {
namespace {

using namespace zel::testing;

constexpr int kDpi = 254;
constexpr int kRadius = 2;
constexpr int kColorTolerance = 48;
constexpr size_t kMaxCluster = 150;

struct Rgb {
  int w = 0, h = 0;
  std::vector<uint8_t> px;  // rows from the top, red, green, blue
  const uint8_t* at(int x, int y) const { return &px[(size_t(y) * size_t(w) + size_t(x)) * 3]; }
};

bool ReadPpm(const std::string& path, Rgb* out) {
  const std::string bytes = ReadFileBytes(path);
  size_t pos = 0;
  auto token = [&]() {
    while (pos < bytes.size() && (isspace(static_cast<unsigned char>(bytes[pos])) || bytes[pos] == '#')) {
      if (bytes[pos] == '#') {
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      } else {
        ++pos;
      }
    }
    const size_t start = pos;
    while (pos < bytes.size() && !isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
    return bytes.substr(start, pos - start);
  };
  if (token() != "P6") return false;
  out->w = std::stoi(token());
  out->h = std::stoi(token());
  if (token() != "255") return false;
  ++pos;
  const size_t n = size_t(out->w) * size_t(out->h) * 3;
  if (bytes.size() < pos + n) return false;
  out->px.assign(bytes.begin() + long(pos), bytes.begin() + long(pos + n));
  return true;
}

bool Pdftoppm(const std::string& pdf, int page, const std::string& prefix, Rgb* out) {
  const CommandResult r = RunCommand("pdftoppm -r " + std::to_string(kDpi) + " -aa yes -aaVector no -f " +
                                     std::to_string(page + 1) + " -l " + std::to_string(page + 1) +
                                     " -singlefile " + Quote(pdf) + " " + Quote(prefix));
  EXPECT_EQ(r.status, 0) << r.output;
  return r.status == 0 && ReadPpm(prefix + ".ppm", out);
}

// Our renderer, on a white page of the given pixel size at kDpi.
Rgb Render(const Drawing& d, int page, int w, int h) {
  DibImage dib;
  EXPECT_TRUE(dib.Create24(w, h));
  Surface dc(&dib);
  dc.FillRect(IntRect{0, 0, w, h}, ColorRef(0xFFFFFF));
  Viewport vp(float(kDpi) / 254.0f);
  vp.setOrigin(-d.GetPageSize().width / 2, -d.GetPageSize().height / 2, 0, 0);
  RenderPage(d, dc, vp, IntRect{0, 0, w, h}, page);
  Rgb out;
  out.w = w;
  out.h = h;
  out.px.resize(size_t(w) * size_t(h) * 3);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = dib.bits.data() + dib.RowOffsetFromTop(y);
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &out.px[(size_t(y) * size_t(w) + size_t(x)) * 3];
      p[0] = row[3 * x + 2];
      p[1] = row[3 * x + 1];
      p[2] = row[3 * x];
    }
  }
  return out;
}

// Pixels of a without a close match in b, marked in `unmatched`.
void Unmatched(const Rgb& a, const Rgb& b, std::vector<uint8_t>& unmatched) {
  for (int y = 0; y < a.h; ++y) {
    for (int x = 0; x < a.w; ++x) {
      const uint8_t* p = a.at(x, y);
      auto close = [&](const uint8_t* q) {
        return std::abs(p[0] - q[0]) <= kColorTolerance && std::abs(p[1] - q[1]) <= kColorTolerance &&
               std::abs(p[2] - q[2]) <= kColorTolerance;
      };
      bool found = x < b.w && y < b.h && close(b.at(x, y));
      for (int dy = -kRadius; dy <= kRadius && !found; ++dy) {
        for (int dx = -kRadius; dx <= kRadius && !found; ++dx) {
          const int qx = x + dx, qy = y + dy;
          if (qx < 0 || qy < 0 || qx >= b.w || qy >= b.h) continue;
          found = close(b.at(qx, qy));
        }
      }
      if (!found) unmatched[size_t(y) * size_t(a.w) + size_t(x)] = 1;
    }
  }
}

struct Verdict {
  size_t largest = 0;  // pixels of the largest cluster of unmatched pixels
  int x = 0, y = 0;    // one pixel of it
  size_t unmatched = 0;
  std::vector<uint8_t> mask;  // unmatched pixels
};

Verdict Compare(const Rgb& a, const Rgb& b) {
  Verdict v;
  if (a.w != b.w || a.h != b.h) {
    v.largest = size_t(-1);
    return v;
  }
  const size_t n = size_t(a.w) * size_t(a.h);
  v.mask.assign(n, 0);
  Unmatched(a, b, v.mask);
  Unmatched(b, a, v.mask);
  // Clusters: unmatched pixels that touch, diagonals included.
  std::vector<uint8_t> seen(n, 0);
  std::vector<size_t> stack;
  for (size_t start = 0; start < n; ++start) {
    if (!v.mask[start] || seen[start]) continue;
    ++v.unmatched;
    size_t size = 0;
    stack.assign(1, start);
    seen[start] = 1;
    while (!stack.empty()) {
      const size_t i = stack.back();
      stack.pop_back();
      ++size;
      const int x = int(i % size_t(a.w)), y = int(i / size_t(a.w));
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int qx = x + dx, qy = y + dy;
          if (qx < 0 || qy < 0 || qx >= a.w || qy >= a.h) continue;
          const size_t q = size_t(qy) * size_t(a.w) + size_t(qx);
          if (v.mask[q] && !seen[q]) {
            seen[q] = 1;
            stack.push_back(q);
          }
        }
      }
    }
    v.unmatched += size - 1;
    if (size > v.largest) {
      v.largest = size;
      v.x = int(start % size_t(a.w));
      v.y = int(start / size_t(a.w));
    }
  }
  return v;
}

void WritePpm(const std::string& path, const Rgb& image) {
  std::string bytes = "P6\n" + std::to_string(image.w) + " " + std::to_string(image.h) + "\n255\n";
  bytes.append(image.px.begin(), image.px.end());
  WriteFileBytes(path, bytes);
}

// With ZEL_RENDER_DUMP set to a folder, both pictures of every compared page
// are written there for a look.
void Dump(const std::string& name, const Rgb& poppler, const Rgb& ours, const std::vector<uint8_t>& mask) {
  const char* folder = std::getenv("ZEL_RENDER_DUMP");
  if (!folder) return;
  WritePpm(std::string(folder) + "/" + name + "-poppler.ppm", poppler);
  WritePpm(std::string(folder) + "/" + name + "-ours.ppm", ours);
  Rgb marked = ours;
  for (size_t i = 0; i < mask.size() && i * 3 < marked.px.size(); ++i) {
    if (mask[i]) {
      marked.px[3 * i] = 255;
      marked.px[3 * i + 1] = marked.px[3 * i + 2] = 0;
    }
  }
  WritePpm(std::string(folder) + "/" + name + "-unmatched.ppm", marked);
}

// The file shows the dotted brush as a solid fill: PDF has no such brush.
void AsTheFileShowsIt(Drawing& d) {
  for (int i = 0; i < d.Count(); ++i) {
    if (PathContent* p = d.GetShape(i)->path()) {
      if (p->brushStyle == kBrushDotted) p->brushStyle = kBrushSolid;
    }
  }
}

TEST(PdfRenderTest, PopplerAndOurRendererAgreeOnEveryExamplePage) {
  if (!HaveTool("pdftoppm")) return;
  TempDir dir;
  const auto files = ExampleFiles();
  ASSERT_GE(files.size(), 4u);
  for (const auto& file : files) {
    EXPECT_TRUE(QpdfClean(file.string()));
    Drawing d;
    ASSERT_TRUE(LoadPdf(file.string(), d)) << ToUtf8(d.LastError());
    AsTheFileShowsIt(d);
    for (int page = 0; page < d.PageCount(); ++page) {
      SCOPED_TRACE(file.filename().string() + " page " + std::to_string(page + 1));
      Rgb poppler;
      ASSERT_TRUE(Pdftoppm(file.string(), page, dir / "p", &poppler));
      const Rgb ours = Render(d, page, poppler.w, poppler.h);
      const Verdict v = Compare(poppler, ours);
      Dump(file.stem().string() + "-" + std::to_string(page + 1), poppler, ours, v.mask);
      EXPECT_LT(v.largest, kMaxCluster) << "largest cluster of unmatched pixels at (" << v.x << ", " << v.y
                                        << "): " << v.largest << " pixels; " << v.unmatched << " unmatched in all";
      std::printf("%s page %d: largest cluster %zu at (%d, %d), %zu unmatched pixels\n", file.filename().c_str(),
                  page + 1, v.largest, v.x, v.y, v.unmatched);
    }
  }
}

// The threshold catches the faults it is there for.
TEST(PdfRenderTest, MetricCatchesMovedMissingAndWronglyFilledShapes) {
  if (!HaveTool("pdftoppm")) return;
  TempDir dir;
  const std::string file = std::string(ZEL_SOURCE_DIR) + "/examples/shapes.pdf";
  Drawing d;
  ASSERT_TRUE(LoadPdf(file, d));
  AsTheFileShowsIt(d);
  Rgb poppler;
  ASSERT_TRUE(Pdftoppm(file, 0, dir / "p", &poppler));
  ASSERT_LT(Compare(poppler, Render(d, 0, poppler.w, poppler.h)).largest, kMaxCluster);

  const float fivePixels = 5 * 254.0f / kDpi;
  for (int i = 0; i < d.Count(); ++i) {
    if (!d.GetShape(i)->path()) continue;
    SCOPED_TRACE("shape " + std::to_string(i));
    {
      Drawing moved;
      moved.CopyFrom(d);
      Transform t;
      t.Translate(-fivePixels, 0);
      moved.GetShape(i)->Transform(t);
      EXPECT_GE(Compare(poppler, Render(moved, 0, poppler.w, poppler.h)).largest, kMaxCluster) << "moved";
    }
    {
      Drawing missing;
      missing.CopyFrom(d);
      missing.RemoveRange(i, 1);
      EXPECT_GE(Compare(poppler, Render(missing, 0, poppler.w, poppler.h)).largest, kMaxCluster)
          << "missing";
    }
    PathContent* path = d.GetShape(i)->path();
    // Filling shows only where a path encloses an area: not on a line.
    if (path->brushStyle == kBrushNull && path->subPaths[0].size() > 2) {
      Drawing filled;
      filled.CopyFrom(d);
      filled.GetShape(i)->path()->brushStyle = kBrushSolid;
      filled.GetShape(i)->fillColor = MakeColor(255, 0, 0);
      EXPECT_GE(Compare(poppler, Render(filled, 0, poppler.w, poppler.h)).largest, kMaxCluster)
          << "filled";
    }
  }
}

}  // namespace
}  // namespace zel
