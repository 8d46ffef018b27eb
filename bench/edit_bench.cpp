// Editing and undo on large drawings: select all + move + undo + redo of
// 100,000 shapes; delete + undo of 50,000 shapes out of 100,000.
#include <chrono>
#include <memory>

#include <benchmark/benchmark.h>

#include "model/drawing.h"
#include "model/edit_ops.h"
#include "model/undo_manager.h"

namespace zel {
namespace {

constexpr int kShapes = 100000;

// A grid of small rectangles and ellipses, every tenth one grouped with its
// neighbour.
void Fill(Drawing& d, int n) {
  for (int i = 0; i < n; ++i) {
    const float x = static_cast<float>(i % 300) * 3.0f - 450.0f;
    const float y = static_cast<float>(i / 300) * 3.0f - 500.0f;
    const RectF box{x, x + 2.5f, y, y + 2.5f};
    auto s = (i % 2) ? MakeEllipse(box) : MakeRectangle(box);
    s->fillColor = static_cast<ColorRef>(i);
    s->groupId = (i % 10 < 2) ? i / 10 + 1 : 0;
    d.Add(std::move(s));
  }
}

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void BM_SelectAllMoveUndoRedo(benchmark::State& state) {
  Drawing d;
  Fill(d, kShapes);
  Selection sel;
  int page = 0;
  UndoManager history;
  history.Attach(&d, &sel, &page);
  double selectMs = 0, moveMs = 0, undoMs = 0, redoMs = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    sel = SelectAll(d, page);
    selectMs += Ms(t0);

    t0 = Clock::now();
    Transform move;
    move.Translate(-12.0f, -7.5f);
    history.RecordTransform(true, sel, move);
    TransformSelection(d, sel, move);
    moveMs += Ms(t0);

    t0 = Clock::now();
    if (!history.Undo()) state.SkipWithError("undo failed");
    undoMs += Ms(t0);

    t0 = Clock::now();
    if (!history.Redo()) state.SkipWithError("redo failed");
    redoMs += Ms(t0);
  }
  const auto avg = benchmark::Counter::kAvgIterations;
  state.counters["select_ms"] = benchmark::Counter(selectMs, avg);
  state.counters["move_ms"] = benchmark::Counter(moveMs, avg);
  state.counters["undo_ms"] = benchmark::Counter(undoMs, avg);
  state.counters["redo_ms"] = benchmark::Counter(redoMs, avg);
  state.counters["undo_bytes"] = static_cast<double>(history.UndoBytes());
}
BENCHMARK(BM_SelectAllMoveUndoRedo)->Unit(benchmark::kMillisecond);

void BM_DeleteUndo50k(benchmark::State& state) {
  Drawing d;
  Fill(d, kShapes);
  Selection sel;
  int page = 0;
  UndoManager history;
  history.Attach(&d, &sel, &page);
  Selection every;  // every other shape: 50,000 runs of one
  for (int i = kShapes - 1; i >= 0; i -= 2) every.push_back(i);
  double deleteMs = 0, undoMs = 0;
  size_t recordBytes = 0;
  for (auto _ : state) {
    sel = every;
    auto t0 = Clock::now();
    history.RecordDelete(true, sel);
    Delete(d, sel);
    deleteMs += Ms(t0);
    recordBytes = history.UndoBytes();

    t0 = Clock::now();
    if (!history.Undo() || d.Count() != kShapes) state.SkipWithError("undo failed");
    undoMs += Ms(t0);
  }
  const auto avg = benchmark::Counter::kAvgIterations;
  state.counters["delete_ms"] = benchmark::Counter(deleteMs, avg);
  state.counters["undo_ms"] = benchmark::Counter(undoMs, avg);
  state.counters["record_bytes"] = static_cast<double>(recordBytes);
}
BENCHMARK(BM_DeleteUndo50k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel
