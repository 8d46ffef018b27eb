// The editor on a real X server (Xvfb), used with the mouse: the rectangle
// and ellipse tools picked from the Tools menu by keyboard, each shape
// dragged out, the drawing saved with Ctrl+S; `zel --info` then lists both
// as closed paths where the drags put them. Xvfb, xdotool and ImageMagick's
// import are part of the build's dependencies; a missing one fails the test.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "docformat/pdf_writer.h"
#include "gui/x_server_fixture.h"
#include "interchange/file_dispatch.h"
#include "model/drawing.h"
#include "model/shape.h"
#include "render/page_paint.h"
#include "view/fake_view_host.h"
#include "view/zel_view.h"

namespace zel {
namespace {

using namespace std::chrono_literals;
using testing::ReadPpm;
using testing::Screen;
using testing::Spawn;
using testing::Spawned;

class DrawWithMouseTest : public testing::XServerTest {
 protected:
  DrawWithMouseTest() : XServerTest("/tmp/zel-draw-XXXXXX") {}
};

// The number after "key": in the JSON object of shape index i; NaN when absent.
double ShapeField(const std::string& json, int index, const std::string& key) {
  const size_t at = json.find("{\"index\":" + std::to_string(index) + ",");
  if (at == std::string::npos) return std::nan("");
  const size_t end = json.find("\"group\"", at);
  const size_t k = json.find("\"" + key + "\":", at);
  if (k == std::string::npos || k > end) return std::nan("");
  return std::strtod(json.c_str() + k + key.size() + 3, nullptr);
}

TEST_F(DrawWithMouseTest, RectangleAndEllipseDrawnWithTheMouseAreSaved) {
  if (server_ <= 0) return;
  // One open line, so that the view opens fitted to it whatever comes first.
  const std::string file = dir_ + "/drawing.pdf";
  {
    Drawing d;
    d.SetPageSize(1480, 2100);
    auto line = std::make_unique<Shape>(KindPath);
    line->path()->subPaths.push_back(SubPath{PathNode{{-500, -700}, {-500, -700}, {-500, -700}, 0},
                                             PathNode{{500, 700}, {500, 700}, {500, 700}, 0}});
    line->path()->brushStyle = kBrushNull;
    line->UpdateBounds();
    d.Add(std::move(line));
    ASSERT_TRUE(SavePdf(file, d));
  }
  const Spawned z = Spawn({ZEL_PROGRAM, file}, Env());
  ASSERT_GE(z.pid, 0) << std::strerror(z.error);
  zel_ = z.pid;
  const std::string window = WaitForWindow("^drawing\\.pdf - Orvane Draw 3$");
  if (HasFailure()) return;
  ASSERT_FALSE(window.empty()) << "no editor window";
  const testing::WindowGeometry frame =
      testing::ParseWindowGeometry(Tool({"xdotool", "getwindowgeometry", "--shell", window}));
  ASSERT_GT(frame.width, 100);

  // The view fills the frame below the menu and tool bars; the fitted page
  // leaves the background colour down its whole left edge.
  const std::string shot = dir_ + "/screen.ppm";
  IntRect client;
  for (auto end = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    Screenshot(shot);
    if (HasFailure()) return;
    Screen screen;
    if (!ReadPpm(shot, screen) || frame.x + 1 >= screen.width) continue;
    const int bottom = std::min(screen.height, frame.y + frame.height);
    int top = bottom;
    while (top > frame.y && screen.At(frame.x + 1, top - 1) == kViewBackground) --top;
    if (bottom - top >= 100) {
      client = {frame.x, top, frame.x + frame.width, bottom};
      break;
    }
  }
  ASSERT_GT(client.bottom - client.top, 100) << "the view never showed; screenshot in " << shot;

  // The same view headless, for the mapping of the window's pixels.
  Viewport vp;
  {
    testing::MemorySettings store;
    testing::FakeViewHost host;
    host.client = {0, 0, client.right - client.left, client.bottom - client.top};
    testing::FakeDocument doc;
    ASSERT_TRUE(ImportFile(doc.drawing(), file));
    int32_t unit = 2;
    CZelView view(host, store, unit);
    host.OpenView(view, doc);
    vp = view.viewport();
  }

  const auto drag = [&](IntPoint from, IntPoint to) {
    const auto sx = [&](int x) { return std::to_string(client.left + x); };
    const auto sy = [&](int y) { return std::to_string(client.top + y); };
    const IntPoint mid{(from.x + to.x) / 2, (from.y + to.y) / 2};
    Tool({"xdotool", "mousemove", "--sync", sx(from.x), sy(from.y), "mousedown", "1", "sleep", "0.1",
          "mousemove", sx(mid.x), sy(mid.y), "sleep", "0.1", "mousemove", sx(to.x), sy(to.y), "sleep", "0.1",
          "mouseup", "1", "sleep", "0.2"});
  };
  const auto pickTool = [&](const char* mnemonic) {
    Tool({"xdotool", "windowfocus", "--sync", window});
    Tool({"xdotool", "key", "--clearmodifiers", "alt+t", "sleep", "0.3", "key", mnemonic, "sleep", "0.3"});
  };
  const IntPoint r0{300, 120}, r1{380, 170};
  const IntPoint e0{440, 150}, e1{520, 260};
  pickTool("r");
  drag(r0, r1);
  pickTool("e");
  drag(e0, e1);
  Tool({"xdotool", "key", "--clearmodifiers", "ctrl+s"});
  if (HasFailure()) return;

  std::string json;
  for (auto end = std::chrono::steady_clock::now() + 20s; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    json = Tool({ZEL_PROGRAM, "--info", file});
    if (json.find("\"index\":2,") != std::string::npos) break;
  }
  ASSERT_NE(json.find("\"index\":2,"), std::string::npos) << "not saved with both shapes: " << json;
  const float pixel = 1.01f / vp.getScale();
  struct Expected {
    int index;
    IntPoint a, b;
  };
  for (const Expected& e : {Expected{1, r0, r1}, Expected{2, e0, e1}}) {
    SCOPED_TRACE(e.index);
    EXPECT_EQ(ShapeField(json, e.index, "contours"), 1.0);
    EXPECT_EQ(ShapeField(json, e.index, "nodes"), 5.0);  // closed: the first node repeats
    EXPECT_NEAR(ShapeField(json, e.index, "xmin"), vp.fromScreenX(e.a.x), pixel);
    EXPECT_NEAR(ShapeField(json, e.index, "xmax"), vp.fromScreenX(e.b.x), pixel);
    EXPECT_NEAR(ShapeField(json, e.index, "ymin"), vp.fromScreenY(e.a.y), pixel);
    EXPECT_NEAR(ShapeField(json, e.index, "ymax"), vp.fromScreenY(e.b.y), pixel);
  }

  const std::optional<int> status = QuitWithCtrlQ();
  ASSERT_TRUE(status.has_value()) << "zel did not end after Ctrl+Q";
  EXPECT_EQ(*status, 0);
}

}  // namespace
}  // namespace zel
