#include "crystal/crystal_shape.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "crystal/point_groups.h"

namespace kalvor::crystal {

std::optional<std::vector<ShapeFace>> shapeFaces(const FormSet& set) {
  const auto basis = directBasis(set.cell);
  if (!basis || set.classBit > 31) return std::nullopt;
  const std::vector<IntMat3>& group = pointGroupOperations(set.classBit);
  std::vector<ShapeFace> faces;
  for (std::size_t i = 0; i < set.forms.size(); ++i) {
    const CrystalForm& form = set.forms[i];
    if (form.face == Miller{} || !(form.distance > 0) || !std::isfinite(form.distance)) return std::nullopt;
    const double scale =
        set.kind == DistanceKind::kLattice ? length(reciprocalVector(*basis, form.face)) : 1.0;
    for (const Miller& m : formOrbit(group, form.face)) {
      const HalfSpace plane{normalized(reciprocalVector(*basis, m)), form.distance * scale};
      bool merged = false;
      for (ShapeFace& f : faces) {
        // Parallel faces of two forms ({100} and {200}) are one plane: the nearer one counts.
        if (length(f.plane.normal - plane.normal) < 1e-9) {
          if (plane.distance < f.plane.distance) f = {m, static_cast<int>(i), plane};
          merged = true;
        }
      }
      if (!merged) faces.push_back({m, static_cast<int>(i), plane});
    }
  }
  return faces;
}

std::optional<CrystalShape> buildCrystalShape(const FormSet& set) {
  auto faces = shapeFaces(set);
  if (!faces) return std::nullopt;
  std::vector<HalfSpace> planes;
  for (const ShapeFace& f : *faces) planes.push_back(f.plane);
  auto solid = intersectHalfSpaces(planes);
  if (!solid) return std::nullopt;
  return CrystalShape{std::move(*faces), std::move(*solid)};
}

int centringMultiple(char lattice, Miller f) {
  for (int n = 1; n <= 6; ++n) {
    const int h = n * f.h, k = n * f.k, l = n * f.l;
    bool allowed = true;
    switch (lattice) {
      case 'A':
        allowed = (k + l) % 2 == 0;
        break;
      case 'B':
        allowed = (h + l) % 2 == 0;
        break;
      case 'C':
        allowed = (h + k) % 2 == 0;
        break;
      case 'I':
        allowed = (h + k + l) % 2 == 0;
        break;
      case 'F':
        allowed = (h + k) % 2 == 0 && (k + l) % 2 == 0;
        break;
      case 'R':
        allowed = (-h + k + l) % 3 == 0;
        break;
      default:
        break;
    }
    if (allowed) return n;
  }
  return 1;
}

std::optional<std::vector<CrystalForm>> parseForms(std::string_view text, bool hexagonalAxes) {
  std::vector<CrystalForm> forms;
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == ';')) ++i;
  };
  skipBlanks();
  while (i < text.size()) {
    if (text[i] != '{') return std::nullopt;
    ++i;
    int idx[4];
    int n = 0;
    while (i < text.size() && text[i] != '}') {
      int sign = 1;
      if (text[i] == '-') {
        sign = -1;
        ++i;
      }
      if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])) || n == 4)
        return std::nullopt;
      idx[n++] = sign * (text[i] - '0');
      ++i;
    }
    if (i >= text.size()) return std::nullopt;
    ++i;  // '}'
    Miller m;
    if (n == 4 && hexagonalAxes && idx[2] == -(idx[0] + idx[1])) {
      m = {idx[0], idx[1], idx[3]};
    } else if (n == 3) {
      m = {idx[0], idx[1], idx[2]};
    } else {
      return std::nullopt;
    }
    if (i >= text.size() || text[i] != ':') return std::nullopt;
    ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != ';') ++i;
    const std::string number(text.substr(start, i - start));
    char* end = nullptr;
    const double d = std::strtod(number.c_str(), &end);
    if (number.empty() || end != number.c_str() + number.size() || !(d > 0) || d > 1000) return std::nullopt;
    if (m == Miller{}) return std::nullopt;
    forms.push_back({m, d});
    skipBlanks();
  }
  if (forms.empty()) return std::nullopt;
  return forms;
}

std::string formSymbol(Miller f, bool hexagonalAxes) {
  auto index = [](int v) {
    std::string s = v < 0 ? "-" : "";
    s += std::to_string(std::abs(v));
    return s;
  };
  std::string s(1, '{');
  s += index(f.h);
  s += index(f.k);
  if (hexagonalAxes) s += index(-(f.h + f.k));
  s += index(f.l);
  s += '}';
  return s;
}

}  // namespace kalvor::crystal
