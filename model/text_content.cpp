// Bounds, transforms and hit testing of text objects. The binary record of a
// text lives with the other records in shape_record.cpp.
#include <cmath>

#include "model/hit_test.h"
#include "model/shape.h"
#include "model/text_layout.h"
#include "model/viewport.h"

namespace zel {

namespace {

// The box of the rotated lines of artistic text. Lines are laid out as the
// renderer draws them: aligned within the widest line and stacked one "a"
// height apart, then turned about the anchor.
RectF ArtisticBounds(const TextContent& t) {
  const RectF atAnchor{t.anchor.x, t.anchor.x, t.anchor.y, t.anchor.y};
  // An empty text (or no usable font) has no lines; its bounds shrink to the
  // anchor instead of staying the inverted start of an empty union.
  if (t.text.empty()) return atAnchor;
  std::shared_ptr<Font> font = TextFont(t);
  if (!font) return atAnchor;

  Transform rotation;
  rotation.Translate(-t.anchor.x, -t.anchor.y);
  rotation.Rotate(float(-t.angle * kDegToRad));
  rotation.Translate(t.anchor.x, t.anchor.y);

  const float blockWidth = float(TextBlockExtent(t, *font).cx);
  const float lineStep = float(font->Measure(u"a").cy);
  RectF bounds = EmptyUnionStart();
  float y = t.anchor.y;
  size_t pos = 0;
  const int lines = TextLineCount(t.text);
  for (int i = 0; i < lines; ++i) {
    const TextExtent e = font->Measure(TextLine(t.text, &pos));
    const float w = float(e.cx);
    const float h = float(e.cy);
    float left = t.anchor.x;
    if (t.alignment == kAlignCenter) {
      left += (blockWidth - w) * 0.5f;
    } else if (t.alignment == kAlignRight) {
      left += blockWidth - w;
    }
    GrowBy(bounds, rotation.Apply(left, y));
    GrowBy(bounds, rotation.Apply(left + w, y));
    GrowBy(bounds, rotation.Apply(left + w, y + h));
    GrowBy(bounds, rotation.Apply(left, y + h));
    y += lineStep;
  }
  return bounds;
}

}  // namespace

std::unique_ptr<ShapeContent> TextContent::Clone() const {
  return std::make_unique<TextContent>(*this);
}

RectF TextContent::ComputeBounds() {
  RectF b = paragraph() ? RectF{anchor.x, corner.x, anchor.y, corner.y} : ArtisticBounds(*this);
  const int x0 = RoundToInt(b.xmin), x1 = RoundToInt(b.xmax);
  const int y0 = RoundToInt(b.ymin), y1 = RoundToInt(b.ymax);
  boxPolygon = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
  return b;
}

void TextContent::ApplyTransform(const Transform& t) {
  anchor = t.Apply(anchor);
  if (paragraph()) {
    corner = t.Apply(corner);
    // A box never becomes smaller than one "m", so a paragraph squeezed to
    // nothing can still be seen, hit and stretched again. Written so that a
    // NaN corner is replaced too.
    if (std::shared_ptr<Font> font = TextFont(*this)) {
      const TextExtent m = font->Measure(u"m");
      const float minX = anchor.x + float(m.cx);
      const float minY = anchor.y + float(m.cy);
      if (!(corner.x >= minX)) corner.x = minX;
      if (!(corner.y >= minY)) corner.y = minY;
    }
  } else {
    // Artistic text follows the vertical scale; a flip keeps the size.
    const float f = t.Apply(0.0f, 1.0f).y - t.Apply(0.0f, 0.0f).y;
    const float scaled = std::fabs(f * size);
    size = scaled >= 3.0f ? scaled : 3.0f;
  }
}

bool TextContent::HitTest(const Shape& shape, const Viewport& vp, IntPoint p,
                          HitResult* /*hit: a text is hit as a whole, never on an outline*/) const {
  if (boxPolygon.empty()) return false;
  const PointF m = vp.fromScreen(p);
  const IntPoint q{RoundToInt(m.x), RoundToInt(m.y)};
  return PointInPolygon(boxPolygon.data(), boxPolygon.size(), Normalized(ToIntRect(shape.bounds)),
                        q);
}

}  // namespace zel
