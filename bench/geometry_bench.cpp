// Flattening a long path (what every UpdateBounds of a big imported drawing
// pays) and fitting a long freehand stroke (what the pen tool pays on lift).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "model/bezier.h"
#include "model/curve_fit.h"

namespace {

// A wavy contour of `segments` curved segments, 40 mm/10 apart, amplitude 60.
zel::SubPath WavyPath(int segments) {
  zel::SubPath nodes;
  nodes.reserve(segments + 1);
  for (int i = 0; i <= segments; ++i) {
    float x = i * 40.0f;
    float y = (i % 2 ? 60.0f : -60.0f) + 5.0f * std::sin(i * 0.01f);
    nodes.push_back(zel::PathNode{{x - 15.0f, y}, {x, y}, {x + 15.0f, y}, 0});
  }
  return nodes;
}

// A hand-drawn scribble sampled at pixel spacing: a slowly turning spiral with wobble.
std::vector<zel::PointF> Stroke(int count) {
  std::vector<zel::PointF> pts;
  pts.reserve(count);
  for (int i = 0; i < count; ++i) {
    float a = i * 0.02f;
    float r = 80.0f + 0.1f * i + 6.0f * std::sin(i * 0.15f);
    pts.push_back(zel::PointF{r * std::cos(a), r * std::sin(a)});
  }
  return pts;
}

void BM_FlattenTenThousandSegments(benchmark::State& state) {
  zel::SubPath path = WavyPath(10000);
  zel::PolyPoints out;
  for (auto _ : state) {
    zel::FlattenSubPath(path, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["points"] = static_cast<double>(out.size());
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_FlattenTenThousandSegments)->Unit(benchmark::kMillisecond);

void BM_FitTwoThousandPointStroke(benchmark::State& state) {
  std::vector<zel::PointF> pts = Stroke(2000);
  size_t nodes = 0;
  for (auto _ : state) {
    zel::SubPath path = zel::FitBezierPath(pts.data(), pts.size(), 10.0f);
    nodes = path.size();
    benchmark::DoNotOptimize(path.data());
  }
  state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_FitTwoThousandPointStroke)->Unit(benchmark::kMillisecond);

}  // namespace
