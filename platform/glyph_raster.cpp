#include "platform/glyph_raster.h"

#include <algorithm>
#include <cmath>

#include "platform/font_face.h"
#include "platform/utf16.h"

#include FT_OUTLINE_H

namespace zel {

namespace {

// Outlines reaching beyond this many pixels from the origin are not drawn: the
// rasteriser's 26.6 cells and 16-bit span positions cannot hold them.
constexpr double kMaxPixel = double(1 << 22);
constexpr double kSyntheticSlant = 0.2;  // x shift per unit of height

struct SpanSink {
  const PixelBox* clip;
  std::vector<CoverageSpan>* out;
};

void CollectSpans(int y, int count, const FT_Span* spans, void* user) {
  auto* sink = static_cast<SpanSink*>(user);
  if (y < sink->clip->top || y >= sink->clip->bottom) return;
  for (int i = 0; i < count; ++i) {
    int x0 = std::max(int(spans[i].x), sink->clip->left);
    int x1 = std::min(int(spans[i].x) + int(spans[i].len), sink->clip->right);
    if (x0 < x1 && spans[i].coverage) sink->out->push_back({x0, y, x1 - x0, spans[i].coverage});
  }
}

FT_Fixed ToFixed(double v) { return FT_Fixed(std::llround(v * 65536.0)); }
FT_Pos To26_6(double v) { return FT_Pos(std::llround(v * 64.0)); }

// Renders an outline already in device 26.6 coordinates, when it is in reach.
void Render(FT_Library lib, FT_Outline* outline, const PixelBox& clip, SpanSink* sink) {
  FT_BBox box;
  FT_Outline_Get_CBox(outline, &box);
  if (box.xMax / 64 < clip.left - 1 || box.xMin / 64 > clip.right + 1 || box.yMax / 64 < clip.top - 1 ||
      box.yMin / 64 > clip.bottom + 1)
    return;
  const FT_Pos limit = FT_Pos(kMaxPixel * 64);
  if (box.xMin < -limit || box.yMin < -limit || box.xMax > limit || box.yMax > limit) return;
  FT_Raster_Params params = {};
  params.source = outline;
  params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
  params.gray_spans = CollectSpans;
  params.user = sink;
  params.clip_box.xMin = clip.left;
  params.clip_box.yMin = clip.top;
  params.clip_box.xMax = clip.right;
  params.clip_box.yMax = clip.bottom;
  FT_Outline_Render(lib, outline, &params);
}

}  // namespace

bool RasterizeText(const Font& font, std::u16string_view text, double x, double y,
                   const PixelBox& clipIn, std::vector<CoverageSpan>& out) {
  std::shared_ptr<FontFace> face = font.face();
  if (!face) return false;
  // FreeType reports span positions in 16 bits.
  PixelBox clip{std::max(clipIn.left, -32000), std::max(clipIn.top, -32000), std::min(clipIn.right, 32000),
                std::min(clipIn.bottom, 32000)};
  if (clip.left >= clip.right || clip.top >= clip.bottom || text.empty()) return true;
  if (std::fabs(x) > kMaxPixel || std::fabs(y) > kMaxPixel) return true;

  auto lock = face->Lock();
  FT_Face ft = face->ftFace();
  FT_Library lib = ft->glyph->library;
  const double angle = font.request().escapement * (3.14159265358979323846 / 1800.0);
  const double c = std::cos(angle), s = std::sin(angle);
  const double scale = font.scale();
  // Design units (y up) to device pixels (y down), turned counter-clockwise
  // on the screen: (u, v) -> (scale (u c - v s), -scale (u s + v c)).
  FT_Matrix m;
  m.xx = ToFixed(scale * 64.0 * c);
  m.xy = ToFixed(-scale * 64.0 * s);
  m.yx = ToFixed(-scale * 64.0 * s);
  m.yy = ToFixed(-scale * 64.0 * c);
  FT_Matrix slant{0x10000, ToFixed(kSyntheticSlant), 0, 0x10000};
  const FT_Pos bold = font.syntheticBold() && scale > 0 ? FT_Pos(std::lround(font.boldStrength() / scale)) : 0;
  SpanSink sink{&clip, &out};

  double pen = 0.0;
  size_t i = 0;
  while (i < text.size()) {
    char32_t ch = NextCodePoint(text, &i);
    double advance = font.Advance(ch);
    FT_UInt glyph = FT_Get_Char_Index(ft, FT_ULong(ch));
    if (FT_Load_Glyph(ft, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
        ft->glyph->format == FT_GLYPH_FORMAT_OUTLINE && ft->glyph->outline.n_points > 0) {
      FT_Outline* outline = &ft->glyph->outline;
      if (bold) FT_Outline_EmboldenXY(outline, bold, 0);
      if (font.syntheticItalic()) FT_Outline_Transform(outline, &slant);
      FT_Outline_Transform(outline, &m);
      FT_Outline_Translate(outline, To26_6(x + pen * c), To26_6(y - pen * s));
      Render(lib, outline, clip, &sink);
    }
    pen += advance;
  }

  if (font.request().underline && pen > 0.0) {
    // The underline as a one-contour outline, at least one pixel thick.
    double thick = std::max(1.0, ft->underline_thickness * scale);
    double mid = -ft->underline_position * scale;  // below the baseline
    double d0 = mid - thick / 2, d1 = mid + thick / 2;
    // Downwards on the screen, perpendicular to the baseline: (s, c).
    FT_Vector pts[4] = {
        {To26_6(x + d0 * s), To26_6(y + d0 * c)},
        {To26_6(x + pen * c + d0 * s), To26_6(y - pen * s + d0 * c)},
        {To26_6(x + pen * c + d1 * s), To26_6(y - pen * s + d1 * c)},
        {To26_6(x + d1 * s), To26_6(y + d1 * c)},
    };
    char tags[4] = {FT_CURVE_TAG_ON, FT_CURVE_TAG_ON, FT_CURVE_TAG_ON, FT_CURVE_TAG_ON};
    short end = 3;
    FT_Outline rect = {};
    rect.n_contours = 1;
    rect.n_points = 4;
    rect.points = pts;
    rect.tags = tags;
    rect.contours = &end;
    Render(lib, &rect, clip, &sink);
  }
  return true;
}

}  // namespace zel
