// The texts of a mineral description that are pure number formatting: the
// lattice text of a crystal-data entry with its cell volume, cell angles,
// and the date of a specimen. Texts are Windows-1252 in formula markup
// ("a_0" lowers the 0, "^3" raises the 3, "beta" is drawn as a Greek letter).
#pragma once

#include <cstdint>
#include <string>

#include "refdb/crystal_classes.h"
#include "refdb/mineral_record.h"

namespace kalvor {

// Returns "%d.%d.%d" (day, month, year), "%d.%d" (month, year) or "%d" (year)
// of a date stored as year * 65536 + month * 256 + day; "" for 0.
std::string formatDate(std::uint32_t value);

// Returns an angle as "%.2f°", or with `withMinutes` as "%d°%02d'" where the
// minutes are ((angle - degrees) + 0.01) * 60 truncated; 60 minutes are
// carried into the degrees (92.999 gives 93°00', never 92°60').
std::string formatCellAngle(double degrees, bool withMinutes);

// Returns the volume of the cell in cubic of its length unit, by the lattice
// kind of the entry's classes: a0^3; a0^2 c0 (times sin 60° for hexagonal and
// trigonal classes); a0 b0 c0; a0 b0 c0 sin beta; the triclinic formula with
// alpha, beta and gamma. 0 for no kind, and 0 for angles that describe no
// cell (a non-positive product under the root).
double cellVolume(const CrystalDataEntry& entry);

// Returns the lattice text that follows the class symbols: ", Z=%d" (when Z
// is not 0), the cell lengths of the lattice kind ("a_0=%.2f ..." with "kX"
// or "Å"), the angles of the kind, and ", V = %.2fÅ^3".
std::string latticeText(const CrystalDataEntry& entry, bool anglesWithMinutes);

// Returns the system word of the entry's classes for the prefix of an entry
// group: the last of the seven systems, in table order, that shares a class.
// "" for mask 0.
std::string crystalDataSystemName(std::uint32_t classMask);

}  // namespace kalvor
