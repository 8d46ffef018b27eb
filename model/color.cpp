#include "model/color.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {

// NaN goes to the low end so that it can never reach an integer conversion.
double Clamp(double v, double lo, double hi) {
  if (!(v >= lo)) return lo;
  return v > hi ? hi : v;
}

int ToByte(double v) { return static_cast<int>(Clamp(std::trunc(v * 255.0 + 0.5), 0.0, 255.0)); }

}  // namespace

Hsl RgbToHsl(int r, int g, int b) {
  constexpr double kScale = 0.00392156862745098;
  double rf = std::clamp(r, 0, 255) * kScale;
  double gf = std::clamp(g, 0, 255) * kScale;
  double bf = std::clamp(b, 0, 255) * kScale;
  double mx = std::max({rf, gf, bf});
  double mn = std::min({rf, gf, bf});
  double l = (mx + mn) / 2.0;
  double s = 0.0;
  double h = 0.0;
  double delta = mx - mn;
  if (!(delta < 1e-7 || std::fabs(2.0 - mx - mn) < 1e-7)) {
    s = l <= 0.5 ? delta / (mx + mn) : delta / (2.0 - mx - mn);
    if (rf == mx) {
      h = (gf - bf) / delta;
    } else if (gf == mx) {
      h = 2.0 + (bf - rf) / delta;
    } else {
      h = 4.0 + (rf - gf) / delta;
    }
  }
  // Hue is offset by one sector: 60 is red, and a grey reports 60 too.
  return Hsl{Clamp((h + 1.0) * 60.0, 0.0, 360.0), Clamp(s, 0.0, 1.0), Clamp(l, 0.0, 1.0)};
}

ColorRef HslToRgb(double hue, double sat, double light) {
  double h = Clamp(hue / 60.0 - 1.0, -1.0, 5.0);
  double l = Clamp(light, 0.0, 1.0);
  double s = Clamp(sat, 0.0, 1.0);
  double r, g, b;
  if (s == 0.0) {
    r = g = b = l;
  } else {
    double lo = l <= 0.5 ? (1.0 - s) * l : l - (1.0 - l) * s;
    double hi = 2.0 * l - lo;
    double span = hi - lo;
    if (h < 0.0) {
      r = hi, g = lo, b = lo - span * h;
    } else if (h < 1.0) {
      r = hi, g = lo + span * h, b = lo;
    } else if (h < 2.0) {
      r = lo - span * (h - 2.0), g = hi, b = lo;
    } else if (h < 3.0) {
      r = lo, g = hi, b = lo + span * (h - 2.0);
    } else if (h < 4.0) {
      r = lo, g = lo - span * (h - 4.0), b = hi;
    } else {
      r = lo + span * (h - 4.0), g = lo, b = hi;
    }
  }
  return MakeColor(ToByte(r), ToByte(g), ToByte(b));
}

}  // namespace zel
