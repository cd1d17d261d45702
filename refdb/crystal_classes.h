// The 32 crystal classes of the crystal data and the seven crystal systems
// that group them. Symbols are Hermann-Mauguin symbols in which "\" before a
// digit stands for the overbar of a rotoinversion axis ("\3" is 3 with a bar).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kalvor {

// One crystal class: row i is bit i of a class mask. `fullSymbol` is shown
// instead of the short one when it is not null.
struct CrystalClass {
  const char* shortSymbol;
  const char* fullSymbol;
};
extern const CrystalClass kCrystalClasses[32];

// Which cell values of a crystal-data entry apply.
enum class LatticeKind : std::uint8_t {
  kNone = 0,
  kA = 1,          // a0 (cubic)
  kAC = 2,         // a0, c0 (tetragonal, hexagonal, trigonal)
  kABC = 3,        // a0, b0, c0 (rhombic)
  kABCBeta = 4,    // a0, b0, c0, beta (monoclinic)
  kABCAngles = 5,  // a0, b0, c0, alpha, beta, gamma (triclinic)
};

// One of the seven systems of the crystal data: its word (string-table id),
// the mask of its classes and its lattice kind.
struct CrystalDataSystem {
  std::uint16_t stringId;
  std::uint32_t classMask;
  LatticeKind lattice;
};
// In the order kubisch, tetragonal, rhombisch, monoklin, triklin, hexagonal,
// trigonal; the masks do not overlap and cover all 32 classes.
extern const CrystalDataSystem kCrystalDataSystems[7];

// Classes whose cell volume is computed with the hexagonal cell (the
// hexagonal and trigonal classes together).
inline constexpr std::uint32_t kHexagonalCellClasses = 0x04AAA954;

// Returns the symbol shown for class `bit` (0-31): its full symbol when it has
// one, else its short symbol; "" for a bit beyond 31.
std::string crystalClassSymbol(unsigned bit);

// Returns the shown symbols of the classes in `classMask`, in bit order,
// joined by ", " and the last one by " oder "; "" for mask 0.
std::string formatCrystalClasses(std::uint32_t classMask);

// Returns the first system whose mask shares a class with `classMask`, or
// nothing for mask 0.
std::optional<CrystalDataSystem> crystalDataSystemOf(std::uint32_t classMask);

// Returns the lattice kind of the first system that shares a class with
// `classMask`; kNone for mask 0.
LatticeKind latticeKindOf(std::uint32_t classMask);

}  // namespace kalvor
