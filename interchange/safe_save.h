// Replacing a file only once its new content is complete.
#pragma once

#include <functional>
#include <string>

namespace zel {

// Calls write with the path of a new temporary file in the target's folder.
// When write returns true (it must have written, flushed and closed the
// file, checking every step), the temporary file takes the place of the
// target; otherwise, or when that fails, it is removed and the target is
// left byte for byte as it was. A replaced target keeps its permissions.
[[nodiscard]] bool SafeSave(const std::string& target,
                            const std::function<bool(const std::string& tempPath)>& write);

}  // namespace zel
