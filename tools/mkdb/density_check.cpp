#include "tools/mkdb/density_check.h"

#include <cctype>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace kalvor::mkdb {
namespace {

// Standard atomic weights (IUPAC 2013, abridged), g/mol.
const std::map<std::string, double, std::less<>>& atomicWeights() {
  static const std::map<std::string, double, std::less<>> weights = {
      {"H", 1.008},    {"He", 4.003},   {"Li", 6.94},    {"Be", 9.012},   {"B", 10.81},
      {"C", 12.011},   {"N", 14.007},   {"O", 15.999},   {"F", 18.998},   {"Ne", 20.180},
      {"Na", 22.990},  {"Mg", 24.305},  {"Al", 26.982},  {"Si", 28.085},  {"P", 30.974},
      {"S", 32.06},    {"Cl", 35.45},   {"Ar", 39.948},  {"K", 39.098},   {"Ca", 40.078},
      {"Sc", 44.956},  {"Ti", 47.867},  {"V", 50.942},   {"Cr", 51.996},  {"Mn", 54.938},
      {"Fe", 55.845},  {"Co", 58.933},  {"Ni", 58.693},  {"Cu", 63.546},  {"Zn", 65.38},
      {"Ga", 69.723},  {"Ge", 72.630},  {"As", 74.922},  {"Se", 78.971},  {"Br", 79.904},
      {"Kr", 83.798},  {"Rb", 85.468},  {"Sr", 87.62},   {"Y", 88.906},   {"Zr", 91.224},
      {"Nb", 92.906},  {"Mo", 95.95},   {"Ru", 101.07},  {"Rh", 102.906}, {"Pd", 106.42},
      {"Ag", 107.868}, {"Cd", 112.414}, {"In", 114.818}, {"Sn", 118.710}, {"Sb", 121.760},
      {"Te", 127.60},  {"I", 126.904},  {"Xe", 131.293}, {"Cs", 132.905}, {"Ba", 137.327},
      {"La", 138.905}, {"Ce", 140.116}, {"Pr", 140.908}, {"Nd", 144.242}, {"Sm", 150.36},
      {"Eu", 151.964}, {"Gd", 157.25},  {"Tb", 158.925}, {"Dy", 162.500}, {"Ho", 164.930},
      {"Er", 167.259}, {"Tm", 168.934}, {"Yb", 173.045}, {"Lu", 174.967}, {"Hf", 178.49},
      {"Ta", 180.948}, {"W", 183.84},   {"Re", 186.207}, {"Os", 190.23},  {"Ir", 192.217},
      {"Pt", 195.084}, {"Au", 196.967}, {"Hg", 200.592}, {"Tl", 204.38},  {"Pb", 207.2},
      {"Bi", 208.980}, {"Th", 232.038}, {"U", 238.029},
  };
  return weights;
}

class FormulaParser {
 public:
  explicit FormulaParser(std::string_view text) : s_(text) {}

  std::optional<WeightRange> parse() {
    WeightRange total;
    // Parts joined by the hydrate dot, each with an optional leading count.
    while (true) {
      double factor = 1;
      if (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
        const auto n = number();
        if (!n) return std::nullopt;
        factor = *n;
      }
      const auto part = sequence();
      if (!part || part->size() != 1) return std::nullopt;  // a top-level comma is no formula
      total.lightest += factor * part->front().lightest;
      total.heaviest += factor * part->front().heaviest;
      if (pos_ >= s_.size()) break;
      if (!atDot()) return std::nullopt;
    }
    if (total.heaviest <= 0) return std::nullopt;
    return total;
  }

 private:
  // "·" in UTF-8 or Windows-1252, or a plain dot between parts.
  bool atDot() {
    if (s_.compare(pos_, 2, "\xC2\xB7") == 0) {
      pos_ += 2;
      return true;
    }
    if (s_[pos_] == '\xB7' || s_[pos_] == '.' || s_[pos_] == '*') {
      ++pos_;
      return true;
    }
    return false;
  }

