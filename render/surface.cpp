#include "render/surface.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "render/rect_ops.h"

namespace zel {

namespace {

IntRect Intersect(const IntRect& a, const IntRect& b) {
  IntRect r;
  IntersectRect(&r, a, b);
  return r;
}

// Stores one colour over n pixels starting at p.
void StoreRun(uint8_t* p, int n, uint8_t b, uint8_t g, uint8_t r) {
  if (n >= 8) {
    // Four pixels are three 32-bit words; repeat them.
    uint8_t block[12] = {b, g, r, b, g, r, b, g, r, b, g, r};
    while (n >= 4) {
      std::memcpy(p, block, 12);
      p += 12;
      n -= 4;
    }
  }
  for (; n > 0; --n, p += 3) {
    p[0] = b;
    p[1] = g;
    p[2] = r;
  }
}

}  // namespace

std::unique_ptr<DibImage> CreateSection24(int width, int height) {
  auto dib = std::make_unique<DibImage>();
  if (!dib->Create24(width, height)) return nullptr;
  return dib;
}

Surface::Surface(DibImage* bitmap) { SelectBitmap(bitmap); }

DibImage* Surface::SelectBitmap(DibImage* bitmap) {
  DibImage* previous = bitmap_;
  bitmap_ = bitmap;
  width_ = height_ = 0;
  origin_ = nullptr;
  pitch_ = 0;
  // Only 24-bit pictures whose pixel rows are all present can be drawn on.
  if (bitmap && bitmap->header.bitCount == 24 && bitmap->header.compression == kBiRgb &&
      bitmap->IsDrawable()) {
    const BitmapInfoHeader& h = bitmap->header;
    int rows = h.height < 0 ? -h.height : h.height;
    ptrdiff_t stride = ptrdiff_t(bitmap->stride());
    width_ = h.width;
    height_ = rows;
    if (h.height > 0) {
      origin_ = bitmap->bits.data() + stride * (rows - 1);
      pitch_ = -stride;
    } else {
      origin_ = bitmap->bits.data();
      pitch_ = stride;
    }
  }
  clip_ = {0, 0, width_, height_};
  return previous;
}

int Surface::GetDeviceCaps(int index) const {
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return dpi_;
    case HORZRES:
      return width_;
    case VERTRES:
      return height_;
    case BITSPIXEL:
      return 24;
    case RASTERCAPS:
      return 0;  // never palette-based
    default:
      return 0;
  }
}

Pen Surface::SelectPen(const Pen& pen) {
  Pen previous = pen_;
  pen_ = pen;
  return previous;
}

Brush Surface::SelectBrush(const Brush& brush) {
  Brush previous = brush_;
  brush_ = brush;
  return previous;
}

std::shared_ptr<const Font> Surface::SelectFont(std::shared_ptr<const Font> font) {
  std::swap(font, font_);
  return font;
}


int Surface::SetROP2(int mode) { return std::exchange(rop2_, mode); }
int Surface::SetBkMode(int mode) { return std::exchange(bkMode_, mode); }
ColorRef Surface::SetBkColor(ColorRef c) { return std::exchange(bkColor_, c); }
ColorRef Surface::SetTextColor(ColorRef c) { return std::exchange(textColor_, c); }
int Surface::SetPolyFillMode(int mode) { return std::exchange(fillMode_, mode); }

IntRect Surface::SetClipRect(const IntRect& r) {
  IntRect previous = clip_;
  clip_ = Intersect(r, {0, 0, width_, height_});
  return previous;
}

ColorRef Surface::GetPixel(int x, int y) const {
  if (!drawable() || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const uint8_t* p = PixelAddress(x, y);
  return MakeColor(p[2], p[1], p[0]);
}

void Surface::SetPixel(int x, int y, ColorRef c) {
  if (x < clip_.left || x >= clip_.right || y < clip_.top || y >= clip_.bottom) return;
  uint8_t* p = PixelAddress(x, y);
  p[0] = uint8_t(BlueOf(c));
  p[1] = uint8_t(GreenOf(c));
  p[2] = uint8_t(RedOf(c));
}

void Surface::FillSpans(const SpanList& spans, ColorRef color, int rop2) {
  PenOp op = MakePenOp(rop2, color);
  if (op.nop()) return;
  const bool store = op.opaque();
  for (const Span& s : spans) {
    // Every span is cut to the clip here, whoever made it.
    if (s.y < clip_.top || s.y >= clip_.bottom) continue;
    int x0 = std::max(s.x0, clip_.left);
    int x1 = std::min(s.x1, clip_.right);
    if (x0 >= x1) continue;
    uint8_t* p = PixelAddress(x0, s.y);
    if (store) {
      StoreRun(p, x1 - x0, op.xorMask[0], op.xorMask[1], op.xorMask[2]);
    } else {
      for (int n = x1 - x0; n > 0; --n, p += 3) op.Apply(p);
    }
  }
}

void Surface::FillRect(const IntRect& r, const Brush& brush) {
  if (brush.style == BS_NULL) return;
  IntRect c = Intersect(r, clip_);
  spans_.clear();
  for (int y = c.top; y < c.bottom; ++y) spans_.push_back({y, c.left, c.right});
  FillSpans(spans_, brush.color, R2_COPYPEN);
}

void Surface::DrawFocusRect(const IntRect& r) {
  IntRect n{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
  if (n.left >= n.right || n.top >= n.bottom) return;
  // Each frame pixel once, even where the sides meet, so that a second call
  // restores exactly what the first changed.
  auto invert = [&](int64_t x, int64_t y) {
    if (((x + y) & 1) != 0) return;
    if (x < clip_.left || x >= clip_.right || y < clip_.top || y >= clip_.bottom) return;
    uint8_t* p = PixelAddress(int(x), int(y));
    p[0] = uint8_t(~p[0]);
    p[1] = uint8_t(~p[1]);
    p[2] = uint8_t(~p[2]);
  };
  int64_t left = std::max<int64_t>(n.left, clip_.left - 1), right = std::min<int64_t>(n.right, clip_.right + 1);
  int64_t top = std::max<int64_t>(n.top, clip_.top - 1), bottom = std::min<int64_t>(n.bottom, clip_.bottom + 1);
  for (int64_t x = left; x < right; ++x) {
    invert(x, n.top);
    if (n.bottom - 1 != n.top) invert(x, int64_t(n.bottom) - 1);
  }
  for (int64_t y = std::max<int64_t>(top, int64_t(n.top) + 1); y < std::min<int64_t>(bottom, int64_t(n.bottom) - 1);
       ++y) {
    invert(n.left, y);
    if (n.right - 1 != n.left) invert(int64_t(n.right) - 1, y);
  }
}

}  // namespace zel
