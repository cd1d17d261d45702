// The 32 crystallographic point groups as integer matrices in the crystal's
// own axes. The groups are numbered like the crystal classes of the crystal
// data (bit i of a class mask, refdb/crystal_classes.h).
//
// Settings: monoclinic with b unique; hexagonal and trigonal on hexagonal
// axes (a1, a2 at 120 degrees, c) with the two-fold axes of 32, -3m and the
// mirrors of 3m, -6m2 referred to a1 (the settings 321, 3m1, -3 2/m 1,
// -6m2 of the rhombohedral minerals); -42m with its two-fold axes along a.
#pragma once

#include <cstdint>
#include <vector>

#include "crystal/geometry.h"

namespace kalvor::crystal {

enum class AxisSystem : std::uint8_t {
  kCubic,
  kTetragonal,
  kOrthorhombic,
  kMonoclinic,
  kTriclinic,
  kHexagonal,
  kTrigonal
};

// The system of crystal class `bit` (0..31).
AxisSystem axisSystemOfClass(unsigned bit);
// True iff the class uses hexagonal axes (hexagonal and trigonal systems).
bool usesHexagonalAxes(unsigned bit);

// The operations of point group `bit` (0..31) acting on lattice coordinates:
// the closure of the class's generators, identity first; empty for bit > 31.
const std::vector<IntMat3>& pointGroupOperations(unsigned bit);

// The faces of the form {hkl} under the group: the distinct (h k l) R for every
// operation R, in a fixed order beginning with (h k l) itself.
std::vector<Miller> formOrbit(const std::vector<IntMat3>& group, Miller face);

// The class with the largest group among the bits of `classMask`, the lowest
// bit on a tie; -1 for mask 0.
int preferredClassBit(std::uint32_t classMask);

}  // namespace kalvor::crystal
