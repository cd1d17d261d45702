// Crystal shapes: the intersection of the faces of the forms, its vertex
// merging, closure and symmetry, and the parsing of form lists.
#include <gtest/gtest.h>

#include <cmath>

#include "crystal/crystal_shape.h"
#include "crystal/point_groups.h"

namespace kalvor::crystal {
namespace {

CrystalShape shapeOf(unsigned bit, const Cell& cell, const char* forms) {
  FormSet set;
  set.classBit = bit;
  set.cell = cell;
  const auto parsed = parseForms(forms, usesHexagonalAxes(bit));
  EXPECT_TRUE(parsed.has_value()) << forms;
  if (parsed) set.forms = *parsed;
  auto shape = buildCrystalShape(set);
  EXPECT_TRUE(shape.has_value()) << forms;
  return shape ? *shape : CrystalShape{};
}

struct Counts {
  std::size_t v, e, f;
  bool operator==(const Counts&) const = default;
};
Counts countsOf(const CrystalShape& s) {
  return {s.solid.vertices.size(), s.solid.edges.size(), s.solid.faces.size()};
}

// The solid is a closed convex polyhedron: Euler's formula, every vertex inside
// every half-space, every face's vertices on its plane and turning one way
// round its outward normal, and every edge on the planes of both its faces.
void expectClosedConvex(const CrystalShape& s) {
  const Polyhedron& p = s.solid;
  EXPECT_EQ(static_cast<long>(p.vertices.size()) - static_cast<long>(p.edges.size()) +
                static_cast<long>(p.faces.size()),
            2);
  const double tol = 1e-6 * p.size();
  for (const Vec3& v : p.vertices)
    for (const ShapeFace& f : s.faces) EXPECT_LE(dot(f.plane.normal, v), f.plane.distance + tol);
  for (const PolyFace& f : p.faces) {
    const HalfSpace& h = s.faces[f.plane].plane;
    ASSERT_GE(f.vertices.size(), 3u);
    for (std::size_t i = 0; i < f.vertices.size(); ++i) {
      const Vec3& a = p.vertices[f.vertices[i]];
      const Vec3& b = p.vertices[f.vertices[(i + 1) % f.vertices.size()]];
      const Vec3& c = p.vertices[f.vertices[(i + 2) % f.vertices.size()]];
      EXPECT_NEAR(dot(h.normal, a), h.distance, tol);
      EXPECT_GT(dot(cross(b - a, c - b), h.normal), 0) << "face not convex or not counter-clockwise";
    }
  }
  for (const PolyEdge& e : p.edges) {
    EXPECT_NE(e.face0, e.face1);
    for (int fi : {e.face0, e.face1}) {
      const HalfSpace& h = s.faces[p.faces[fi].plane].plane;
      EXPECT_NEAR(dot(h.normal, p.vertices[e.a]), h.distance, tol);
      EXPECT_NEAR(dot(h.normal, p.vertices[e.b]), h.distance, tol);
    }
  }
}

// Every operation of the point group maps the vertex set onto itself.
void expectSymmetric(const CrystalShape& s, unsigned bit, const Cell& cell) {
  const Mat3 basis = *directBasis(cell);
  const Mat3 inverse = basis.inverse();
  const double tol = 1e-6 * s.solid.size();
  for (const IntMat3& r : pointGroupOperations(bit)) {
    const Mat3 q = basis * r.toDouble() * inverse;
    for (const Vec3& v : s.solid.vertices) {
      const Vec3 w = q * v;
      bool found = false;
      for (const Vec3& u : s.solid.vertices) found = found || length(u - w) <= tol;
      EXPECT_TRUE(found) << "vertex (" << v.x << ", " << v.y << ", " << v.z << ") has no image";
    }
  }
}

TEST(CrystalShape, ClassicSolidsHaveTheirVerticesEdgesAndFaces) {
  const Cell cubic;
  EXPECT_EQ(countsOf(shapeOf(31, cubic, "{100}:1")), (Counts{8, 12, 6}));
  EXPECT_EQ(countsOf(shapeOf(31, cubic, "{111}:1")), (Counts{6, 12, 8}));
  EXPECT_EQ(countsOf(shapeOf(31, cubic, "{110}:1")), (Counts{14, 24, 12}));
  EXPECT_EQ(countsOf(shapeOf(31, cubic, "{211}:1")), (Counts{26, 48, 24}));
  EXPECT_EQ(countsOf(shapeOf(28, cubic, "{210}:1")), (Counts{20, 30, 12}));
  EXPECT_EQ(countsOf(shapeOf(30, cubic, "{111}:1")), (Counts{4, 6, 4}));
  // Cube truncated by the octahedron: 6 octagons and 8 triangles.
  EXPECT_EQ(countsOf(shapeOf(31, cubic, "{100}:1 {111}:1.45")), (Counts{24, 36, 14}));
  // Hexagonal prism with the base: 12 corners.
  EXPECT_EQ(countsOf(shapeOf(17, {9.21, 9.21, 9.19, 90, 90, 120}, "{10-10}:1 {0001}:2")),
            (Counts{12, 18, 8}));
  // The scalenohedron alone: 12 faces, 8 corners (two apices, six lateral).
  EXPECT_EQ(countsOf(shapeOf(26, {4.99, 4.99, 17.06, 90, 90, 120}, "{21-34}:1")), (Counts{8, 18, 12}));
}

TEST(CrystalShape, CornersWhereMoreThanThreeFacesMeetAreMergedIntoOne) {
  const Cell cubic;
  // The octahedron exactly touching the cube's corners (distance sqrt 3) and the
  // dodecahedron exactly touching its edges (sqrt 2) leave the plain cube.
  const CrystalShape s = shapeOf(31, cubic, "{100}:1 {111}:1.7320508075688772 {110}:1.4142135623730951");
  EXPECT_EQ(countsOf(s), (Counts{8, 12, 6}));
  for (const Vec3& v : s.solid.vertices) {
    EXPECT_NEAR(std::fabs(v.x), 1, 1e-9);
    EXPECT_NEAR(std::fabs(v.y), 1, 1e-9);
    EXPECT_NEAR(std::fabs(v.z), 1, 1e-9);
  }
  // Four faces meet in each apex of a tetragonal dipyramid.
  EXPECT_EQ(countsOf(shapeOf(16, {3.78, 3.78, 9.51, 90, 90, 90}, "{101}:1")), (Counts{6, 12, 8}));
}

TEST(CrystalShape, TriclinicCellWithArbitraryAnglesGivesAClosedConvexSolid) {
  const Cell cell{5.13, 7.29, 9.87, 71.3, 103.9, 118.2};
  const CrystalShape s = shapeOf(22, cell, "{100}:1 {010}:1.1 {001}:0.9 {110}:1.2 {1-11}:1.3 {011}:1.15");
  ASSERT_FALSE(s.solid.vertices.empty());
  expectClosedConvex(s);
  expectSymmetric(s, 22, cell);
  // The pedial class: every face stands alone, so listing both ends closes it too.
  const CrystalShape p =
      shapeOf(0, cell, "{100}:1 {-100}:1.3 {010}:1 {0-10}:0.8 {001}:1 {00-1}:1.2 {111}:1.4");
  expectClosedConvex(p);
}

TEST(CrystalShape, SolidsAreClosedConvexAndSymmetricUnderTheirGroups) {
  struct Case {
    unsigned bit;
    Cell cell;
    const char* forms;
  };
  const Case cases[] = {
      {19, {4.913, 4.913, 5.405, 90, 90, 120}, "{10-10}:1 {10-11}:2.1 {01-11}:2.3"},           // quartz
      {26, {4.99, 4.99, 17.06, 90, 90, 120}, "{21-34}:1 {10-14}:1.5"},                         // calcite
      {28, {}, "{100}:1 {210}:1.12"},                                                          // pyrite
      {31, {}, "{110}:1 {211}:1.08"},                                                          // garnet
      {30, {}, "{111}:1 {-111}:2.2 {100}:2.1"},                                                // tetrahedrite
      {16, {6.607, 6.607, 5.982, 90, 90, 90}, "{100}:1 {101}:1.15"},                           // zircon
      {14, {4.65, 8.8, 8.4, 90, 90, 90}, "{110}:1 {120}:1.02 {021}:2.5 {112}:2.4 {001}:3.6"},  // topaz
      {5, {5.679, 15.202, 6.522, 90, 118.43, 90}, "{010}:0.6 {110}:1 {-111}:1.35"},            // gypsum
      {10,
       {8.367, 10.73, 5.155, 90, 90, 90},
       "{010}:0.6 {110}:1 {031}:1.6 {001}:1.9 {12-1}:1.5"},                         // hemimorphite
      {13, {4.136, 4.136, 6.713, 90, 90, 120}, "{10-10}:1 {10-11}:2.3 {000-1}:2"},  // greenockite
      {8, {9.41, 9.41, 6.88, 90, 90, 120}, "{10-10}:1 {0001}:1 {21-30}:0.98 {10-11}:0.85"},
      {6, {6.0, 6.0, 7.0, 90, 90, 120}, "{10-10}:1 {0001}:1 {10-11}:0.85"},
      {15, {6.641, 6.641, 9.76, 90, 90, 120}, "{10-10}:1 {01-10}:1.15 {0001}:1.4 {10-11}:1.1"},
      {25, {5.289, 5.289, 10.423, 90, 90, 90}, "{112}:1 {1-12}:1.25 {001}:1.6"},  // chalcopyrite
      {7, {5.433, 5.433, 12.11, 90, 90, 90}, "{100}:1 {001}:1 {210}:0.98 {101}:0.85"},
      {27, {}, "{100}:1 {111}:0.75 {210}:0.55"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.forms);
    const CrystalShape s = shapeOf(c.bit, c.cell, c.forms);
    ASSERT_FALSE(s.solid.vertices.empty());
    expectClosedConvex(s);
    expectSymmetric(s, c.bit, c.cell);
  }
}

TEST(CrystalShape, OpenFormSetsAndBadInputGiveNoSolid) {
  FormSet prism;
  prism.classBit = 17;
  prism.cell = {9.21, 9.21, 9.19, 90, 90, 120};
  prism.forms = {{{1, 0, 0}, 1}};  // a prism alone is open at both ends
  EXPECT_FALSE(buildCrystalShape(prism).has_value());
  FormSet pedion;
  pedion.classBit = 13;  // 6mm: the pyramid {10-11} leaves the bottom open
  pedion.cell = {4.136, 4.136, 6.713, 90, 90, 120};
  pedion.forms = {{{1, 0, 0}, 1}, {{1, 0, 1}, 2}};
  EXPECT_FALSE(buildCrystalShape(pedion).has_value());
  FormSet badCell;
  badCell.classBit = 22;
  badCell.cell = {5, 6, 7, 30, 30, 120};  // these angles close no parallelepiped
  badCell.forms = {{{1, 0, 0}, 1}, {{0, 1, 0}, 1}, {{0, 0, 1}, 1}};
  EXPECT_FALSE(buildCrystalShape(badCell).has_value());
  FormSet zero;
  zero.forms = {{{0, 0, 0}, 1}};
  EXPECT_FALSE(buildCrystalShape(zero).has_value());
}

TEST(CrystalShape, FormListsParseWithThreeOrFourIndices) {
  const auto hex = parseForms("{10-10}:1 {-2113}:2.5  {0001}:0.4", true);
  ASSERT_TRUE(hex.has_value());
  ASSERT_EQ(hex->size(), 3u);
  EXPECT_EQ((*hex)[0], (CrystalForm{{1, 0, 0}, 1}));
  EXPECT_EQ((*hex)[1], (CrystalForm{{-2, 1, 3}, 2.5}));
  EXPECT_EQ((*hex)[2], (CrystalForm{{0, 0, 1}, 0.4}));
  EXPECT_FALSE(parseForms("{1011}:1", true).has_value());    // i must be -(h + k)
  EXPECT_FALSE(parseForms("{10-11}:1", false).has_value());  // four indices need hexagonal axes
  EXPECT_FALSE(parseForms("{100}", false).has_value());      // no distance
  EXPECT_FALSE(parseForms("{100}:0", false).has_value());
  EXPECT_FALSE(parseForms("{100}:-1", false).has_value());
  EXPECT_FALSE(parseForms("{100}:1x", false).has_value());
  EXPECT_FALSE(parseForms("{000}:1", false).has_value());
  EXPECT_FALSE(parseForms("", false).has_value());
  EXPECT_FALSE(parseForms("{1-1}:1", false).has_value());
  EXPECT_EQ(formSymbol({1, 0, 1}, true), "{10-11}");
  EXPECT_EQ(formSymbol({-1, 1, 1}, false), "{-111}");
}

TEST(CrystalShape, CellsNeedTheValuesOfTheirSystem) {
  CrystalDataEntry d;
  EXPECT_TRUE(cellForClass(31, d).has_value());   // cubic needs no cell
  EXPECT_FALSE(cellForClass(16, d).has_value());  // tetragonal needs a and c
  d.a0 = 6.6;
  EXPECT_FALSE(cellForClass(16, d).has_value());
  d.c0 = 6.0;
  EXPECT_EQ(*cellForClass(16, d), (Cell{6.6, 6.6, 6.0, 90, 90, 90}));
  EXPECT_EQ(*cellForClass(17, d), (Cell{6.6, 6.6, 6.0, 90, 90, 120}));
  EXPECT_FALSE(cellForClass(5, d).has_value());  // monoclinic needs b and beta
  d.b0 = 7;
  EXPECT_FALSE(cellForClass(5, d).has_value());
  d.beta = 104;
  EXPECT_EQ(*cellForClass(5, d), (Cell{6.6, 7, 6.0, 90, 104, 90}));
  // A rhombohedral cell on hexagonal axes: the cleavage rhombohedron of calcite,
  // a = 6.375, alpha = 46.08 degrees, gives a = 4.99, c = 17.06.
  CrystalDataEntry r;
  r.a0 = 6.375;
  r.alpha = 46.08;
  const auto hex = cellForClass(26, r);
  ASSERT_TRUE(hex.has_value());
  EXPECT_NEAR(hex->a, 4.99, 0.01);
  EXPECT_NEAR(hex->c, 17.06, 0.03);
}

TEST(CrystalShape, LatticeCentringHalvesTheSpacingOfTheForbiddenFaces) {
  EXPECT_EQ(centringMultiple('P', {1, 0, 0}), 1);
  EXPECT_EQ(centringMultiple('F', {1, 0, 0}), 2);  // (200)
  EXPECT_EQ(centringMultiple('F', {1, 1, 1}), 1);
  EXPECT_EQ(centringMultiple('F', {1, 1, 0}), 2);
  EXPECT_EQ(centringMultiple('I', {1, 1, 0}), 1);
  EXPECT_EQ(centringMultiple('I', {1, 0, 0}), 2);
  EXPECT_EQ(centringMultiple('C', {0, 0, 1}), 1);
  EXPECT_EQ(centringMultiple('C', {0, 1, 0}), 2);
  EXPECT_EQ(centringMultiple('A', {0, 1, 0}), 2);
  EXPECT_EQ(centringMultiple('B', {1, 0, 0}), 2);
  // Rhombohedral on hexagonal axes: the rhombohedron {10-11} is allowed, the base
  // {0001} and the prism {10-10} only as their third orders.
  EXPECT_EQ(centringMultiple('R', {1, 0, 1}), 1);
  EXPECT_EQ(centringMultiple('R', {0, 0, 1}), 3);
  EXPECT_EQ(centringMultiple('R', {1, 0, 0}), 3);
  EXPECT_EQ(centringMultiple('R', {1, 1, 0}), 1);  // {11-20}
  EXPECT_EQ(centringMultiple('R', {-1, 0, -1}), 1);
}

}  // namespace
}  // namespace kalvor::crystal
