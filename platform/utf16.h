// UTF-16 helpers shared by font matching, measuring and glyph drawing, so that
// every layer walks a text's characters the same way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zel {

inline bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point starting at *i; *i moves past it. A surrogate pair is one
// character; an unpaired surrogate is returned as itself (no glyph maps to it,
// so it measures and draws as the font's missing-glyph box). Precondition:
// *i < s.size().
inline char32_t NextCodePoint(std::u16string_view s, size_t* i) {
  char16_t u = s[*i];
  ++*i;
  if (IsHighSurrogate(u) && *i < s.size() && IsLowSurrogate(s[*i])) {
    char32_t c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(s[*i]) - 0xDC00);
    ++*i;
    return c;
  }
  return u;
}

// Number of code units of the character that ends at position end (> 0):
// 2 for a complete surrogate pair, otherwise 1.
inline size_t LastCharLength(std::u16string_view s, size_t end) {
  if (end >= 2 && IsLowSurrogate(s[end - 1]) && IsHighSurrogate(s[end - 2])) return 2;
  return 1;
}

// UTF-8 form of a UTF-16 text; unpaired surrogates become U+FFFD.
inline std::string ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    char32_t c = NextCodePoint(s, &i);
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | (c >> 6)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(char(0xE0 | (c >> 12)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (c >> 18)));
      out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// UTF-16 form of a UTF-8 text from the system (font families, settings,
// file names). Malformed sequences, overlong forms and surrogate code points
// become U+FFFD, one per offending byte, so no input is dropped silently.
inline std::u16string Utf16FromUtf8(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if (b < 0x80) {
      out += char16_t(b);
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1, c = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, c = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3, c = b & 0x07, min = 0x10000;
    } else {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= s.size() || (static_cast<unsigned char>(s[j]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (static_cast<unsigned char>(s[j]) & 0x3F);
    }
    if (!ok || c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out += char16_t(0xD800 + (c >> 10));
      out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
      out += char16_t(c);
    }
    i = j;
  }
  return out;
}

}  // namespace zel
