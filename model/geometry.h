// Value types and small helpers of the drawing's coordinate system.
//
// Model geometry is single precision, in tenths of a millimetre (mm/10), with
// the origin at the centre of the page and y growing downwards.
#pragma once

#include <cstdint>
#include <vector>

namespace zel {

struct PointF {
  float x = 0.0f;
  float y = 0.0f;
};

// Bounds in the order xmin, xmax, ymin, ymax (not left, top, right, bottom).
struct RectF {
  float xmin = 0.0f;
  float xmax = 0.0f;
  float ymin = 0.0f;
  float ymax = 0.0f;
};

struct IntPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(IntPoint, IntPoint) = default;
};

struct IntRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const IntRect&, const IntRect&) = default;
};

// One flattened contour, or any polyline.
using PolyPoints = std::vector<PointF>;

// Factor from degrees to radians used for every stored angle.
inline constexpr double kDegToRad = 0.017453292;
inline constexpr double kTwoPi = 6.2831854820251465;
// Unit conversions of the native document: model to PDF points and back. These
// are the exact single-precision values stored files were written with (not
// quite 72/254 and 254/72), so keep them bit for bit.
inline constexpr float kModelToPoints = 0.28346518f;  // 0x3E912259
inline constexpr float kPointsToModel = 3.52777f;     // 0x4061C6FC

// Integers produced from coordinates stay within this magnitude, so that sums
// and differences of two of them never overflow 32 bits.
inline constexpr int kCoordLimit = (1 << 30) - 1;

// Rounds half away from zero. Values beyond +-2^30 clamp to it, NaN gives 0:
// imported coordinates or extreme zoom must never make an out-of-range
// conversion (undefined behaviour).
int RoundToInt(double v);

// (round(xmin), round(ymin), round(xmax), round(ymax)).
IntRect ToIntRect(const RectF& r);
RectF Normalized(const RectF& r);
IntRect Normalized(const IntRect& r);
RectF Union(const RectF& a, const RectF& b);
// The start value for accumulating a union: xmin = ymin = 1e10, xmax = ymax = -1e10.
RectF EmptyUnionStart();
// Grows r (started from EmptyUnionStart) by one point.
void GrowBy(RectF& r, PointF p);

// Points closer than 1e-8 on both axes are the same point: decides straight
// sides (handle on its anchor) and closed contours.
bool PointsEqual(PointF a, PointF b);

// Rotates p about c by a radians in double precision.
PointF RotatePoint(PointF p, PointF c, double a);
// Adds 2 pi once to a negative angle.
double NormalizeAngle(double radians);
// Rounds to whole degrees in [0, 360).
int NormalizeTextAngle(double degrees);
// Places content of size cw x ch into a bw x bh box keeping its aspect ratio,
// centred; (0, 0, bw, bh) when any size is below 1.
IntRect FitKeepingAspect(int cw, int ch, int bw, int bh);

}  // namespace zel
