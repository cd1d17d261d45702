// The unit cell of a crystal and the metric that turns Miller indices into
// face normals in Cartesian space.
//
// Cartesian axes of every crystal: c along z (up), b in the y-z plane (to the
// right), a completing a right-handed set and pointing towards the viewer. So
// a monoclinic a with beta > 90 degrees leans down towards the viewer, and the
// hexagonal a1 points to the front left, a2 to the right: the usual setting of
// crystal drawings.
#pragma once

#include <optional>

#include "crystal/geometry.h"
#include "refdb/mineral_record.h"

namespace kalvor::crystal {

struct Cell {
  double a = 1, b = 1, c = 1;                // any common length unit
  double alpha = 90, beta = 90, gamma = 90;  // degrees
  bool operator==(const Cell&) const = default;
};

// The cell values that class `bit` needs, completed from the crystal data:
// cubic needs nothing (a = b = c = 1); tetragonal a, c; hexagonal and trigonal
// a, c on hexagonal axes (a trigonal cell given only as rhombohedral a, alpha
// is converted); orthorhombic a, b, c; monoclinic a, b, c, beta; triclinic all
// six. Nothing when a needed value is missing or the cell is not a real one,
// so no crystal is drawn with invented proportions.
std::optional<Cell> cellForClass(unsigned bit, const CrystalDataEntry& data);

// The direct basis a, b, c as the columns of a matrix in the Cartesian axes above;
// nothing when the angles do not make a cell (volume zero or imaginary).
std::optional<Mat3> directBasis(const Cell& cell);

// The reciprocal lattice vector h a* + k b* + l c* for the direct basis
// `basis`: normal to the face (h k l), of length 1 / d(hkl).
Vec3 reciprocalVector(const Mat3& basis, Miller face);

}  // namespace kalvor::crystal
