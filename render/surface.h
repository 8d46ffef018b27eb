// The software drawing surface: a device context over a 24-bit bitmap.
//
// The same surface serves the window, off-screen paint buffers, bitmap export
// and thumbnails, so what is measured is what is drawn. A Surface draws into
// the DibImage selected into it (24 bits per pixel, rows padded to 4 bytes,
// bottom-up for a positive height) and never writes outside it. Like a device
// context it carries a selected pen, brush and font and a few modes; every
// Select and Set returns the previous value, which the caller puts back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/color.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "platform/font.h"
#include "platform/glyph_raster.h"
#include "render/raster_ops.h"
#include "render/scan_converter.h"
#include "render/span.h"
#include "render/stroker.h"

namespace zel {

// Pen styles.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;
// Brush styles (any other style paints solid).
inline constexpr int BS_SOLID = 0;
inline constexpr int BS_NULL = 1;
// Background modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
// Polygon fill modes.
inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;
// GetDeviceCaps indices and bits.
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int RASTERCAPS = 38;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
inline constexpr int RC_PALETTE = 0x100;
// What GetPixel answers outside the bitmap.
inline constexpr ColorRef CLR_INVALID = 0xFFFFFFFF;

struct Pen {
  int style = PS_SOLID;
  int width = 0;  // pixels; 0 and 1 draw one-pixel lines
  ColorRef color = 0;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  int style = BS_SOLID;
  ColorRef color = 0;
  int hatch = 0;
  friend bool operator==(const Brush&, const Brush&) = default;
};

inline constexpr Pen kBlackPen{PS_SOLID, 0, 0x000000};
inline constexpr Pen kNullPen{PS_NULL, 0, 0};
inline constexpr Brush kWhiteBrush{BS_SOLID, 0xFFFFFF, 0};
inline constexpr Brush kNullBrush{BS_NULL, 0, 0};

// A 24-bit bottom-up bitmap of the given size, zero-filled (black), or null
// when the size is not positive or too large.
std::unique_ptr<DibImage> CreateSection24(int width, int height);

class Surface {
 public:
  // A surface at 96 pixels per inch, with the initial objects of a device
  // context: black pen, white brush, the default font, copy-pen mode, opaque
  // white background, black text, alternate fill.
  explicit Surface(DibImage* bitmap = nullptr);

  // --- objects and modes ---------------------------------------------------
  DibImage* SelectBitmap(DibImage* bitmap);
  DibImage* bitmap() const { return bitmap_; }
  // Size of the selected bitmap; 0 x 0 when none can be drawn on.
  int width() const { return width_; }
  int height() const { return height_; }
  int GetDeviceCaps(int index) const;
  void SetLogPixels(int dpi) { dpi_ = dpi > 0 ? dpi : 96; }

  Pen SelectPen(const Pen& pen);
  const Pen& pen() const { return pen_; }
  Brush SelectBrush(const Brush& brush);
  const Brush& brush() const { return brush_; }
  // Null selects the default font.
  std::shared_ptr<const Font> SelectFont(std::shared_ptr<const Font> font);
  // The selected font, or the default one; null only when no font at all can
  // be loaded (text then draws nothing and measures 0).
  const Font* font() const;

  int SetROP2(int mode);
  int GetROP2() const { return rop2_; }
  int SetBkMode(int mode);
  int GetBkMode() const { return bkMode_; }
  ColorRef SetBkColor(ColorRef c);
  ColorRef SetTextColor(ColorRef c);
  ColorRef GetTextColor() const { return textColor_; }
  int SetPolyFillMode(int mode);
  // Limits drawing to r within the bitmap (the whole bitmap by default);
  // returns the previous limit.
  IntRect SetClipRect(const IntRect& r);
  IntRect ResetClip() { return SetClipRect({0, 0, width_, height_}); }
  const IntRect& clip() const { return clip_; }

  // --- pixels ----------------------------------------------------------------
  ColorRef GetPixel(int x, int y) const;
  void SetPixel(int x, int y, ColorRef c);
  // Writes spans in colour with a pen mode; parts outside the clip are skipped.
  void FillSpans(const SpanList& spans, ColorRef color, int rop2 = R2_COPYPEN);
  void FillRect(const IntRect& r, const Brush& brush);
  void FillRect(const IntRect& r, ColorRef color) { FillRect(r, Brush{BS_SOLID, color, 0}); }
  // Inverts every other pixel of the rectangle's one-pixel frame; a second call
  // restores them.
  void DrawFocusRect(const IntRect& r);

