// A window test on its own X server (Xvfb) with a scratch directory for the
// editor's home and settings, kept for inspection when the test fails; and
// the reading of what the server shows (window geometry, screenshots).
#pragma once

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "gui/process_runner.h"
#include "model/color.h"

namespace zel::testing {

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
inline bool ReadPpm(const std::string& path, Screen& s) {
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

struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
};

// The output of `xdotool getwindowgeometry --shell`.
inline WindowGeometry ParseWindowGeometry(const std::string& shell) {
  WindowGeometry g;
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

class XServerTest : public ::testing::Test {
 protected:
  // dirPattern: the scratch directory's template for mkdtemp.
  explicit XServerTest(std::string dirPattern) : dirPattern_(std::move(dirPattern)) {}

  void SetUp() override {
    std::vector<char> pattern(dirPattern_.begin(), dirPattern_.end());
    pattern.push_back('\0');
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern.data();
    StartServer();
  }
  void TearDown() override {
    if (zel_ > 0) Stop(zel_);
    if (server_ > 0) Stop(server_);
    if (!HasFailure()) std::filesystem::remove_all(dir_);
    else std::fprintf(stderr, "kept for inspection: %s\n", dir_.c_str());
  }

  // The environment of every program the test starts: the test's display,
  // settings and home, and no accessibility bus to wait for.
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
    const RunResult r = testing::Run(argv, Env());
    if (r.error != 0) ADD_FAILURE() << "cannot run " << argv[0] << " (" << std::strerror(r.error) << ")";
    return r.status == 0 ? r.out : std::string();
  }

  // The first window whose title matches the pattern, waiting up to 30 s
  // for it; empty when none showed or a tool failed.
  std::string WaitForWindow(const std::string& titlePattern) {
    using namespace std::chrono_literals;
    std::string window;
    for (auto end = std::chrono::steady_clock::now() + 30s; window.empty() && std::chrono::steady_clock::now() < end;) {
      window = Tool({"xdotool", "search", "--name", titlePattern});
      if (HasFailure()) return std::string();
      if (window.empty()) std::this_thread::sleep_for(100ms);
    }
    return window.substr(0, window.find('\n'));
  }

  // The whole screen into a PPM file of 8 bits a sample.
  void Screenshot(const std::string& path) { Tool({"import", "-window", "root", "-depth", "8", path}); }

  // Ctrl+Q to the focused window; the editor's exit status once it has
  // ended within 20 s, else nullopt (it is stopped on tear-down).
  std::optional<int> QuitWithCtrlQ() {
    using namespace std::chrono_literals;
    Tool({"xdotool", "key", "--clearmodifiers", "ctrl+q"});
    const std::optional<int> status = WaitForExit(zel_, 20s);
    if (status) zel_ = -1;
    return status;
  }

  std::string dir_;
  std::string display_;
  pid_t server_ = -1;
  pid_t zel_ = -1;

 private:
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

  std::string dirPattern_;
};

}  // namespace zel::testing
