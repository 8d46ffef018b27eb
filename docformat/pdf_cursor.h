// Small cursor parsers over the bytes of a document. Every position is
// checked against the size of the buffer it reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zel {

inline constexpr size_t kNotFound = size_t(-1);

// The first index i with from < i whose match of pattern ends at or before
// index to (the last byte when to is negative or past the end). from may be
// -1 to search from the start. kNotFound when there is none.
size_t FindIn(std::string_view bytes, std::string_view pattern, int64_t from, int64_t to);

// Skips a run of CR, LF and zero bytes, then takes the bytes up to the next
// CR, LF or zero byte (or the end) and moves *pos past them. The line is
// trimmed of white space. False when no bytes remain.
bool ReadLine(std::string_view bytes, size_t* pos, std::string_view* line);

std::string_view Trim(std::string_view s);
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);
bool Contains(std::string_view s, std::string_view part);

// Skips blanks, then reads a number ("12", "-0.5", ".5", "+3") and moves
// the cursor past it.
bool ParseNumber(std::string_view* cursor, double* v);
// The same for a decimal integer.
bool ParseInteger(std::string_view* cursor, int64_t* v);

// An operator line "n1 n2 ... op": its last token is the operator.
std::string_view OperatorOf(std::string_view line);
// Exactly count numbers before the operator, all readable.
bool OperandsOf(std::string_view line, size_t count, double* out);

}  // namespace zel
