// Small bridges between the program's own types and wxWidgets: strings,
// message boxes, file dialogs and the window surface's pixels.
#pragma once

#include <string>
#include <string_view>

#include <wx/bitmap.h>
#include <wx/string.h>
#include <wx/window.h>

#include "model/dib.h"
#include "model/geometry.h"
#include "shell/document_ui.h"

namespace zel {

// The toolkit takes menu ids only below 0x7FFF, and keeps 4999 .. 5999 for
// its own; the program's command ids (32768 and up) are moved down into
// 6000 and up for menus and events.
inline constexpr int kWxCommandShift = 32768 - 6000;
constexpr int WxIdFromCommand(int command) { return command - kWxCommandShift; }
constexpr int CommandFromWxId(int id) { return id + kWxCommandShift; }

// The program's name in captions.
inline constexpr std::u16string_view kAppTitle = u"Orvane Draw 3";

wxString ToWx(std::u16string_view text);
std::u16string FromWx(const wxString& text);
// File names as the file system spells them.
std::string PathFromWx(const wxString& path);
wxString PathToWx(const std::string& path);

// A modal box with the program's caption; buttons and icon from the MB_
// values of view/view_host.h, the answer as IDOK, IDYES, IDNO or IDCANCEL.
int ShowMessageBox(wxWindow* parent, std::u16string_view text, int style);

// An open or save dialog over a filter "name|pattern|...||".
bool ShowFileDialog(wxWindow* parent, FileDialogKind kind, std::u16string_view proposedName,
                    std::string_view filter, int filterIndex, std::string& path);

// The area (within the picture) of a 24-bit bottom-up bitmap as a wx bitmap.
wxBitmap BitmapFromPixels(const DibImage& pixels, const IntRect& area);

}  // namespace zel
