#include "platform/font_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "platform/font.h"
#include "platform/font_face.h"
#include "platform/utf16.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZEL_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEL_LEAK_CHECKED 1
#endif
#endif

#ifdef ZEL_LEAK_CHECKED
// fontconfig keeps a few bytes of its parsed configuration for the life of
// the process and cannot be shut down while a GUI toolkit may still use it;
// the leak checker would otherwise fail every run that touched a font.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Without this the checker lists the suppression it used on standard error at
// every exit, which the command line's callers would take for its own output.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

namespace zel {

namespace {

// Names come from documents and imported files; a long session with many
// odd names restarts the table rather than growing it without end.
constexpr size_t kMaxCachedMatches = 512;

const char* const kDefaultSansFamilies[] = {"DejaVu Sans", "Liberation Sans"};

std::mutex& FcMutex() {
  static std::mutex m;
  return m;
}

bool EnsureFontconfig() {
  static const bool ok = FcInit() == FcTrue;
  return ok;
}

// Family names compare as fontconfig compares them: ignoring case and blanks.
std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return out;
}

std::string FoldName(std::string_view s) {
  std::string out = LowerAscii(s);
  out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
  return out;
}

struct FcResultFile {
  std::string path;
  int index = -1;
  std::vector<std::string> families;  // folded
  bool valid() const { return index >= 0 && !path.empty(); }
  bool operator==(const FcResultFile& o) const { return path == o.path && index == o.index; }
};

// fontconfig's best font for a family (empty: no family, i.e. its defaults).
FcResultFile FcBestFont(const std::string& family, int weight, bool italic) {
  FcResultFile out;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return out;
  if (!family.empty()) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return out;
  FcChar8* file = nullptr;
  int index = 0;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
    out.path = reinterpret_cast<const char*>(file);
    out.index = FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch ? index : 0;
  }
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (name) out.families.push_back(FoldName(reinterpret_cast<const char*>(name)));
  }
  FcPatternDestroy(match);
  return out;
}

bool HasFamily(const FcResultFile& r, const std::string& family) {
  std::string folded = FoldName(family);
  return std::find(r.families.begin(), r.families.end(), folded) != r.families.end();
}

std::shared_ptr<FontFace> Resolve(const std::string& name, int weight, bool italic) {
  std::vector<FcResultFile> candidates;
  FcResultFile named;
  if (!name.empty()) {
    named = FcBestFont(name, weight, italic);
    // fontconfig always answers with something. Its answer counts when it is
    // the family asked for, or when the configuration deliberately mapped the
    // name elsewhere (an alias gives another font than the defaults would).
    if (named.valid() &&
        (HasFamily(named, name) || !(named == FcBestFont(std::string(), weight, italic)))) {
      candidates.push_back(named);
    }
  }
  for (const char* family : kDefaultSansFamilies) {
    FcResultFile r = FcBestFont(family, weight, italic);
    if (r.valid() && HasFamily(r, family)) candidates.push_back(r);
  }
  if (named.valid()) candidates.push_back(named);
  FcResultFile anything = FcBestFont(std::string(), weight, italic);
  if (anything.valid()) candidates.push_back(anything);

  for (const FcResultFile& c : candidates) {
    if (auto face = FontFace::Load(c.path, c.index)) return face;
  }
  return nullptr;
}

}  // namespace

std::shared_ptr<FontFace> MatchFontFace(std::u16string_view faceName, int weight, bool italic) {
  if (weight <= 0) weight = 400;
  weight = std::clamp(weight, 1, 1000);
  std::string name = ToUtf8(faceName);
  // fontconfig strings end at a NUL; a name with one inside is cut there.
  name.resize(std::min(name.size(), name.find('\0')));

  std::lock_guard<std::mutex> lock(FcMutex());
  static std::map<std::tuple<std::string, int, bool>, std::shared_ptr<FontFace>> cache;
  auto key = std::make_tuple(name, weight, italic);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  if (!EnsureFontconfig()) return nullptr;
  std::shared_ptr<FontFace> face = Resolve(name, weight, italic);
  if (cache.size() >= kMaxCachedMatches) cache.clear();
  cache.emplace(std::move(key), face);
  return face;
}

std::vector<std::string> FontFamilies() {
  std::vector<std::string> names;
  std::lock_guard<std::mutex> lock(FcMutex());
  if (!EnsureFontconfig()) return names;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  if (pattern && objects) {
    // Only outline fonts: they are the ones text can be measured and drawn with.
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
      for (int i = 0; i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        // The first family name is the font's primary (English) one.
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family) {
          names.emplace_back(reinterpret_cast<const char*>(family));
        }
      }
      FcFontSetDestroy(set);
    }
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);

  // Case-insensitive order, as a face list shows it.
  auto less = [](const std::string& a, const std::string& b) {
    std::string la = LowerAscii(a), lb = LowerAscii(b);
    return la != lb ? la < lb : a < b;
  };
  std::sort(names.begin(), names.end(), less);
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace zel
