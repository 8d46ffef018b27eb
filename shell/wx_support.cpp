#include "shell/wx_support.h"

#include <algorithm>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/msgdlg.h>

#include "platform/utf16.h"
#include "view/view_host.h"

namespace zel {

wxString ToWx(std::u16string_view text) { return wxString::FromUTF8(ToUtf8(text)); }

std::u16string FromWx(const wxString& text) { return Utf16FromUtf8(text.utf8_string()); }

std::string PathFromWx(const wxString& path) {
  const wxCharBuffer bytes = path.fn_str();
  return bytes.data() ? std::string(bytes.data()) : std::string();
}

wxString PathToWx(const std::string& path) { return wxString(path.c_str(), *wxConvFileName); }

int ShowMessageBox(wxWindow* parent, std::u16string_view text, int style) {
  long wxStyle = wxOK;
  switch (style & 0xF) {
    case MB_YESNOCANCEL: wxStyle = wxYES_NO | wxCANCEL; break;
    case MB_YESNO: wxStyle = wxYES_NO; break;
    default: break;
  }
  switch (style & 0xF0) {
    case MB_ICONSTOP: wxStyle |= wxICON_ERROR; break;
    case MB_ICONQUESTION: wxStyle |= wxICON_QUESTION; break;
    case MB_ICONEXCLAMATION: wxStyle |= wxICON_EXCLAMATION; break;
    case MB_ICONINFORMATION: wxStyle |= wxICON_INFORMATION; break;
    default: break;
  }
  wxMessageDialog dialog(parent, ToWx(text), ToWx(kAppTitle), wxStyle);
  switch (dialog.ShowModal()) {
    case wxID_YES: return IDYES;
    case wxID_NO: return IDNO;
    case wxID_CANCEL: return IDCANCEL;
    default: return (wxStyle & wxCANCEL) ? IDCANCEL : (wxStyle & wxYES_NO) ? IDNO : IDOK;
  }
}

bool ShowFileDialog(wxWindow* parent, FileDialogKind kind, std::u16string_view proposedName, std::string_view filter,
                    int filterIndex, std::string& path) {
  // The filter ends with an empty pair, which the toolkit would show.
  while (filter.ends_with('|')) filter.remove_suffix(1);
  wxString folder;
  wxString name;
  if (kind == FileDialogKind::kSave && !proposedName.empty()) {
    const wxFileName proposed(ToWx(proposedName));
    folder = proposed.GetPath();
    name = proposed.GetFullName();
  }
  const long style = kind == FileDialogKind::kSave ? (wxFD_SAVE | wxFD_OVERWRITE_PROMPT) : wxFD_OPEN;
  wxFileDialog dialog(parent, kind == FileDialogKind::kSave ? wxString("Save As") : wxString("Open"), folder, name,
                      wxString::FromUTF8(std::string(filter)), style);
  dialog.SetFilterIndex(filterIndex);
  if (dialog.ShowModal() != wxID_OK) return false;
  path = PathFromWx(dialog.GetPath());
  return !path.empty();
}

wxBitmap BitmapFromPixels(const DibImage& pixels, const IntRect& area) {
  const int width = pixels.header.width;
  const int height = pixels.header.height < 0 ? -pixels.header.height : pixels.header.height;
  const int left = std::clamp(area.left, 0, width);
  const int top = std::clamp(area.top, 0, height);
  const int right = std::clamp(area.right, left, width);
  const int bottom = std::clamp(area.bottom, top, height);
  if (right <= left || bottom <= top || pixels.header.bitCount != 24) return wxBitmap();
  wxImage image(right - left, bottom - top, false);
  unsigned char* out = image.GetData();
  for (int y = top; y < bottom; ++y) {
    const uint8_t* in = pixels.bits.data() + pixels.RowOffsetFromTop(y) + 3 * size_t(left);
    for (int x = left; x < right; ++x, in += 3, out += 3) {
      out[0] = in[2];  // the bitmap holds blue, green, red
      out[1] = in[1];
      out[2] = in[0];
    }
  }
  return wxBitmap(image);
}

}  // namespace zel
