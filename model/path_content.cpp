#include <algorithm>

#include "model/bezier.h"
#include "model/hit_test.h"
#include "model/shape.h"
#include "model/viewport.h"

namespace zel {

namespace {
// Outline hits count within this many pixels of a contour.
constexpr float kOutlineTolerance = 4.0f;
// The fill pre-reject box is never narrower or lower than this many pixels.
constexpr int kMinHitBox = 9;

void WidenTo(int& lo, int& hi, int minimum) {
  const int64_t extent = int64_t(hi) - lo;
  if (extent < minimum) {
    int half = static_cast<int>((minimum - extent) / 2);
    lo -= half;
    hi += half;
  }
}
}  // namespace

std::unique_ptr<ShapeContent> PathContent::Clone() const { return std::make_unique<PathContent>(*this); }

RectF PathContent::ComputeBounds() {
  flattened.resize(subPaths.size());
  for (size_t i = 0; i < subPaths.size(); ++i) {
    flattened[i].clear();
    FlattenSubPath(subPaths[i], flattened[i]);
  }
  RectF r = EmptyUnionStart();
  bool any = false;
  for (const PolyPoints& contour : flattened) {
    for (PointF p : contour) {
      GrowBy(r, p);
      any = true;
    }
  }
  return any ? r : RectF{};
}

void PathContent::ApplyTransform(const Transform& t) {
  for (SubPath& nodes : subPaths) {
    for (PathNode& n : nodes) {
      n.in = t.Apply(n.in);
      n.anchor = t.Apply(n.anchor);
      n.out = t.Apply(n.out);
    }
  }
}

bool PathContent::HitTest(const Shape& shape, const Viewport& vp, IntPoint p, HitResult* hit) const {
  const RectF& b = shape.bounds;
  // Device boxes of the two ways to hit: inside the fill, or near an outline.
  IntRect fillBox = Normalized(IntRect{vp.toScreenX(b.xmin), vp.toScreenY(b.ymin - 2.0f),
                                       vp.toScreenX(b.xmax), vp.toScreenY(b.ymax)});
  WidenTo(fillBox.left, fillBox.right, kMinHitBox);
  WidenTo(fillBox.top, fillBox.bottom, kMinHitBox);
  IntRect nearBox = Normalized(IntRect{vp.toScreenX(b.xmin), vp.toScreenY(b.ymin),
                                       vp.toScreenX(b.xmax), vp.toScreenY(b.ymax)});
  const int reach = static_cast<int>(kOutlineTolerance) + 1;
  auto inside = [&](const IntRect& r, int grow) {
    return p.x >= r.left - grow && p.x <= r.right + grow && p.y >= r.top - grow && p.y <= r.bottom + grow;
  };
  // Cheap rejection first: no contour point can be hit outside both boxes.
  if (!(filled() && inside(fillBox, 0)) && !inside(nearBox, reach)) return false;

  std::vector<std::vector<IntPoint>> lines(flattened.size());
  for (size_t i = 0; i < flattened.size(); ++i) {
    lines[i].reserve(flattened[i].size() + 1);
    for (PointF q : flattened[i]) lines[i].push_back(vp.toScreen(q));
  }

  if (filled()) {
    int count = 0;
    int last = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
      std::vector<IntPoint>& line = lines[i];
      if (line.size() > 1 && !(line.back() == line.front())) line.push_back(line.front());
      if (PointInPolygon(line.data(), line.size(), fillBox, p)) {
        ++count;
        last = static_cast<int>(i);
      }
    }
    if (count % 2 == 1) {
      hit->onOutline = false;
      hit->contour = last;
      return true;
    }
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    float distance = 0.0f;
    if (PointNearPolyline(lines[i].data(), lines[i].size(), p, kOutlineTolerance, &distance)) {
      hit->onOutline = true;
      hit->distance = distance;
      hit->contour = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

}  // namespace zel
