// Raster operations of the drawing surface: the sixteen pen modes (ROP2) and
// the ternary blit codes (ROP3), with the constants callers and file formats
// use.
//
// Both kinds are evaluated bytewise. With the pen (or brush) colour fixed for a
// whole call, every output bit is one of 0, 1, D or not D, so a pen mode turns
// into one AND mask and one XOR mask per channel.
#pragma once

#include <cstdint>

#include "model/color.h"

namespace zel {

// Pen modes, as SetROP2 takes them.
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;

// Blit codes. The truth table sits in bits 16..23, indexed by
// (pattern << 2) | (source << 1) | destination.
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
inline constexpr uint32_t SRCPAINT = 0x00EE0086;
inline constexpr uint32_t SRCAND = 0x008800C6;
inline constexpr uint32_t SRCINVERT = 0x00660046;
inline constexpr uint32_t SRCERASE = 0x00440328;
inline constexpr uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr uint32_t NOTSRCERASE = 0x001100A6;
inline constexpr uint32_t MERGECOPY = 0x00C000CA;
inline constexpr uint32_t MERGEPAINT = 0x00BB0226;
inline constexpr uint32_t PATCOPY = 0x00F00021;
inline constexpr uint32_t PATPAINT = 0x00FB0A09;
inline constexpr uint32_t PATINVERT = 0x005A0049;
inline constexpr uint32_t DSTINVERT = 0x00550009;
inline constexpr uint32_t BLACKNESS = 0x00000042;
inline constexpr uint32_t WHITENESS = 0x00FF0062;

// Per-channel masks of one pen mode with one colour: out = (d & andMask) ^ xorMask,
// bytes in the pixel order blue, green, red.
struct PenOp {
  uint8_t andMask[3] = {0, 0, 0};
  uint8_t xorMask[3] = {0, 0, 0};
  // True when the result ignores the destination (plain stores).
  bool opaque() const { return (andMask[0] | andMask[1] | andMask[2]) == 0; }
  // True when the mode leaves every pixel as it is.
  bool nop() const {
    return andMask[0] == 0xFF && andMask[1] == 0xFF && andMask[2] == 0xFF &&
           (xorMask[0] | xorMask[1] | xorMask[2]) == 0;
  }
  void Apply(uint8_t* bgr) const {
    bgr[0] = uint8_t((bgr[0] & andMask[0]) ^ xorMask[0]);
    bgr[1] = uint8_t((bgr[1] & andMask[1]) ^ xorMask[1]);
    bgr[2] = uint8_t((bgr[2] & andMask[2]) ^ xorMask[2]);
  }
};

// An unknown mode acts as R2_COPYPEN.
PenOp MakePenOp(int rop2, ColorRef color);

// One blit code with a fixed pattern colour: out = f(S, D) per bit, as four
// masks selecting the minterms ~S~D, ~SD, S~D and SD.
struct BlitOp {
  uint8_t minterm[4][3] = {};
  bool usesSource = true;
  bool isSourceCopy = false;
  uint8_t Apply(int channel, uint8_t s, uint8_t d) const {
    uint8_t ns = uint8_t(~s), nd = uint8_t(~d);
    return uint8_t((ns & nd & minterm[0][channel]) | (ns & d & minterm[1][channel]) |
                   (s & nd & minterm[2][channel]) | (s & d & minterm[3][channel]));
  }
};

BlitOp MakeBlitOp(uint32_t rop3, ColorRef pattern);

}  // namespace zel
