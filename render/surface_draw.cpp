// Lines, polygons, rectangles and ellipses of the drawing surface.
#include <algorithm>
#include <cmath>
#include <utility>

#include "render/line_trace.h"
#include "render/stroker.h"
#include "render/surface.h"

namespace zel {

namespace {

// Dash patterns of one-pixel pens, in pixels: on, off, on, off, ...
struct DashPattern {
  int length = 0;  // 0 = solid
  int runs[6] = {};
  int count = 0;
};

DashPattern PatternOf(int style) {
  switch (style) {
    case PS_DASH:
      return {24, {18, 6}, 2};
    case PS_DOT:
      return {6, {3, 3}, 2};
    case PS_DASHDOT:
      return {24, {9, 6, 3, 6}, 4};
    case PS_DASHDOTDOT:
      return {24, {9, 3, 3, 3, 3, 3}, 6};
    default:
      return {};
  }
}

bool PatternOn(const DashPattern& p, int64_t step) {
  int pos = int(step % p.length);
  for (int i = 0; i < p.count; ++i) {
    if (pos < p.runs[i]) return (i & 1) == 0;
    pos -= p.runs[i];
  }
  return false;
}

}  // namespace

void Surface::StrokeCosmetic(const IntPoint* p, size_t n, bool closed) {
  if (!drawable() || n == 0) return;
  const PenOp on = MakePenOp(rop2_, pen_.color);
  const DashPattern pattern = PatternOf(pen_.style);
  const bool gaps = pattern.length > 0 && bkMode_ == OPAQUE;
  const PenOp off = MakePenOp(rop2_, bkColor_);
  size_t segments = closed ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) {
    IntPoint a = p[i], b = p[(i + 1) % n];
    int64_t base = styleStep_;
    TraceLine(a, b, clip_, [&](int x, int y, int64_t step) {
      uint8_t* px = PixelAddress(x, y);
      if (pattern.length == 0 || PatternOn(pattern, base + step)) {
        on.Apply(px);
      } else if (gaps) {
        off.Apply(px);
      }
    });
    int64_t dx = std::abs(int64_t(b.x) - a.x), dy = std::abs(int64_t(b.y) - a.y);
    styleStep_ += std::max(dx, dy);
    if (pattern.length) styleStep_ %= pattern.length;
  }
}

void Surface::FillArea(FillRule rule, ColorRef color) {
  spans_.clear();
  scan_.Sweep(rule, spans_);
  FillSpans(spans_, color, rop2_);
}

void Surface::StrokeOutline(const IntPoint* p, size_t n, bool closed) {
  if (pen_.style == PS_NULL || !drawable() || n == 0) return;
  if (pen_.width <= 1) {
    StrokeCosmetic(p, n, closed);
    return;
  }
  spans_.clear();
  stroker_.Stroke(p, n, closed, pen_.width, clip_, spans_);
  FillSpans(spans_, pen_.color, rop2_);
}

IntPoint Surface::MoveTo(int x, int y) {
  styleStep_ = 0;
  return std::exchange(position_, IntPoint{x, y});
}

void Surface::LineTo(int x, int y) {
  IntPoint pts[2] = {position_, {x, y}};
  StrokeOutline(pts, 2, false);
  position_ = {x, y};
}

void Surface::Polyline(const IntPoint* points, size_t count) {
  if (count < 2) return;
  styleStep_ = 0;
  StrokeOutline(points, count, false);
}

void Surface::Polygon(const IntPoint* points, size_t count) {
  if (count < 2 || !drawable()) return;
  if (brush_.style != BS_NULL) {
    scan_.Reset(clip_);
    scan_.AddPolygon(points, count);
    FillArea(fillMode_ == WINDING ? FillRule::kNonZero : FillRule::kEvenOdd, brush_.color);
  }
  styleStep_ = 0;
  StrokeOutline(points, count, true);
}

