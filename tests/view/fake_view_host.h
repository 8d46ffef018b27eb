// A recording ViewHost and an in-memory settings store for driving the view
// without a window.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "model/dib.h"
#include "model/drawing.h"
#include "view/settings_store.h"
#include "view/view_host.h"
#include "view/zel_view.h"

namespace zel::testing {

class MemorySettings final : public SettingsStore {
 public:
  bool ReadSettingDword(std::string_view name, uint32_t& value) const override {
    auto it = dwords.find(std::string(name));
    if (it == dwords.end()) return false;
    value = it->second;
    return true;
  }
  bool WriteSettingDword(std::string_view name, uint32_t value) override {
    dwords[std::string(name)] = value;
    return true;
  }
  bool ReadSettingString(std::string_view name, std::u16string& text) const override {
    auto it = strings.find(std::string(name));
    if (it == strings.end() || it->second.size() >= kSettingStringLimit) return false;
    text = it->second;
    return true;
  }
  bool WriteSettingString(std::string_view name, std::u16string_view text) override {
    strings[std::string(name)] = std::u16string(text);
    return true;
  }

  std::map<std::string, uint32_t> dwords;
  std::map<std::string, std::u16string> strings;
};

// A document held in memory that only remembers its modified flag.
class FakeDocument final : public ViewDocument {
 public:
  Drawing& drawing() override { return drawing_; }
  bool IsModified() const override { return modified_; }
  void SetModifiedFlag(bool modified) override { modified_ = modified; }

 private:
  Drawing drawing_;
  bool modified_ = false;
};

class FakeViewHost final : public ViewHost {
 public:
  IntRect ClientRect() const override { return client; }
  void CaptureStylus() override { captured = true; }
  void ReleaseStylus() override { captured = false; }
  bool HasCapture() const override { return captured; }
  void StartTimer(int id, int milliseconds) override { timers[id] = milliseconds; }
  void KillTimer(int id) override { timers.erase(id); }
  void Invalidate(bool /*erase*/) override { ++invalidations; }
  void Present(const DibImage& windowPixels, const IntRect& area) override {
    presented.push_back(area);
    screen = windowPixels;
  }
  void PostCommand(int id) override { posted.push_back(id); }
  void SetScrollBarRange(bool horizontal, int min, int max) override {
    (horizontal ? hRange : vRange) = {min, max};
  }
  void SetScrollBarPosition(bool horizontal, int position) override {
    (horizontal ? hPosition : vPosition) = position;
  }
  bool IsKeyDown(HostKey key) const override { return key == HostKey::kShift ? shift : control; }
  bool TapAndHold(IntPoint /*p*/) override { return false; }
  int MessageBox(std::u16string_view text, int /*style*/) override {
    messages.emplace_back(text);
    return answer;
  }
  bool RunDialog(int commandId) override {
    dialogs.push_back(commandId);
    return dialogAnswer;
  }
  void SetWaitCursor(bool /*on*/) override {}

  // Delivers the posted commands to the view, as the window's queue does,
  // until none is left. Returns them in order.
  std::vector<int> RunPosted(CZelView& view) {
    std::vector<int> delivered;
    while (!posted.empty()) {
      const int id = posted.front();
      posted.pop_front();
      delivered.push_back(id);
      view.OnCommand(id);
    }
    return delivered;
  }
  // What a new window does with its view: the document set, the initial
  // update with the commands it posts, then the first two paints (the one
  // that fits the drawing and the one that draws it).
  void OpenView(CZelView& view, ViewDocument& doc) {
    view.SetDocument(&doc);
    view.OnInitialUpdate();
    RunPosted(view);
    view.OnPaint();
    view.OnPaint();
  }
  // The paint messages an invalidation brings, until the view stops asking.
  void PaintUntilSettled(CZelView& view) {
    for (int i = 0; i < 4 && invalidations > 0; ++i) {
      invalidations = 0;
      view.OnPaint();
    }
  }

  struct Range {
    int min = 0;
    int max = 0;
    friend bool operator==(const Range&, const Range&) = default;
  };

  IntRect client{0, 0, 240, 268};
  bool captured = false;
  std::map<int, int> timers;
  int invalidations = 0;
  std::vector<IntRect> presented;
  DibImage screen;  // the window as last presented
  std::deque<int> posted;
  Range hRange, vRange;
  int hPosition = 0;
  int vPosition = 0;
  bool shift = false;
  bool control = false;
  std::vector<std::u16string> messages;
  int answer = IDOK;
  std::vector<int> dialogs;
  bool dialogAnswer = false;  // what RunDialog reports: true for OK
};

// The colour of a pixel of a 24-bit picture, as a ColorRef.
inline ColorRef PixelAt(const DibImage& image, int x, int y) {
  const uint8_t* p = image.bits.data() + image.RowOffsetFromTop(y) + 3 * size_t(x);
  return ColorRef(p[2]) | (ColorRef(p[1]) << 8) | (ColorRef(p[0]) << 16);
}

}  // namespace zel::testing
