// The computed crystal drawings of "kalvor.lf" and the forms behind them in
// "kalvor.kf": a species' typical forms from data/crystal_forms.tsv, else the
// default forms of its crystal class from data/crystal_default_forms.tsv, cut
// to its cell.
#pragma once

#include <string>
#include <vector>

#include "base/bytes.h"
#include "tools/mkdb/mineral_builder.h"
#include "tools/mkdb/report.h"

namespace kalvor::mkdb {

struct DrawingFiles {
  Bytes drawings;  // kalvor.lf
  Bytes forms;     // kalvor.kf
};

// Builds both files for the entries in MineralNumber order. Bad rows of the
// forms tables are errors in the report; a curated species that cannot be
// drawn (no class or cell in the data, forms that do not close) is a warning.
// Counts: drawings, species with curated and with default forms.
DrawingFiles buildDrawingFiles(const std::string& dataDir, const std::vector<BuiltEntry>& entries,
                               Report& report);

}  // namespace kalvor::mkdb
