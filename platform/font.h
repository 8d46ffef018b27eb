// Fonts: matching a face name (fontconfig) and measuring text (FreeType).
//
// Measurement is in logical units, one unit per pixel of the font's height,
// so the model can measure at mm/10 and the drawing surface at device pixels
// with the same code: what is measured is what is drawn.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The logical-font fields the engine uses.
struct FontRequest {
  // Negative: character (em) height in logical units; positive: cell height
  // (ascent + descent); 0: a default height.
  int height = 0;
  int escapement = 0;  // tenths of a degree, counter-clockwise
  int weight = 400;    // 700 = bold
  bool italic = false;
  bool underline = false;
  std::u16string faceName;
};

struct TextExtent {
  int cx = 0;
  int cy = 0;
};

class FontFace;  // a loaded font file, shared between sizes

class Font {
 public:
  // Matches the face name (an unknown name falls back to a default sans face).
  // Returns null only when no font at all can be loaded.
  static std::shared_ptr<Font> Open(const FontRequest& request);

  const FontRequest& request() const { return request_; }
  // Cell metrics in logical units.
  int ascent() const { return ascent_; }
  int descent() const { return descent_; }
  int height() const { return ascent_ + descent_; }
  int emHeight() const { return emHeight_; }
  // Name of the family that was actually loaded.
  const std::string& familyName() const;
  const std::string& filePath() const;

  // Extent of one line (no line breaks): advance width and cell height.
  TextExtent Measure(std::u16string_view text) const;
  // Advance of one character in logical units (fractional). Measure sums
  // these in text order and rounds once, so a prefix of a text never measures
  // wider than the whole.
  double Advance(char32_t c) const;
  // The width Measure reports for a sum of advances.
  static int WidthOf(double advanceSum);

  // Logical units per design unit of the face.
  double scale() const { return scale_; }
  // Bold or italic asked for but the matched face has neither: glyphs are
  // emboldened by boldStrength() (which widens every advance by as much) or
  // slanted when drawn.
  bool syntheticBold() const { return syntheticBold_; }
  bool syntheticItalic() const { return syntheticItalic_; }
  double boldStrength() const;

  std::shared_ptr<FontFace> face() const { return face_; }

  Font(std::shared_ptr<FontFace> face, const FontRequest& request);

 private:
  std::shared_ptr<FontFace> face_;
  FontRequest request_;
  int emHeight_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
  double scale_ = 0.0;  // logical units per font design unit
  bool syntheticBold_ = false;
  bool syntheticItalic_ = false;
};

// Installed font families, sorted, without duplicates.
std::vector<std::string> FontFamilies();

}  // namespace zel
