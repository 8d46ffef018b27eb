// A loaded font file (one face of it), shared by every size and style that
// maps to it.
//
// Faces live in a process-wide cache keyed by file and face index, so a text
// measured a thousand times opens its file once. Everything here is in the
// font's design units; Font turns them into logical units for one size.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace zel {

struct FtLibrary;

class FontFace {
 public:
  // The cached face, loading it on first use. Null when the file cannot be
  // read or holds no scalable outlines (bitmap-only fonts cannot be measured
  // at arbitrary sizes).
  static std::shared_ptr<FontFace> Load(const std::string& path, int index);

  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const std::string& filePath() const { return path_; }
  int faceIndex() const { return index_; }
  const std::string& familyName() const { return family_; }

  // Design metrics. Ascent and descent are the ones Windows uses for its cell
  // (OS/2 winAscent and winDescent) when the font has them, else hhea's.
  int unitsPerEm() const { return unitsPerEm_; }
  int ascentUnits() const { return ascent_; }
  int descentUnits() const { return descent_; }
  // Weight class 100..900 and italic flag of the face itself; a request the
  // face cannot honour is simulated by Font.
  int weight() const { return weight_; }
  bool italic() const { return italic_; }

  // Glyph of a code point (0, the missing glyph, when the face has none).
  unsigned GlyphIndex(char32_t c) const;
  // Unscaled, unhinted advance width of the glyph of c in design units.
  int32_t AdvanceUnits(char32_t c) const;

  // The FreeType face for glyph loading. FreeType faces are not thread-safe:
  // hold the lock while setting sizes or loading glyphs.
  FT_Face ftFace() const { return face_; }
  std::unique_lock<std::recursive_mutex> Lock() const {
    return std::unique_lock<std::recursive_mutex>(mutex_);
  }

 private:
  FontFace(std::shared_ptr<FtLibrary> library, FT_Face face, std::string path, int index);
  int32_t LoadAdvance(char32_t c) const;

  std::shared_ptr<FtLibrary> library_;  // outlives the face
  FT_Face face_ = nullptr;
  std::string path_;
  int index_ = 0;
  std::string family_;
  int unitsPerEm_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
  int weight_ = 400;
  bool italic_ = false;

  mutable std::recursive_mutex mutex_;
  mutable std::array<int32_t, 256> latinAdvances_;  // -1 = not looked up yet
  mutable std::unordered_map<char32_t, int32_t> otherAdvances_;
};

}  // namespace zel
