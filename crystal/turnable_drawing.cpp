#include "crystal/turnable_drawing.h"

namespace kalvor::crystal {

std::optional<TurnableDrawing> TurnableDrawing::make(const MineralForms& forms, std::uint8_t index) {
  if (index >= forms.viewCount) return std::nullopt;
  auto shape = buildCrystalShape(forms.set);
  if (!shape) return std::nullopt;
  return TurnableDrawing(std::move(*shape), viewOfDrawing(forms, index));
}

void TurnableDrawing::turn(double aboutVertical, double aboutHorizontal) {
  view_ = turnedView(view_, aboutVertical, aboutHorizontal);
  turned_ = true;
}

void TurnableDrawing::reset() {
  view_ = home_;
  turned_ = false;
}

}  // namespace kalvor::crystal