  std::optional<double> number() {
    const std::size_t start = pos_;
    while (pos_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.')) {
      // A dot followed by a letter is the hydrate dot, not a decimal point.
      if (s_[pos_] == '.' && (pos_ + 1 >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[pos_ + 1])))) break;
      ++pos_;
    }
    if (pos_ == start) return std::nullopt;
    return std::strtod(std::string(s_.substr(start, pos_ - start)).c_str(), nullptr);
  }

  // The count after "_": a number or "{number}"; anything else is variable.
  std::optional<double> count() {
    if (pos_ >= s_.size() || s_[pos_] != '_') return 1.0;
    ++pos_;
    if (pos_ < s_.size() && s_[pos_] == '{') {
      ++pos_;
      const auto n = number();
      if (!n || pos_ >= s_.size() || s_[pos_] != '}') return std::nullopt;
      ++pos_;
      return n;
    }
    return number();
  }

  void skipCharge() {
    while (pos_ < s_.size() && s_[pos_] == '^') {
      ++pos_;
      if (pos_ < s_.size() && s_[pos_] == '{') {
        while (pos_ < s_.size() && s_[pos_] != '}') ++pos_;
        if (pos_ < s_.size()) ++pos_;
      } else if (pos_ < s_.size()) {
        ++pos_;
        // "^2+": the sign after a one-character charge
        if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      }
    }
  }

  // Alternatives separated by commas, each a sum of terms, up to ")" "]" or a dot.
  std::optional<std::vector<WeightRange>> sequence() {
    std::vector<WeightRange> alternatives(1);
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == ')' || c == ']' || c == '}' || c == '\xB7' || c == '*' ||
          s_.compare(pos_, 2, "\xC2\xB7") == 0) {
        break;
      }
      if (c == '.' ) break;
      if (c == ',') {
        ++pos_;
        alternatives.emplace_back();
        continue;
      }
      if (c == ' ') {
        ++pos_;
        continue;
      }
      WeightRange term;
      if (c == '(' || c == '[' || c == '{') {
        const char close = c == '(' ? ')' : c == '[' ? ']' : '}';
        ++pos_;
        const auto inner = sequence();
        if (!inner || pos_ >= s_.size() || s_[pos_] != close) return std::nullopt;
        ++pos_;
        term.lightest = inner->front().lightest;
        term.heaviest = inner->front().heaviest;
        for (const auto& alt : *inner) {
          term.lightest = std::min(term.lightest, alt.lightest);
          term.heaviest = std::max(term.heaviest, alt.heaviest);
        }
      } else if (std::isupper(static_cast<unsigned char>(c))) {
        std::size_t end = pos_ + 1;
        if (end < s_.size() && std::islower(static_cast<unsigned char>(s_[end]))) ++end;
        const auto it = atomicWeights().find(s_.substr(pos_, end - pos_));
        if (it == atomicWeights().end()) return std::nullopt;
        pos_ = end;
        term.lightest = term.heaviest = it->second;
      } else {
        return std::nullopt;
      }
      skipCharge();
      const auto n = count();
      if (!n) return std::nullopt;
      skipCharge();
      alternatives.back().lightest += *n * term.lightest;
      alternatives.back().heaviest += *n * term.heaviest;
    }
    return alternatives;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

constexpr double kDegree = 3.14159265358979323846 / 180.0;

}  // namespace

std::optional<WeightRange> formulaWeight(std::string_view formula) {
  return FormulaParser(formula).parse();
}

double cellVolume(std::string_view pg, double a, double b, double c, double alpha, double beta,
                  double gamma) {
  auto in = [&](std::initializer_list<std::string_view> groups) {
    for (auto g : groups)
      if (g == pg) return true;
    return false;
  };
  if (a <= 0) return 0;
  if (in({"23", "m-3", "432", "-43m", "m-3m"})) {
    b = c = a;
    alpha = beta = gamma = 90;
  } else if (in({"4", "-4", "4/m", "422", "4mm", "-42m", "-4m2", "4/mmm"})) {
    b = a;
    alpha = beta = gamma = 90;
  } else if (in({"3", "-3", "32", "3m", "-3m"}) && c <= 0 && alpha > 0) {
    b = c = a;  // rhombohedral axes
    beta = gamma = alpha;
  } else if (in({"3", "-3", "32", "3m", "-3m", "6", "-6", "6/m", "622", "6mm", "-6m2", "-62m",
                 "6/mmm"})) {
    b = a;
    alpha = beta = 90;
    gamma = 120;
  } else if (in({"222", "mm2", "mmm"})) {
    alpha = beta = gamma = 90;
  } else if (in({"2", "m", "2/m"})) {
    // The unique axis is b in the usual setting; a given α or γ instead of β is taken as it is.
    if (alpha <= 0) alpha = 90;
    if (gamma <= 0) gamma = 90;
    if (beta <= 0) beta = (alpha != 90 || gamma != 90) ? 90 : 0;
  }
  if (b <= 0 || c <= 0 || alpha <= 0 || beta <= 0 || gamma <= 0) return 0;
  const double ca = std::cos(alpha * kDegree), cb = std::cos(beta * kDegree), cg = std::cos(gamma * kDegree);
  const double root = 1 - ca * ca - cb * cb - cg * cg + 2 * ca * cb * cg;
  if (root <= 0) return 0;
  return a * b * c * std::sqrt(root);
}

double densityGap(double calcLow, double calcHigh, double measuredLow, double measuredHigh) {
  if (calcHigh < measuredLow) return (measuredLow - calcHigh) / measuredLow;
  if (calcLow > measuredHigh) return (calcLow - measuredHigh) / measuredHigh;
  return 0;
}

}  // namespace kalvor::mkdb
