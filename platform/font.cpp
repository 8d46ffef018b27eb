#include "platform/font.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/font_face.h"
#include "platform/font_match.h"
#include "platform/utf16.h"

namespace zel {

namespace {

// Em height of a request with height 0.
constexpr double kDefaultEmHeight = 16.0;
// Requested heights are capped here and each metric at twice as much, so that
// ascent + descent and sums of a few of them stay within 32 bits even for
// fonts whose cell is many ems tall.
constexpr double kMaxRequestHeight = double(1 << 28);
constexpr double kMaxMetric = double(1 << 29);
constexpr double kMaxWidth = double(1 << 30);
// Simulated bold widens strokes (and advances) by this share of the em.
constexpr double kBoldStrengthPerEm = 1.0 / 24.0;

int RoundMetric(double v, double limit) {
  if (!(v > 0.0)) return 0;
  if (v >= limit) return int(limit);
  return int(std::floor(v + 0.5));
}

}  // namespace

std::shared_ptr<Font> Font::Open(const FontRequest& request) {
  std::shared_ptr<FontFace> face = MatchFontFace(request.faceName, request.weight, request.italic);
  if (!face) return nullptr;
  return std::make_shared<Font>(std::move(face), request);
}

Font::Font(std::shared_ptr<FontFace> face, const FontRequest& request)
    : face_(std::move(face)), request_(request) {
  const double unitsPerEm = face_->unitsPerEm();
  const double ascentUnits = face_->ascentUnits();
  const double descentUnits = face_->descentUnits();
  const int64_t h = request.height;
  if (h > 0) {
    // Cell height: the em follows from the font's ascent and descent.
    const double cell = std::min(double(h), kMaxRequestHeight);
    scale_ = cell / (ascentUnits + descentUnits);
    ascent_ = RoundMetric(ascentUnits * scale_, kMaxMetric);
    descent_ = std::max(0, int(cell) - ascent_);
    emHeight_ = RoundMetric(unitsPerEm * scale_, kMaxMetric);
  } else {
    const double em = h < 0 ? std::min(double(-h), kMaxRequestHeight) : kDefaultEmHeight;
    scale_ = em / unitsPerEm;
    ascent_ = RoundMetric(ascentUnits * scale_, kMaxMetric);
    descent_ = RoundMetric(descentUnits * scale_, kMaxMetric);
    emHeight_ = int(em);
  }
  const int weight = request.weight <= 0 ? 400 : request.weight;
  syntheticBold_ = weight >= 600 && face_->weight() < 600;
  syntheticItalic_ = request.italic && !face_->italic();
}

const std::string& Font::familyName() const { return face_->familyName(); }
const std::string& Font::filePath() const { return face_->filePath(); }

double Font::boldStrength() const {
  return syntheticBold_ ? face_->unitsPerEm() * scale_ * kBoldStrengthPerEm : 0.0;
}

double Font::Advance(char32_t c) const {
  return face_->AdvanceUnits(c) * scale_ + boldStrength();
}

int Font::WidthOf(double advanceSum) { return RoundMetric(advanceSum, kMaxWidth); }

TextExtent Font::Measure(std::u16string_view text) const {
  // Line wrapping sums Advance() the same way; keep the two identical.
  double width = 0.0;
  size_t i = 0;
  while (i < text.size()) width += Advance(NextCodePoint(text, &i));
  TextExtent e;
  e.cx = WidthOf(width);
  e.cy = height();
  return e;
}

}  // namespace zel
