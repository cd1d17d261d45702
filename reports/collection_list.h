// "Stufenliste": every specimen of a set in the specimen sort order, each
// with its index, the collection or exchange mark, main and accompanying
// minerals, locality, storage place and description, separated by rules;
// each page numbered in its footer. Every entry is measured before it is
// placed, so none runs past the bottom of a page.
#pragma once

#include <optional>

#include "collection/record_set.h"
#include "reports/print_job.h"

namespace kalvor {

class Collection;

// Prints the specimens of `set` (every specimen when absent) on `device`.
// `progress` (may be null) gets "Bearbeite Stufe %ld/%ld" before each entry
// and can stop the list after the current entry. Nothing is begun when no
// specimen of the set can be read.
PrintResult printSpecimenList(PageCanvas& device, Collection& collection, const std::optional<RecordSet>& set,
                              const DescriptionSources& sources, PrintProgress* progress);

// The footer text of page `page`: "- Sammlungsliste Seite 3 -".
std::string specimenListFooter(int page);

}  // namespace kalvor
