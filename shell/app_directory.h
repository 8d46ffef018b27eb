// The program's own folder, holding Library, Templates, Temp and the
// request and result files, and the per-user folders it derives from.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace zel {

// $ZEL_HOME when set; otherwise $XDG_DATA_HOME/zel (~/.local/share/zel when
// that is unset or not absolute), created on first use. No trailing slash.
std::string AppDirectory();

// AppDirectory() joined with a tail such as "Templates" or "Temp/".
std::string AppPath(std::string_view tail);

// The folder named by an XDG variable when it holds an absolute path,
// otherwise the fallback under the user's home folder.
std::string UserFolder(const char* variable, std::string_view fallbackUnderHome);

// Creates the folder and any missing parents with the given mode; true when
// the folder exists afterwards.
bool MakeFolders(const std::string& path, mode_t mode);

}  // namespace zel
