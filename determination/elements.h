// The fixed tables of chemical element symbols and structural groups that
// formulas are scanned for and element expressions are written in.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kalvor {

// The 105 element symbols, index 0 - 104. Each one-letter symbol comes after
// every two-letter symbol beginning with the same letter: the scans blank out
// the longer symbols first so that "C" never matches inside "Cl".
struct ElementTable {
  static constexpr std::size_t kCount = 105;
  // Pseudo element "rare earths", written "ree" or "SE" in an expression.
  static constexpr int kRareEarths = 105;
  static constexpr std::array<std::string_view, kCount> kSymbols = {
      "Ac", "Ag", "Al", "Am", "Ar", "As", "At", "Au", "Ba", "Be", "Bi", "Bk", "Br", "B",  "Ca",
      "Cd", "Ce", "Cf", "Cl", "Cm", "Co", "Cr", "Cs", "Cu", "C",  "Dy", "Er", "Es", "Eu", "Fe",
      "Fm", "Fr", "F",  "Ga", "Gd", "Ge", "Ha", "He", "Hf", "Hg", "Ho", "H",  "In", "Ir", "I",
      "Kr", "Ku", "K",  "La", "Li", "Lr", "Lu", "Md", "Mg", "Mn", "Mo", "Na", "Nb", "Nd", "Ne",
      "Ni", "No", "Np", "N",  "Os", "O",  "Pa", "Pb", "Pd", "Pm", "Po", "Pr", "Pt", "Pu", "P",
      "Ra", "Rb", "Re", "Rh", "Rn", "Ru", "Sb", "Sc", "Se", "Si", "Sm", "Sn", "Sr", "S",  "Ta",
      "Tb", "Tc", "Te", "Th", "Ti", "Tl", "Tm", "U",  "V",  "W",  "Xe", "Yb", "Y",  "Zn", "Zr"};

  // Index of an exactly spelt symbol, or -1.
  static int indexOf(std::string_view symbol);
};

// Elements that occur in no mineral: they may not be searched for and are
// never filed as "absent".
struct UnseenElements {
  static constexpr std::array<std::string_view, 34> kSymbols = {
      "He", "Ne", "Ar", "Kr", "Xe", "Rn", "Np", "Pu", "Am", "Cm", "Bk", "Cf",
      "Es", "Fm", "Md", "No", "Lr", "Ku", "Ha", "Tc", "Rb", "Pr", "Pm", "Eu",
      "Tb", "Ho", "Tm", "Lu", "Po", "At", "Fr", "Ra", "Ac", "Pa"};
  // True iff element index i is one of them.
  static bool contains(int i);
};

// Elements whose presence implies the pseudo element "rare earths".
struct RareEarthElements {
  static constexpr std::array<std::string_view, 16> kSymbols = {
      "Ce", "Nd", "La", "Dy", "Y", "Sm", "Pr", "Eu", "Gd", "Tb", "Er", "Tm", "Yb", "Lu", "Pm", "Ho"};
  // True iff element index i is one of them.
  static bool contains(int i);
};

// The 14 structural groups, index 0 - 13.
struct GroupTable {
  static constexpr std::size_t kCount = 14;
  static constexpr std::array<std::string_view, kCount> kNames = {
      "AsO4", "CO3",  "CrO4", "H2O", "MoO4", "OH",   "PO4",
      "Si2O7", "SiO4", "SO4", "TeO4", "UO2", "VO4", "WO4"};
};

}  // namespace kalvor
