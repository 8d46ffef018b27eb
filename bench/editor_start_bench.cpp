// What the editor does between start and its first paint, for a document
// of 10,000 shapes: reading the file, making the view (settings, font
// families) and the two paints of a new view (the fitting one and the
// drawing one) into an 800 x 575 window.
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "docformat/pdf_writer.h"
#include "interchange/file_dispatch.h"
#include "model/drawing.h"
#include "model/shape.h"
#include "tests/view/fake_view_host.h"
#include "view/zel_view.h"

namespace zel {
namespace {

constexpr int kShapes = 10000;

// Rectangles and ellipses of every line width, scattered over the page.
void FillDrawing(Drawing& d) {
  d.SetPageSize(1480, 2100);
  std::mt19937 rng(42);
  std::uniform_real_distribution<float> x(-700, 650), y(-1000, 950), size(5, 60);
  for (int i = 0; i < kShapes; ++i) {
    const float x0 = x(rng), y0 = y(rng), w = size(rng), h = size(rng);
    const RectF box{x0, x0 + w, y0, y0 + h};
    auto s = (i % 2) ? MakeEllipse(box) : MakeRectangle(box);
    s->fillColor = MakeColor(int(rng() % 256), int(rng() % 256), int(rng() % 256));
    s->path()->lineWidth = (i % 3) * 3;
    s->UpdateBounds();
    d.Add(std::move(s));
  }
}

const std::string& DocumentFile() {
  static const std::string path = [] {
    std::string p = "/tmp/zel-bench-" + std::to_string(::getpid()) + ".pdf";
    Drawing d;
    FillDrawing(d);
    if (!SavePdf(p, d)) std::fprintf(stderr, "cannot write %s\n", p.c_str());
    return p;
  }();
  return path;
}

void BM_ReadDocument(benchmark::State& state) {
  const std::string& path = DocumentFile();
  for (auto _ : state) {
    Drawing d;
    if (!ImportFile(d, path)) state.SkipWithError("import failed");
    benchmark::DoNotOptimize(d.Count());
  }
}
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);

void BM_MakeView(benchmark::State& state) {
  testing::MemorySettings store;
  testing::FakeViewHost host;
  int32_t unit = kUnitMm;
  for (auto _ : state) {
    CZelView view(host, store, unit);
    benchmark::DoNotOptimize(&view);
  }
}
BENCHMARK(BM_MakeView)->Unit(benchmark::kMillisecond);

void BM_FirstPaint(benchmark::State& state) {
  testing::FakeDocument doc;
  if (!ImportFile(doc.drawing(), DocumentFile())) state.SkipWithError("import failed");
  testing::MemorySettings store;
  int32_t unit = kUnitMm;
  for (auto _ : state) {
    testing::FakeViewHost host;
    host.client = {0, 0, 800, 575};
    CZelView view(host, store, unit);
    host.OpenView(view, doc);
    benchmark::DoNotOptimize(host.screen.bits.data());
  }
}
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond);

void BM_Repaint(benchmark::State& state) {
  testing::FakeDocument doc;
  if (!ImportFile(doc.drawing(), DocumentFile())) state.SkipWithError("import failed");
  testing::MemorySettings store;
  int32_t unit = kUnitMm;
  testing::FakeViewHost host;
  host.client = {0, 0, 800, 575};
  CZelView view(host, store, unit);
  view.SetDocument(&doc);
  view.OnInitialUpdate();
  host.RunPosted(view);
  view.OnPaint();
  for (auto _ : state) {
    view.OnPaint();
    benchmark::DoNotOptimize(host.screen.bits.data());
  }
}
BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(zel::DocumentFile().c_str());
  return 0;
}
