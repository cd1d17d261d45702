// The description pages of the user's collection: a locality with its address
// lines and the grid of minerals known there, a specimen with its minerals,
// size, value, storage place, locality and description; and the localities
// of a mineral that a mineral page lists.
#pragma once

#include <optional>
#include <vector>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "determination/description.h"

namespace kalvor {

class Collection;
class MineralNameList;

// The localities whose mineral list holds mineral n (value index) and that
// are not deleted, in the locality sort order, each with its display line
// and whether the mineral is on one of the user's specimens from there.
std::vector<MineralLocality> collectionLocalitiesOfMineral(Collection& collection, MineralNumber n);

// Lays out the locality page from the area's top: the five address lines
// (starting one text line down), a rule, and the minerals in a grid sorted
// by the name list, each after a check mark space (marked when on one of the
// locality's specimens). Returns the y after the last grid row.
int describeLocality(DescriptionLayout& layout, const LayoutArea& area, const Locality& locality,
                     const MineralNameList& names);

// Lays out the specimen page from the area's top (starting one text line
// down); `locality` is the specimen's locality when it has one. Returns the
// y after the page.
int describeSpecimen(DescriptionLayout& layout, const LayoutArea& area, const Specimen& specimen,
                     const MineralNameList& names, const std::optional<Locality>& locality);

}  // namespace kalvor
