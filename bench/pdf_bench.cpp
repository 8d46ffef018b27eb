// Saving and opening a document of 100,000 shapes, and qpdf --check on the
// same file for comparison.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "docformat/pdf_reader.h"
#include "docformat/pdf_writer.h"
#include "model/drawing.h"

namespace {

using namespace zel;

constexpr int kShapes = 100000;
constexpr int kPages = 4;

// Rectangles, ellipses, curves, some texts and a few pictures, spread over
// the pages, with every tenth pair grouped.
const Drawing& BigDrawing() {
  static const std::unique_ptr<Drawing> d = [] {
    auto drawing = std::make_unique<Drawing>();
    drawing->SetPageCount(kPages);
    for (int i = 0; i < kShapes; ++i) {
      const float x = float(i % 400) * 2 - 400, y = float(i / 400 % 250) * 4 - 500;
      std::unique_ptr<Shape> s;
      switch (i % 10) {
        case 0:
        case 1:
        case 2:
          s = MakeRectangle({x, x + 30, y, y + 20});
          break;
        case 3:
        case 4:
        case 5:
          s = MakeEllipse({x, x + 25, y, y + 25});
          break;
        case 6:
        case 7: {
          s = std::make_unique<Shape>(KindPath);
          SubPath sub;
          for (int k = 0; k < 6; ++k) {
            const PointF a{x + k * 10.0f, y + float((k * 7) % 13)};
            sub.push_back(PathNode{{a.x - 3, a.y + 4}, a, {a.x + 3, a.y - 4}, 0});
          }
          s->path()->subPaths.push_back(sub);
          s->path()->brushStyle = kBrushNull;
          break;
        }
        case 8: {
          s = std::make_unique<Shape>(KindText);
          s->text()->text = u"Label " + std::u16string(1, char16_t(u'A' + i % 26));
          s->text()->faceName = u"Liberation Sans";
          s->text()->size = 35.0f;
          s->text()->anchor = {x, y};
          break;
        }
        default:
          if (i % 1000 == 9) {
            s = std::make_unique<Shape>(KindImage);
            (void)s->image()->dib.Create24(16, 16);
            s->image()->placement = {x, x + 40, y, y + 40};
          } else {
            s = MakeRectangle({x, x + 5, y, y + 5});
          }
      }
      s->fillColor = ColorRef(i * 2654435761u) & 0xFFFFFF;
      s->pageIndex = i % kPages;
      s->groupId = (i % 10 < 2) ? i / 10 + 1 : 0;
      s->UpdateBounds();
      drawing->Add(std::move(s));
    }
    return drawing;
  }();
  return *d;
}

std::string BenchFile() {
  return (std::filesystem::temp_directory_path() / "zel-pdf-bench.pdf").string();
}

void BM_Save(benchmark::State& state) {
  const Drawing& d = BigDrawing();
  for (auto _ : state) {
    if (!SavePdf(BenchFile(), d)) state.SkipWithError("save failed");
  }
  state.counters["bytes"] = double(std::filesystem::file_size(BenchFile()));
}

void BM_Open(benchmark::State& state) {
  if (!SavePdf(BenchFile(), BigDrawing())) state.SkipWithError("save failed");
  for (auto _ : state) {
    Drawing d;
    if (!LoadPdf(BenchFile(), d) || d.Count() != kShapes) state.SkipWithError("open failed");
  }
}

void BM_QpdfCheck(benchmark::State& state) {
  if (!SavePdf(BenchFile(), BigDrawing())) state.SkipWithError("save failed");
  const std::string command = "qpdf --check '" + BenchFile() + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("qpdf --check failed (is qpdf installed?)");
  }
}

}  // namespace

BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QpdfCheck)->Unit(benchmark::kMillisecond)->Iterations(3);
