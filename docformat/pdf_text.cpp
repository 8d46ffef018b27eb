#include "docformat/pdf_text.h"

#include <charconv>
#include <cmath>

namespace zel {

void AppendFixed(std::string& s, double v, int decimals) {
  // Infinite or NaN coordinates would write tokens no reader accepts.
  if (!std::isfinite(v)) v = 0.0;
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  if (r.ec == std::errc()) s.append(buf, r.ptr);
  else s += '0';
}

void AppendInt(std::string& s, int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  s.append(buf, r.ptr);
}

void AppendOffset10(std::string& s, uint64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  const size_t n = size_t(r.ptr - buf);
  if (n < 10) s.append(10 - n, '0');
  s.append(buf, n);
}

void AppendLatin1(std::string& s, std::u16string_view text) {
  for (char16_t c : text) s += char(c & 0xFF);
}

void AppendStringBody(std::string& s, std::u16string_view text) {
  for (char16_t c : text) {
    const char b = char(c & 0xFF);
    if (b == '\r' || b == '\n' || b == '\0') {
      s += '?';
    } else {
      if (b == '(' || b == ')' || b == '\\') s += '\\';
      s += b;
    }
  }
}

std::u16string ReadStringBody(std::string_view body) {
  std::u16string text;
  text.reserve(body.size());
  for (size_t i = 0; i < body.size(); ++i) {
    char b = body[i];
    if (b == '\\' && i + 1 < body.size()) {
      const char n = body[i + 1];
      if (n == '(' || n == ')' || n == '\\') {
        b = n;
        ++i;
      }
    }
    text += char16_t(static_cast<unsigned char>(b));
  }
  return text;
}

std::u16string WidenLatin1(std::string_view s) {
  std::u16string w;
  w.reserve(s.size());
  for (char c : s) w += char16_t(static_cast<unsigned char>(c));
  return w;
}

}  // namespace zel
