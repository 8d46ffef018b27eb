#include "shell/view_window.h"

#include <algorithm>
#include <cstdlib>

#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/time.h>
#include <wx/utils.h>

#include "shell/wx_support.h"

namespace zel {

CViewWindow::CViewWindow(wxWindow* parent, wxEvtHandler* commandTarget)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxFULL_REPAINT_ON_RESIZE | wxHSCROLL | wxVSCROLL | wxWANTS_CHARS),
      commandTarget_(commandTarget) {
  // Paint covers every pixel; the toolkit must never erase underneath.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CViewWindow::OnPaint, this);
  Bind(wxEVT_SIZE, &CViewWindow::OnSize, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CViewWindow::OnCaptureLost, this);
  Bind(wxEVT_TIMER, &CViewWindow::OnTimer, this);
  for (const auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DCLICK, wxEVT_MOTION, wxEVT_RIGHT_DOWN,
                          wxEVT_RIGHT_UP})
    Bind(type, &CViewWindow::OnMouse, this);
  for (const auto type : {wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP,
                          wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBRELEASE, wxEVT_SCROLLWIN_THUMBTRACK,
                          wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM})
    Bind(type, &CViewWindow::OnScroll, this);
  ApplyBar(true);
  ApplyBar(false);
}

CViewWindow::~CViewWindow() {
  for (auto& [id, timer] : timers_) timer->Stop();
  if (HasCapture()) ReleaseMouse();
  while (busy_ > 0) SetWaitCursor(false);
  view_.reset();
}

IntRect CViewWindow::ClientRect() const {
  const wxSize size = GetClientSize();
  return IntRect{0, 0, size.GetWidth(), size.GetHeight()};
}

void CViewWindow::CaptureStylus() {
  if (!HasCapture()) CaptureMouse();
}

void CViewWindow::ReleaseStylus() {
  if (HasCapture()) ReleaseMouse();
}

bool CViewWindow::HasCapture() const { return wxWindow::HasCapture(); }

void CViewWindow::StartTimer(int id, int milliseconds) {
  auto& timer = timers_[id];
  if (!timer) timer = std::make_unique<wxTimer>(this, id);
  timer->Start(milliseconds);
}

void CViewWindow::KillTimer(int id) {
  if (auto it = timers_.find(id); it != timers_.end()) it->second->Stop();
}

void CViewWindow::Invalidate(bool /*erase*/) { Refresh(false); }

void CViewWindow::Present(const DibImage& windowPixels, const IntRect& area) {
  const wxBitmap bitmap = BitmapFromPixels(windowPixels, area);
  if (!bitmap.IsOk()) return;
  if (paintDc_) {
    paintDc_->DrawBitmap(bitmap, area.left, area.top);
  } else {
    wxClientDC dc(this);
    dc.DrawBitmap(bitmap, area.left, area.top);
  }
}

void CViewWindow::PostCommand(int id) {
  wxQueueEvent(commandTarget_, new wxCommandEvent(wxEVT_MENU, WxIdFromCommand(id)));
}

void CViewWindow::ApplyBar(bool horizontal) {
  const Bar& bar = bars_[horizontal ? 0 : 1];
  const int orient = horizontal ? wxHORIZONTAL : wxVERTICAL;
  // The toolkit's bars count from 0; an empty range hides the bar.
  if (bar.max <= bar.min) {
    SetScrollbar(orient, 0, 0, 0);
  } else {
    SetScrollbar(orient, bar.position - bar.min, 1, bar.max - bar.min + 1);
  }
}

void CViewWindow::SetScrollBarRange(bool horizontal, int min, int max) {
  Bar& bar = bars_[horizontal ? 0 : 1];
  bar.min = min;
  bar.max = max;
  ApplyBar(horizontal);
}

void CViewWindow::SetScrollBarPosition(bool horizontal, int position) {
  Bar& bar = bars_[horizontal ? 0 : 1];
  bar.position = std::clamp(position, bar.min, bar.max);
  if (bar.max > bar.min) wxWindow::SetScrollPos(horizontal ? wxHORIZONTAL : wxVERTICAL, bar.position - bar.min);
}

bool CViewWindow::IsKeyDown(HostKey key) const {
  return wxGetKeyState(key == HostKey::kShift ? WXK_SHIFT : WXK_CONTROL);
}

