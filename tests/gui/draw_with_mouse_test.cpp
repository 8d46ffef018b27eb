// The editor on a real X server (Xvfb), used with the mouse: the rectangle
// and ellipse tools picked from the Tools menu by keyboard, each shape
// dragged out, the drawing saved with Ctrl+S; `zel --info` then lists both
// as closed paths where the drags put them. Xvfb, xdotool and ImageMagick's
// import are part of the build's dependencies; a missing one fails the test.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "docformat/pdf_writer.h"
#include "gui/process_runner.h"
#include "interchange/file_dispatch.h"
#include "model/drawing.h"
#include "model/shape.h"
#include "render/page_paint.h"
#include "view/fake_view_host.h"
#include "view/zel_view.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::EnvironmentWith;
using testing::Spawn;
using testing::Spawned;
using testing::WaitForExit;

class DrawWithMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zel-draw-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const Spawned s = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp", "-noreset"},
                            EnvironmentWith({}));
    ::close(fds[1]);
    if (s.pid < 0) {
      ::close(fds[0]);
      FAIL() << "cannot start Xvfb (" << std::strerror(s.error) << "); tools/install-deps.sh installs it";
    }
    server_ = s.pid;
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not report its display";
    display_ = ":" + number;
  }
  void TearDown() override {
    if (zel_ > 0) testing::Stop(zel_);
    if (server_ > 0) testing::Stop(server_);
    if (!HasFailure()) fs::remove_all(dir_);
    else std::fprintf(stderr, "kept for inspection: %s\n", dir_.c_str());
  }
  std::vector<std::string> Env() const {
    return EnvironmentWith({{"DISPLAY", display_},
                            {"ZEL_CONFIG", dir_ + "/config/settings"},
                            {"ZEL_HOME", dir_ + "/home"},
                            {"HOME", dir_},
                            {"NO_AT_BRIDGE", "1"},
                            {"GTK_A11Y", "none"}});
  }
  std::string Tool(const std::vector<std::string>& argv) {
    const testing::RunResult r = testing::Run(argv, Env());
    if (r.error != 0) ADD_FAILURE() << "cannot run " << argv[0] << " (" << std::strerror(r.error) << ")";
    return r.status == 0 ? r.out : std::string();
  }

  std::string dir_;
  std::string display_;
  pid_t server_ = -1;
  pid_t zel_ = -1;
};

// Column x of a screenshot (a binary PPM from import), top to bottom.
bool ReadColumn(const std::string& path, int x, std::vector<ColorRef>& column) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  if (!(in >> magic >> width >> height >> maxval) || magic != "P6" || maxval != 255 || x >= width) return false;
  in.get();
  std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
  if (!in.read(reinterpret_cast<char*>(rgb.data()), std::streamsize(rgb.size()))) return false;
  column.clear();
  for (int y = 0; y < height; ++y) {
    const uint8_t* p = rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    column.push_back(ColorRef(p[0]) | (ColorRef(p[1]) << 8) | (ColorRef(p[2]) << 16));
  }
  return true;
}

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
  std::string window;
  for (auto end = std::chrono::steady_clock::now() + 30s; window.empty() && std::chrono::steady_clock::now() < end;) {
    window = Tool({"xdotool", "search", "--name", "^drawing\\.pdf - Orvane Draw 3$"});
    if (HasFailure()) return;
    if (window.empty()) std::this_thread::sleep_for(100ms);
  }
  ASSERT_FALSE(window.empty()) << "no editor window";
  window = window.substr(0, window.find('\n'));
  int frameX = 0, frameY = 0, frameWidth = 0, frameHeight = 0;
  {
    std::istringstream geometry(Tool({"xdotool", "getwindowgeometry", "--shell", window}));
    std::string line;
    while (std::getline(geometry, line)) {
      if (line.rfind("X=", 0) == 0) frameX = std::atoi(line.c_str() + 2);
      if (line.rfind("Y=", 0) == 0) frameY = std::atoi(line.c_str() + 2);
      if (line.rfind("WIDTH=", 0) == 0) frameWidth = std::atoi(line.c_str() + 6);
      if (line.rfind("HEIGHT=", 0) == 0) frameHeight = std::atoi(line.c_str() + 7);
    }
  }
  ASSERT_GT(frameWidth, 100);

  // The view fills the frame below the menu and tool bars; the fitted page
  // leaves the background colour down its whole left edge.
  const std::string shot = dir_ + "/screen.ppm";
  IntRect client;
  for (auto end = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    Tool({"import", "-window", "root", "-depth", "8", shot});
    if (HasFailure()) return;
    std::vector<ColorRef> column;
    if (!ReadColumn(shot, frameX + 1, column)) continue;
    const int bottom = std::min(int(column.size()), frameY + frameHeight);
    int top = bottom;
    while (top > frameY && column[size_t(top) - 1] == kViewBackground) --top;
    if (bottom - top >= 100) {
      client = {frameX, top, frameX + frameWidth, bottom};
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
    struct Doc final : ViewDocument {
      Drawing d;
      Drawing& drawing() override { return d; }
      bool IsModified() const override { return false; }
      void SetModifiedFlag(bool) override {}
    } doc;
    ASSERT_TRUE(ImportFile(doc.d, file));
    int32_t unit = 2;
    CZelView view(host, store, unit);
    view.SetDocument(&doc);
    view.OnInitialUpdate();
    host.RunPosted(view);
    view.OnPaint();
    view.OnPaint();
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

  Tool({"xdotool", "key", "--clearmodifiers", "ctrl+q"});
  const std::optional<int> status = WaitForExit(zel_, 20s);
  ASSERT_TRUE(status.has_value()) << "zel did not end after Ctrl+Q";
  zel_ = -1;
  EXPECT_EQ(*status, 0);
}

}  // namespace
}  // namespace zel
