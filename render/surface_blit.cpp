// Block transfers of the drawing surface: copies, stretches, mirrors and
// pictures of every depth drawn through their colour tables.
#include <algorithm>
#include <cstring>

#include "render/surface.h"

namespace zel {

namespace {

// Position and width of the bits of one colour mask, for 16- and 32-bit pixels.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  uint8_t Extract(uint32_t v) const {
    if (bits == 0) return 0;
    uint32_t c = (v & mask) >> shift;
    if (bits >= 8) return uint8_t(c >> (bits - 8));
    // Scale a short field to the whole byte (5 bits: 31 -> 255).
    uint32_t top = (1u << bits) - 1;
    return uint8_t((c * 255 + top / 2) / top);
  }
};

Channel ChannelOf(uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (mask == 0) return c;
  while (((mask >> c.shift) & 1) == 0) ++c.shift;
  while (c.shift + c.bits < 32 && ((mask >> (c.shift + c.bits)) & 1)) ++c.bits;
  return c;
}

// Reads pixels of any supported picture as blue, green, red.
class PixelReader {
 public:
  explicit PixelReader(const DibImage& dib) : dib_(dib), depth_(dib.header.bitCount) {
    bool fields = dib.header.compression == kBiBitfields && dib.colors.size() >= 3;
    if (depth_ == 16) {
      r_ = ChannelOf(fields ? dib.colors[0] : 0x7C00);
      g_ = ChannelOf(fields ? dib.colors[1] : 0x03E0);
      b_ = ChannelOf(fields ? dib.colors[2] : 0x001F);
    } else if (depth_ == 32) {
      r_ = ChannelOf(fields ? dib.colors[0] : 0xFF0000);
      g_ = ChannelOf(fields ? dib.colors[1] : 0x00FF00);
      b_ = ChannelOf(fields ? dib.colors[2] : 0x0000FF);
    }
  }
  const uint8_t* Row(int yFromTop) const { return dib_.bits.data() + dib_.RowOffsetFromTop(yFromTop); }
  void Read(const uint8_t* row, int x, uint8_t* bgr) const {
    switch (depth_) {
      case 1:
        return Indexed((row[x >> 3] >> (7 - (x & 7))) & 1, bgr);
      case 4:
        return Indexed((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF, bgr);
      case 8:
        return Indexed(row[x], bgr);
      case 16:
        return Fields(uint32_t(row[2 * x] | (row[2 * x + 1] << 8)), bgr);
      case 24:
        std::memcpy(bgr, row + 3 * size_t(x), 3);
        return;
      default: {
        const uint8_t* p = row + 4 * size_t(x);
        return Fields(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24), bgr);
      }
    }
  }

 private:
  void Indexed(unsigned index, uint8_t* bgr) const {
    // An index past the table reads as black rather than past the array.
    uint32_t c = index < dib_.colors.size() ? dib_.colors[index] : 0;
    bgr[0] = uint8_t(c);
    bgr[1] = uint8_t(c >> 8);
    bgr[2] = uint8_t(c >> 16);
  }
  void Fields(uint32_t v, uint8_t* bgr) const {
    bgr[0] = b_.Extract(v);
    bgr[1] = g_.Extract(v);
    bgr[2] = r_.Extract(v);
  }

  const DibImage& dib_;
  int depth_;
  Channel r_, g_, b_;
};

// Destination steps j whose pixel pos + sign * j lies in [lo, hi).
void VisibleSteps(int64_t pos, int sign, int64_t count, int lo, int hi, int64_t* first, int64_t* end) {
  if (sign > 0) {
    *first = lo - pos;
    *end = hi - pos;
  } else {
    *first = pos - hi + 1;
    *end = pos - lo + 1;
  }
  *first = std::max<int64_t>(*first, 0);
  *end = std::min<int64_t>(*end, count);
}

}  // namespace

bool Surface::BitBlt(int x, int y, int w, int h, const Surface& src, int sx, int sy, uint32_t rop) {
  return StretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

bool Surface::StretchBlt(int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh,
                         uint32_t rop) {
  if (!src.drawable()) return MakeBlitOp(rop, 0).usesSource ? false : PatBlt(x, y, w, h, rop);
  return Blit(x, y, w, h, *src.bitmap_, sx, sy, sw, sh, rop);
}

bool Surface::StretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const DibImage& src,
                            uint32_t rop) {
  if (!src.IsDrawable()) return false;
  return Blit(x, y, w, h, src, sx, sy, sw, sh, rop);
}

