// The whole compilation of data/ into the reference files.
#pragma once

#include <string>
#include <vector>

#include "tools/mkdb/mineral_builder.h"
#include "tools/mkdb/report.h"

namespace kalvor::mkdb {

// Builds kalvor.mi, kalvor.db, kalvor.sy, kalvor.gl, kalvor.lf, kalvor.kf and logos.pf from the
// tables in `dataDir` into `outDir`. Returns true when every file was written
// and no source row was malformed; the report tells the counts and the errors.
// The entries of kalvor.db in MineralNumber order (German alphabetical order,
// aliases among the minerals); empty when the report has errors.
std::vector<BuiltEntry> buildMineralEntries(const std::string& dataDir, Report& report);

bool compileReferenceData(const std::string& dataDir, const std::string& outDir, Report& report);

}  // namespace kalvor::mkdb
