// The drawable object: a path, a text or an image, with its style fields.
//
// There is no group object; grouping is the groupId carried by each shape.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/byte_stream.h"
#include "model/color.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/path_node.h"
#include "model/transform.h"

namespace zel {

class Viewport;
class Shape;

enum ShapeKind : uint32_t {
  KindPlaceholder = 99,
  KindPath = 100,
  KindImage = 200,
  KindText = 201,
};

// Pen and brush styles (the values stored files use).
inline constexpr int32_t kPenSolid = 0;
inline constexpr int32_t kPenNull = 5;
inline constexpr int32_t kBrushSolid = 0;
inline constexpr int32_t kBrushNull = 1;
inline constexpr int32_t kBrushDotted = 3;  // drawn dotted; filled everywhere else

// Line-width presets in mm/10.
inline constexpr int32_t kLineFine = 0;
inline constexpr int32_t kLineNormal = 3;
inline constexpr int32_t kLineBold = 6;
inline constexpr int32_t kLineThick = 9;

// Text fields.
inline constexpr float kDefaultTextSize = 70.555496f;  // 20 points
inline constexpr uint32_t kTextBold = 1;
inline constexpr uint32_t kTextItalic = 2;
inline constexpr uint32_t kTextUnderline = 4;
inline constexpr int32_t kAlignLeft = 1;
inline constexpr int32_t kAlignRight = 2;
inline constexpr int32_t kAlignCenter = 3;
inline constexpr int32_t kTextArtistic = 1;
inline constexpr int32_t kTextParagraph = 2;

inline constexpr uint32_t kRasterSrcCopy = 0xCC0020;
inline constexpr uint32_t kShapeSelected = 1;

struct HitResult {
  bool onOutline = false;
  float distance = 0.0f;
  int contour = -1;
};

// The polymorphic content of a shape.
class ShapeContent {
 public:
  virtual ~ShapeContent() = default;
  uint32_t kind() const { return kind_; }

  virtual std::unique_ptr<ShapeContent> Clone() const = 0;
  // Refreshes caches and returns the bounds.
  virtual RectF ComputeBounds() = 0;
  virtual void ApplyTransform(const Transform& t) = 0;
  virtual bool HitTest(const Shape& shape, const Viewport& vp, IntPoint p, HitResult* hit) const = 0;
  // The content's part of the binary record.
  virtual void WriteBody(ByteWriter& w) const = 0;
  [[nodiscard]] virtual bool ReadBody(ByteReader& r) = 0;

 protected:
  explicit ShapeContent(uint32_t kind) : kind_(kind) {}
  ShapeContent(const ShapeContent&) = default;
  ShapeContent& operator=(const ShapeContent&) = default;

 private:
  uint32_t kind_;
};

class PathContent final : public ShapeContent {
 public:
  PathContent() : ShapeContent(KindPath) {}

  int32_t penStyle = kPenSolid;
  int32_t lineWidth = kLineFine;
  ColorRef penColor = 0;
  int32_t brushStyle = kBrushSolid;
  std::vector<SubPath> subPaths;
  // One flattened contour per SubPath, rebuilt by ComputeBounds; never stored.
  std::vector<PolyPoints> flattened;

  bool filled() const { return brushStyle != kBrushNull; }

  std::unique_ptr<ShapeContent> Clone() const override;
  RectF ComputeBounds() override;
  void ApplyTransform(const Transform& t) override;
  bool HitTest(const Shape& shape, const Viewport& vp, IntPoint p, HitResult* hit) const override;
  void WriteBody(ByteWriter& w) const override;
  [[nodiscard]] bool ReadBody(ByteReader& r) override;
};

class TextContent final : public ShapeContent {
 public:
  TextContent() : ShapeContent(KindText) {}

  std::vector<IntPoint> boxPolygon;  // closed outline of the bounds, 5 points
  std::u16string text;               // lines separated by "\r\n"
  std::u16string faceName;
  float size = kDefaultTextSize;     // character height in mm/10
  uint32_t styleBits = 0;
  PointF anchor;                     // origin; top-left of a paragraph box
  PointF corner;                     // bottom-right of a paragraph box
  float angle = 0.0f;                // degrees, artistic text only
  int32_t alignment = kAlignLeft;
  int32_t textType = kTextArtistic;

  bool paragraph() const { return textType == kTextParagraph; }

  std::unique_ptr<ShapeContent> Clone() const override;
  RectF ComputeBounds() override;
  void ApplyTransform(const Transform& t) override;
  bool HitTest(const Shape& shape, const Viewport& vp, IntPoint p, HitResult* hit) const override;
  void WriteBody(ByteWriter& w) const override;
  [[nodiscard]] bool ReadBody(ByteReader& r) override;
};

class ImageContent final : public ShapeContent {
 public:
  ImageContent() : ShapeContent(KindImage) {}

  DibImage dib;
  // Not normalised: (xmin, ymin) is where the top-left pixel goes and
  // (xmax, ymax) the bottom-right corner, so a flipped image keeps its sense.
  RectF placement;
  uint32_t rasterOp = kRasterSrcCopy;

  std::unique_ptr<ShapeContent> Clone() const override;
  RectF ComputeBounds() override;
  void ApplyTransform(const Transform& t) override;
  bool HitTest(const Shape& shape, const Viewport& vp, IntPoint p, HitResult* hit) const override;
  void WriteBody(ByteWriter& w) const override;
  [[nodiscard]] bool ReadBody(ByteReader& r) override;
};

class Shape {
 public:
  // 100, 200 and 201 create their content; any other kind leaves it null.
  explicit Shape(uint32_t kind = KindPlaceholder);
  ~Shape();
  Shape(const Shape&) = delete;
  Shape& operator=(const Shape&) = delete;

  uint32_t kind() const { return content ? content->kind() : KindPlaceholder; }
  PathContent* path();
  const PathContent* path() const;
  TextContent* text();
  const TextContent* text() const;
  ImageContent* image();
  const ImageContent* image() const;

  bool selected() const { return (flags & kShapeSelected) != 0; }
  void setSelected(bool on) { flags = on ? (flags | kShapeSelected) : (flags & ~kShapeSelected); }

  // Replaces the state from a binary record. On false the shape is partly
  // filled and should be discarded.
  [[nodiscard]] bool Read(ByteReader& r);
  void Write(ByteWriter& w) const;
  // Deep copy; the selected flag is not copied.
  void CopyFrom(const Shape& other);
  std::unique_ptr<Shape> Clone() const;
  bool HitTest(const Viewport& vp, IntPoint p, HitResult* hit) const;
  void UpdateBounds();
  void Transform(const zel::Transform& t);

  std::unique_ptr<ShapeContent> content;
  RectF bounds;
  ColorRef fillColor = 0;  // fill of a path, colour of a text
  int32_t groupId = 0;
  int32_t pageIndex = 0;
  uint32_t flags = kShapeSelected;
};

// Shapes as tools and importers make them.
std::unique_ptr<Shape> MakeRectangle(const RectF& box);
std::unique_ptr<Shape> MakeEllipse(const RectF& box);
// Handle offset of an ellipse side, as a share of the box size.
inline constexpr float kEllipseHandle = 0.2761424f;

}  // namespace zel
