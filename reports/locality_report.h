// "Fundortbeschreibung": a locality's address lines, its description and
// its minerals in three columns with check boxes (marked when the mineral is
// on one of the user's specimens from there). A long description and a long
// mineral list go on over further pages; nothing is left out.
#pragma once

#include "collection/locality.h"
#include "reports/print_job.h"

namespace kalvor {

class MineralNameList;

PrintResult printLocalityDescription(PageCanvas& device, const Locality& locality,
                                     const MineralNameList& names, const DescriptionSources& sources);

}  // namespace kalvor
