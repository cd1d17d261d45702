#include "crystal/point_groups.h"

#include <algorithm>
#include <array>
#include <set>

namespace kalvor::crystal {
namespace {

IntMat3 mat(int a, int b, int c, int d, int e, int f, int g, int h, int i) {
  IntMat3 r;
  r.m = {{{a, b, c}, {d, e, f}, {g, h, i}}};
  return r;
}

// Generators on orthogonal axes (a, b, c).
const IntMat3 kInversion = mat(-1, 0, 0, 0, -1, 0, 0, 0, -1);
const IntMat3 kTwoZ = mat(-1, 0, 0, 0, -1, 0, 0, 0, 1);
const IntMat3 kTwoY = mat(-1, 0, 0, 0, 1, 0, 0, 0, -1);
const IntMat3 kTwoX = mat(1, 0, 0, 0, -1, 0, 0, 0, -1);
const IntMat3 kMirrorZ = mat(1, 0, 0, 0, 1, 0, 0, 0, -1);
const IntMat3 kMirrorY = mat(1, 0, 0, 0, -1, 0, 0, 0, 1);
const IntMat3 kMirrorX = mat(-1, 0, 0, 0, 1, 0, 0, 0, 1);
const IntMat3 kFourZ = mat(0, -1, 0, 1, 0, 0, 0, 0, 1);         // a -> b, b -> -a
const IntMat3 kFourBarZ = mat(0, 1, 0, -1, 0, 0, 0, 0, -1);     // inversion after 4
const IntMat3 kThreeDiagonal = mat(0, 0, 1, 1, 0, 0, 0, 1, 0);  // a -> b -> c -> a
// Generators on hexagonal axes (a1, a2, c).
const IntMat3 kSixZ = mat(1, -1, 0, 1, 0, 0, 0, 0, 1);      // a1 -> a1 + a2, a2 -> -a1
const IntMat3 kThreeZ = mat(0, -1, 0, 1, -1, 0, 0, 0, 1);   // a1 -> a2, a2 -> -a1 - a2
const IntMat3 kTwoA1 = mat(1, -1, 0, 0, -1, 0, 0, 0, -1);   // a1 -> a1, a2 -> -a1 - a2, c -> -c
const IntMat3 kMirrorA1 = mat(-1, 1, 0, 0, 1, 0, 0, 0, 1);  // a1 -> -a1, a2 -> a1 + a2

std::vector<IntMat3> generatorsOf(unsigned bit) {
  switch (bit) {
    case 0:
      return {};  // 1
    case 1:
      return {kTwoY};  // 2
    case 2:
      return {kThreeZ};  // 3
    case 3:
      return {kFourZ};  // 4
    case 4:
      return {kSixZ};  // 6
    case 5:
      return {kTwoY, kInversion};  // 2/m
    case 6:
      return {kThreeZ, kMirrorZ};  // -6
    case 7:
      return {kFourZ, kInversion};  // 4/m
    case 8:
      return {kSixZ, kInversion};  // 6/m
    case 9:
      return {kMirrorY};  // m
    case 10:
      return {kTwoZ, kMirrorX};  // mm2
    case 11:
      return {kThreeZ, kMirrorA1};  // 3m
    case 12:
      return {kFourZ, kMirrorX};  // 4mm
    case 13:
      return {kSixZ, kMirrorA1};  // 6mm
    case 14:
      return {kTwoZ, kTwoX, kInversion};  // mmm
    case 15:
      return {kThreeZ, kMirrorZ, kMirrorA1};  // -6m2
    case 16:
      return {kFourZ, kTwoX, kInversion};  // 4/mmm
    case 17:
      return {kSixZ, kTwoA1, kInversion};  // 6/mmm
    case 18:
      return {kTwoZ, kTwoX};  // 222
    case 19:
      return {kThreeZ, kTwoA1};  // 32
    case 20:
      return {kFourZ, kTwoX};  // 422
    case 21:
      return {kSixZ, kTwoA1};  // 622
    case 22:
      return {kInversion};  // -1
    case 23:
      return {kThreeZ, kInversion};  // -3
    case 24:
      return {kFourBarZ};  // -4
    case 25:
      return {kFourBarZ, kTwoX};  // -42m
    case 26:
      return {kThreeZ, kTwoA1, kInversion};  // -3m
    case 27:
      return {kTwoZ, kThreeDiagonal};  // 23
    case 28:
      return {kTwoZ, kThreeDiagonal, kInversion};  // m-3
    case 29:
      return {kFourZ, kThreeDiagonal};  // 432
    case 30:
      return {kFourBarZ, kThreeDiagonal};  // -43m
    case 31:
      return {kFourZ, kThreeDiagonal, kInversion};  // m-3m
    default:
      return {};
  }
}

}  // namespace

AxisSystem axisSystemOfClass(unsigned bit) {
  switch (bit) {
    case 27:
    case 28:
    case 29:
    case 30:
    case 31:
      return AxisSystem::kCubic;
    case 3:
    case 7:
    case 12:
    case 16:
    case 20:
    case 24:
    case 25:
      return AxisSystem::kTetragonal;
    case 10:
    case 14:
    case 18:
      return AxisSystem::kOrthorhombic;
    case 1:
    case 5:
    case 9:
      return AxisSystem::kMonoclinic;
    case 0:
    case 22:
      return AxisSystem::kTriclinic;
    case 2:
    case 11:
    case 19:
    case 23:
    case 26:
      return AxisSystem::kTrigonal;
    default:
      return AxisSystem::kHexagonal;
  }
}

bool usesHexagonalAxes(unsigned bit) {
  const AxisSystem s = axisSystemOfClass(bit);
  return s == AxisSystem::kHexagonal || s == AxisSystem::kTrigonal;
}

namespace {

std::vector<IntMat3> closureOfGenerators(unsigned bit) {
  const std::vector<IntMat3> generators = generatorsOf(bit);
  std::vector<IntMat3> group{IntMat3{}};
  std::set<IntMat3> seen(group.begin(), group.end());
  // Products of known elements with the generators until nothing new appears;
  // a point group has at most 48 elements, so this ends quickly.
  for (std::size_t i = 0; i < group.size(); ++i) {
    for (const IntMat3& g : generators) {
      const IntMat3 p = group[i] * g;
      if (seen.insert(p).second) group.push_back(p);
    }
  }
  return group;
}

}  // namespace

const std::vector<IntMat3>& pointGroupOperations(unsigned bit) {
  // Every drawing needs its group; the 32 are closed once.
  static const std::array<std::vector<IntMat3>, 33> groups = [] {
    std::array<std::vector<IntMat3>, 33> all;
    for (unsigned b = 0; b < 32; ++b) all[b] = closureOfGenerators(b);
    return all;
  }();
  return groups[std::min(bit, 32u)];
}

std::vector<Miller> formOrbit(const std::vector<IntMat3>& group, Miller face) {
  std::vector<Miller> faces;
  for (const IntMat3& r : group) {
    // A plane h.x = d goes over into h R^-1 . x' = d; over a whole group the
    // set of h R^-1 equals the set of h R.
    const auto& m = r.m;
    const Miller f{face.h * m[0][0] + face.k * m[1][0] + face.l * m[2][0],
                   face.h * m[0][1] + face.k * m[1][1] + face.l * m[2][1],
                   face.h * m[0][2] + face.k * m[1][2] + face.l * m[2][2]};
    if (std::find(faces.begin(), faces.end(), f) == faces.end()) faces.push_back(f);
  }
  return faces;
}

int preferredClassBit(std::uint32_t classMask) {
  int best = -1;
  std::size_t bestOrder = 0;
  for (unsigned bit = 0; bit < 32; ++bit) {
    if (((classMask >> bit) & 1u) == 0) continue;
    const std::size_t order = pointGroupOperations(bit).size();
    if (best < 0 || order > bestOrder) {
      best = static_cast<int>(bit);
      bestOrder = order;
    }
  }
  return best;
}

}  // namespace kalvor::crystal
