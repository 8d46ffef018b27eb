// The cost of one stylus move while the selection tool drags: the outline
// preview of a selection over the snapshot, and the rubber band, on a page
// of 10,000 shapes. No input ever waits, so the preview's time cap never
// cuts a frame short: every move draws every outline.
#include <memory>
#include <random>

#include <benchmark/benchmark.h>

#include "model/drawing.h"
#include "model/edit_ops.h"
#include "model/shape.h"
#include "view/command_ids.h"
#include "view/settings_store.h"
#include "view/tool.h"
#include "view/view_document.h"
#include "view/view_host.h"
#include "view/zel_view.h"

namespace zel {
namespace {

class QuietHost final : public ViewHost {
 public:
  IntRect ClientRect() const override { return {0, 0, 640, 480}; }
  void CaptureStylus() override {}
  void ReleaseStylus() override {}
  bool HasCapture() const override { return false; }
  void StartTimer(int, int) override {}
  void KillTimer(int) override {}
  void Invalidate(bool) override {}
  void Present(const DibImage&, const IntRect&) override {}
  void PostCommand(int) override {}
  void SetScrollBarRange(bool, int, int) override {}
  void SetScrollBarPosition(bool, int) override {}
  bool IsKeyDown(HostKey) const override { return false; }
  bool TapAndHold(IntPoint) override { return false; }
  int MessageBox(std::u16string_view, int) override { return IDOK; }
  bool RunDialog(int) override { return false; }
  void SetWaitCursor(bool) override {}
};

class NoSettings final : public SettingsStore {
 public:
  bool ReadSettingDword(std::string_view, uint32_t&) const override { return false; }
  bool WriteSettingDword(std::string_view, uint32_t) override { return true; }
  bool ReadSettingString(std::string_view, std::u16string&) const override { return false; }
  bool WriteSettingString(std::string_view, std::u16string_view) override { return true; }
};

class Document final : public ViewDocument {
 public:
  Drawing& drawing() override { return drawing_; }
  bool IsModified() const override { return false; }
  void SetModifiedFlag(bool) override {}

 private:
  Drawing drawing_;
};

// 10,000 rectangles and ellipses over the left three quarters of the page.
struct Scene {
  Scene() {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> x(-525.0f, 250.0f), y(-740.0f, 700.0f), size(5.0f, 40.0f);
    for (int i = 0; i < 10000; ++i) {
      const float x0 = x(random), y0 = y(random);
      const RectF box{x0, x0 + size(random), y0, y0 + size(random)};
      auto s = (i % 2) ? MakeEllipse(box) : MakeRectangle(box);
      s->setSelected(false);
      doc.drawing().Add(std::move(s));
    }
    view = std::make_unique<CZelView>(host, settings, unit);
    view->SetDocument(&doc);
    view->OnInitialUpdate();
    view->FitPageCommand();
    view->OnPaint();  // the first paint fits
    view->FitPageCommand();
    view->OnPaint();
    view->OnCommand(cmd::kToolSelect);
  }
  IntPoint PixelOf(const Shape& s) const {
    return view->viewport().toScreen(PointF{(s.bounds.xmin + s.bounds.xmax) / 2, (s.bounds.ymin + s.bounds.ymax) / 2});
  }

  QuietHost host;
  NoSettings settings;
  int32_t unit = 0;
  Document doc;
  std::unique_ptr<CZelView> view;
};

void Moves(benchmark::State& state, CZelView& view, IntPoint from) {
  int step = 0;
  for (auto _ : state) {
    step = (step + 1) % 40;
    view.OnStylusMove(0, IntPoint{from.x + 1 + step, from.y + step / 2});
  }
  view.OnStylusUp(0, IntPoint{from.x, from.y});
}

// Dragging a selection of `range(0)` shapes by one of them.
void BM_DragSelection(benchmark::State& state) {
  Scene scene;
  const int count = int(state.range(0));
  Selection& selection = scene.view->editSelection();
  for (int i = 0; i < count; ++i) selection.push_back(i);
  scene.view->ResyncSelection();
  const IntPoint press = scene.PixelOf(*scene.doc.drawing().GetShape(count - 1));
  scene.view->OnStylusDown(0, press);
  scene.view->OnStylusMove(0, IntPoint{press.x + 1, press.y});
  Moves(state, *scene.view, press);
}
BENCHMARK(BM_DragSelection)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Dragging a rubber band from an empty spot of the page.
void BM_DragBand(benchmark::State& state) {
  Scene scene;
  const IntPoint press = scene.view->viewport().toScreen(PointF{400.0f, -700.0f});
  scene.view->OnStylusDown(0, press);
  Moves(state, *scene.view, press);
}
BENCHMARK(BM_DragBand)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zel
