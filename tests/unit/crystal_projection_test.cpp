// The clinographic projection, visibility of edges and the drawing values,
// checked on a cube against coordinates worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "crystal/computed_drawing.h"

namespace kalvor::crystal {
namespace {

CrystalShape cube() {
  FormSet set;
  set.classBit = 31;
  set.forms = {{{1, 0, 0}, 1}};
  return *buildCrystalShape(set);
}

// By hand: turned by d = 18°26' about z and projected along (1, 0, tan 9°28'),
// a corner (x, y, z) lands at u = -x sin d + y cos d, v = z - tan(9°28') (x cos d + y sin d),
// with cos d = 0.948692, sin d = 0.316201, tan 9°28' = 0.166745.
TEST(CrystalProjection, CubeCornersLandWhereTheHandWorkedProjectionPutsThem) {
  const View view = clinographicView();
  struct Case {
    Vec3 corner;
    double u, v;
  };
  const Case cases[] = {
      {{1, 1, 1}, 0.63249, 0.78909},     {{1, -1, 1}, -1.26489, 0.89454},    {{-1, 1, 1}, 1.26489, 1.10546},
      {{-1, -1, 1}, -0.63249, 1.21091},  {{-1, -1, -1}, -0.63249, -0.78909}, {{1, 1, -1}, 0.63249, -1.21091},
      {{1, -1, -1}, -1.26489, -1.10546},
  };
  for (const Case& c : cases) {
    const Point2 p = project(view, c.corner);
    EXPECT_NEAR(p.x, c.u, 1e-5);
    EXPECT_NEAR(p.y, c.v, 1e-5);
  }
  // Vertical edges stay vertical in the clinographic projection.
  EXPECT_NEAR(project(view, {1, 1, 1}).x, project(view, {1, 1, -1}).x, 1e-12);
}

TEST(CrystalProjection, TheThreeCubeEdgesAtTheBackLowerCornerAreHidden) {
  const CrystalShape s = cube();
  const View view = clinographicView();
  // Front (+a), right (+b) and top (+c) look at the viewer; their opposites do not.
  EXPECT_TRUE(facesViewer(view, {1, 0, 0}));
  EXPECT_TRUE(facesViewer(view, {0, 1, 0}));
  EXPECT_TRUE(facesViewer(view, {0, 0, 1}));
  EXPECT_FALSE(facesViewer(view, {-1, 0, 0}));
  EXPECT_FALSE(facesViewer(view, {0, -1, 0}));
  EXPECT_FALSE(facesViewer(view, {0, 0, -1}));
  const std::vector<ProjectedEdge> edges = projectEdges(s, view);
  ASSERT_EQ(edges.size(), 12u);
  const Point2 back = project(view, {-1, -1, -1});
  std::size_t hidden = 0;
  for (const ProjectedEdge& e : edges) {
    if (e.visible) continue;
    ++hidden;
    const bool touchesBack = (std::fabs(e.a.x - back.x) < 1e-9 && std::fabs(e.a.y - back.y) < 1e-9) ||
                             (std::fabs(e.b.x - back.x) < 1e-9 && std::fabs(e.b.y - back.y) < 1e-9);
    EXPECT_TRUE(touchesBack);
  }
  EXPECT_EQ(hidden, 3u);
}

TEST(CrystalProjection, DrawingValuesOfTheCubeFitFifteenBitsAndStartWithAMove) {
  const std::vector<std::uint32_t> values = drawShape(cube(), clinographicView());
  ASSERT_FALSE(values.empty());
  EXPECT_NE(values.front() & kMoveBit, 0u);
  EXPECT_EQ(values.front() & kHiddenPenBit, 0u);  // visible edges come first
  std::uint32_t maxX = 0, maxY = 0, minX = 32767, minY = 32767;
  std::size_t visibleLines = 0, hiddenLines = 0;
  bool hiddenPen = false, sawHidden = false;
  for (std::uint32_t v : values) {
    const std::uint32_t x = v & 0x7FFF, y = (v >> 16) & 0x7FFF;
    maxX = std::max(maxX, x), maxY = std::max(maxY, y), minX = std::min(minX, x), minY = std::min(minY, y);
    if (v & kMoveBit) {
      hiddenPen = (v & kHiddenPenBit) != 0;
      if (sawHidden) {
        EXPECT_TRUE(hiddenPen) << "a visible run after the hidden ones";
      }
      sawHidden = sawHidden || hiddenPen;
    } else {
      EXPECT_EQ(v & 0x8000u, 0u) << "bit 15 outside a move";
      (hiddenPen ? hiddenLines : visibleLines)++;
    }
  }
  EXPECT_EQ(visibleLines, 9u);
  EXPECT_EQ(hiddenLines, 3u);
  EXPECT_EQ(minX, 0u);
  EXPECT_EQ(minY, 0u);
  // The picture is wider (2 x 1.26489) than high (2 x 1.21091, from the top back
  // corner (-1, -1, 1) to the bottom front one (1, 1, -1)), so x fills 0..32767 and
  // y keeps the proportion.
  EXPECT_EQ(maxX, 32767u);
  EXPECT_NEAR(maxY, 32767.0 * 1.21091 / 1.26489, 2.0);
  // The top front corner (1, 1, 1): y counts downwards from the highest point.
  const double x111 = (0.63249 + 1.26489) / (2 * 1.26489) * 32767;
  const double y111 = (1.21091 - 0.78909) / (2 * 1.26489) * 32767;
  bool found = false;
  for (std::uint32_t v : values)
    found = found ||
            (std::fabs(double(v & 0x7FFF) - x111) <= 2 && std::fabs(double((v >> 16) & 0x7FFF) - y111) <= 2);
  EXPECT_TRUE(found);
}

TEST(CrystalProjection, TurningChangesThePictureAndTurningBackRestoresIt) {
  const CrystalShape s = cube();
  MineralForms forms;
  forms.set.classBit = 31;
  forms.set.forms = {{{1, 0, 0}, 1}};
  const auto standard = drawShape(s, viewOfDrawing(forms, 0));
  const auto turned = drawShape(s, viewOfDrawing(forms, 0, 0.3, -0.2));
  EXPECT_NE(standard, turned);
  const View there = turnedView(clinographicView(), 0.3, 0);
  const View back = turnedView(there, -0.3, 0);
  EXPECT_EQ(drawShape(s, back), standard);
  // Turned by 90 degrees about the vertical axis, the right face (+b) is in front.
  const View quarter = turnedView(View{Mat3::identity(), 0}, -std::numbers::pi / 2, 0);
  const Vec3 b = quarter.rotation * Vec3{0, 1, 0};
  EXPECT_NEAR(b.x, 1, 1e-12);
}

TEST(CrystalProjection, ViewDownTheMainAxisShowsTheHexagonOfAPrism) {
  FormSet set;
  set.classBit = 17;
  set.cell = {9.21, 9.21, 9.19, 90, 90, 120};
  set.forms = {{{1, 0, 0}, 1}, {{0, 0, 1}, 2}};
  const CrystalShape s = *buildCrystalShape(set);
  const std::vector<std::uint32_t> values = drawShape(s, mainAxisView());
  // Top and bottom hexagons coincide: six visible lines and nothing hidden over them.
  std::size_t lines = 0;
  for (std::uint32_t v : values) {
    if (v & kMoveBit) {
      EXPECT_EQ(v & kHiddenPenBit, 0u);
    } else {
      ++lines;
    }
  }
  EXPECT_EQ(lines, 6u);
}

TEST(CrystalProjection, NotesSayTheDrawingIsComputedAndFitTheirField) {
  MineralForms forms;
  forms.set.classBit = 19;
  forms.set.cell = {4.913, 4.913, 5.405, 90, 90, 120};
  forms.set.forms = {{{1, 0, 0}, 1}, {{1, 0, 1}, 2.4}, {{0, 1, 1}, 2.6}};
  EXPECT_EQ(computedDrawingNote(forms, 49), "Berechnet: {10-10} {10-11} {01-11}");
  forms.origin = FormOrigin::kClassDefault;
  const std::string cut = computedDrawingNote(forms, 40);
  EXPECT_EQ(cut, "Klassenformen, nicht Tracht: {10-10} ...");
  EXPECT_LE(cut.size(), 40u);
  const std::string info = computedDrawingInfo(forms);
  EXPECT_NE(info.find("berechnet"), std::string::npos);
  EXPECT_NE(info.find("{10-11}"), std::string::npos);
  EXPECT_NE(info.find("a = 4,913, c = 5,405"), std::string::npos);
  EXPECT_NE(info.find("nicht die Tracht"), std::string::npos);
}

}  // namespace
}  // namespace kalvor::crystal
