#include "render/raster_ops.h"

namespace zel {

namespace {
uint8_t Bits(bool on) { return on ? 0xFF : 0x00; }
uint8_t ChannelOf(ColorRef c, int channel) {
  // Channel 0 is blue, as pixels are stored.
  return channel == 0 ? uint8_t(BlueOf(c)) : channel == 1 ? uint8_t(GreenOf(c)) : uint8_t(RedOf(c));
}
}  // namespace

PenOp MakePenOp(int rop2, ColorRef color) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) rop2 = R2_COPYPEN;
  // Truth table bit (p << 1) | d.
  unsigned t = unsigned(rop2 - 1);
  PenOp op;
  for (int ch = 0; ch < 3; ++ch) {
    uint8_t p = ChannelOf(color, ch);
    uint8_t np = uint8_t(~p);
    uint8_t f0 = uint8_t((p & Bits(t & 4)) | (np & Bits(t & 1)));  // result where d = 0
    uint8_t f1 = uint8_t((p & Bits(t & 8)) | (np & Bits(t & 2)));  // result where d = 1
    op.andMask[ch] = uint8_t(f0 ^ f1);
    op.xorMask[ch] = f0;
  }
  return op;
}

BlitOp MakeBlitOp(uint32_t rop3, ColorRef pattern) {
  unsigned t = (rop3 >> 16) & 0xFF;
  BlitOp op;
  for (int ch = 0; ch < 3; ++ch) {
    uint8_t p = ChannelOf(pattern, ch);
    uint8_t np = uint8_t(~p);
    for (int k = 0; k < 4; ++k) op.minterm[k][ch] = uint8_t((p & Bits(t & (16u << k))) | (np & Bits(t & (1u << k))));
  }
  // The source matters unless f(P, 0, D) == f(P, 1, D) for every P and D.
  op.usesSource = ((t >> 2) & 0x33) != (t & 0x33);
  op.isSourceCopy = t == 0xCC;
  return op;
}

}  // namespace zel
