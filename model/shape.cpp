#include "model/shape.h"

namespace zel {

namespace {
std::unique_ptr<ShapeContent> MakeContent(uint32_t kind) {
  switch (kind) {
    case KindPath: return std::make_unique<PathContent>();
    case KindImage: return std::make_unique<ImageContent>();
    case KindText: return std::make_unique<TextContent>();
    default: return nullptr;
  }
}

template <typename T>
T* ContentAs(const std::unique_ptr<ShapeContent>& c, uint32_t kind) {
  return c && c->kind() == kind ? static_cast<T*>(c.get()) : nullptr;
}
}  // namespace

Shape::Shape(uint32_t kind) : content(MakeContent(kind)) {}
Shape::~Shape() = default;

PathContent* Shape::path() { return ContentAs<PathContent>(content, KindPath); }
const PathContent* Shape::path() const { return ContentAs<PathContent>(content, KindPath); }
TextContent* Shape::text() { return ContentAs<TextContent>(content, KindText); }
const TextContent* Shape::text() const { return ContentAs<TextContent>(content, KindText); }
ImageContent* Shape::image() { return ContentAs<ImageContent>(content, KindImage); }
const ImageContent* Shape::image() const { return ContentAs<ImageContent>(content, KindImage); }

void Shape::CopyFrom(const Shape& other) {
  if (&other == this) return;
  content = other.content ? other.content->Clone() : nullptr;
  bounds = other.bounds;
  groupId = other.groupId;
  pageIndex = other.pageIndex;
  fillColor = other.fillColor;
}

std::unique_ptr<Shape> Shape::Clone() const {
  auto copy = std::make_unique<Shape>(KindPlaceholder);
  copy->CopyFrom(*this);
  copy->flags = flags;
  return copy;
}

bool Shape::HitTest(const Viewport& vp, IntPoint p, HitResult* hit) const {
  HitResult local;
  if (!hit) hit = &local;
  return content && content->HitTest(*this, vp, p, hit);
}

void Shape::UpdateBounds() {
  if (content) bounds = content->ComputeBounds();
}

void Shape::Transform(const zel::Transform& t) {
  if (!content) return;
  content->ApplyTransform(t);
  UpdateBounds();
}

std::unique_ptr<Shape> MakeRectangle(const RectF& box) {
  auto shape = std::make_unique<Shape>(KindPath);
  const PointF corners[5] = {{box.xmin, box.ymin}, {box.xmax, box.ymin}, {box.xmax, box.ymax},
                             {box.xmin, box.ymax}, {box.xmin, box.ymin}};
  SubPath nodes;
  for (PointF c : corners) nodes.push_back(PathNode{c, c, c, 0});
  shape->path()->subPaths.push_back(std::move(nodes));
  shape->UpdateBounds();
  return shape;
}

std::unique_ptr<Shape> MakeEllipse(const RectF& box) {
  auto shape = std::make_unique<Shape>(KindPath);
  const float cx = (box.xmin + box.xmax) * 0.5f;
  const float cy = (box.ymin + box.ymax) * 0.5f;
  const float hx = (box.xmax - box.xmin) * kEllipseHandle;
  const float hy = (box.ymax - box.ymin) * kEllipseHandle;
  // Clockwise on screen from the top midpoint; the first node repeats at the end.
  SubPath nodes = {
      {{cx - hx, box.ymin}, {cx, box.ymin}, {cx + hx, box.ymin}, 0},
      {{box.xmax, cy - hy}, {box.xmax, cy}, {box.xmax, cy + hy}, 0},
      {{cx + hx, box.ymax}, {cx, box.ymax}, {cx - hx, box.ymax}, 0},
      {{box.xmin, cy + hy}, {box.xmin, cy}, {box.xmin, cy - hy}, 0},
      {{cx - hx, box.ymin}, {cx, box.ymin}, {cx + hx, box.ymin}, 0},
  };
  shape->path()->subPaths.push_back(std::move(nodes));
  shape->UpdateBounds();
  return shape;
}

}  // namespace zel