bool CViewWindow::TapAndHold(IntPoint p) {
  if (rightPress_) return true;
  // A press held still for half a second; moving away or lifting ends it.
  const wxLongLong end = wxGetLocalTimeMillis() + 500;
  while (wxGetLocalTimeMillis() < end) {
    const wxMouseState state = wxGetMouseState();
    if (!state.LeftIsDown()) return false;
    const wxPoint at = ScreenToClient(state.GetPosition());
    if (std::abs(at.x - p.x) > 2 || std::abs(at.y - p.y) > 2) return false;
    wxMilliSleep(10);
  }
  return true;
}

int CViewWindow::MessageBox(std::u16string_view text, int style) { return ShowMessageBox(this, text, style); }

bool CViewWindow::RunDialog(int /*commandId*/) { return false; }

void CViewWindow::SetWaitCursor(bool on) {
  if (on) {
    ++busy_;
    wxBeginBusyCursor();
  } else if (busy_ > 0) {
    --busy_;
    wxEndBusyCursor();
  }
}

void CViewWindow::OnPaint(wxPaintEvent& /*event*/) {
  wxPaintDC dc(this);
  if (!view_) return;
  paintDc_ = &dc;
  view_->OnPaint();
  paintDc_ = nullptr;
}

void CViewWindow::OnSize(wxSizeEvent& event) {
  Refresh(false);
  event.Skip();
}

void CViewWindow::OnScroll(wxScrollWinEvent& event) {
  if (!view_) return;
  const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
  const wxEventType type = event.GetEventType();
  int code = -1;
  if (type == wxEVT_SCROLLWIN_LINEUP) code = 0;
  else if (type == wxEVT_SCROLLWIN_LINEDOWN) code = 1;
  else if (type == wxEVT_SCROLLWIN_PAGEUP) code = 2;
  else if (type == wxEVT_SCROLLWIN_PAGEDOWN) code = 3;
  else if (type == wxEVT_SCROLLWIN_THUMBRELEASE) code = 4;
  // Thumb tracking, top and bottom do nothing.
  if (code < 0) return;
  view_->OnScroll(horizontal, code, event.GetPosition() + bars_[horizontal ? 0 : 1].min);
}

void CViewWindow::OnTimer(wxTimerEvent& event) {
  if (view_) view_->OnTimer(event.GetId());
}

void CViewWindow::OnCaptureLost(wxMouseCaptureLostEvent& /*event*/) {}

void CViewWindow::OnMouse(wxMouseEvent& event) {
  if (!view_) return;
  // The button flags a stylus message carries.
  constexpr uint32_t kLeft = 0x1, kRight = 0x2, kShift = 0x4, kControl = 0x8;
  uint32_t flags = 0;
  if (event.LeftIsDown()) flags |= kLeft;
  if (event.RightIsDown()) flags |= kRight;
  if (event.ShiftDown()) flags |= kShift;
  if (event.ControlDown()) flags |= kControl;
  const IntPoint p{event.GetX(), event.GetY()};
  const wxEventType type = event.GetEventType();
  if (!view_->stylusMovePending) {
    // A slow drag preview gives up when newer input waits and the pointer
    // has moved on from the position the view is working with.
    view_->stylusMovePending = [this] {
      wxEventLoopBase* loop = wxEventLoopBase::GetActive();
      if (!loop || !loop->Pending()) return false;
      const wxPoint at = ScreenToClient(wxGetMouseState().GetPosition());
      return at.x != lastStylus_.x || at.y != lastStylus_.y;
    };
  }
  lastStylus_ = p;
  if (type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN) {
    rightPress_ = type == wxEVT_RIGHT_DOWN;
    SetFocus();
    view_->OnStylusDown(flags, p);
  } else if (type == wxEVT_LEFT_UP || type == wxEVT_RIGHT_UP) {
    view_->OnStylusUp(flags, p);
    rightPress_ = false;
  } else if (type == wxEVT_LEFT_DCLICK) {
    view_->OnDoubleTap(flags, p);
  } else if (type == wxEVT_MOTION) {
    view_->OnStylusMove(flags, p);
  }
  event.Skip(type == wxEVT_LEFT_DOWN);
}

}  // namespace zel
