// What goes on a label: the formula of the mineral a label names, and the
// content of a label for a specimen of the collection.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "labels/label_layout.h"
#include "refdb/mineral_record.h"
#include "refdb/names.h"

namespace kalvor {

// The formula (markup) of the mineral the mineral field names: the text up
// to its first comma or blank is looked up in the name list from its
// letter's bucket; the first name it begins is taken when it is the only
// one it begins or equals the text, and when it is a full mineral. Empty
// when no mineral is found.
std::string lookupLabelFormula(const MineralNameList& names, const MineralDatabase& database,
                               std::string_view mineralText);

// A specimen's label: its main minerals, its accompanying minerals, the
// locality line (empty without a locality), its collection index in the
// free line, the formula of its first mineral (when `database` is given)
// and for the QR code the index and all mineral names.
LabelContent specimenLabelContent(const Specimen& specimen, const MineralNameList& names,
                                  const std::optional<Locality>& locality, const MineralDatabase* database);

// The QR code's text of a label: "<index>: <minerals>[, <accompanying>]",
// or the minerals alone without an index.
std::string labelQrText(std::string_view index, std::string_view minerals, std::string_view accompanying);

}  // namespace kalvor
