#include "docformat/pdf_cursor.h"

#include <charconv>
#include <cmath>

namespace zel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0'; }

void SkipBlanks(std::string_view* cursor) {
  size_t i = 0;
  while (i < cursor->size() && ((*cursor)[i] == ' ' || (*cursor)[i] == '\t')) ++i;
  cursor->remove_prefix(i);
}

}  // namespace

size_t FindIn(std::string_view bytes, std::string_view pattern, int64_t from, int64_t to) {
  if (bytes.empty() || pattern.empty()) return kNotFound;
  const int64_t last = (to < 0 || to >= int64_t(bytes.size())) ? int64_t(bytes.size()) - 1 : to;
  const int64_t start = from < -1 ? 0 : from + 1;
  const int64_t lastStart = last - int64_t(pattern.size()) + 1;
  if (start > lastStart) return kNotFound;
  const std::string_view window = bytes.substr(size_t(start), size_t(last - start + 1));
  const size_t at = window.find(pattern);
  return at == std::string_view::npos ? kNotFound : size_t(start) + at;
}

bool ReadLine(std::string_view bytes, size_t* pos, std::string_view* line) {
  size_t i = *pos;
  while (i < bytes.size() && (bytes[i] == '\r' || bytes[i] == '\n' || bytes[i] == '\0')) ++i;
  const size_t begin = i;
  while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n' && bytes[i] != '\0') ++i;
  *pos = i;
  *line = Trim(bytes.substr(begin, i - begin));
  return i > begin;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

bool ParseNumber(std::string_view* cursor, double* v) {
  SkipBlanks(cursor);
  std::string_view c = *cursor;
  if (!c.empty() && c.front() == '+') c.remove_prefix(1);
  const auto r = std::from_chars(c.data(), c.data() + c.size(), *v);
  // Infinities and NaN are no coordinates.
  if (r.ec != std::errc() || !std::isfinite(*v)) return false;
  cursor->remove_prefix(size_t(r.ptr - cursor->data()));
  return true;
}

bool ParseInteger(std::string_view* cursor, int64_t* v) {
  SkipBlanks(cursor);
  std::string_view c = *cursor;
  if (!c.empty() && c.front() == '+') c.remove_prefix(1);
  const auto r = std::from_chars(c.data(), c.data() + c.size(), *v);
  if (r.ec != std::errc()) return false;
  cursor->remove_prefix(size_t(r.ptr - cursor->data()));
  return true;
}

std::string_view OperatorOf(std::string_view line) {
  const size_t space = line.find_last_of(" \t");
  return space == std::string_view::npos ? line : line.substr(space + 1);
}

bool OperandsOf(std::string_view line, size_t count, double* out) {
  std::string_view rest = line.substr(0, line.size() - OperatorOf(line).size());
  for (size_t i = 0; i < count; ++i) {
    if (!ParseNumber(&rest, &out[i])) return false;
    // A number must end at a blank, not run into other characters.
    if (!rest.empty() && rest.front() != ' ' && rest.front() != '\t') return false;
  }
  return Trim(rest).empty();
}

}  // namespace zel
