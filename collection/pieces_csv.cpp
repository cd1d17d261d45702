#include "collection/pieces_csv.h"

#include <algorithm>
#include <cstdio>

#include "collection/collection.h"
#include "collection/form_fields.h"
#include "collection/locality.h"
#include "collection/mineral_specimen_form.h"
#include "refdb/names.h"

namespace kalvor {
namespace {

namespace sf = specimen_format;

enum Column {
  kNr,
  kIndex,
  kMinerals,
  kAccompanying,
  kCount,
  kKind,
  kAcquisition,
  kLocality,
  kDate,
  kValue,
  kPurchase,
  kStorage,
  kSize,
  kText,
  kColumns
};

const char* const kKinds[] = {"Sammlung", "Tausch"};
const char* const kAcquisitions[] = {"gekauft", "gefunden", "getauscht"};

// "12,50", "3", "0,5": digits with at most two places after a comma; empty is 0.
std::optional<float> readPrice(const std::string& text) {
  if (text.empty()) return 0.0f;
  const std::size_t comma = text.find(',');
  const std::string whole = text.substr(0, comma);
  const std::string places = comma == std::string::npos ? "" : text.substr(comma + 1);
  auto digits = [](const std::string& s) { return s.find_first_not_of("0123456789") == std::string::npos; };
  if (whole.empty() || whole.size() > 9 || !digits(whole) || !digits(places) || places.size() > 2 ||
      (comma != std::string::npos && places.empty()))
    return std::nullopt;
  const AmountParse amount = parseAmount(text);
  if (!amount.ok()) return std::nullopt;
  return amount.value;
}

std::string names(const MineralNameList& list, const Specimen& s, bool main) {
  std::string out;
  for (std::size_t i = 0; i < s.minerals.size(); ++i) {
    if ((i < s.mainCount) != main || s.minerals[i] == 0) continue;
    if (!out.empty()) out += ", ";
    out += list.nameOfMineral(static_cast<MineralNumber>(s.minerals[i] - 1));
  }
  return out;
}

void checkLength(const std::string& text, std::size_t bytes, Column c, std::vector<std::string>& reasons) {
  if (text.size() > bytes - 1)
    reasons.push_back(specimenCsvColumns()[c] + " l\xE4nger als " + std::to_string(bytes - 1) + " Zeichen");
}

}  // namespace

const std::vector<std::string>& specimenCsvColumns() {
  static const std::vector<std::string> columns = {"Nr",
                                                   "Index",
                                                   "Minerale",
                                                   "Begleitminerale",
                                                   "Anzahl",
                                                   "Art",
                                                   "Erwerb",
                                                   "Fundort",
                                                   "Datum",
                                                   "Wert",
                                                   "Kaufpreis",
                                                   "Standort",
                                                   "Stufengr\xF6\xDF"
                                                   "e",
                                                   "Beschreibung"};
  return columns;
}

std::string csvPrice(float value) {
  if (value == 0) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
  std::string s = text;
  const std::size_t dot = s.find('.');
  if (dot != std::string::npos) s[dot] = ',';
  return s;
}

std::string csvDate(std::uint32_t date) {
  if (date == 0) return {};
  const unsigned year = date >> 16, month = (date >> 8) & 0xFF, day = date & 0xFF;
  char text[32];
  if (day != 0)
    std::snprintf(text, sizeof text, "%02u.%02u.%04u", day, month, year);
  else if (month != 0)
    std::snprintf(text, sizeof text, "%02u.%04u", month, year);
  else
    std::snprintf(text, sizeof text, "%04u", year);
  return text;
}

std::string exportSpecimensCsv(Collection& collection) {
  std::string out = csvRow(specimenCsvColumns());
  const MineralNameList& list = collection.names();
  for (std::uint32_t n = 1; n <= collection.specimenCount(); ++n) {
    const std::optional<Specimen> s = readSpecimen(collection, n);
    if (!s || s->deleted()) continue;
    const bool bought = (s->flags & sf::kFlagBought) != 0;
    const char* acquisition = bought                             ? kAcquisitions[0]
                              : (s->flags & sf::kFlagFound) != 0 ? kAcquisitions[1]
                                                                 : kAcquisitions[2];
    out += csvRow({std::to_string(n), s->index, names(list, *s, true), names(list, *s, false),
                   std::to_string(s->count), (s->flags & sf::kFlagCollection) ? kKinds[0] : kKinds[1],
                   acquisition, s->localityNumber() ? std::to_string(s->localityNumber()) : "",
                   csvDate(s->date), csvPrice(s->value), bought ? csvPrice(s->purchasePrice) : "",
                   s->storagePlace, s->size, s->description});
  }
  return out;
}

SpecimenCsvImport readSpecimensCsv(const std::string& text, Collection& collection) {
  SpecimenCsvImport result;
  std::size_t errorLine = 0;
  const auto rows = parseCsv(text, errorLine);
  if (!rows) {
    result.errors.push_back({errorLine, "Anf\xFChrungszeichen nicht richtig geschlossen"});
    return result;
  }
  if (rows->empty() || (*rows)[0].fields != specimenCsvColumns()) {
    std::string header = csvRow(specimenCsvColumns());
    header.resize(header.size() - 2);
    result.errors.push_back({1, "Die erste Zeile ist nicht die Kopfzeile \"" + header + "\""});
    return result;
  }
  const MineralNameList& list = collection.names();
  for (std::size_t r = 1; r < rows->size(); ++r) {
    const CsvRow& row = (*rows)[r];
    if (row.fields.size() != kColumns) {
      result.errors.push_back({row.line, std::to_string(row.fields.size()) + " statt " +
                                             std::to_string(static_cast<int>(kColumns)) + " Spalten"});
      continue;
    }
    const auto& f = row.fields;
    std::vector<std::string> reasons;
    Specimen s;
    s.number = 0;
    // Kind and acquisition.
    if (f[kKind] == kKinds[0])
      s.flags = sf::kFlagCollection;
    else if (f[kKind] == kKinds[1])
      s.flags = sf::kFlagExchange;
    else
      reasons.push_back("Art ist \"Sammlung\" oder \"Tausch\"");
    const bool bought = f[kAcquisition] == kAcquisitions[0];
    if (bought)
      s.flags |= sf::kFlagBought;
    else if (f[kAcquisition] == kAcquisitions[1])
      s.flags |= sf::kFlagFound;
    else if (f[kAcquisition] == kAcquisitions[2])
      s.flags |= sf::kFlagSwapped;
    else
      reasons.push_back("Erwerb ist \"gekauft\", \"gefunden\" oder \"getauscht\"");
    // Minerals by their names.
    for (Column c : {kMinerals, kAccompanying}) {
      for (const std::string& name : splitNameList(f[c])) {
        const std::uint32_t id = list.findMineralByPrefix(name);
        if (id == 0 || list.nameOfMineral(static_cast<MineralNumber>(id - 1)) != name) {
          reasons.push_back("unbekanntes Mineral \"" + name + "\"");
        } else if (std::find(s.minerals.begin(), s.minerals.end(), id) == s.minerals.end()) {
          s.minerals.push_back(static_cast<std::uint16_t>(id));
        }
      }
      if (c == kMinerals) s.mainCount = static_cast<std::uint16_t>(s.minerals.size());
    }
    if (splitNameList(f[kMinerals]).empty()) reasons.push_back("kein Mineral");
    if (s.minerals.size() > sf::kMaxMinerals) reasons.push_back("mehr als 99 Minerale");
    // Count, locality, date, prices.
    const bool countOk = !f[kCount].empty() && f[kCount].size() <= 4 &&
                         f[kCount].find_first_not_of("0123456789") == std::string::npos &&
                         std::stoi(f[kCount]) >= 1;
    if (countOk)
      s.count = static_cast<std::uint16_t>(std::stoi(f[kCount]));
    else
      reasons.push_back("Anzahl \"" + f[kCount] + "\" ist keine Zahl von 1 bis 9999");
    s.localityValue = 0;
    if (!f[kLocality].empty()) {
      std::uint32_t found = 0;
      if (f[kLocality].size() <= 5 && f[kLocality].find_first_not_of("0123456789") == std::string::npos) {
        const std::uint32_t n = static_cast<std::uint32_t>(std::stoul(f[kLocality]));
        const auto loc =
            n >= 1 && n <= collection.localityCount() ? readLocality(collection, n, true) : std::nullopt;
        if (loc && !loc->deleted()) found = n;
      } else {
        for (std::uint32_t n = 1; n <= collection.localityCount() && found == 0; ++n) {
          const auto loc = readLocality(collection, n, true);
          if (loc && !loc->deleted() && localityLine(*loc) == f[kLocality]) found = n;
        }
      }
      if (found == 0 || found + 1 > 0xFFFF)
        reasons.push_back("Fundort \"" + f[kLocality] + "\" gibt es nicht");
      else
        s.localityValue = static_cast<std::uint16_t>(found + 1);
    }
    const DateParse date = parseSpecimenDate(f[kDate]);
    if (date.ok())
      s.date = date.date;
    else
      reasons.push_back("Datum \"" + f[kDate] + "\" gibt es nicht");
    const std::optional<float> value = readPrice(f[kValue]);
    const std::optional<float> price = readPrice(f[kPurchase]);
    if (!value) reasons.push_back("Wert \"" + f[kValue] + "\" ist kein Betrag");
    if (!price) reasons.push_back("Kaufpreis \"" + f[kPurchase] + "\" ist kein Betrag");
    if (price && *price != 0 && !bought) reasons.push_back("Kaufpreis nur bei gekauften Stufen");
    s.value = value.value_or(0);
    s.purchasePrice = price.value_or(0);
    // Texts.
    s.index = f[kIndex];
    s.storagePlace = f[kStorage];
    s.size = f[kSize];
    s.description = f[kText];
    checkLength(s.index, sf::kIndexBytes, kIndex, reasons);
    checkLength(s.storagePlace, sf::kStorageBytes, kStorage, reasons);
    checkLength(s.size, sf::kSizeBytes, kSize, reasons);
    if (s.description.size() > sf::kMaxTextLength) reasons.push_back("Beschreibung zu lang");
    for (const std::string& reason : reasons) result.errors.push_back({row.line, reason});
    if (reasons.empty()) result.specimens.push_back(std::move(s));
  }
  if (!result.errors.empty()) result.specimens.clear();
  return result;
}

bool saveImportedSpecimens(Collection& collection, const std::vector<Specimen>& specimens) {
  // The import is one action: made durable once, at its end.
  UserAction action(collection);
  for (const Specimen& s : specimens)
    if (saveSpecimen(collection, s).status != FormStatus::kSaved) return false;
  return true;
}

}  // namespace kalvor
