// A view on a one-to-one viewport (pixel (x, y) shows drawing point
// (x - 120, y - 134)) over an in-memory document, driven with stylus
// sequences through the recording host.
#pragma once

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "model/drawing.h"
#include "model/shape.h"
#include "view/command_ids.h"
#include "view/fake_view_host.h"
#include "view/tool.h"
#include "view/zel_view.h"

namespace zel::testing {

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view = std::make_unique<CZelView>(host, store, unit);
    view->SetDocument(&doc);
    view->OnInitialUpdate();
    host.RunPosted(*view);
    host.PaintUntilSettled(*view);
    view->viewport().setOrigin(0.0f, 0.0f, 120, 134);
    view->viewport().setScale(1.0f);
    Repaint();
  }

  void Repaint() {
    host.invalidations = 1;
    host.PaintUntilSettled(*view);
  }

  Drawing& drawing() { return doc.drawing(); }
  const Shape& shape(int i) { return *drawing().GetShape(i); }
  static PointF At(IntPoint p) { return PointF{float(p.x - 120), float(p.y - 134)}; }

  // Press at from, move in steps to to, release there.
  void Drag(IntPoint from, IntPoint to, int steps = 4) {
    view->OnStylusDown(0, from);
    for (int i = 1; i <= steps; ++i)
      view->OnStylusMove(0, IntPoint{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    view->OnStylusUp(0, to);
  }
  void Tap(IntPoint p) {
    view->OnStylusDown(0, p);
    view->OnStylusUp(0, p);
  }
  // Press, a path of moves, release at the last point.
  void Stroke(const std::vector<IntPoint>& points) {
    view->OnStylusDown(0, points.front());
    for (size_t i = 1; i < points.size(); ++i) view->OnStylusMove(0, points[i]);
    view->OnStylusUp(0, points.back());
  }

  // A rectangle shape made directly in the drawing, in pixel coordinates.
  int AddRect(int x0, int y0, int x1, int y1, int group = 0) {
    auto s = MakeRectangle(RectF{At({x0, y0}).x, At({x1, y1}).x, At({x0, y0}).y, At({x1, y1}).y});
    s->groupId = group;
    s->setSelected(false);
    s->UpdateBounds();
    drawing().Add(std::move(s));
    return drawing().Count() - 1;
  }

  MemorySettings store;
  FakeViewHost host;
  int32_t unit = 0;
  FakeDocument doc;
  std::unique_ptr<CZelView> view;
};

inline void ExpectPoint(PointF actual, PointF expected, float tolerance = 1e-3f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
}

}  // namespace zel::testing
