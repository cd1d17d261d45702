// The criteria of "Sammlungsauswertung" as options of kalvor-cli, shared by
// "suche stufe" and "drucke stufenliste --suche".
#pragma once

#include <string>

#include "search/collection_search.h"
#include "tools/cli/cli.h"

namespace kalvor::cli {

// Takes --minerale, --strukturelemente, --systematik, --standort, --index,
// --datum, --fundort, --art and --erwerb into `in`; prints the error and
// returns false when one is malformed.
bool takeSpecimenSearchOptions(Arguments& args, SpecimenSearchInput& in);

// Prints the message of a search that found nothing or could not run
// ("Caption: text") and returns exit code 1.
int showSearchMessage(const CollectionSearchOutcome& out, const std::string& expression);

}  // namespace kalvor::cli
