// CViewWindow: the wx window the view draws in. It forwards paint, size,
// scroll and timer messages to CZelView and implements the view's host:
// capture, timers, invalidation, presenting the window surface, posting
// commands, scroll bars, key state and message boxes.
#pragma once

#include <map>
#include <memory>

#include <wx/timer.h>
#include <wx/window.h>

#include "view/view_host.h"
#include "view/zel_view.h"

namespace zel {

class CViewWindow final : public wxWindow, public ViewHost {
 public:
  // Posted commands go to commandTarget as menu events.
  CViewWindow(wxWindow* parent, wxEvtHandler* commandTarget);
  ~CViewWindow() override;

  // The window owns its view; destroying it writes the view's settings.
  void SetView(std::unique_ptr<CZelView> view) { view_ = std::move(view); }
  CZelView* view() const { return view_.get(); }

  // --- ViewHost ------------------------------------------------------------------
  IntRect ClientRect() const override;
  void CaptureStylus() override;
  void ReleaseStylus() override;
  bool HasCapture() const override;
  void StartTimer(int id, int milliseconds) override;
  void KillTimer(int id) override;
  void Invalidate(bool erase) override;
  void Present(const DibImage& windowPixels, const IntRect& area) override;
  void PostCommand(int id) override;
  void SetScrollBarRange(bool horizontal, int min, int max) override;
  void SetScrollBarPosition(bool horizontal, int position) override;
  bool IsKeyDown(HostKey key) const override;
  bool TapAndHold(IntPoint p) override;
  int MessageBox(std::u16string_view text, int style) override;
  bool RunDialog(int commandId) override;
  void SetWaitCursor(bool on) override;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnScroll(wxScrollWinEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  // Stylus input: the left button, and the right button as a tap-and-hold.
  void OnMouse(wxMouseEvent& event);

  struct Bar {
    int min = 0;
    int max = 0;
    int position = 0;
  };
  void ApplyBar(bool horizontal);

  std::unique_ptr<CZelView> view_;
  wxEvtHandler* commandTarget_;
  wxDC* paintDc_ = nullptr;  // while a paint message is handled
  std::map<int, std::unique_ptr<wxTimer>> timers_;
  Bar bars_[2];  // horizontal, vertical
  int busy_ = 0;
  bool rightPress_ = false;  // the press in progress came from the right button
  IntPoint lastStylus_;      // the last stylus position handed to the view
};

}  // namespace zel
