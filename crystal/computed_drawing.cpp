#include "crystal/computed_drawing.h"

#include <cstdio>
#include <numbers>

#include "crystal/point_groups.h"

namespace kalvor::crystal {
namespace {

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4g", v);
  std::string s = buf;
  for (char& c : s)
    if (c == '.') c = ',';  // German decimal comma
  return s;
}

}  // namespace

bool wantsMainAxisView(unsigned classBit) {
  const AxisSystem s = axisSystemOfClass(classBit);
  return s == AxisSystem::kTetragonal || s == AxisSystem::kHexagonal || s == AxisSystem::kTrigonal;
}

View viewOfDrawing(const MineralForms& forms, std::uint8_t index, double aboutVertical,
                   double aboutHorizontal) {
  View view = mainAxisView();
  if (index != static_cast<std::uint8_t>(DrawingView::kMainAxis)) {
    view = clinographicView();
    if (forms.turnDegrees != 0) view = turnedView(view, forms.turnDegrees * std::numbers::pi / 180.0, 0);
  }
  if (aboutVertical == 0 && aboutHorizontal == 0) return view;
  return turnedView(view, aboutVertical, aboutHorizontal);
}

std::vector<std::uint32_t> drawShape(const CrystalShape& shape, const View& view) {
  return drawingValues(projectEdges(shape, view));
}

std::string computedDrawingNote(const MineralForms& forms, std::size_t maxBytes) {
  const bool hex = usesHexagonalAxes(forms.set.classBit);
  std::string note = forms.origin == FormOrigin::kCurated ? "Berechnet:" : "Klassenformen, nicht Tracht:";
  for (std::size_t i = 0; i < forms.set.forms.size(); ++i) {
    std::string symbol(1, ' ');
    symbol += formSymbol(forms.set.forms[i].face, hex);
    const bool last = i + 1 == forms.set.forms.size();
    if (note.size() + symbol.size() + (last ? 0 : 4) > maxBytes) {
      note += " ...";
      break;
    }
    note += symbol;
  }
  return note.substr(0, maxBytes);
}

std::string computedDrawingInfo(const MineralForms& forms) {
  const bool hex = usesHexagonalAxes(forms.set.classBit);
  std::string text = "Die angezeigte Zeichnung wurde von Kalvor berechnet aus den Formen";
  for (const CrystalForm& f : forms.set.forms) {
    text += ' ';
    text += formSymbol(f.face, hex);
  }
  const Cell& c = forms.set.cell;
  switch (axisSystemOfClass(forms.set.classBit)) {
    case AxisSystem::kCubic:
      text += " (kubisch).";
      break;
    case AxisSystem::kTetragonal:
    case AxisSystem::kHexagonal:
    case AxisSystem::kTrigonal:
      text += " und der Zelle a = " + number(c.a) + ", c = " + number(c.c) + ".";
      break;
    case AxisSystem::kOrthorhombic:
      text += " und der Zelle a = " + number(c.a) + ", b = " + number(c.b) + ", c = " + number(c.c) + ".";
      break;
    case AxisSystem::kMonoclinic:
      text += " und der Zelle a = " + number(c.a) + ", b = " + number(c.b) + ", c = " + number(c.c) +
              ", beta = " + number(c.beta) + "\xB0.";
      break;
    case AxisSystem::kTriclinic:
      text += " und der Zelle a = " + number(c.a) + ", b = " + number(c.b) + ", c = " + number(c.c) +
              ", alpha = " + number(c.alpha) + "\xB0, beta = " + number(c.beta) +
              "\xB0, gamma = " + number(c.gamma) + "\xB0.";
      break;
  }
  if (forms.origin == FormOrigin::kClassDefault)
    text += "\nEs sind typische Formen der Kristallklasse, nicht die Tracht dieses Minerals.";
  return text;
}

}  // namespace kalvor::crystal
