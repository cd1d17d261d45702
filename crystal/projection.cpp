#include "crystal/projection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>
#include <utility>

namespace kalvor::crystal {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

std::uint32_t clampCoordinate(double v) {
  const long r = std::lround(v);
  return static_cast<std::uint32_t>(std::clamp<long>(r, 0, kMaxCoordinate));
}

using GridPoint = std::pair<std::uint32_t, std::uint32_t>;

// Emits the edges as runs: from a point, follow unused edges as long as one goes on.
void emitRuns(std::vector<std::pair<GridPoint, GridPoint>> edges, bool hidden,
              std::vector<std::uint32_t>& out) {
  std::map<GridPoint, std::vector<std::size_t>> at;
  for (std::size_t i = 0; i < edges.size(); ++i) {
    at[edges[i].first].push_back(i);
    at[edges[i].second].push_back(i);
  }
  std::vector<bool> used(edges.size(), false);
  auto value = [](GridPoint p) { return p.first | (p.second << 16); };
  for (std::size_t start = 0; start < edges.size(); ++start) {
    if (used[start]) continue;
    GridPoint p = edges[start].first;
    out.push_back(value(p) | kMoveBit | (hidden ? kHiddenPenBit : 0));
    std::size_t e = start;
    while (true) {
      used[e] = true;
      p = edges[e].first == p ? edges[e].second : edges[e].first;
      out.push_back(value(p));
      auto& next = at[p];
      const auto it = std::find_if(next.begin(), next.end(), [&](std::size_t k) { return !used[k]; });
      if (it == next.end()) break;
      e = *it;
    }
  }
}

}  // namespace

View clinographicView() {
  return {Mat3::rotationZ(-kClinographicTurnDegrees * kDegree), std::tan(kClinographicTiltDegrees * kDegree)};
}

View mainAxisView() { return {Mat3::rotationY(std::numbers::pi / 2), 0.0}; }

View turnedView(const View& view, double aboutVertical, double aboutHorizontal) {
  // Turning the front (+x) to the right (+y) is a positive turn about z; tipping
  // the top (+z) towards the viewer (+x) a positive turn about y.
  return {Mat3::rotationY(aboutHorizontal) * Mat3::rotationZ(aboutVertical) * view.rotation, view.tilt};
}

Point2 project(const View& view, const Vec3& p) {
  const Vec3 q = view.rotation * p;
  return {q.y, q.z - view.tilt * q.x};
}

bool facesViewer(const View& view, const Vec3& n) {
  const Vec3 q = view.rotation * n;
  return q.x + view.tilt * q.z > -1e-9;
}

std::vector<ProjectedEdge> projectEdges(const CrystalShape& shape, const View& view) {
  const Polyhedron& solid = shape.solid;
  std::vector<bool> looks;
  for (const PolyFace& f : solid.faces) looks.push_back(facesViewer(view, shape.faces[f.plane].plane.normal));
  std::vector<ProjectedEdge> edges;
  for (const PolyEdge& e : solid.edges)
    edges.push_back({project(view, solid.vertices[e.a]), project(view, solid.vertices[e.b]),
                     looks[e.face0] || looks[e.face1]});
  return edges;
}

std::vector<std::uint32_t> drawingValues(const std::vector<ProjectedEdge>& edges) {
  if (edges.empty()) return {};
  double minX = edges[0].a.x, maxX = minX, minY = edges[0].a.y, maxY = minY;
  for (const ProjectedEdge& e : edges)
    for (const Point2& p : {e.a, e.b}) {
      minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
  const double extent = std::max(maxX - minX, maxY - minY);
  if (!(extent > 0)) return {};
  const double scale = kMaxCoordinate / extent;
  auto grid = [&](const Point2& p) {
    return GridPoint{clampCoordinate((p.x - minX) * scale), clampCoordinate((maxY - p.y) * scale)};
  };
  std::vector<std::pair<GridPoint, GridPoint>> visible, hidden;
  // Visible edges first, so that a hidden edge lying behind a visible one (a
  // view straight down an axis) is not drawn over it; "behind" allows for the
  // rounding of both to the grid.
  auto near = [](GridPoint p, GridPoint q) {
    return std::abs(long(p.first) - long(q.first)) <= 2 && std::abs(long(p.second) - long(q.second)) <= 2;
  };
  auto covered = [&](GridPoint a, GridPoint b) {
    for (const auto& [p, q] : visible)
      if ((near(a, p) && near(b, q)) || (near(a, q) && near(b, p))) return true;
    return false;
  };
  for (const bool wantVisible : {true, false})
    for (const ProjectedEdge& e : edges) {
      if (e.visible != wantVisible) continue;
      const GridPoint a = grid(e.a), b = grid(e.b);
      if (near(a, b) || covered(a, b)) continue;
      (e.visible ? visible : hidden).push_back({a, b});
    }
  std::vector<std::uint32_t> out;
  emitRuns(std::move(visible), false, out);
  emitRuns(std::move(hidden), true, out);
  return out;
}

}  // namespace kalvor::crystal
