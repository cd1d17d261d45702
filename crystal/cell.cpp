#include "crystal/cell.h"

#include <numbers>

#include "crystal/point_groups.h"

namespace kalvor::crystal {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

bool positive(double v) { return v > 0 && std::isfinite(v); }
bool angle(double v) { return v > 0 && v < 180; }

}  // namespace

std::optional<Cell> cellForClass(unsigned bit, const CrystalDataEntry& d) {
  if (bit > 31) return std::nullopt;
  switch (axisSystemOfClass(bit)) {
    case AxisSystem::kCubic:
      return Cell{};
    case AxisSystem::kTetragonal:
      if (!positive(d.a0) || !positive(d.c0)) return std::nullopt;
      return Cell{d.a0, d.a0, d.c0, 90, 90, 90};
    case AxisSystem::kHexagonal:
    case AxisSystem::kTrigonal:
      if (positive(d.a0) && positive(d.c0)) return Cell{d.a0, d.a0, d.c0, 90, 90, 120};
      // A rhombohedral cell (a, alpha) on hexagonal axes.
      if (positive(d.a0) && angle(d.alpha) && d.alpha < 120 && d.alpha != 90 &&
          axisSystemOfClass(bit) == AxisSystem::kTrigonal) {
        const double ah = 2 * d.a0 * std::sin(d.alpha * kDegree / 2);
        const double ch = d.a0 * std::sqrt(3.0) * std::sqrt(1 + 2 * std::cos(d.alpha * kDegree));
        return Cell{ah, ah, ch, 90, 90, 120};
      }
      return std::nullopt;
    case AxisSystem::kOrthorhombic:
      if (!positive(d.a0) || !positive(d.b0) || !positive(d.c0)) return std::nullopt;
      return Cell{d.a0, d.b0, d.c0, 90, 90, 90};
    case AxisSystem::kMonoclinic:
      if (!positive(d.a0) || !positive(d.b0) || !positive(d.c0) || !angle(d.beta)) return std::nullopt;
      return Cell{d.a0, d.b0, d.c0, 90, d.beta, 90};
    case AxisSystem::kTriclinic:
      if (!positive(d.a0) || !positive(d.b0) || !positive(d.c0) || !angle(d.alpha) || !angle(d.beta) ||
          !angle(d.gamma))
        return std::nullopt;
      {
        const Cell cell{d.a0, d.b0, d.c0, d.alpha, d.beta, d.gamma};
        if (!directBasis(cell)) return std::nullopt;
        return cell;
      }
  }
  return std::nullopt;
}

std::optional<Mat3> directBasis(const Cell& cell) {
  if (!positive(cell.a) || !positive(cell.b) || !positive(cell.c) || !angle(cell.alpha) ||
      !angle(cell.beta) || !angle(cell.gamma))
    return std::nullopt;
  const double ca = std::cos(cell.alpha * kDegree), sa = std::sin(cell.alpha * kDegree);
  const double cb = std::cos(cell.beta * kDegree), cg = std::cos(cell.gamma * kDegree);
  const Vec3 c{0, 0, cell.c};
  const Vec3 b{0, cell.b * sa, cell.b * ca};
  const double az = cell.a * cb;
  const double ay = cell.a * (cg - cb * ca) / sa;
  const double ax2 = cell.a * cell.a - ay * ay - az * az;
  // A set of angles that no parallelepiped has (the three faces' angles
  // violate the triangle rule) leaves a imaginary; also refuse a flat cell.
  if (!(ax2 > 1e-6 * cell.a * cell.a)) return std::nullopt;
  const Vec3 a{std::sqrt(ax2), ay, az};
  return Mat3::fromColumns(a, b, c);
}

Vec3 reciprocalVector(const Mat3& basis, Miller f) {
  return basis.inverse().transposed() * Vec3{double(f.h), double(f.k), double(f.l)};
}

}  // namespace kalvor::crystal