bool Surface::PatBlt(int x, int y, int w, int h, uint32_t rop) {
  if (!drawable()) return false;
  BlitOp op = MakeBlitOp(rop, brush_.color);
  int64_t l = std::min<int64_t>(x, int64_t(x) + w), r = std::max<int64_t>(x, int64_t(x) + w);
  int64_t t = std::min<int64_t>(y, int64_t(y) + h), b = std::max<int64_t>(y, int64_t(y) + h);
  l = std::max<int64_t>(l, clip_.left);
  r = std::min<int64_t>(r, clip_.right);
  t = std::max<int64_t>(t, clip_.top);
  b = std::min<int64_t>(b, clip_.bottom);
  for (int64_t row = t; row < b; ++row) {
    uint8_t* p = PixelAddress(int(l), int(row));
    for (int64_t col = l; col < r; ++col, p += 3) {
      for (int ch = 0; ch < 3; ++ch) p[ch] = op.Apply(ch, 0, p[ch]);
    }
  }
  return true;
}

bool Surface::Blit(int x, int y, int w, int h, const DibImage& srcIn, int sx, int sy, int sw, int sh,
                   uint32_t rop) {
  if (!drawable()) return false;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return false;
  BlitOp op = MakeBlitOp(rop, brush_.color);
  if (!op.usesSource) return PatBlt(x, y, w, h, rop);
  // Copying within one bitmap reads from a snapshot, so overlapping areas
  // move intact.
  DibImage snapshot;
  const DibImage* srcDib = &srcIn;
  if (srcDib == bitmap_) {
    snapshot = srcIn;
    srcDib = &snapshot;
  }
  const DibImage& src = *srcDib;
  const int srcW = src.header.width;
  const int srcH = src.header.height < 0 ? -src.header.height : src.header.height;
  const int64_t aw = w < 0 ? -int64_t(w) : w, ah = h < 0 ? -int64_t(h) : h;
  const int64_t asw = sw < 0 ? -int64_t(sw) : sw, ash = sh < 0 ? -int64_t(sh) : sh;
  const int wSign = w < 0 ? -1 : 1, hSign = h < 0 ? -1 : 1;
  const int swSign = sw < 0 ? -1 : 1, shSign = sh < 0 ? -1 : 1;

  int64_t j0, j1, k0, k1;
  VisibleSteps(x, wSign, aw, clip_.left, clip_.right, &j0, &j1);
  VisibleSteps(y, hSign, ah, clip_.top, clip_.bottom, &k0, &k1);
  if (j0 >= j1 || k0 >= k1) return true;

  // Source column of every visible destination column, -1 outside the source.
  std::vector<int> srcCol(size_t(j1 - j0));
  for (int64_t j = j0; j < j1; ++j) {
    int64_t i = ((2 * j + 1) * asw) / (2 * aw);
    int64_t c = sx + swSign * i;
    srcCol[size_t(j - j0)] = c >= 0 && c < srcW ? int(c) : -1;
  }
  PixelReader reader(src);
  const bool fastCopy = op.isSourceCopy && src.header.bitCount == 24 && wSign == swSign && aw == asw;
  for (int64_t k = k0; k < k1; ++k) {
    int64_t i = ((2 * k + 1) * ash) / (2 * ah);
    int64_t srow = sy + shSign * i;
    if (srow < 0 || srow >= srcH) continue;
    const uint8_t* srcRow = reader.Row(int(srow));
    int dy = int(y + hSign * k);
    if (fastCopy && wSign > 0 && srcCol.front() >= 0 && srcCol.back() >= 0) {
      std::memcpy(PixelAddress(int(x + j0), dy), srcRow + 3 * size_t(srcCol.front()), 3 * size_t(j1 - j0));
      continue;
    }
    for (int64_t j = j0; j < j1; ++j) {
      int c = srcCol[size_t(j - j0)];
      if (c < 0) continue;
      uint8_t s[3];
      reader.Read(srcRow, c, s);
      uint8_t* d = PixelAddress(int(x + wSign * j), dy);
      if (op.isSourceCopy) {
        std::memcpy(d, s, 3);
      } else {
        for (int ch = 0; ch < 3; ++ch) d[ch] = op.Apply(ch, s[ch], d[ch]);
      }
    }
  }
  return true;
}

}  // namespace zel
