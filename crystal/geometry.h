// Small vector and matrix types for crystal shapes: double vectors for
// Cartesian space, integer matrices for symmetry operations in lattice axes.
#pragma once

#include <array>
#include <cmath>

namespace kalvor::crystal {

struct Vec3 {
  double x = 0, y = 0, z = 0;
  Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
  Vec3 operator-() const { return {-x, -y, -z}; }
};

inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(const Vec3& a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(const Vec3& a) { return a * (1.0 / length(a)); }

// A 3x3 double matrix, row-major: m[row][column].
struct Mat3 {
  std::array<std::array<double, 3>, 3> m{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

  static Mat3 identity() { return {}; }
  // The matrix whose columns are a, b, c.
  static Mat3 fromColumns(const Vec3& a, const Vec3& b, const Vec3& c);
  // Rotation by `radians` about the x, y or z axis (right-handed).
  static Mat3 rotationX(double radians);
  static Mat3 rotationY(double radians);
  static Mat3 rotationZ(double radians);

  Vec3 operator*(const Vec3& v) const {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
  }
  Mat3 operator*(const Mat3& o) const;
  Mat3 transposed() const;
  double determinant() const;
  // The inverse; undefined for a singular matrix (callers check the determinant).
  Mat3 inverse() const;
};

// An integer 3x3 matrix, row-major: a symmetry operation in the crystal's
// own axes acting on lattice coordinates (column vectors).
struct IntMat3 {
  std::array<std::array<int, 3>, 3> m{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  IntMat3 operator*(const IntMat3& o) const {
    IntMat3 r;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
    return r;
  }
  IntMat3 transposed() const {
    IntMat3 r;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r.m[i][j] = m[j][i];
    return r;
  }
  int determinant() const {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  }
  Mat3 toDouble() const {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][j];
    return r;
  }
  bool operator==(const IntMat3&) const = default;
  auto operator<=>(const IntMat3&) const = default;
};

// Miller indices (h k l) of a face; hexagonal and trigonal forms keep the
// three independent indices of their four (h k i l), i = -(h + k).
struct Miller {
  int h = 0, k = 0, l = 0;
  bool operator==(const Miller&) const = default;
  auto operator<=>(const Miller&) const = default;
};

}  // namespace kalvor::crystal
