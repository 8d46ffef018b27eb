// Shapes: construction, bounds, transforms, deep copies and hit tests of paths and images.
#include <gtest/gtest.h>

#include "model/shape.h"
#include "model/viewport.h"

namespace zel {
namespace {

// A 1:1 viewport with the drawing origin at pixel (0, 0).
Viewport UnitViewport() {
  Viewport vp(1.0f);
  vp.setOrigin(0, 0, 0, 0);
  return vp;
}

SubPath Square(float half) {
  SubPath nodes;
  for (PointF c : {PointF{-half, -half}, PointF{half, -half}, PointF{half, half}, PointF{-half, half},
                   PointF{-half, -half}})
    nodes.push_back(PathNode{c, c, c, 0});
  return nodes;
}

TEST(Shape, ConstructionMakesTheMatchingContent) {
  Shape path(KindPath), text(KindText), image(KindImage), placeholder(99);
  EXPECT_NE(path.path(), nullptr);
  EXPECT_EQ(path.text(), nullptr);
  EXPECT_NE(text.text(), nullptr);
  EXPECT_EQ(text.image(), nullptr);
  EXPECT_NE(image.image(), nullptr);
  EXPECT_EQ(placeholder.content, nullptr);
  EXPECT_TRUE(path.selected());
  EXPECT_EQ(path.groupId, 0);
  EXPECT_EQ(text.text()->size, kDefaultTextSize);
  EXPECT_EQ(text.text()->alignment, kAlignLeft);
  EXPECT_EQ(image.image()->rasterOp, kRasterSrcCopy);
  // Operations on a shape without content do nothing.
  placeholder.UpdateBounds();
  placeholder.Transform(zel::Transform());
  EXPECT_FALSE(placeholder.HitTest(UnitViewport(), {0, 0}, nullptr));
}

TEST(Shape, PathBoundsFollowTheCurveNotItsHandles) {
  Shape s(KindPath);
  // An arch whose handles reach y = -400 while the curve only reaches -300.
  s.path()->subPaths.push_back({{{0, 0}, {0, 0}, {0, -400}, 0}, {{100, -400}, {100, 0}, {100, 0}, 0}});
  s.UpdateBounds();
  EXPECT_FLOAT_EQ(s.bounds.xmin, 0.0f);
  EXPECT_FLOAT_EQ(s.bounds.xmax, 100.0f);
  EXPECT_FLOAT_EQ(s.bounds.ymax, 0.0f);
  EXPECT_GT(s.bounds.ymin, -310.0f);
  EXPECT_LT(s.bounds.ymin, -280.0f);
  ASSERT_EQ(s.path()->flattened.size(), 1u);
  EXPECT_GT(s.path()->flattened[0].size(), 4u);
}

TEST(Shape, EllipseAndRectangleMakers) {
  auto e = MakeEllipse({-200, 200, -100, 100});
  const SubPath& nodes = e->path()->subPaths[0];
  ASSERT_EQ(nodes.size(), 5u);
  EXPECT_TRUE(IsClosed(nodes));
  EXPECT_FLOAT_EQ(nodes[0].out.x - nodes[0].anchor.x, 400 * kEllipseHandle);
  EXPECT_FLOAT_EQ(nodes[1].out.y - nodes[1].anchor.y, 200 * kEllipseHandle);
  EXPECT_NEAR(e->bounds.xmin, -200, 0.5);
  EXPECT_NEAR(e->bounds.ymax, 100, 0.5);
  auto r = MakeRectangle({-10, 30, 5, 25});
  EXPECT_EQ(r->path()->subPaths[0].size(), 5u);
  EXPECT_FLOAT_EQ(r->bounds.xmax, 30.0f);
  EXPECT_FLOAT_EQ(r->bounds.ymin, 5.0f);
}

TEST(Shape, TransformMovesNodesAndImagePlacement) {
  auto r = MakeRectangle({0, 10, 0, 20});
  zel::Transform t;
  t.Translate(-5, -7);  // points move by +(5, 7)
  r->Transform(t);
  EXPECT_FLOAT_EQ(r->bounds.xmin, 5.0f);
  EXPECT_FLOAT_EQ(r->bounds.ymax, 27.0f);

  Shape image(KindImage);
  image.image()->placement = {0, 100, 0, 50};
  zel::Transform flip;
  flip.Scale(-1, 1);
  image.Transform(flip);
  // A horizontal flip swaps the corners: the picture is drawn mirrored.
  EXPECT_FLOAT_EQ(image.image()->placement.xmin, 0.0f);
  EXPECT_FLOAT_EQ(image.image()->placement.xmax, -100.0f);
  EXPECT_FLOAT_EQ(image.bounds.xmin, -100.0f);
  EXPECT_FLOAT_EQ(image.bounds.xmax, 0.0f);
}

TEST(Shape, CopyIsDeepAndStartsSelected) {
  auto a = MakeRectangle({0, 10, 0, 10});
  a->groupId = 4;
  a->pageIndex = 1;
  a->fillColor = 0x123456;
  a->setSelected(false);
  Shape b(KindText);
  b.setSelected(true);
  b.CopyFrom(*a);
  EXPECT_EQ(b.kind(), KindPath);
  EXPECT_EQ(b.groupId, 4);
  EXPECT_EQ(b.pageIndex, 1);
  EXPECT_EQ(b.fillColor, 0x123456u);
  EXPECT_TRUE(b.selected());
  b.path()->subPaths[0][0].anchor.x = 99;
  EXPECT_EQ(a->path()->subPaths[0][0].anchor.x, 0.0f);
  EXPECT_EQ(b.path()->flattened.size(), 1u);
}

// A filled square of half-size 100 with a square hole of half-size 50.
std::unique_ptr<Shape> SquareWithHole(int32_t brush) {
  auto s = std::make_unique<Shape>(KindPath);
  s->path()->brushStyle = brush;
  s->path()->subPaths = {Square(100), Square(50)};
  s->UpdateBounds();
  return s;
}

TEST(Shape, HitTestOfFilledPathWithHole) {
  auto s = SquareWithHole(kBrushSolid);
  const Viewport vp = UnitViewport();
  struct Case {
    IntPoint p;
    bool hit;
    bool onOutline;
    int contour;
  } cases[] = {
      {{75, 0}, true, false, 0},     // in the ring
      {{0, 0}, false, false, -1},    // in the hole
      {{0, 48}, true, true, 1},      // inside the hole, near its outline
      {{0, 103}, true, true, 0},     // just outside the outer outline
      {{0, 105}, false, false, -1},  // beyond the 4-pixel reach
      {{300, 300}, false, false, -1},
  };
  for (const Case& c : cases) {
    HitResult hit;
    EXPECT_EQ(s->HitTest(vp, c.p, &hit), c.hit) << c.p.x << "," << c.p.y;
    if (c.hit) {
      EXPECT_EQ(hit.onOutline, c.onOutline) << c.p.x << "," << c.p.y;
      EXPECT_EQ(hit.contour, c.contour) << c.p.x << "," << c.p.y;
    }
  }
  // Dotted fill counts as filled.
  EXPECT_TRUE(SquareWithHole(kBrushDotted)->HitTest(vp, {75, 0}, nullptr));
}

TEST(Shape, HitTestOfOutlineOnly) {
  auto s = SquareWithHole(kBrushNull);
  const Viewport vp = UnitViewport();
  EXPECT_FALSE(s->HitTest(vp, {75, 0}, nullptr));
  HitResult hit;
  ASSERT_TRUE(s->HitTest(vp, {97, 10}, &hit));
  EXPECT_TRUE(hit.onOutline);
  EXPECT_EQ(hit.contour, 0);
  EXPECT_NEAR(hit.distance, 3.0f, 1e-4);
  // An open line hits only along itself.
  Shape line(KindPath);
  line.path()->brushStyle = kBrushNull;
  line.path()->subPaths.push_back({{{0, 0}, {0, 0}, {0, 0}, 0}, {{100, 0}, {100, 0}, {100, 0}, 0}});
  line.UpdateBounds();
  EXPECT_TRUE(line.HitTest(vp, {50, 4}, nullptr));
  EXPECT_FALSE(line.HitTest(vp, {50, 6}, nullptr));
}

TEST(Shape, HitTestUsesDevicePixels) {
  // At scale 0.1 the 4-pixel reach covers 40 drawing units.
  auto s = SquareWithHole(kBrushNull);
  Viewport vp(0.1f);
  vp.setOrigin(0, 0, 50, 50);
  EXPECT_TRUE(s->HitTest(vp, {50 + 13, 50}, nullptr));  // drawing x = 130
  EXPECT_FALSE(s->HitTest(vp, {50 + 15, 50}, nullptr));
  // A shape smaller than a pixel still catches a tap on it.
  auto tiny = MakeRectangle({0, 1, 0, 1});
  EXPECT_TRUE(tiny->HitTest(vp, {50, 50}, nullptr));
}

TEST(Shape, ImagesAnswerEveryHit) {
  Shape image(KindImage);
  image.image()->placement = {0, 10, 0, 10};
  image.UpdateBounds();
  EXPECT_TRUE(image.HitTest(UnitViewport(), {500, 500}, nullptr));
}

}  // namespace
}  // namespace zel
