// "Mineralsteckbrief": the description of a mineral (reached through its
// alias chain when an alias is asked for), its crystal drawings in a column
// at the right that the text keeps free, and the user's specimens and
// localities with this mineral.
#pragma once

#include "reports/print_job.h"

namespace kalvor {

class Collection;
class DrawingFile;

struct MineralProfileSources {
  const DescriptionSources& description;
  DescriptionOptions options;
  Collection* collection = nullptr;       // none: no specimens or localities
  const DrawingFile* drawings = nullptr;  // none: no crystal drawings
};

// Prints the profile of entry n; nothing when there is no such entry.
PrintResult printMineralProfile(PageCanvas& device, const MineralProfileSources& sources, MineralNumber n);

// The boxes of the crystal drawings on the first page (right column), as
// many as fit above the area bottom, at most `count`.
std::vector<LayoutArea> crystalDrawingBoxes(const PrintFrame& frame, std::size_t count);

}  // namespace kalvor
