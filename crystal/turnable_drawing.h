// A computed crystal drawing that the Drawing window turns: the arrow keys
// and mouse drags turn it step by step about the screen's axes, Pos1 brings
// back the drawing as shipped.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "crystal/computed_drawing.h"

namespace kalvor::crystal {

class TurnableDrawing {
 public:
  // The drawing `index` of these forms; nothing when the forms give no solid
  // or the index is not one of their views.
  static std::optional<TurnableDrawing> make(const MineralForms& forms, std::uint8_t index);

  // Turns further about the screen's vertical axis (positive: the front goes
  // to the right) and horizontal axis (positive: the top comes towards the
  // viewer), in radians.
  void turn(double aboutVertical, double aboutHorizontal);
  // Back to the view of the drawing as shipped.
  void reset();
  // True iff the drawing is turned away from the shipped view.
  bool isTurned() const { return turned_; }

  // The drawing values of the current view (the shipped values when not turned).
  std::vector<std::uint32_t> values() const { return drawShape(shape_, view_); }

 private:
  TurnableDrawing(CrystalShape shape, View home) : shape_(std::move(shape)), home_(home), view_(home) {}
  CrystalShape shape_;
  View home_;
  View view_;
  bool turned_ = false;
};

}  // namespace kalvor::crystal
