// The density a mineral must have from its formula, Z and unit cell,
// compared with the measured density: a wrong Z, a cell constant off by a
// factor of ten or a mistyped density shows up as a gap of many per cent.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kalvor::mkdb {

// Smallest and largest formula weight (g/mol) of a formula in the record's
// markup ("Pb_5(AsO_4)_3Cl", "(Fe,Mg)_2SiO_4·2H_2O"): a choice "(A,B)" counts
// the lighter and the heavier alternative. Nothing when the formula has a
// variable count ("nH_2O", "_{1-x}") or a symbol that is no element.
struct WeightRange {
  double lightest = 0;
  double heaviest = 0;
};
std::optional<WeightRange> formulaWeight(std::string_view formula);

// The cell volume in Å³ from the constants the point group's crystal system
// needs (b = a, right angles, γ = 120° for hexagonal axes, a rhombohedral
// cell from a and α); 0 when a needed constant is missing.
double cellVolume(std::string_view pointGroup, double a, double b, double c, double alpha,
                  double beta, double gamma);

// Density in g/cm³ of Z formula units of weight m (g/mol) in a cell of v Å³.
inline double densityOf(double z, double weight, double volume) {
  return z * weight * 1.66053907 / volume;
}

// How far (fraction, 0.12 = 12 %) the calculated range lies outside the
// measured range; 0 when they overlap.
double densityGap(double calcLow, double calcHigh, double measuredLow, double measuredHigh);

}  // namespace kalvor::mkdb
