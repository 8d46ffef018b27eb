// Hit testing one point against a page of 10,000 shapes, the way a tap is
// resolved: every shape from the top of the z-order down is asked.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "model/shape.h"
#include "model/viewport.h"

namespace {

std::vector<std::unique_ptr<zel::Shape>> MakePage(int count) {
  std::mt19937 rng(42);
  std::uniform_real_distribution<float> pos(-1000.0f, 1000.0f);
  std::uniform_real_distribution<float> size(5.0f, 120.0f);
  std::vector<std::unique_ptr<zel::Shape>> shapes;
  shapes.reserve(count);
  for (int i = 0; i < count; ++i) {
    float x = pos(rng), y = pos(rng), w = size(rng), h = size(rng);
    zel::RectF box{x, x + w, y, y + h};
    auto s = (i % 2) ? zel::MakeEllipse(box) : zel::MakeRectangle(box);
    s->path()->brushStyle = (i % 3 == 0) ? zel::kBrushNull : zel::kBrushSolid;
    shapes.push_back(std::move(s));
  }
  return shapes;
}

void BM_HitTestTenThousandShapes(benchmark::State& state) {
  auto shapes = MakePage(10000);
  zel::Viewport vp(0.378f);
  vp.setOrigin(0, 0, 512, 384);
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> px(0, 1023), py(0, 767);
  int hits = 0;
  for (auto _ : state) {
    zel::IntPoint p{px(rng), py(rng)};
    for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
      if ((*it)->HitTest(vp, p, nullptr)) ++hits;
    }
  }
  benchmark::DoNotOptimize(hits);
  state.counters["shapes"] = 10000;
}
BENCHMARK(BM_HitTestTenThousandShapes)->Unit(benchmark::kMicrosecond);

}  // namespace
