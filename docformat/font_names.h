// Font names: device face names in text objects, PostScript names in files.
//
// Shared by the document writer and reader and by the Illustrator converter,
// so that a document written and read again names an installed face.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zel {

// The installed family a name stands for: the family equal to it when case
// and spaces are ignored, in its installed spelling. Otherwise Tahoma when it
// is installed (or nothing is), else the family the platform's font matching
// draws for the name (a metric twin such as Liberation Sans for Arial, or the
// default face).
std::u16string ResolveInstalled(std::u16string_view name);
// The same against a given list of families, the first of which stands in
// for unknown names when Tahoma is absent (tests pin the installed set).
std::u16string ResolveInstalled(std::u16string_view name, std::span<const std::u16string> families);

// Writers: the PostScript base name for a face name.
std::u16string FaceToPostScript(std::u16string_view face);
std::u16string FaceToPostScript(std::u16string_view face, std::span<const std::u16string> families);
// Readers: the installed face for a PostScript base name.
std::u16string PostScriptToFace(std::u16string_view postScript);
std::u16string PostScriptToFace(std::u16string_view postScript,
                                std::span<const std::u16string> families);

}  // namespace zel
