#include "docformat/font_names.h"

#include <vector>

#include "platform/font.h"
#include "platform/utf16.h"

namespace zel {

namespace {

struct FontRow {
  std::u16string_view system;
  std::u16string_view postScript;
};

// Searched top to bottom in both directions; a family may have several
// PostScript spellings, the first one is written.
constexpr FontRow kFontTable[] = {
    {u"Arial", u"ArialMT"},
    {u"Arial Black", u"Arial-Black"},
    {u"Courier New", u"CourierNewPS"},
    {u"Courier New", u"CourierNewPSMT"},
    {u"Symbol", u"SymbolMT"},
    {u"Tahoma", u"Tahoma"},
    {u"Times New Roman", u"TimesNewRomanPS"},
    {u"Times New Roman", u"TimesNewRomanPSMT"},
    {u"Verdana", u"Verdana"},
};

char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

std::u16string Upper(std::u16string_view s) {
  std::u16string u;
  u.reserve(s.size());
  for (char16_t c : s) u += UpperAscii(c);
  return u;
}

// Upper case without spaces: how names are compared with families.
std::u16string Key(std::u16string_view s) {
  std::u16string k;
  k.reserve(s.size());
  for (char16_t c : s) {
    if (c != u' ') k += UpperAscii(c);
  }
  return k;
}

std::u16string WithoutSpaces(std::u16string_view s) {
  std::u16string k;
  for (char16_t c : s) {
    if (c != u' ') k += c;
  }
  return k;
}

const std::vector<std::u16string>& InstalledFamilies() {
  static const std::vector<std::u16string> families = [] {
    std::vector<std::u16string> list;
    for (const std::string& f : FontFamilies()) list.push_back(Utf16FromUtf8(f));
    return list;
  }();
  return families;
}

// The installed families, led by the one the platform would draw for name.
std::vector<std::u16string> FamiliesFor(std::u16string_view name) {
  std::vector<std::u16string> list;
  FontRequest request;
  request.faceName = std::u16string(name);
  if (std::shared_ptr<Font> font = Font::Open(request)) list.push_back(Utf16FromUtf8(font->familyName()));
  const std::vector<std::u16string>& installed = InstalledFamilies();
  list.insert(list.end(), installed.begin(), installed.end());
  return list;
}

}  // namespace

std::u16string ResolveInstalled(std::u16string_view name, std::span<const std::u16string> families) {
  const std::u16string key = Key(name);
  bool tahoma = families.empty();
  for (const std::u16string& f : families) {
    const std::u16string k = Key(f);
    if (k == key) return f;
    if (k == u"TAHOMA") tahoma = true;
  }
  return tahoma ? std::u16string(u"Tahoma") : families.front();
}

std::u16string ResolveInstalled(std::u16string_view name) {
  return ResolveInstalled(name, FamiliesFor(name));
}

std::u16string FaceToPostScript(std::u16string_view face, std::span<const std::u16string> families) {
  const std::u16string resolved = WithoutSpaces(ResolveInstalled(face, families));
  const std::u16string key = Key(resolved);
  for (const FontRow& row : kFontTable) {
    if (Key(row.system) == key) return std::u16string(row.postScript);
  }
  return resolved;
}

std::u16string FaceToPostScript(std::u16string_view face) {
  return FaceToPostScript(face, FamiliesFor(face));
}

std::u16string PostScriptToFace(std::u16string_view postScript,
                                std::span<const std::u16string> families) {
  const std::u16string key = Upper(postScript);
  for (const FontRow& row : kFontTable) {
    if (Upper(row.postScript) == key) return ResolveInstalled(row.system, families);
  }
  return ResolveInstalled(postScript, families);
}

std::u16string PostScriptToFace(std::u16string_view postScript) {
  const std::u16string key = Upper(postScript);
  for (const FontRow& row : kFontTable) {
    if (Upper(row.postScript) == key) return ResolveInstalled(row.system);
  }
  return ResolveInstalled(postScript);
}

}  // namespace zel
