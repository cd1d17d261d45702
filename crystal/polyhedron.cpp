#include "crystal/polyhedron.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace kalvor::crystal {
namespace {

// A face while cutting: its plane (negative for the starting box) and its corners in order.
struct WorkFace {
  int plane;
  Vec3 normal;
  std::vector<Vec3> points;
};

// Orders points lying in the plane with normal `n` counter-clockwise seen from
// outside, around their centroid.
void orderAround(std::vector<Vec3>& pts, const Vec3& n) {
  Vec3 centre;
  for (const Vec3& p : pts) centre = centre + p;
  centre = centre * (1.0 / pts.size());
  const Vec3 helper = std::fabs(n.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  const Vec3 u = normalized(cross(n, helper));
  const Vec3 v = cross(n, u);
  std::vector<std::pair<double, Vec3>> keyed;
  for (const Vec3& p : pts) keyed.push_back({std::atan2(dot(p - centre, v), dot(p - centre, u)), p});
  std::sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  for (std::size_t i = 0; i < pts.size(); ++i) pts[i] = keyed[i].second;
}

// Removes points that repeat within `tol` of an earlier one.
std::vector<Vec3> distinct(const std::vector<Vec3>& pts, double tol) {
  std::vector<Vec3> out;
  for (const Vec3& p : pts) {
    bool known = false;
    for (const Vec3& q : out) known = known || length(p - q) <= tol;
    if (!known) out.push_back(p);
  }
  return out;
}

// Cuts every face by n.x <= d; returns false when nothing is left.
bool cut(std::vector<WorkFace>& faces, int plane, const Vec3& n, double d, double eps) {
  // A plane adds at most two corners to a convex face; room for them up
  // front spares the reallocations of many cuts.
  std::vector<Vec3> cap;
  cap.reserve(2 * faces.size());
  std::vector<WorkFace> kept;
  kept.reserve(faces.size() + 1);
  bool cutsSomething = false;
  for (WorkFace& f : faces) {
    const std::size_t m = f.points.size();
    // Most planes miss most faces: such a face stays as it is, giving the
    // cap only the corners that lie in the plane.
    bool reached = false;
    for (const Vec3& p : f.points) reached = reached || dot(n, p) - d > eps;
    if (!reached) {
      for (const Vec3& p : f.points)
        if (std::fabs(dot(n, p) - d) <= eps) cap.push_back(p);
      if (m >= 3) kept.push_back(std::move(f));
      continue;
    }
    cutsSomething = true;
    std::vector<Vec3> out;
    out.reserve(m + 2);
    for (std::size_t i = 0; i < m; ++i) {
      const Vec3& p = f.points[i];
      const Vec3& q = f.points[(i + 1) % m];
      const double sp = dot(n, p) - d, sq = dot(n, q) - d;
      if (sp <= eps) out.push_back(p);
      if (std::fabs(sp) <= eps) cap.push_back(p);
      if ((sp < -eps && sq > eps) || (sp > eps && sq < -eps)) {
        const Vec3 x = p + (q - p) * (sp / (sp - sq));
        out.push_back(x);
        cap.push_back(x);
      }
    }
    if (out.size() >= 3) kept.push_back({f.plane, f.normal, std::move(out)});
  }
  if (kept.empty()) return false;
  faces = std::move(kept);
  if (!cutsSomething) return true;  // the plane lies outside the solid: no face
  cap = distinct(cap, eps);
  if (cap.size() >= 3) {
    orderAround(cap, n);
    faces.push_back({plane, n, std::move(cap)});
  }
  return true;
}

}  // namespace

double Polyhedron::size() const {
  double r = 0;
  for (const Vec3& v : vertices) r = std::max(r, length(v));
  return r;
}

std::optional<Polyhedron> intersectHalfSpaces(const std::vector<HalfSpace>& planes) {
  if (planes.empty()) return std::nullopt;
  double scale = 0;
  for (const HalfSpace& h : planes) {
    if (!(h.distance > 0) || !std::isfinite(h.distance) || !(std::fabs(length(h.normal) - 1) < 1e-9))
      return std::nullopt;
    scale = std::max(scale, h.distance);
  }
  // A box far larger than any closed solid of these planes; a box face that
  // survives every cut means the solid is open to that side.
  const double big = 1e4 * scale;
  const double eps = 1e-10 * scale;
  std::vector<WorkFace> faces;
  const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (int i = 0; i < 3; ++i)
    for (int s = -1; s <= 1; s += 2) {
      const Vec3 n = axes[i] * s;
      const Vec3 u = axes[(i + 1) % 3] * big, v = axes[(i + 2) % 3] * big;
      std::vector<Vec3> pts = {n * big + u + v, n * big - u + v, n * big - u - v, n * big + u - v};
      orderAround(pts, n);
      faces.push_back({-1, n, std::move(pts)});
    }
  for (std::size_t i = 0; i < planes.size(); ++i)
    if (!cut(faces, static_cast<int>(i), planes[i].normal, planes[i].distance, eps)) return std::nullopt;
  for (const WorkFace& f : faces)
    if (f.plane < 0) return std::nullopt;

  // Merge corners within the tolerance of the solid's size.
  double size = 0;
  for (const WorkFace& f : faces)
    for (const Vec3& p : f.points) size = std::max(size, length(p));
  const double tol = kMergeTolerance * size;
  Polyhedron poly;
  auto vertexOf = [&](const Vec3& p) {
    for (std::size_t i = 0; i < poly.vertices.size(); ++i)
      if (length(poly.vertices[i] - p) <= tol) return static_cast<int>(i);
    poly.vertices.push_back(p);
    return static_cast<int>(poly.vertices.size() - 1);
  };
  for (const WorkFace& f : faces) {
    PolyFace face{f.plane, {}};
    for (const Vec3& p : f.points) {
      const int v = vertexOf(p);
      if (face.vertices.empty() || face.vertices.back() != v) face.vertices.push_back(v);
    }
    while (face.vertices.size() > 1 && face.vertices.front() == face.vertices.back())
      face.vertices.pop_back();
    if (face.vertices.size() >= 3) poly.faces.push_back(std::move(face));
  }
  std::sort(poly.faces.begin(), poly.faces.end(),
            [](const PolyFace& a, const PolyFace& b) { return a.plane < b.plane; });

  // Vertices no face uses any more (merged away) are dropped and renumbered.
  std::vector<int> renumber(poly.vertices.size(), -1);
  std::vector<Vec3> used;
  for (PolyFace& f : poly.faces)
    for (int& v : f.vertices) {
      if (renumber[v] < 0) {
        renumber[v] = static_cast<int>(used.size());
        used.push_back(poly.vertices[v]);
      }
      v = renumber[v];
    }
  poly.vertices = std::move(used);

  std::map<std::pair<int, int>, std::vector<int>> edgeFaces;
  for (std::size_t fi = 0; fi < poly.faces.size(); ++fi) {
    const auto& vs = poly.faces[fi].vertices;
    for (std::size_t i = 0; i < vs.size(); ++i) {
      const int a = vs[i], b = vs[(i + 1) % vs.size()];
      edgeFaces[{std::min(a, b), std::max(a, b)}].push_back(static_cast<int>(fi));
    }
  }
  for (const auto& [key, fs] : edgeFaces) {
    if (fs.size() != 2) return std::nullopt;
    poly.edges.push_back({key.first, key.second, fs[0], fs[1]});
  }
  return poly;
}

}  // namespace kalvor::crystal
