// The editor on a real X server (Xvfb): it opens a drawing, paints the page
// frame and the shapes exactly where the renderer puts them, and ends
// cleanly on Ctrl+Q, writing its settings. Xvfb, xdotool and ImageMagick's
// import are part of the build's dependencies; a missing one fails the test.
#include <sys/stat.h>

#include <cstdio>
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
using testing::FakeDocument;
using testing::FakeViewHost;
using testing::MemorySettings;
using testing::PixelAt;
using testing::ReadPpm;
using testing::Screen;
using testing::Spawn;
using testing::Spawned;

constexpr ColorRef kRed = 0x0000E0;
constexpr ColorRef kBlue = 0xC04000;

class EditorWindowTest : public testing::XServerTest {
 protected:
  EditorWindowTest() : XServerTest("/tmp/zel-gui-XXXXXX") {}
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
  const std::string window = WaitForWindow("^two shapes\\.pdf - Orvane Draw 3$");
  if (HasFailure()) return;
  ASSERT_FALSE(window.empty()) << "no window titled \"two shapes.pdf - Orvane Draw 3\"";
  const testing::WindowGeometry frame =
      testing::ParseWindowGeometry(Tool({"xdotool", "getwindowgeometry", "--shell", window}));
  ASSERT_GT(frame.width, 100);
  ASSERT_GT(frame.height, 100);

  // Wait for the view to show what the renderer paints for the same
  // drawing, read back from the same file, in a view of the same size.
  FakeDocument doc;
  ASSERT_TRUE(ImportFile(doc.drawing(), file));
  const std::string shot = dir_ + "/screen.ppm";
  Screen screen;
  std::string mismatch = "no screenshot";
  IntRect client;
  DibImage expected;
  for (auto end = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    Screenshot(shot);
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
    CZelView view(host, store, unit);
    host.OpenView(view, doc);
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
  const std::optional<int> status = QuitWithCtrlQ();
  ASSERT_TRUE(status.has_value()) << "zel did not end after Ctrl+Q";
  EXPECT_EQ(*status, 0);

  // The view wrote its settings on the way out, readable by their owner only.
  struct stat st{};
  ASSERT_EQ(::stat((dir_ + "/config/settings").c_str(), &st), 0) << "no settings file written";
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace
}  // namespace zel
