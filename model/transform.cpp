#include "model/transform.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace zel {

namespace {

void SetIdentity(float m[16]) {
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

// r = a x b for row-major 4 x 4 matrices; r may not alias a or b.
void Multiply(const float a[16], const float b[16], float r[16]) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float s = 0.0f;
      for (int k = 0; k < 4; ++k) s += a[i * 4 + k] * b[k * 4 + j];
      r[i * 4 + j] = s;
    }
  }
}

// Gauss-Jordan elimination with partial pivoting on the augmented matrix
// [M | I]. False when a pivot column is all zero or the result overflows.
bool Invert(const float m[16], float inv[16]) {
  float a[4][8];
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      a[i][j] = m[i * 4 + j];
      a[i][j + 4] = (i == j) ? 1.0f : 0.0f;
    }
  }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int row = col + 1; row < 4; ++row) {
      if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
    }
    // Also catches NaN entries (the comparison fails).
    if (!(std::fabs(a[pivot][col]) > 0.0f)) return false;
    if (pivot != col) {
      for (int j = 0; j < 8; ++j) std::swap(a[pivot][j], a[col][j]);
    }
    float scale = 1.0f / a[col][col];
    for (int j = 0; j < 8; ++j) a[col][j] *= scale;
    for (int row = 0; row < 4; ++row) {
      if (row == col) continue;
      float f = a[row][col];
      if (f == 0.0f) continue;
      for (int j = 0; j < 8; ++j) a[row][j] -= f * a[col][j];
    }
  }
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float v = a[i][j + 4];
      if (!std::isfinite(v)) return false;
      inv[i * 4 + j] = v;
    }
  }
  return true;
}

}  // namespace

Transform::Transform() {
  SetIdentity(m_);
  SetIdentity(inv_);
}

void Transform::Premultiply(const float op[16]) {
  float r[16];
  Multiply(op, m_, r);
  std::memcpy(m_, r, sizeof m_);
  invValid_ = false;
}

void Transform::Translate(float tx, float ty, float tz) {
  float op[16];
  SetIdentity(op);
  op[12] = -tx;
  op[13] = -ty;
  op[14] = -tz;
  Premultiply(op);
}

void Transform::Scale(float sx, float sy, float sz) {
  float op[16];
  SetIdentity(op);
  op[0] = sx;
  op[5] = sy;
  op[10] = sz;
  Premultiply(op);
}

void Transform::Rotate(float radians) {
  float c = std::cos(radians);
  float s = std::sin(radians);
  float op[16];
  SetIdentity(op);
  op[0] = c;
  op[1] = s;
  op[4] = -s;
  op[5] = c;
  Premultiply(op);
}

void Transform::SetMatrix(const float m[16]) {
  std::memcpy(m_, m, sizeof m_);
  invValid_ = false;
}

void Transform::Compose(const Transform& other) {
  float r[16];
  Multiply(m_, other.m_, r);
  std::memcpy(m_, r, sizeof m_);
  invValid_ = false;
}

PointF Transform::Apply(PointF p) const {
  // (x, y, 0, 1) x M; w is taken as 1 without a perspective divide.
  return PointF{p.x * m_[0] + p.y * m_[4] + m_[12], p.x * m_[1] + p.y * m_[5] + m_[13]};
}

const float* Transform::Inverse() const {
  if (!invValid_) {
    singular_ = !Invert(m_, inv_);
    invValid_ = true;
  }
  return singular_ ? nullptr : inv_;
}

bool Transform::GetInverse(Transform* out) const {
  const float* inv = Inverse();
  if (inv == nullptr || out == nullptr) return false;
  // Copies first: out may be this transform.
  float inverse[16], original[16];
  std::memcpy(inverse, inv, sizeof inverse);
  std::memcpy(original, m_, sizeof original);
  out->SetMatrix(inverse);
  // The inverse of the inverse is this matrix, exactly.
  std::memcpy(out->inv_, original, sizeof original);
  out->invValid_ = true;
  out->singular_ = false;
  return true;
}

}  // namespace zel
