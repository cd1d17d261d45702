// The 32 point groups: their orders, that they are groups, that they are
// symmetries of their lattices, and the face counts of the classic forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "crystal/cell.h"
#include "crystal/point_groups.h"

namespace kalvor::crystal {
namespace {

// Orders in the class order of the crystal data (bit 0 = "1" ... bit 31 = "m-3m").
constexpr std::size_t kOrders[32] = {1,  2,  3, 4, 6, 4,  6, 8, 12, 2, 4,  6,  8,  12, 8,  12,
                                     16, 24, 4, 6, 8, 12, 2, 6, 4,  8, 12, 12, 24, 24, 24, 48};

// A cell of each system with unequal, non-special lengths and angles, so that
// an operation that is not a symmetry of the lattice shows up.
Cell cellFor(unsigned bit) {
  switch (axisSystemOfClass(bit)) {
    case AxisSystem::kCubic:
      return {};
    case AxisSystem::kTetragonal:
      return {3.1, 3.1, 5.3, 90, 90, 90};
    case AxisSystem::kHexagonal:
    case AxisSystem::kTrigonal:
      return {4.9, 4.9, 5.4, 90, 90, 120};
    case AxisSystem::kOrthorhombic:
      return {3.1, 4.7, 5.3, 90, 90, 90};
    case AxisSystem::kMonoclinic:
      return {3.1, 4.7, 5.3, 90, 107, 90};
    case AxisSystem::kTriclinic:
      return {3.1, 4.7, 5.3, 81, 107, 95};
  }
  return {};
}

TEST(CrystalPointGroups, EveryGroupHasItsOrderAndIsClosedUnderProductsAndInverses) {
  for (unsigned bit = 0; bit < 32; ++bit) {
    SCOPED_TRACE("class bit " + std::to_string(bit));
    const std::vector<IntMat3> g = pointGroupOperations(bit);
    ASSERT_EQ(g.size(), kOrders[bit]);
    EXPECT_EQ(g.front(), IntMat3{});
    for (const IntMat3& a : g) {
      EXPECT_EQ(std::abs(a.determinant()), 1);
      bool hasInverse = false;
      for (const IntMat3& b : g) {
        EXPECT_NE(std::find(g.begin(), g.end(), a * b), g.end());
        hasInverse = hasInverse || a * b == IntMat3{};
      }
      EXPECT_TRUE(hasInverse);
    }
    // Every element appears once.
    for (std::size_t i = 0; i < g.size(); ++i)
      for (std::size_t j = i + 1; j < g.size(); ++j) EXPECT_NE(g[i], g[j]);
  }
}

TEST(CrystalPointGroups, EveryOperationIsARotationOrRotoinversionOfItsCell) {
  for (unsigned bit = 0; bit < 32; ++bit) {
    SCOPED_TRACE("class bit " + std::to_string(bit));
    const auto basis = directBasis(cellFor(bit));
    ASSERT_TRUE(basis.has_value());
    const Mat3 inverse = basis->inverse();
    for (const IntMat3& r : pointGroupOperations(bit)) {
      // In Cartesian axes the operation must be orthogonal: Q^T Q = 1.
      const Mat3 q = *basis * r.toDouble() * inverse;
      const Mat3 qtq = q.transposed() * q;
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(qtq.m[i][j], i == j ? 1.0 : 0.0, 1e-12);
    }
  }
}

TEST(CrystalPointGroups, ClassicFormsHaveTheirFaceCounts) {
  struct Case {
    const char* what;
    unsigned bit;
    Miller face;
    std::size_t faces;
  };
  const Case cases[] = {
      {"cube in m-3m", 31, {1, 0, 0}, 6},
      {"octahedron in m-3m", 31, {1, 1, 1}, 8},
      {"rhombic dodecahedron in m-3m", 31, {1, 1, 0}, 12},
      {"icositetrahedron in m-3m", 31, {2, 1, 1}, 24},
      {"hexoctahedron in m-3m", 31, {3, 2, 1}, 48},
      {"pentagon-dodecahedron in m-3", 28, {2, 1, 0}, 12},
      {"diploid in m-3", 28, {3, 2, 1}, 24},
      {"tetrahedron in -43m", 30, {1, 1, 1}, 4},
      {"tetrahedron in 23", 27, {1, 1, 1}, 4},
      {"cube in -43m", 30, {1, 0, 0}, 6},
      {"hexagonal prism in 6/mmm", 17, {1, 0, 0}, 6},         // {10-10}
      {"dihexagonal dipyramid in 6/mmm", 17, {2, 1, 1}, 24},  // {21-31}
      {"hexagonal pyramid in 6mm", 13, {1, 0, 1}, 6},
      {"trigonal prism in -6", 6, {1, 0, 0}, 3},
      {"rhombohedron in -3m", 26, {1, 0, 1}, 6},    // {10-11}
      {"scalenohedron in -3m", 26, {2, 1, 1}, 12},  // {21-31}
      {"rhombohedron in 32", 19, {1, 0, 1}, 6},
      {"trigonal trapezohedron in 32", 19, {2, 1, 1}, 6},
      {"trigonal pyramid in 3", 2, {1, 0, 1}, 3},
      {"basal pinacoid in -3", 23, {0, 0, 1}, 2},
      {"pedion in 3m", 11, {0, 0, 1}, 1},
      {"tetragonal prism in 4/mmm", 16, {1, 1, 0}, 4},
      {"ditetragonal dipyramid in 4/mmm", 16, {2, 1, 1}, 16},
      {"tetragonal disphenoid in -42m", 25, {1, 1, 1}, 4},
      {"tetragonal disphenoid in -4", 24, {1, 1, 1}, 4},
      {"rhombic dipyramid in mmm", 14, {1, 1, 1}, 8},
      {"rhombic disphenoid in 222", 18, {1, 1, 1}, 4},
      {"rhombic pyramid in mm2", 10, {1, 1, 1}, 4},
      {"prism in 2/m", 5, {1, 1, 0}, 4},
      {"pinacoid on b in 2/m", 5, {0, 1, 0}, 2},
      {"sphenoid in 2", 1, {1, 1, 0}, 2},
      {"pedion on b in 2", 1, {0, 1, 0}, 1},
      {"dome in m", 9, {0, 1, 1}, 2},
      {"pinacoid in -1", 22, {1, 2, 3}, 2},
      {"pedion in 1", 0, {1, 2, 3}, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(formOrbit(pointGroupOperations(c.bit), c.face).size(), c.faces) << c.what;
}

TEST(CrystalPointGroups, AlternativeClassesPreferTheLargerGroup) {
  EXPECT_EQ(preferredClassBit(0), -1);
  EXPECT_EQ(preferredClassBit(1u << 9 | 1u << 5 | 1u << 1), 5);  // m, 2/m or 2: 2/m
  EXPECT_EQ(preferredClassBit(1u << 27 | 1u << 28), 28);         // 23 or m-3
  EXPECT_EQ(preferredClassBit(1u << 31), 31);
}

}  // namespace
}  // namespace kalvor::crystal
