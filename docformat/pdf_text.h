// Building and taking apart the text of PDF objects and content streams.
//
// Numbers are formatted and parsed without the C locale (a user locale with a
// decimal comma must never reach a file). Strings are 8-bit: each UTF-16
// code unit becomes its low byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

// Appends v with exactly `decimals` digits after the point, like printf's
// "%.Nf".
void AppendFixed(std::string& s, double v, int decimals);
void AppendInt(std::string& s, int64_t v);
// Appends v as ten digits with leading zeros (a cross-reference offset).
void AppendOffset10(std::string& s, uint64_t v);

// Appends the low byte of every code unit.
void AppendLatin1(std::string& s, std::u16string_view text);
// Appends text for the inside of a "( ) Tj" string: the low byte of every
// code unit, with "(", ")" and "\" escaped by a backslash, and the bytes CR,
// LF and NUL written as "?" since the reader splits lines at them.
void AppendStringBody(std::string& s, std::u16string_view text);
// The reverse: removes the escapes AppendStringBody adds and widens each
// byte to a code unit. Other backslash sequences are kept as they are, so
// text written without escapes reads back unchanged.
std::u16string ReadStringBody(std::string_view body);

// Strings of the file as 16-bit text and back (bytes widened).
std::u16string WidenLatin1(std::string_view s);

}  // namespace zel
