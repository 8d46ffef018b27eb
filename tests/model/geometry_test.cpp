#include "model/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zel {
namespace {

TEST(RoundToInt, RoundsHalfAwayFromZeroAndClampsOutOfRange) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    double in;
    int out;
  } cases[] = {
      {2.5, 3},
      {-2.5, -3},
      {0.49, 0},
      {-0.49, 0},
      {0.0, 0},
      {-0.0, 0},
      {1.5, 2},
      {-1.5, -2},
      {7.4999, 7},
      {1073741822.6, 1073741823},  // just inside the limit: rounded as usual
      {-1073741822.6, -1073741823},
      {1e12, kCoordLimit},
      {-1e12, -kCoordLimit},
      {kInf, kCoordLimit},
      {-kInf, -kCoordLimit},
      {kNaN, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundToInt(c.in), c.out) << "input " << c.in;
}

TEST(RectF, IntegerRectangleTakesFieldsInStorageOrder) {
  // Stored xmin, xmax, ymin, ymax; the integer form is left, top, right, bottom.
  EXPECT_EQ(ToIntRect(RectF{-2.5f, 2.5f, -2.5f, 2.5f}), (IntRect{-3, -3, 3, 3}));
  EXPECT_EQ(ToIntRect(RectF{1.2f, 5.6f, -3.4f, 7.5f}), (IntRect{1, -3, 6, 8}));
}

TEST(RectF, NormaliseUnionAndAccumulate) {
  RectF n = Normalized(RectF{5, -1, 7, 2});
  EXPECT_EQ(n.xmin, -1);
  EXPECT_EQ(n.xmax, 5);
  EXPECT_EQ(n.ymin, 2);
  EXPECT_EQ(n.ymax, 7);
  EXPECT_EQ(Normalized(IntRect{10, 20, 0, 5}), (IntRect{0, 5, 10, 20}));

  RectF u = Union(RectF{0, 10, 0, 10}, RectF{-5, 3, 4, 20});
  EXPECT_EQ(u.xmin, -5);
  EXPECT_EQ(u.xmax, 10);
  EXPECT_EQ(u.ymin, 0);
  EXPECT_EQ(u.ymax, 20);

  RectF acc = EmptyUnionStart();
  EXPECT_EQ(acc.xmin, 1e10f);
  EXPECT_EQ(acc.xmax, -1e10f);
  GrowBy(acc, PointF{3, -4});
  GrowBy(acc, PointF{-1, 6});
  EXPECT_EQ(acc.xmin, -1);
  EXPECT_EQ(acc.xmax, 3);
  EXPECT_EQ(acc.ymin, -4);
  EXPECT_EQ(acc.ymax, 6);
}

TEST(PointsEqual, ToleratesOnlyBelowOneHundredMillionth) {
  EXPECT_TRUE(PointsEqual(PointF{0, 0}, PointF{1e-9f, -1e-9f}));
  EXPECT_FALSE(PointsEqual(PointF{0, 0}, PointF{1e-6f, 0}));
  EXPECT_FALSE(PointsEqual(PointF{0, 0}, PointF{0, -1e-6f}));
  EXPECT_TRUE(PointsEqual(PointF{123.25f, -7.5f}, PointF{123.25f, -7.5f}));
}

TEST(Angles, TextAngleNormalisesToWholeDegrees) {
  struct Case {
    double in;
    int out;
  } cases[] = {{-30, 330}, {720, 0}, {359.6, 0}, {-0.4, 0}, {-360, 0}, {45.5, 46}, {-725, 355}};
  for (const Case& c : cases) EXPECT_EQ(NormalizeTextAngle(c.in), c.out) << "input " << c.in;
}

TEST(Angles, NegativeRadiansGetOneTurnAdded) {
  EXPECT_DOUBLE_EQ(NormalizeAngle(-0.5), -0.5 + 6.2831854820251465);
  EXPECT_EQ(NormalizeAngle(0.0), 0.0);
  EXPECT_EQ(NormalizeAngle(7.0), 7.0);
  // Only once: a value below minus one turn stays negative.
  EXPECT_LT(NormalizeAngle(-7.0), 0.0);
}

TEST(RotatePoint, TurnsFromXTowardsYAboutTheCentre) {
  PointF r = RotatePoint(PointF{10, 5}, PointF{5, 5}, M_PI / 2);
  EXPECT_NEAR(r.x, 5, 1e-5);
  EXPECT_NEAR(r.y, 10, 1e-5);
  PointF back = RotatePoint(r, PointF{5, 5}, -M_PI / 2);
  EXPECT_NEAR(back.x, 10, 1e-5);
  EXPECT_NEAR(back.y, 5, 1e-5);
}

TEST(FitKeepingAspect, CentresContentInTheBox) {
  struct Case {
    int cw, ch, bw, bh;
    IntRect out;
  } cases[] = {
      {200, 100, 100, 100, {0, 25, 100, 75}},   // wide content: full width
      {100, 200, 100, 100, {25, 0, 75, 100}},   // tall content: full height
      {100, 100, 40, 40, {0, 0, 40, 40}},
      {0, 100, 40, 30, {0, 0, 40, 30}},         // empty content: the whole box
      {100, 100, 0, 30, {0, 0, 0, 30}},
      {1, 1 << 30, 100, 100, {50, 0, 50, 100}}, // extreme ratio must not overflow
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitKeepingAspect(c.cw, c.ch, c.bw, c.bh), c.out)
        << c.cw << "x" << c.ch << " in " << c.bw << "x" << c.bh;
  }
}

}  // namespace
}  // namespace zel
