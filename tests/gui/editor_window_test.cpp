// The editor on a real X server (Xvfb): it opens a drawing, paints the page
// frame and the shapes exactly where the renderer puts them, and ends
// cleanly on Ctrl+Q, writing its settings. Xvfb, xdotool and ImageMagick's
// import are part of the build's dependencies; a missing one fails the test.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "docformat/pdf_writer.h"
#include "interchange/file_dispatch.h"
#include "model/drawing.h"
#include "model/shape.h"
#include "render/page_paint.h"
#include "gui/process_runner.h"
#include "view/fake_view_host.h"
#include "view/zel_view.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::EnvironmentWith;
using testing::FakeViewHost;
using testing::MemorySettings;
using testing::PixelAt;
using testing::Spawn;
using testing::Spawned;
using testing::WaitForExit;

constexpr ColorRef kRed = 0x0000E0;
constexpr ColorRef kBlue = 0xC04000;

// A screenshot: 8-bit RGB rows from the top.
struct Screen {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  ColorRef At(int x, int y) const {
    const uint8_t* p = rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    return ColorRef(p[0]) | (ColorRef(p[1]) << 8) | (ColorRef(p[2]) << 16);
  }
};

// Binary PPM (P6) of 8 or 16 bits a sample, as ImageMagick writes it.
bool ReadPpm(const std::string& path, Screen& s) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  if (!(in >> magic >> s.width >> s.height >> maxval) || magic != "P6" || (maxval != 255 && maxval != 65535))
    return false;
  in.get();
  const size_t samples = size_t(s.width) * size_t(s.height) * 3;
  const size_t bytesPerSample = maxval == 255 ? 1 : 2;
  std::vector<uint8_t> raw(samples * bytesPerSample);
  if (!in.read(reinterpret_cast<char*>(raw.data()), std::streamsize(raw.size()))) return false;
  s.rgb.resize(samples);
  for (size_t i = 0; i < samples; ++i) s.rgb[i] = raw[i * bytesPerSample];  // the high byte comes first
  return true;
}

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zel-gui-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    StartServer();
  }
  void TearDown() override {
    if (zel_ > 0) testing::Stop(zel_);
    if (server_ > 0) testing::Stop(server_);
    if (!HasFailure()) fs::remove_all(dir_);
    else std::fprintf(stderr, "kept for inspection: %s\n", dir_.c_str());
  }

  void StartServer() {
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

  std::vector<std::string> Env() const {
    return EnvironmentWith({{"DISPLAY", display_},
                            {"ZEL_CONFIG", dir_ + "/config/settings"},
                            {"ZEL_HOME", dir_ + "/home"},
                            {"HOME", dir_},
                            {"NO_AT_BRIDGE", "1"},
                            {"GTK_A11Y", "none"}});
  }

  // Runs a tool; a tool that is not installed fails the test.
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

// Two shapes reaching past opposite corners of the page, so that the
// drawing's fit shows both page corners and both shapes.
Drawing TestDrawing() {
  Drawing d;
  d.SetPageSize(1480, 2100);
  auto red = MakeRectangle(RectF{-900, -600, -1200, -900});
  red->fillColor = kRed;
  red->path()->penColor = 0x000000;
  red->UpdateBounds();
  d.Add(std::move(red));
  auto blue = MakeEllipse(RectF{200, 900, 600, 1300});
  blue->fillColor = kBlue;
  blue->path()->penColor = 0x000000;
  blue->path()->lineWidth = kLineBold;
  blue->UpdateBounds();
  d.Add(std::move(blue));
  return d;
}

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};

Geometry ParseGeometry(const std::string& shell) {
  Geometry g;
  std::istringstream in(shell);
  std::string line;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const int v = std::atoi(line.c_str() + eq + 1);
    if (key == "X") g.x = v;
    if (key == "Y") g.y = v;
    if (key == "WIDTH") g.width = v;
    if (key == "HEIGHT") g.height = v;
  }
  return g;
}

