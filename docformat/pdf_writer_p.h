// Private pieces of the document writer, shared by its source files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/drawing.h"
#include "model/shape.h"

namespace zel {

// Font resources are named /F13, /F14, ... after their index.
inline constexpr int kFontResourceBase = 13;

struct PdfFont {
  std::string name;                     // base name with its style suffix
  const TextContent* first = nullptr;   // first text using it, in model units
};

// The distinct font names of the texts in list order (compared without
// regard to case); fontOfShape gets each shape's font index or -1.
std::vector<PdfFont> CollectFonts(const Drawing& model, std::vector<int>* fontOfShape);

// The Font, Widths and FontDescriptor objects of a font numbered from
// `object` on, one string each.
void FontObjects(const PdfFont& font, int index, int64_t object, std::string out[3]);

// Content-stream text of one shape of the converted copy. The text writer
// measures with the text in model units (model), as the editor lays it out.
void AppendPathContent(std::string& s, const Shape& shape);
void AppendTextContent(std::string& s, const Shape& shape, const TextContent& model, int fontIndex);
void AppendImageContent(std::string& s, const ImageContent& image, int64_t object);

// A name token's characters: anything a PDF name cannot hold as it is
// becomes #xx.
void AppendNameChars(std::string& s, std::string_view name);

}  // namespace zel
