// 4 x 4 homogeneous matrix applied to row vectors (p' = p x M).
//
// Every operation other than Apply and Compose replaces M by Op x M, so the
// operation added last is the first one applied to a point.
#pragma once

#include "model/geometry.h"

namespace zel {

class Transform {
 public:
  Transform();

  // Moves points by MINUS the argument: Translate(c) brings c to the origin.
  void Translate(float tx, float ty, float tz = 0.0f);
  void Scale(float sx, float sy, float sz = 1.0f);
  // Rotation about the z axis: x' = x cos a - y sin a, y' = x sin a + y cos a.
  void Rotate(float radians);
  void SetMatrix(const float m[16]);
  // this.M := this.M x other.M: points go through this first, then other.
  void Compose(const Transform& other);

  PointF Apply(PointF p) const;
  PointF Apply(float x, float y) const { return Apply(PointF{x, y}); }

  const float* Matrix() const { return m_; }

  // The cached inverse, recomputed after the matrix changed (Gauss-Jordan
  // with partial pivoting). Returns null when the matrix is singular, so that
  // callers never apply a matrix full of infinities.
  const float* Inverse() const;
  bool IsInvertible() const { return Inverse() != nullptr; }
  // A transform holding the inverse matrix; false when singular.
  [[nodiscard]] bool GetInverse(Transform* out) const;

 private:
  void Premultiply(const float op[16]);

  float m_[16];
  mutable float inv_[16];
  mutable bool invValid_ = true;
  mutable bool singular_ = false;
};

}  // namespace zel