TEST_F(EditorWindowTest, OpensADrawingPaintsItAndQuitsCleanly) {
  if (server_ <= 0) return;
  const std::string file = dir_ + "/two shapes.pdf";
  {
    const Drawing d = TestDrawing();
    ASSERT_TRUE(SavePdf(file, d));
  }
  const Spawned z = Spawn({ZEL_PROGRAM, file}, Env());
  ASSERT_GE(z.pid, 0) << std::strerror(z.error);
  zel_ = z.pid;

  // The window is titled after the document.
  std::string window;
  for (auto end = std::chrono::steady_clock::now() + 30s; window.empty() && std::chrono::steady_clock::now() < end;) {
    window = Tool({"xdotool", "search", "--name", "^two shapes\\.pdf - Orvane Draw 3$"});
    if (HasFailure()) return;
    if (window.empty()) std::this_thread::sleep_for(100ms);
  }
  ASSERT_FALSE(window.empty()) << "no window titled \"two shapes.pdf - Orvane Draw 3\"";
  window = window.substr(0, window.find('\n'));
  const Geometry frame = ParseGeometry(Tool({"xdotool", "getwindowgeometry", "--shell", window}));
  ASSERT_GT(frame.width, 100);
  ASSERT_GT(frame.height, 100);

  // Wait for the view to show what the renderer paints for the same
  // drawing, read back from the same file, in a view of the same size.
  Drawing loaded;
  ASSERT_TRUE(ImportFile(loaded, file));
  const std::string shot = dir_ + "/screen.ppm";
  Screen screen;
  std::string mismatch = "no screenshot";
  IntRect client;
  DibImage expected;
  for (auto end = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    Tool({"import", "-window", "root", "-depth", "8", shot});
    if (HasFailure()) return;
    if (!ReadPpm(shot, screen)) continue;
    // The view fills the frame below its menu bar; the drawing's fit leaves
    // the background colour down the whole left edge.
    const int column = frame.x + 1;
    const int bottom = std::min(frame.y + frame.height, screen.height);
    int top = bottom;
    while (top > frame.y && screen.At(column, top - 1) == kViewBackground) --top;
    if (bottom - top < 100) {
      mismatch = "the view's background is not showing";
      continue;
    }
    client = {frame.x, top, std::min(frame.x + frame.width, screen.width), bottom};

    MemorySettings store;
    FakeViewHost host;
    host.client = {0, 0, client.right - client.left, client.bottom - client.top};
    int32_t unit = 2;
    struct Doc final : ViewDocument {
      Drawing* d;
      Drawing& drawing() override { return *d; }
      bool IsModified() const override { return false; }
      void SetModifiedFlag(bool) override {}
    } doc;
    doc.d = &loaded;
    CZelView view(host, store, unit);
    view.SetDocument(&doc);
    view.OnInitialUpdate();
    host.RunPosted(view);
    view.OnPaint();
    view.OnPaint();
    expected = host.screen;

    mismatch.clear();
    for (int y = 0; y < host.client.bottom && mismatch.empty(); ++y) {
      for (int x = 0; x < host.client.right; ++x) {
        const ColorRef want = PixelAt(expected, x, y);
        const ColorRef got = screen.At(client.left + x, client.top + y);
        if (want != got) {
          char buf[160];
          std::snprintf(buf, sizeof buf, "view pixel (%d, %d): expected %06X, screen shows %06X", x, y, want, got);
          mismatch = buf;
          break;
        }
      }
    }
    if (mismatch.empty()) break;
  }
  ASSERT_EQ(mismatch, "") << "screenshot kept in " << shot;

  // The landmarks, spelled out: both page corners, both shapes.
  {
    MemorySettings store;
    FakeViewHost host;
    host.client = {0, 0, client.right - client.left, client.bottom - client.top};
    int32_t unit = 2;
    CZelView view(host, store, unit);
    view.viewport().fitRect(-900, -1200, 900, 1300, {2, 2, host.client.right - 2, host.client.bottom - 2});
    const Viewport& vp = view.viewport();
    const IntPoint a = vp.toScreen({-740, 0});
    const IntPoint b = vp.toScreen({740, 0});
    EXPECT_EQ(screen.At(client.left + a.x - 1, client.top + a.y), kViewBackground) << "left of the page";
    EXPECT_EQ(screen.At(client.left + a.x, client.top + a.y), 0x000000u) << "page frame, left edge";
    EXPECT_EQ(screen.At(client.left + a.x + 1, client.top + a.y), 0xFFFFFFu) << "the page";
    EXPECT_EQ(screen.At(client.left + b.x - 1, client.top + b.y), 0x000000u) << "page frame, right edge";
    EXPECT_EQ(screen.At(client.left + b.x + 1, client.top + b.y), kPageShadow) << "page shadow";
    const IntPoint r = vp.toScreen({-750, -1050});
    EXPECT_EQ(screen.At(client.left + r.x, client.top + r.y), kRed) << "red rectangle";
    const IntPoint e = vp.toScreen({550, 950});
    EXPECT_EQ(screen.At(client.left + e.x, client.top + e.y), kBlue) << "blue ellipse";
  }

  // Ctrl+Q ends the program without a question: nothing was changed.
  Tool({"xdotool", "windowfocus", window});
  Tool({"xdotool", "key", "--clearmodifiers", "ctrl+q"});
  const std::optional<int> status = WaitForExit(zel_, 20s);
  ASSERT_TRUE(status.has_value()) << "zel did not end after Ctrl+Q";
  zel_ = -1;
  EXPECT_EQ(*status, 0);

  // The view wrote its settings on the way out, readable by their owner only.
  struct stat st{};
  ASSERT_EQ(::stat((dir_ + "/config/settings").c_str(), &st), 0) << "no settings file written";
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace
}  // namespace zel
