// Builds the mineral name list from the mineral database when neither
// "kalvor.fl" nor "kalvor.na" is at hand.
#pragma once

#include <vector>

#include "refdb/mineral_record.h"
#include "refdb/names.h"

namespace kalvor {

// The (alias, name) entries of every database entry in MineralNumber order;
// an entry that is not a full mineral counts as an alias, as in "kalvor.na".
std::vector<NameSource> nameSourcesOf(const MineralDatabase& database);

// The sorted name list of all database entries (entry n gets id n + 1).
MineralNameList buildMineralNameList(const MineralDatabase& database);

}  // namespace kalvor
