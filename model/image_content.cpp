#include <algorithm>

#include "model/shape.h"

namespace zel {

std::unique_ptr<ShapeContent> ImageContent::Clone() const { return std::make_unique<ImageContent>(*this); }

RectF ImageContent::ComputeBounds() {
  return RectF{std::min(placement.xmin, placement.xmax), std::max(placement.xmin, placement.xmax),
               std::min(placement.ymin, placement.ymax), std::max(placement.ymin, placement.ymax)};
}

void ImageContent::ApplyTransform(const Transform& t) {
  PointF a = t.Apply(placement.xmin, placement.ymin);
  PointF b = t.Apply(placement.xmax, placement.ymax);
  placement = RectF{a.x, b.x, a.y, b.y};
}

// Pictures answer every hit: the caller has already matched the point
// against the shape's bounds.
bool ImageContent::HitTest(const Shape&, const Viewport&, IntPoint, HitResult*) const { return true; }

}  // namespace zel
