#include "determination/crystal_data_text.h"

#include <cmath>
#include <cstdio>

#include "refdb/strings.h"

namespace kalvor {
namespace {

constexpr double kDegreesToRadians = 0.017453292519444445;
constexpr double kSixtyDegrees = 1.0471975511666667;
constexpr char kDegreeSign = '\xB0';
constexpr const char* kAngstrom = "\xC5";

template <typename... Args>
std::string formatText(const char* format, Args... args) {
  char buf[96];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

}  // namespace

std::string formatDate(std::uint32_t value) {
  const unsigned day = value & 0xFF;
  const unsigned month = (value >> 8) & 0xFF;
  const unsigned year = value >> 16;
  if (value == 0) return {};
  if (day != 0) return formatText("%u.%u.%u", day, month, year);
  if (month != 0) return formatText("%u.%u", month, year);
  return formatText("%u", year);
}

std::string formatCellAngle(double degrees, bool withMinutes) {
  if (!withMinutes) return formatText("%.2f%c", degrees, kDegreeSign);
  int whole = static_cast<int>(degrees);
  int minutes = static_cast<int>(((degrees - whole) + 0.01) * 60);
  // The rounding allowance can reach a full 60 minutes just below a whole degree.
  if (minutes >= 60) {
    whole += 1;
    minutes -= 60;
  }
  return formatText("%d%c%02d'", whole, kDegreeSign, minutes);
}

double cellVolume(const CrystalDataEntry& e) {
  switch (latticeKindOf(e.classes)) {
    case LatticeKind::kA:
      return e.a0 * e.a0 * e.a0;
    case LatticeKind::kAC: {
      const double v = e.a0 * e.a0 * e.c0;
      return (e.classes & kHexagonalCellClasses) != 0 ? v * std::sin(kSixtyDegrees) : v;
    }
    case LatticeKind::kABC:
      return e.a0 * e.b0 * e.c0;
    case LatticeKind::kABCBeta:
      return e.a0 * e.b0 * e.c0 * std::sin((180 - e.beta) * kDegreesToRadians);
    case LatticeKind::kABCAngles: {
      const double alpha = e.alpha * kDegreesToRadians;
      const double beta = e.beta * kDegreesToRadians;
      const double gamma = e.gamma * kDegreesToRadians;
      const double product = (std::cos(beta - gamma) - std::cos(alpha)) *
                             (std::cos(alpha) - std::cos(beta + gamma));
      // Angles that close no cell give a negative product; its root is no volume.
      if (!(product > 0)) return 0;
      return e.a0 * e.b0 * e.c0 * std::sqrt(product);
    }
    case LatticeKind::kNone:
      break;
  }
  return 0;
}

std::string latticeText(const CrystalDataEntry& e, bool anglesWithMinutes) {
  std::string text;
  if (e.z != 0) text += formatText(", Z=%d", e.z);
  const char* unit = (e.flags & refformat::kCrystalKxUnits) != 0 ? "kX" : kAngstrom;
  switch (latticeKindOf(e.classes)) {
    case LatticeKind::kA:
      text += formatText(", a_0=%.2f %s", e.a0, unit);
      break;
    case LatticeKind::kAC:
      text += formatText(", a_0=%.2f, c_0=%.2f %s", e.a0, e.c0, unit);
      break;
    case LatticeKind::kABC:
    case LatticeKind::kABCBeta:
    case LatticeKind::kABCAngles:
      text += formatText(", a_0=%.2f, b_0=%.2f, c_0=%.2f %s", e.a0, e.b0, e.c0, unit);
      break;
    case LatticeKind::kNone:
      break;
  }
  const LatticeKind kind = latticeKindOf(e.classes);
  if (kind == LatticeKind::kABCBeta) {
    text += ", beta=" + formatCellAngle(e.beta, anglesWithMinutes);
  } else if (kind == LatticeKind::kABCAngles) {
    text += ", alpha=" + formatCellAngle(e.alpha, anglesWithMinutes);
    text += ", beta=" + formatCellAngle(e.beta, anglesWithMinutes);
    text += ", gamma=" + formatCellAngle(e.gamma, anglesWithMinutes);
  }
  text += formatText(", V = %.2f%s^3", cellVolume(e), kAngstrom);
  return text;
}

std::string crystalDataSystemName(std::uint32_t classMask) {
  std::uint16_t id = 0;
  for (const CrystalDataSystem& s : kCrystalDataSystems)
    if ((s.classMask & classMask) != 0) id = s.stringId;
  return id == 0 ? std::string() : loadResourceString(id - kStringIdBase);
}

}  // namespace kalvor