  // --- lines and areas -------------------------------------------------------
  IntPoint MoveTo(int x, int y);
  IntPoint currentPosition() const { return position_; }
  // From the current position to (x, y), the end pixel excluded.
  void LineTo(int x, int y);
  // Open polyline; the last point's pixel is not drawn.
  void Polyline(const IntPoint* points, size_t count);
  // Filled with the brush under the fill mode, then outlined with the pen.
  void Polygon(const IntPoint* points, size_t count);
  // The right and bottom edges are excluded, as for every rectangle here.
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);

  // --- blits -----------------------------------------------------------------
  bool BitBlt(int x, int y, int w, int h, const Surface& src, int sx, int sy, uint32_t rop);
  // A negative width or height mirrors the copy: the rows (or columns) go from
  // the given edge the other way.
  bool StretchBlt(int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh,
                  uint32_t rop);
  // As StretchBlt with a bitmap of any depth as source; 1-, 4- and 8-bit
  // pictures are drawn through their colour table. Source rows are counted
  // from the top of the picture.
  bool StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const DibImage& src,
                     uint32_t rop);
  // A rectangle in the brush colour combined with the destination (PATCOPY, PATINVERT, ...).
  bool PatBlt(int x, int y, int w, int h, uint32_t rop);

  // --- text ------------------------------------------------------------------
  // Draws one line with its cell's top-left corner at (x, y), turned by the
  // font's escapement about that point.
  bool ExtTextOutW(int x, int y, std::u16string_view text);
  // Width and cell height of one line in the selected font.
  TextExtent GetTextExtent(std::u16string_view text) const;
  // Also the number of characters that fit in maxExtent (when fit is given) and
  // the advance of each character's end from the start (when dx is given, one
  // per UTF-16 unit).
  TextExtent GetTextExtentExPointW(std::u16string_view text, int maxExtent, int* fit,
                                   std::vector<int>* dx) const;
  // The layout of a multi-line text ("\r\n", "\r" or "\n" break lines): the
  // widest line by the number of lines times the cell height, exactly what
  // DrawTextW draws.
  TextExtent CalcTextRect(std::u16string_view text) const;
  // Draws the lines of text from the top of r, each aligned to r's left,
  // centre or right.
  enum class Align { kLeft, kCenter, kRight };
  void DrawTextW(std::u16string_view text, const IntRect& r, Align align);

 private:
  bool drawable() const { return width_ > 0; }
  uint8_t* PixelAddress(int x, int y) const { return origin_ + pitch_ * y + 3 * ptrdiff_t(x); }
  void StrokeCosmetic(const IntPoint* points, size_t count, bool closed);
  void StrokeOutline(const IntPoint* points, size_t count, bool closed);
  void FillArea(FillRule rule, ColorRef color);
  bool Blit(int x, int y, int w, int h, const DibImage& src, int sx, int sy, int sw, int sh,
            uint32_t rop);
  void BlendCoverage(const std::vector<CoverageSpan>& spans, ColorRef color);

  DibImage* bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  uint8_t* origin_ = nullptr;  // first byte of the top row
  ptrdiff_t pitch_ = 0;        // bytes from one row to the one below
  IntRect clip_;
  int dpi_ = 96;

  Pen pen_ = kBlackPen;
  Brush brush_ = kWhiteBrush;
  std::shared_ptr<const Font> font_;
  mutable std::shared_ptr<const Font> defaultFont_;
  int rop2_ = R2_COPYPEN;
  int bkMode_ = OPAQUE;
  ColorRef bkColor_ = 0xFFFFFF;
  ColorRef textColor_ = 0x000000;
  int fillMode_ = ALTERNATE;
  IntPoint position_;
  int64_t styleStep_ = 0;  // dash phase carried along a polyline

  ScanConverter scan_;
  WideStroker stroker_;
  SpanList spans_;
  std::vector<CoverageSpan> coverage_;
};

}  // namespace zel