void Surface::Rectangle(int left, int top, int right, int bottom) {
  if (!drawable()) return;
  int64_t l = std::min(left, right), r = std::max(left, right);
  int64_t t = std::min(top, bottom), b = std::max(top, bottom);
  if (l == r || t == b) return;
  const bool outline = pen_.style != PS_NULL;
  const bool thin = pen_.width <= 1;
  if (brush_.style != BS_NULL) {
    // Inside a one-pixel frame only, so that no pixel is written twice.
    int inset = outline && thin ? 1 : 0;
    IntRect inner{int(std::clamp<int64_t>(l + inset, clip_.left, clip_.right)),
                  int(std::clamp<int64_t>(t + inset, clip_.top, clip_.bottom)),
                  int(std::clamp<int64_t>(r - inset, clip_.left, clip_.right)),
                  int(std::clamp<int64_t>(b - inset, clip_.top, clip_.bottom))};
    spans_.clear();
    for (int y = inner.top; y < inner.bottom && inner.left < inner.right; ++y) spans_.push_back({y, inner.left, inner.right});
    FillSpans(spans_, brush_.color, rop2_);
  }
  if (!outline) return;
  IntPoint corners[4] = {{int(l), int(t)}, {int(r - 1), int(t)}, {int(r - 1), int(b - 1)}, {int(l), int(b - 1)}};
  if (!thin || PatternOf(pen_.style).length > 0) {
    styleStep_ = 0;
    StrokeOutline(corners, 4, true);
    return;
  }
  // A solid one-pixel frame as spans: also right for frames one pixel wide or high.
  auto clampX = [&](int64_t x) { return int(std::clamp<int64_t>(x, clip_.left, clip_.right)); };
  spans_.clear();
  for (int64_t y : {t, b - 1}) {
    if (y >= clip_.top && y < clip_.bottom && (y == t || b - 1 != t)) spans_.push_back({int(y), clampX(l), clampX(r)});
  }
  for (int64_t y = std::max<int64_t>(t + 1, clip_.top); y < std::min<int64_t>(b - 1, clip_.bottom); ++y) {
    spans_.push_back({int(y), clampX(l), clampX(l + 1)});
    if (r - 1 != l) spans_.push_back({int(y), clampX(r - 1), clampX(r)});
  }
  FillSpans(spans_, pen_.color, rop2_);
}

void Surface::Ellipse(int left, int top, int right, int bottom) {
  if (!drawable()) return;
  double l = std::min(left, right), r = std::max(left, right);
  double t = std::min(top, bottom), b = std::max(top, bottom);
  if (r - l < 1 || b - t < 1) return;
  const bool thin = pen_.width <= 1 && pen_.style != PS_NULL;
  if (!thin) {
    if (brush_.style != BS_NULL) {
      scan_.Reset(clip_);
      AddEllipse(scan_, l, t, r, b);
      FillArea(FillRule::kNonZero, brush_.color);
    }
    if (pen_.style == PS_NULL) return;
    // A wide outline along the ring of outermost pixel centres.
    double cx = (l + r) * 0.5, cy = (t + b) * 0.5;
    double rx = (r - l - 1) * 0.5, ry = (b - t - 1) * 0.5;
    int n = std::clamp(int(std::ceil((rx + ry) * 2.0)), 8, 1024);
    std::vector<IntPoint> pts;
    pts.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
      double a = 6.283185307179586 * i / n;
      pts.push_back({int(std::lround(cx + rx * std::cos(a) - 0.5)), int(std::lround(cy + ry * std::sin(a) - 0.5))});
    }
    StrokeOutline(pts.data(), pts.size(), true);
    return;
  }
  // A one-pixel outline is the rim of the covered pixels: those with a side
  // neighbour outside. The brush fills the rest, so each pixel is written once.
  // One row and column beyond the clip are scanned so the rim is known there.
  scan_.Reset({clip_.left - 1, clip_.top - 1, clip_.right + 1, clip_.bottom + 1});
  AddEllipse(scan_, l, t, r, b);
  SpanList rows;
  scan_.Sweep(FillRule::kNonZero, rows);
  spans_.clear();
  SpanList rim;
  for (size_t i = 0; i < rows.size(); ++i) {
    const Span& s = rows[i];
    bool hasAbove = i > 0 && rows[i - 1].y == s.y - 1;
    bool hasBelow = i + 1 < rows.size() && rows[i + 1].y == s.y + 1;
    int in0 = s.x0 + 1, in1 = s.x1 - 1;
    if (!hasAbove || !hasBelow) {
      in1 = in0;  // the top and bottom rows are all rim
    } else {
      in0 = std::max({in0, rows[i - 1].x0, rows[i + 1].x0});
      in1 = std::min({in1, rows[i - 1].x1, rows[i + 1].x1});
    }
    if (in0 < in1) {
      spans_.push_back({s.y, in0, in1});
      rim.push_back({s.y, s.x0, in0});
      rim.push_back({s.y, in1, s.x1});
    } else {
      rim.push_back(s);
    }
  }
  if (brush_.style != BS_NULL) FillSpans(spans_, brush_.color, rop2_);
  FillSpans(rim, pen_.color, rop2_);
}

}  // namespace zel
