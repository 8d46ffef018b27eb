// Which file names are pictures, and how an exported picture's name is
// made from the name asked for.
#pragma once

#include <string>
#include <string_view>

namespace zel {

// True when the path ends, in any letter case, with ".bmp", ".jpg",
// ".jpeg", ".gif", ".png" or ".2bp"; never for a path under 4 characters.
bool IsBitmapPath(std::string_view path);

enum class BitmapOutput { kNone, kBmp, kJpeg, kPng };

// Chosen by the last three characters in lower case ("bmp", "jpg", "png"),
// or a name ending in "jpeg".
BitmapOutput BitmapOutputOf(std::string_view path);

// The path up to the last "." of its file name with ext appended after a
// "."; a name without a "." gets "." and ext.
std::string ReplaceExtension(std::string_view path, std::string_view ext);

}  // namespace zel
