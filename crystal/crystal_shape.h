// The ideal shape of a crystal: the forms {hkl} with their central distances,
// spread over the faces by the point group and cut out of space.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crystal/cell.h"
#include "crystal/polyhedron.h"

namespace kalvor::crystal {

// A form and its central distance. How the distance is meant depends on the
// form set: an absolute distance in units of the crystal (all forms of one
// set compared with each other), or a factor of the lattice's 1/d(hkl).
struct CrystalForm {
  Miller face;
  double distance = 1;
  bool operator==(const CrystalForm&) const = default;
};

// Where the central distances of a form set come from.
enum class DistanceKind : std::uint8_t {
  kAbsolute = 0,  // as given
  kLattice = 1,   // factor x |h a* + k b* + l c*| (Bravais-Friedel-Donnay-Harker)
};

struct FormSet {
  unsigned classBit = 31;
  Cell cell;
  DistanceKind kind = DistanceKind::kAbsolute;
  std::vector<CrystalForm> forms;
  bool operator==(const FormSet&) const = default;
};

// One face of a shape: its plane and the form it belongs to.
struct ShapeFace {
  Miller face;
  int form = 0;  // index into FormSet::forms
  HalfSpace plane;
};

// The faces of every form under the class's point group; a face produced by two
// forms is kept once, with the smaller distance. Nothing for a bad cell.
std::optional<std::vector<ShapeFace>> shapeFaces(const FormSet& set);

// The solid of the form set; nothing when it is not closed.
struct CrystalShape {
  std::vector<ShapeFace> faces;  // all faces, also those that do not reach the solid
  Polyhedron solid;              // solid.faces[i].plane indexes `faces`
};
std::optional<CrystalShape> buildCrystalShape(const FormSet& set);

// The smallest n for which n (h k l) is a reflection the lattice centring
// allows ('P', 'A', 'B', 'C', 'I', 'F', or 'R' on hexagonal axes, obverse);
// 1 for any other letter. Multiplying a lattice-kind distance by it gives the
// Donnay-Harker rule: the face's effective interplanar spacing is d(hkl) / n.
int centringMultiple(char lattice, Miller face);

// Parses a form list: forms separated by blanks, each "{hkl}" or "{hkil}"
// followed by ":" and its distance, e.g. "{10-10}:1 {10-11}:2.4". Indices are
// single digits, each possibly preceded by "-"; four indices require i = -(h+k)
// and are allowed only for hexagonal axes. Nothing on any error.
std::optional<std::vector<CrystalForm>> parseForms(std::string_view text, bool hexagonalAxes);

// The symbol of a form: "{hkl}", or "{hkil}" on hexagonal axes, with "-" before negative indices.
std::string formSymbol(Miller face, bool hexagonalAxes);

}  // namespace kalvor::crystal
