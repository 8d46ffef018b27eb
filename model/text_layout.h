// Line splitting, wrapping and measurement of text objects.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/font.h"

namespace zel {

class TextContent;
class Viewport;

// 0 for an empty text, otherwise the number of "\r\n" plus 1.
int TextLineCount(std::u16string_view text);
// The text from *pos to the next "\r\n" (or the end); *pos moves past it and
// the two break characters.
std::u16string_view TextLine(std::u16string_view text, size_t* pos);
// The next line of paragraph text wrapped to boxWidth logical units.
// Every call on a position inside the text moves the position forward, so a
// loop until the end always terminates. A negative width takes the rest of
// the text.
std::u16string_view WrappedTextLine(std::u16string_view text, size_t* pos, const Font& font,
                                    int boxWidth);
// The wrapping width of a paragraph: corner.x - anchor.x rounded toward zero.
int ParagraphBoxWidth(const TextContent& text);

// The logical font of a text object. With a viewport the height is the size
// in that viewport's pixels, otherwise in mm/10.
FontRequest TextFontRequest(const TextContent& text, const Viewport* vp = nullptr);
std::shared_ptr<Font> TextFont(const TextContent& text, const Viewport* vp = nullptr);

// Width and height of the whole multi-line text at mm/10.
TextExtent TextBlockExtent(const TextContent& text, const Font& font);

}  // namespace zel
