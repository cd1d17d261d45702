// A convex polyhedron as the intersection of half-spaces n.x <= d.
//
// Vertex merging: the half-spaces are cut one after another out of a large
// box; the corners this leaves behind differ from the exact ones by rounding,
// and where more than three faces meet (the apex of an octahedron, the corners
// of a cube cut by an exactly touching form) one corner comes out as several
// points. Points closer together than kMergeTolerance times the crystal's size
// (the largest distance of a corner from the centre) are one vertex. At 1e-6
// this is far above the rounding (about 1e-13) and far below what a drawing
// can show (15-bit coordinates resolve 3e-5 of the size), so a cube has 8
// vertices and 12 edges, and a face that would shrink below it is left out.
#pragma once

#include <optional>
#include <vector>

#include "crystal/geometry.h"

namespace kalvor::crystal {

inline constexpr double kMergeTolerance = 1e-6;

// One bounding plane: unit outward normal and central distance (> 0).
struct HalfSpace {
  Vec3 normal;
  double distance = 1;
};

struct PolyFace {
  int plane = 0;              // index of the half-space this face lies in
  std::vector<int> vertices;  // ordered counter-clockwise seen from outside
};

struct PolyEdge {
  int a = 0, b = 0;          // vertex indices, a < b
  int face0 = 0, face1 = 0;  // indices into faces; the two faces that meet here
};

struct Polyhedron {
  std::vector<Vec3> vertices;
  std::vector<PolyFace> faces;  // only the half-spaces that touch the solid in an area
  std::vector<PolyEdge> edges;
  // The largest distance of a vertex from the origin.
  double size() const;
};

// The intersection of the half-spaces; nothing when it is not a closed solid
// (the planes leave it open to some side, a distance is not positive, or a
// normal is zero) or when the merged faces do not close up (an edge without
// exactly two faces).
std::optional<Polyhedron> intersectHalfSpaces(const std::vector<HalfSpace>& planes);

}  // namespace kalvor::crystal
