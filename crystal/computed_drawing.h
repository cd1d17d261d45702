// The computed crystal drawings of a mineral: the drawing values of each view
// and the texts that say what a drawing was computed from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "crystal/forms_file.h"
#include "crystal/projection.h"

namespace kalvor::crystal {

// Byte 0 of the source record of a computed drawing holds its FormOrigin and
// the volume is 0: no book volume has number 0, so a drawing with volume 0 is
// always a computed one. The figure is the view number + 1.
inline constexpr std::uint8_t kComputedVolume = 0;

// True iff the class's drawings gain from a second view down the main axis
// (tetragonal, hexagonal and trigonal crystals: the view shows the section).
bool wantsMainAxisView(unsigned classBit);

// The view of drawing `index` of these forms (the clinographic one turned by
// the forms' extra turn), turned further by the given angles (radians).
View viewOfDrawing(const MineralForms& forms, std::uint8_t index, double aboutVertical = 0,
                   double aboutHorizontal = 0);

// The drawing values of the shape in a view (crystal/projection.h).
std::vector<std::uint32_t> drawShape(const CrystalShape& shape, const View& view);

// The note of a computed drawing's source record, Windows-1252, at most `maxBytes`
// bytes: "Berechnet: {10-10} {10-11}" for a species' own forms,
// "Klassenformen, nicht Tracht: {100}" for a class's default forms; forms that
// do not fit are left out and the note ends with "...".
std::string computedDrawingNote(const MineralForms& forms, std::size_t maxBytes);

// The information text of a computed drawing (Windows-1252): that it was
// computed, from which forms and cell, and for default forms that it does
// not show the species' habit.
std::string computedDrawingInfo(const MineralForms& forms);

}  // namespace kalvor::crystal
