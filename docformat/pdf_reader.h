// The document reader: loads files written by the document writer.
//
// Not a general PDF parser: it recognises its own files by the creator
// comment, relies on the writer's object order and line layout, and rebuilds
// shapes from the operators the writer emits. Every offset and length taken
// from a file is checked against the file, so a damaged file fails with a
// message instead of reading out of bounds.
#pragma once

#include <string>
#include <string_view>

#include "model/drawing.h"

namespace zel {

inline constexpr std::u16string_view kNotOurDocument =
    u"Only PDF documents created by Orvane Draw can be opened!";

// Clears the drawing and rebuilds it from the file. False when the file
// cannot be read, is empty, is not one of ours (lastError says so), or is
// damaged (lastError says where). Shapes read before a failure stay.
[[nodiscard]] bool LoadPdf(const std::string& path, Drawing& drawing);
// The same from bytes in memory.
[[nodiscard]] bool ReadPdf(std::string_view bytes, Drawing& drawing);

}  // namespace zel
