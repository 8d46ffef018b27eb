#include "model/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zel {
namespace {

void ExpectPoint(PointF p, float x, float y, float eps = 1e-4f) {
  EXPECT_NEAR(p.x, x, eps);
  EXPECT_NEAR(p.y, y, eps);
}

TEST(Transform, StartsAsIdentity) {
  Transform t;
  ExpectPoint(t.Apply(12.5f, -3.0f), 12.5f, -3.0f, 0.0f);
  const float* inv = t.Inverse();
  ASSERT_NE(inv, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(inv[i], (i % 5 == 0) ? 1.0f : 0.0f);
}

TEST(Transform, TranslateMovesByMinusItsArgument) {
  Transform t;
  t.Translate(10, 20);
  ExpectPoint(t.Apply(10, 20), 0, 0);
  ExpectPoint(t.Apply(0, 0), -10, -20);
}

TEST(Transform, RotateTurnsXTowardsY) {
  Transform t;
  t.Rotate(static_cast<float>(M_PI / 2));
  ExpectPoint(t.Apply(1, 0), 0, 1);
  ExpectPoint(t.Apply(0, 1), -1, 0);
}

TEST(Transform, OperationAddedLastActsFirst) {
  // Scale added after Translate: the point is scaled, then translated.
  Transform t;
  t.Translate(10, 0);
  t.Scale(2, 3);
  ExpectPoint(t.Apply(1, 1), -8, 3);

  Transform u;
  u.Scale(2, 3);
  u.Translate(10, 0);
  ExpectPoint(u.Apply(1, 1), -18, 3);

  // The usual "rotate about a centre" recipe under this convention.
  Transform r;
  r.Translate(-5, -5);                   // finally move back
  r.Rotate(static_cast<float>(M_PI));    // then rotate
  r.Translate(5, 5);                     // first bring the centre to the origin
  ExpectPoint(r.Apply(6, 5), 4, 5);
}

TEST(Transform, ComposeAppliesThisFirstThenOther) {
  Transform a;
  a.Scale(2, 2);
  Transform b;
  b.Translate(-5, 0);
  a.Compose(b);
  ExpectPoint(a.Apply(1, 0), 7, 0);
}

TEST(Transform, InverseUndoesTheMatrix) {
  Transform t;
  t.Translate(-120, 35);
  t.Rotate(0.7f);
  t.Scale(2.5f, -0.5f);
  t.Translate(3, 4);
  const float* m = t.Matrix();
  const float* inv = t.Inverse();
  ASSERT_NE(inv, nullptr);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += inv[i * 4 + k] * m[k * 4 + j];
      EXPECT_NEAR(s, i == j ? 1.0f : 0.0f, 1e-5f) << i << "," << j;
    }
  }
  Transform back;
  ASSERT_TRUE(t.GetInverse(&back));
  ExpectPoint(back.Apply(t.Apply(17, -42)), 17, -42, 1e-3f);
  // The inverse of the inverse is the original matrix.
  const float* twice = back.Inverse();
  ASSERT_NE(twice, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(twice[i], m[i]);
}

TEST(Transform, InverseFollowsMatrixChanges) {
  Transform t;
  t.Translate(5, 0);
  ExpectPoint(PointF{t.Inverse()[12], t.Inverse()[13]}, 5, 0);
  t.Translate(0, 7);
  ExpectPoint(PointF{t.Inverse()[12], t.Inverse()[13]}, 5, 7);
}

TEST(Transform, GetInverseIntoItself) {
  Transform t;
  t.Scale(4, 8);
  ASSERT_TRUE(t.GetInverse(&t));
  ExpectPoint(t.Apply(4, 8), 1, 1);
}

TEST(Transform, SingularMatrixHasNoInverse) {
  Transform flat;
  flat.Scale(0, 1);
  EXPECT_EQ(flat.Inverse(), nullptr);
  EXPECT_FALSE(flat.IsInvertible());
  Transform out;
  out.Translate(1, 1);
  EXPECT_FALSE(flat.GetInverse(&out));
  ExpectPoint(out.Apply(1, 1), 0, 0);  // untouched

  // A rotated frame squashed flat, and dependent rows found by elimination.
  Transform squashed;
  squashed.Rotate(0.3f);
  squashed.Scale(1, 0);
  EXPECT_EQ(squashed.Inverse(), nullptr);
  float dependent[16] = {1, 2, 0, 0, 2, 4, 0, 0, 0, 0, 1, 0, 7, 9, 0, 1};
  Transform mixed;
  mixed.SetMatrix(dependent);
  EXPECT_EQ(mixed.Inverse(), nullptr);

  float nan[16] = {};
  nan[0] = std::numeric_limits<float>::quiet_NaN();
  nan[5] = nan[10] = nan[15] = 1;
  Transform poisoned;
  poisoned.SetMatrix(nan);
  EXPECT_EQ(poisoned.Inverse(), nullptr);

  // A later matrix change makes it invertible again.
  float id[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  flat.SetMatrix(id);
  EXPECT_NE(flat.Inverse(), nullptr);
}

}  // namespace
}  // namespace zel
