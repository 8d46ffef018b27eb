// What the view needs from the window it lives in. The view holds all the
// interaction logic and draws through its own surfaces; a window toolkit
// implements this interface, and tests implement it with a recorder.
#pragma once

#include <string_view>

#include "model/dib.h"
#include "model/geometry.h"

namespace zel {

// Message-box buttons and icons, combined with |, and the answers.
inline constexpr int MB_OK = 0x0;
inline constexpr int MB_YESNOCANCEL = 0x3;
inline constexpr int MB_YESNO = 0x4;
inline constexpr int MB_ICONSTOP = 0x10;
inline constexpr int MB_ICONQUESTION = 0x20;
inline constexpr int MB_ICONEXCLAMATION = 0x30;
inline constexpr int MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Keys whose state the tools ask for.
enum class HostKey { kShift, kControl };

class ViewHost {
 public:
  virtual ~ViewHost() = default;

  // The drawing area in window pixels; (0, 0) is its top-left corner.
  virtual IntRect ClientRect() const = 0;

  virtual void CaptureStylus() = 0;
  virtual void ReleaseStylus() = 0;
  virtual bool HasCapture() const = 0;

  // Timer messages come back through CZelView::OnTimer(id).
  virtual void StartTimer(int id, int milliseconds) = 0;
  virtual void KillTimer(int id) = 0;

  // Asks for a paint of the whole drawing area. The view never erases the
  // background itself, so erase only tells whether the window may.
  virtual void Invalidate(bool erase) = 0;

  // Shows area of the window surface (the window's own pixels, a 24-bit
  // bitmap of the client size) on the screen.
  virtual void Present(const DibImage& windowPixels, const IntRect& area) = 0;

  // Queues a command to the window itself; it reaches the view (and, when
  // the view does not handle it, the document, the frame and the
  // application) after the current message.
  virtual void PostCommand(int id) = 0;

  // Scroll-bar range and position; a range of min == max hides the bar.
  virtual void SetScrollBarRange(bool horizontal, int min, int max) = 0;
  virtual void SetScrollBarPosition(bool horizontal, int position) = 0;

  virtual bool IsKeyDown(HostKey key) const = 0;
  // Whether the press at p became a hold long enough for a context menu.
  virtual bool TapAndHold(IntPoint p) = 0;

  // A modal message box; returns IDOK, IDYES, IDNO or IDCANCEL.
  virtual int MessageBox(std::u16string_view text, int style) = 0;

  // Runs the dialog a command opens (settings sheet, properties sheet,
  // library) modally; true when it closed with OK.
  virtual bool RunDialog(int commandId) = 0;

  virtual void SetWaitCursor(bool on) = 0;
};

}  // namespace zel
