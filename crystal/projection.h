// Crystal drawings: the clinographic projection of the classic crystal
// drawings, a view along the main axis, turning, and the drawing values of
// "kalvor.lf".
//
// Viewer frame: x towards the viewer, y to the right, z up. A view first turns
// the crystal (its Cartesian axes, crystal/cell.h) by `rotation`, then projects
// it parallel to the direction (1, 0, tilt) onto the vertical picture plane:
// screen (y, z - tilt * x). With tilt = tan 9°28' and a turn of 18°26' about
// the vertical axis this is the clinographic projection: vertical edges stay
// vertical, the top face shows, and the right-hand side faces show narrowly.
#pragma once

#include <cstdint>
#include <vector>

#include "crystal/crystal_shape.h"

namespace kalvor::crystal {

struct View {
  Mat3 rotation;    // crystal axes into the viewer frame
  double tilt = 0;  // tangent of the inclination of the projecting rays
};

// Turn about the vertical axis and tilt of the clinographic projection.
inline constexpr double kClinographicTurnDegrees = 18.0 + 26.0 / 60.0;
inline constexpr double kClinographicTiltDegrees = 9.0 + 28.0 / 60.0;

// The standard view of crystal drawings.
View clinographicView();
// The view down the c axis (c towards the viewer, a pointing down, b to the right),
// orthographic.
View mainAxisView();
// The view turned further about the screen's vertical axis (`aboutVertical`,
// positive turns the front to the right) and its horizontal axis
// (`aboutHorizontal`, positive tips the top towards the viewer), in radians.
View turnedView(const View& view, double aboutVertical, double aboutHorizontal);

struct Point2 {
  double x = 0, y = 0;  // y up
};

// The picture of point p.
Point2 project(const View& view, const Vec3& p);
// True iff a face with outward normal n looks at the viewer; a face seen
// exactly edge-on counts as looking (its edges are on the outline).
bool facesViewer(const View& view, const Vec3& n);

struct ProjectedEdge {
  Point2 a, b;
  bool visible = true;  // at least one of its two faces looks at the viewer
};
std::vector<ProjectedEdge> projectEdges(const CrystalShape& shape, const View& view);

// Drawing values: x in bits 0-14, y in bits 16-30 (y down), bit 31 a move,
// bit 15 of a move the hidden-edge pen.
inline constexpr std::uint32_t kMoveBit = 0x80000000u;
inline constexpr std::uint32_t kHiddenPenBit = 0x8000u;
inline constexpr int kMaxCoordinate = 32767;

// The drawing values of the edges scaled into 0..32767 with the proportions
// kept and the picture touching x = 0 and y = 0: the visible edges first, in
// runs each beginning with a move, then the hidden edges with moves that
// select the hidden-edge pen. Coordinates are clamped to 0..32767; edges that
// shrink to a point and edges lying on one already drawn (within 2 units, the
// rounding to the grid) are left out.
std::vector<std::uint32_t> drawingValues(const std::vector<ProjectedEdge>& edges);

}  // namespace kalvor::crystal
