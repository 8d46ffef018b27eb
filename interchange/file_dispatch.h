// Import and export of drawing files, the converter chosen by the file
// name's extension alone: ".pdf" and ".tpl" are the program's own documents,
// the others interchange formats.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "model/drawing.h"

namespace zel {

inline constexpr std::u16string_view kFailedToOpen = u"Failed to open file!";
inline constexpr std::u16string_view kFailedToSave = u"Failed to save file!";
inline constexpr std::u16string_view kSinglePageNotice =
    u"This format supports only one page. The current page will be saved.";

// Shows an information message the user acknowledges with OK; the engine
// has no windows, so the caller decides how (a message box, a line on
// stderr).
using NoticeHandler = std::function<void(std::u16string_view message)>;

// Reads the file into the drawing. False with the drawing's last-error text
// set on failure; group ids are renumbered compactly either way.
[[nodiscard]] bool ImportFile(Drawing& drawing, const std::string& path);

// Writes the drawing to the file: the whole document for ".pdf" and ".tpl",
// page `page` (zero-based, clamped to the last page) for the single-page
// formats. maxWidth and maxHeight reach the metafile writer only (-1 for
// none). The file is replaced only when it was written completely; on
// failure an existing file stays as it was.
[[nodiscard]] bool ExportFile(Drawing& drawing, const std::string& path, int page, int maxWidth,
                              int maxHeight, const NoticeHandler& notice = {});

}  // namespace zel
