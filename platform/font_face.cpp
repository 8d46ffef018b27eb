#include "platform/font_face.h"

#include <map>
#include <utility>

#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

namespace zel {

// One FreeType library for the process. Every face keeps it alive, so the
// order in which static objects die at exit does not matter.
struct FtLibrary {
  FT_Library library = nullptr;
  ~FtLibrary() {
    if (library) FT_Done_FreeType(library);
  }
};

namespace {

// Bounds the per-face table of advances of characters beyond Latin-1; a text
// cycling through all of Unicode restarts it instead of growing without end.
constexpr size_t kMaxCachedAdvances = 65536;

std::shared_ptr<FtLibrary> SharedLibrary() {
  static std::shared_ptr<FtLibrary> lib = [] {
    auto l = std::make_shared<FtLibrary>();
    if (FT_Init_FreeType(&l->library) != 0) l->library = nullptr;
    return l;
  }();
  return lib;
}

struct FaceCache {
  std::mutex mutex;
  // Failed loads are kept as null so a missing file is not retried each time.
  std::map<std::pair<std::string, int>, std::shared_ptr<FontFace>> faces;
};

FaceCache& Cache() {
  static FaceCache cache;
  return cache;
}

}  // namespace

std::shared_ptr<FontFace> FontFace::Load(const std::string& path, int index) {
  FaceCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  auto key = std::make_pair(path, index);
  auto it = cache.faces.find(key);
  if (it != cache.faces.end()) return it->second;

  std::shared_ptr<FontFace> result;
  std::shared_ptr<FtLibrary> lib = SharedLibrary();
  FT_Face face = nullptr;
  if (lib->library && index >= 0 &&
      FT_New_Face(lib->library, path.c_str(), FT_Long(index), &face) == 0) {
    if (FT_IS_SCALABLE(face) && face->units_per_EM > 0) {
      result.reset(new FontFace(lib, face, path, index));
    } else {
      FT_Done_Face(face);
    }
  }
  cache.faces.emplace(std::move(key), result);
  return result;
}

FontFace::FontFace(std::shared_ptr<FtLibrary> library, FT_Face face, std::string path, int index)
    : library_(std::move(library)), face_(face), path_(std::move(path)), index_(index) {
  latinAdvances_.fill(-1);
  if (face_->family_name) family_ = face_->family_name;
  unitsPerEm_ = face_->units_per_EM;

  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && int(os2->usWinAscent) + int(os2->usWinDescent) > 0) {
    ascent_ = os2->usWinAscent;
    descent_ = os2->usWinDescent;
  } else {
    ascent_ = face_->ascender;
    descent_ = -face_->descender;
  }
  if (ascent_ < 0) ascent_ = 0;
  if (descent_ < 0) descent_ = 0;
  if (ascent_ + descent_ <= 0) {
    // A font without vertical metrics: assume the common 4:1 split of the em.
    ascent_ = unitsPerEm_ * 4 / 5;
    descent_ = unitsPerEm_ - ascent_;
  }

  if (os2 && os2->version != 0xFFFF && os2->usWeightClass >= 100 && os2->usWeightClass <= 1000) {
    weight_ = os2->usWeightClass;
  } else {
    weight_ = (face_->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
  }
  italic_ = (face_->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
}

FontFace::~FontFace() {
  if (face_) FT_Done_Face(face_);
}

unsigned FontFace::GlyphIndex(char32_t c) const {
  auto lock = Lock();
  return FT_Get_Char_Index(face_, FT_ULong(c));
}

int32_t FontFace::LoadAdvance(char32_t c) const {
  FT_UInt glyph = FT_Get_Char_Index(face_, FT_ULong(c));
  FT_Fixed advance = 0;
  if (FT_Get_Advance(face_, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING, &advance) != 0) return 0;
  // A negative advance would let a longer text measure narrower, which line
  // wrapping relies on never happening.
  if (advance < 0) return 0;
  if (advance > 0x7FFFFFFF) return 0x7FFFFFFF;
  return int32_t(advance);
}

int32_t FontFace::AdvanceUnits(char32_t c) const {
  auto lock = Lock();
  if (c < latinAdvances_.size()) {
    int32_t& slot = latinAdvances_[c];
    if (slot < 0) slot = LoadAdvance(c);
    return slot;
  }
  auto it = otherAdvances_.find(c);
  if (it != otherAdvances_.end()) return it->second;
  if (otherAdvances_.size() >= kMaxCachedAdvances) otherAdvances_.clear();
  int32_t a = LoadAdvance(c);
  otherAdvances_.emplace(c, a);
  return a;
}

}  // namespace zel
