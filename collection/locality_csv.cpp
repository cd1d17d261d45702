#include "collection/locality_csv.h"

#include "collection/collection.h"
#include "collection/csv_table.h"
#include "refdb/names.h"

namespace kalvor {
namespace {

constexpr std::size_t kMaxFieldLength = locality_format::kTextFieldBytes - 1;

}  // namespace

const std::vector<std::string>& localityCsvColumns() {
  static const std::vector<std::string> columns = {"Nr",
                                                   "Fundort",
                                                   "N\xE4"
                                                   "chster Ort",
                                                   "Region",
                                                   "Land",
                                                   "Kartenangabe",
                                                   "Beschreibung",
                                                   "Minerale"};
  return columns;
}

std::string exportLocalitiesCsv(Collection& collection) {
  std::string out = csvRow(localityCsvColumns());
  const MineralNameList& names = collection.names();
  for (std::uint32_t n = 1; n <= collection.localityCount(); ++n) {
    const std::optional<Locality> loc = readLocality(collection, n);
    if (!loc || loc->deleted()) continue;
    std::string minerals;
    for (std::uint16_t e : loc->minerals) {
      if (e & locality_format::kFromSpecimen) continue;
      if (!minerals.empty()) minerals += ", ";
      minerals += names.nameOfMineral(static_cast<MineralNumber>(e & locality_format::kMineralMask));
    }
    out += csvRow({std::to_string(n), loc->name, loc->nearestPlace, loc->region, loc->country,
                   loc->mapReference, loc->description, minerals});
  }
  return out;
}

LocalityCsvImport readLocalitiesCsv(const std::string& text, const MineralNameList& names) {
  LocalityCsvImport result;
  std::size_t errorLine = 0;
  const auto rows = parseCsv(text, errorLine);
  if (!rows) {
    result.errors.push_back({errorLine, "Anf\xFChrungszeichen nicht richtig geschlossen"});
    return result;
  }
  if (rows->empty() || (*rows)[0].fields != localityCsvColumns()) {
    std::string header = csvRow(localityCsvColumns());
    header.resize(header.size() - 2);
    result.errors.push_back({1, "Die erste Zeile ist nicht die Kopfzeile \"" + header + "\""});
    return result;
  }
  for (std::size_t r = 1; r < rows->size(); ++r) {
    const CsvRow& row = (*rows)[r];
    std::vector<std::string> reasons;
    if (row.fields.size() != localityCsvColumns().size()) {
      result.errors.push_back({row.line, std::to_string(row.fields.size()) + " statt " +
                                             std::to_string(localityCsvColumns().size()) + " Spalten"});
      continue;
    }
    const auto& f = row.fields;
    Locality loc;
    loc.name = f[1];
    loc.nearestPlace = f[2];
    loc.region = f[3];
    loc.country = f[4];
    loc.mapReference = f[5];
    loc.description = f[6];
    if (loc.name.empty()) reasons.push_back("kein Fundortname");
    for (std::size_t c = 1; c <= 5; ++c)
      if (f[c].size() > kMaxFieldLength)
        reasons.push_back(localityCsvColumns()[c] + " l\xE4nger als " + std::to_string(kMaxFieldLength) +
                          " Zeichen");
    if (loc.description.size() > locality_format::kMaxTextLength) reasons.push_back("Beschreibung zu lang");
    for (const std::string& name : splitNameList(f[7])) {
      const std::uint32_t id = names.findMineralByPrefix(name);
      if (id == 0 || names.nameOfMineral(static_cast<MineralNumber>(id - 1)) != name) {
        reasons.push_back("unbekanntes Mineral \"" + name + "\"");
        continue;
      }
      if (addMineralToList(loc.minerals, static_cast<std::uint16_t>(id - 1), false) ==
          AddMineralResult::kNotRepresentable)
        reasons.push_back("Mineral \"" + name + "\" kann ein Fundort nicht verzeichnen");
    }
    for (const std::string& reason : reasons) result.errors.push_back({row.line, reason});
    if (reasons.empty()) result.localities.push_back(std::move(loc));
  }
  if (!result.errors.empty()) result.localities.clear();
  return result;
}

bool saveImportedLocalities(Collection& collection, const std::vector<Locality>& localities) {
  // The import is one action: made durable once, at its end.
  UserAction action(collection);
  for (const Locality& loc : localities)
    if (!saveLocalityFromForm(collection, loc)) return false;
  return true;
}

}  // namespace kalvor
