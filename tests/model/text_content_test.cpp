#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/shape.h"
#include "model/text_layout.h"
#include "model/transform.h"
#include "model/viewport.h"

namespace zel {
namespace {

// Liberation Mono at size 2048: 1229 units per character, a cell of
// 1705 + 615 = 2320 units.
constexpr float kAdvance = 1229.0f;
constexpr float kCell = 2320.0f;

TextContent MonoText(std::u16string text, float angle = 0.0f, int32_t alignment = kAlignLeft) {
  TextContent t;
  t.faceName = u"Liberation Mono";
  t.size = 2048.0f;
  t.text = std::move(text);
  t.angle = angle;
  t.alignment = alignment;
  return t;
}

void ExpectBounds(const RectF& b, float xmin, float xmax, float ymin, float ymax) {
  EXPECT_NEAR(b.xmin, xmin, 0.05f);
  EXPECT_NEAR(b.xmax, xmax, 0.05f);
  EXPECT_NEAR(b.ymin, ymin, 0.05f);
  EXPECT_NEAR(b.ymax, ymax, 0.05f);
}

TEST(TextContent, ArtisticBoundsOfOneLine) {
  TextContent t = MonoText(u"abcd");
  t.anchor = {100.0f, 200.0f};
  ExpectBounds(t.ComputeBounds(), 100.0f, 100.0f + 4 * kAdvance, 200.0f, 200.0f + kCell);
  const std::vector<IntPoint> box = {
      {100, 200}, {5016, 200}, {5016, 2520}, {100, 2520}, {100, 200}};
  EXPECT_EQ(t.boxPolygon, box);

  // Turned by 30 degrees counter-clockwise about the anchor (y grows down).
  t.angle = 30.0f;
  const double a = 30.0 * 3.14159265358979 / 180.0;
  const double c = std::cos(a), s = std::sin(a);
  auto turned = [&](double x, double y) {
    return PointF{float(100 + x * c + y * s), float(200 - x * s + y * c)};
  };
  const PointF p[4] = {turned(0, 0), turned(4 * kAdvance, 0), turned(4 * kAdvance, kCell),
                       turned(0, kCell)};
  RectF b = t.ComputeBounds();
  ExpectBounds(b, p[0].x, p[2].x, p[1].y, p[3].y);
}

TEST(TextContent, ArtisticLinesStackByTheHeightOfA) {
  // The empty last line still takes its place.
  TextContent t = MonoText(u"ab\r\nabcd\r\n");
  ExpectBounds(t.ComputeBounds(), 0.0f, 4 * kAdvance, 0.0f, 3 * kCell);

  // At 90 degrees lines run upwards and follow each other to the right, and
  // any alignment stays within the widest line.
  for (int32_t align : {kAlignLeft, kAlignRight, kAlignCenter}) {
    TextContent r = MonoText(u"ab\r\nabcd", 90.0f, align);
    r.anchor = {-50.0f, 70.0f};
    ExpectBounds(r.ComputeBounds(), -50.0f, -50.0f + 2 * kCell, 70.0f - 4 * kAdvance, 70.0f);
  }
}

TEST(TextContent, EmptyArtisticTextBoundsAreItsAnchor) {
  TextContent t = MonoText(u"");
  t.anchor = {12.4f, -7.6f};
  ExpectBounds(t.ComputeBounds(), 12.4f, 12.4f, -7.6f, -7.6f);
  EXPECT_EQ(t.boxPolygon, std::vector<IntPoint>(5, IntPoint{12, -8}));
}

TEST(TextContent, ParagraphBoundsAreItsBox) {
  TextContent t = MonoText(u"a long paragraph that wraps");
  t.textType = kTextParagraph;
  t.anchor = {-0.5f, 0.5f};
  t.corner = {10.5f, 20.49f};
  ExpectBounds(t.ComputeBounds(), -0.5f, 10.5f, 0.5f, 20.49f);
  // Rounded half away from zero.
  const std::vector<IntPoint> box = {{-1, 1}, {11, 1}, {11, 20}, {-1, 20}, {-1, 1}};
  EXPECT_EQ(t.boxPolygon, box);
}

TEST(TextContent, ArtisticSizeFollowsVerticalScale) {
  struct Case {
    float sx, sy;
    float size;
  } cases[] = {
      {0.01f, 0.01f, 3.0f},     // never below 3
      {1.0f, -1.0f, 70.56f},    // a vertical flip keeps the size
      {-1.0f, 1.0f, 70.56f},
      {5.0f, 2.0f, 141.12f},    // only the vertical factor counts
  };
  for (const Case& c : cases) {
    TextContent t;
    t.size = 70.56f;
    t.anchor = {10.0f, 20.0f};
    Transform tr;
    tr.Scale(c.sx, c.sy);
    t.ApplyTransform(tr);
    EXPECT_FLOAT_EQ(t.size, c.size);
    EXPECT_FLOAT_EQ(t.anchor.x, 10.0f * c.sx);
    EXPECT_FLOAT_EQ(t.anchor.y, 20.0f * c.sy);
  }
  TextContent t;
  t.size = 70.56f;
  Transform move;
  move.Translate(-300.0f, 45.0f);
  t.ApplyTransform(move);
  EXPECT_FLOAT_EQ(t.size, 70.56f);
  EXPECT_FLOAT_EQ(t.anchor.x, 300.0f);
  EXPECT_FLOAT_EQ(t.anchor.y, -45.0f);
}

TEST(TextContent, ParagraphBoxKeepsAtLeastOneM) {
  Shape shape(KindText);
  TextContent& t = *shape.text();
  t.textType = kTextParagraph;
  t.text = u"text";
  t.anchor = {100.0f, 100.0f};
  t.corner = {1100.0f, 600.0f};
  auto font = TextFont(t);
  ASSERT_TRUE(font);
  const TextExtent m = font->Measure(u"m");
  ASSERT_GT(m.cx, 0);

  Transform nothing;
  nothing.Scale(0.0f, 0.0f);
  shape.Transform(nothing);
  EXPECT_FLOAT_EQ(t.anchor.x, 0.0f);
  EXPECT_FLOAT_EQ(t.anchor.y, 0.0f);
  EXPECT_FLOAT_EQ(t.corner.x, float(m.cx));
  EXPECT_FLOAT_EQ(t.corner.y, float(m.cy));
  ExpectBounds(shape.bounds, 0.0f, float(m.cx), 0.0f, float(m.cy));

  // A box that stays large enough is only transformed.
  Transform grow;
  grow.Scale(2.0f, 3.0f);
  t.anchor = {100.0f, 100.0f};
  t.corner = {1100.0f, 600.0f};
  shape.Transform(grow);
  EXPECT_FLOAT_EQ(t.corner.x, 2200.0f);
  EXPECT_FLOAT_EQ(t.corner.y, 1800.0f);
  EXPECT_FLOAT_EQ(t.size, kDefaultTextSize);
}

TEST(TextContent, HitTestUsesTheBox) {
  Shape shape(KindText);
  TextContent& t = *shape.text();
  EXPECT_FALSE(shape.HitTest(Viewport(1.0f), {0, 0}, nullptr));  // no bounds yet

  t.textType = kTextParagraph;
  t.anchor = {0.0f, 0.0f};
  t.corner = {1000.0f, 500.0f};
  shape.UpdateBounds();
  Viewport vp(0.1f);  // 10 model units per pixel
  vp.setOrigin(-2000.0f, -1000.0f, 0, 0);
  struct Case {
    IntPoint pixel;
    bool hit;
  } cases[] = {
      {{250, 125}, true},   // model (500, 250)
      {{201, 101}, true},
      {{299, 149}, true},
      {{150, 125}, false},  // left of the box
      {{310, 125}, false},  // right of it
      {{250, 160}, false},  // below it
      {{250, 90}, false},   // above it
  };
  for (const Case& c : cases) {
    HitResult hit;
    hit.onOutline = true;
    EXPECT_EQ(shape.HitTest(vp, c.pixel, &hit), c.hit) << c.pixel.x << "," << c.pixel.y;
    EXPECT_TRUE(hit.onOutline);  // untouched
  }

  // Rotated artistic text is hit anywhere in its upright bounding box.
  TextContent& a = *shape.text();
  a = MonoText(u"abcd", 45.0f);
  shape.UpdateBounds();
  Viewport unit(1.0f);
  const IntPoint corner{RoundToInt(shape.bounds.xmax) - 2, RoundToInt(shape.bounds.ymin) + 2};
  EXPECT_TRUE(shape.HitTest(unit, corner, nullptr));
  EXPECT_FALSE(shape.HitTest(unit, {RoundToInt(shape.bounds.xmax) + 2, 0}, nullptr));
}

TEST(TextContent, CloneIsDeep) {
  TextContent t = MonoText(u"copy me", 12.0f, kAlignCenter);
  t.styleBits = kTextBold | kTextUnderline;
  t.textType = kTextParagraph;
  t.anchor = {1.0f, 2.0f};
  t.corner = {3000.0f, 4000.0f};
  t.ComputeBounds();
  std::unique_ptr<ShapeContent> copy = t.Clone();
  ASSERT_EQ(copy->kind(), uint32_t(KindText));
  t.text += u"!";
  const auto& c = static_cast<const TextContent&>(*copy);
  EXPECT_EQ(c.text, u"copy me");
  EXPECT_EQ(c.faceName, t.faceName);
  EXPECT_EQ(c.size, t.size);
  EXPECT_EQ(c.styleBits, t.styleBits);
  EXPECT_EQ(c.angle, t.angle);
  EXPECT_EQ(c.alignment, t.alignment);
  EXPECT_EQ(c.textType, t.textType);
  EXPECT_EQ(c.corner.x, t.corner.x);
  EXPECT_EQ(c.boxPolygon, t.boxPolygon);
}

}  // namespace
}  // namespace zel
