#include "collection/mineral_specimen_form.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "collection/collection.h"
#include "collection/form_fields.h"
#include "collection/locality.h"
#include "collection/sort_order.h"
#include "platform/settings.h"
#include "platform/settings_keys.h"
#include "refdb/collation.h"
#include "refdb/names.h"

namespace kalvor {
namespace {

namespace sf = specimen_format;

constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// "%d" as sscanf reads it: the number at the start (after blanks), or nothing.
std::optional<long> scanInt(std::string_view text, std::size_t& pos) {
  const std::string rest(text.substr(std::min(pos, text.size())));
  const char* begin = rest.c_str();
  char* end = nullptr;
  const long v = std::strtol(begin, &end, 10);
  if (end == begin) return std::nullopt;
  pos += static_cast<std::size_t>(end - begin);
  return v;
}

std::string trimmed(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  return std::string(text.substr(b, e - b));
}

FormResult error(FormFailure failure) {
  FormResult r;
  r.status = FormStatus::kError;
  r.message = static_cast<CollectionMessage>(failure.messageId);
  r.failure = std::move(failure);
  return r;
}

FormResult error(CollectionMessage message, int controlId = 0) {
  return error(formFailure(message, controlId));
}

// The minerals of a mineral field; a name that matches no mineral is refused
// with its piece of the field marked, as it would otherwise vanish unnoticed.
std::optional<FormFailure> readMineralField(const MineralNameList& names, std::string_view text,
                                            int controlId, const char* fieldName,
                                            std::vector<std::uint16_t>& ids) {
  MineralListParse parse = parseMineralListChecked(names, text);
  if (parse.firstUnknown) {
    const auto [b, e] = *parse.firstUnknown;
    FormFailure f = formFailure(CollectionMessage::kUnknownMineral, controlId,
                                {fieldName, std::string(text.substr(b, e - b))});
    f.selectionBegin = b;
    f.selectionEnd = e;
    return f;
  }
  ids = std::move(parse.ids);
  return std::nullopt;
}

// An amount field: the value, or the failure naming the field.
std::optional<FormFailure> readAmountField(std::string_view text, int controlId, const char* fieldName,
                                           float& value) {
  const AmountParse amount = parseAmount(text);
  if (!amount.ok()) {
    FormFailure f = formFailure(amount.error, controlId, {fieldName, trimmed(text)});
    f.selectionEnd = text.size();
    return f;
  }
  value = amount.value;
  return std::nullopt;
}

}  // namespace

DateParse parseSpecimenDate(std::string_view text) {
  DateParse result;
  const std::string t = trimmed(text);
  if (t.empty()) return result;
  // One to three numbers separated by single points, nothing else: what
  // would be left over ("31.2.1999x", " 5 . 1999") is not a date.
  std::vector<long> parts;
  std::size_t pos = 0;
  while (true) {
    std::size_t digits = 0;
    long v = 0;
    while (pos < t.size() && t[pos] >= '0' && t[pos] <= '9') {
      if (digits < 9) v = v * 10 + (t[pos] - '0');
      ++digits;
      ++pos;
    }
    if (digits == 0 || digits > 9) return {0, CollectionMessage::kBadDate};
    parts.push_back(v);
    if (pos == t.size()) break;
    if (t[pos] != '.' || parts.size() == 3) return {0, CollectionMessage::kBadDate};
    ++pos;
  }
  const long year = parts.back();
  // The record keeps the year in the high 16 bits.
  if (year < 1 || year > 65535) return {0, CollectionMessage::kBadDate};
  long month = 0, day = 0;
  if (parts.size() >= 2) {
    month = parts[parts.size() - 2];
    if (month < 1 || month > 12) return {0, CollectionMessage::kBadMonth};
  }
  if (parts.size() == 3) {
    day = parts[0];
    if (month == 2 && day == 29) {
      if (!isLeapYear(static_cast<int>(year))) return {0, CollectionMessage::kNotLeapYear};
    } else if (day < 1 || day > kDaysInMonth[month - 1]) {
      return {0, CollectionMessage::kTooManyDays};
    }
  }
  result.date = static_cast<std::uint32_t>(year) * 65536u + static_cast<std::uint32_t>(month) * 256u +
                static_cast<std::uint32_t>(day);
  return result;
}

std::string formatSpecimenDate(std::uint32_t date) {
  if (date == 0) return {};
  const unsigned year = date >> 16;
  const unsigned month = (date >> 8) & 0xFF;
  const unsigned day = date & 0xFF;
  char buf[40];
  if (day != 0 && month != 0)
    std::snprintf(buf, sizeof buf, "%u.%u.%u", day, month, year);
  else if (month != 0)
    std::snprintf(buf, sizeof buf, "%u.%u", month, year);
  else
    std::snprintf(buf, sizeof buf, "%u", year);
  return buf;
}

std::uint16_t parseSpecimenCount(std::string_view text) {
  std::size_t pos = 0;
  const std::optional<long> v = scanInt(text, pos);
  if (!v || *v < 1 || *v > 9999) return 1;
  return static_cast<std::uint16_t>(*v);
}

std::string formatPrice(float value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%7.2f", static_cast<double>(value));
  return buf;
}

SpecimenFormFields fieldsOfSpecimen(const Collection& collection, const Specimen& specimen) {
  SpecimenFormFields f;
  f.collectionPiece = (specimen.flags & sf::kFlagCollection) != 0;
  f.acquisition = (specimen.flags & sf::kFlagBought) != 0  ? Acquisition::kBought
                  : (specimen.flags & sf::kFlagFound) != 0 ? Acquisition::kFound
                                                           : Acquisition::kSwapped;
  f.mainMinerals = specimenMineralNames(collection.names(), specimen, true, ",");
  f.accompanyingMinerals = specimenMineralNames(collection.names(), specimen, false, ",");
  f.index = specimen.index;
  f.storagePlace = specimen.storagePlace;
  f.size = specimen.size;
  f.count = std::to_string(specimen.count);
  f.date = formatSpecimenDate(specimen.date);
  f.value = formatPrice(specimen.value);
  if (f.acquisition == Acquisition::kBought) f.purchasePrice = formatPrice(specimen.purchasePrice);
  f.localityItem = specimen.localityValue;
  f.description = specimen.description;
  return f;
}

SpecimenFormFields newSpecimenFields(const Collection& collection) {
  SpecimenFormFields f;
  if (const Settings* settings = collection.settings()) {
    std::string index = ini::readText(*settings, ini::kLastCollectionIndex);
    // Whatever the file holds, the field takes no more than the record stores.
    if (index.size() > field_limits::kSpecimenIndex) index.resize(field_limits::kSpecimenIndex);
    f.index = index;
    const int locality = ini::readInt(*settings, ini::kLastLocality);
    f.localityItem = static_cast<std::uint16_t>(std::clamp(locality, 0, 0xFFFF));
  } else {
    f.localityItem = 0;
  }
  return f;
}

std::optional<std::size_t> localityChoiceForKey(const std::vector<LocalityChoice>& choices, char typed) {
  const char wanted = foldInitial(typed);
  for (std::size_t i = 0; i < choices.size(); ++i) {
    // Item data 0 and 1 are "unbekannt" and "neue Fundstelle", not localities.
    if (choices[i].itemData < 2 || choices[i].text.empty()) continue;
    if (foldInitial(choices[i].text.front()) == wanted) return i;
  }
  return std::nullopt;
}

FormResult collectSpecimen(Collection& collection, const SpecimenFormFields& fields, std::uint32_t existing) {
  FormResult result;
  Specimen& s = result.specimen;
  s.number = existing;
  // 1. Kind and acquisition.
  s.flags = fields.collectionPiece ? sf::kFlagCollection : sf::kFlagExchange;
  s.flags |= fields.acquisition == Acquisition::kBought  ? sf::kFlagBought
             : fields.acquisition == Acquisition::kFound ? sf::kFlagFound
                                                         : sf::kFlagSwapped;
  // 2. Minerals: main ones first, each once, at most 99 in all.
  std::vector<std::uint16_t> main;
  if (auto f = readMineralField(collection.names(), fields.mainMinerals,
                                field_controls::kSpecimenMainMinerals, "Minerale", main))
    return error(std::move(*f));
  if (main.empty()) return error(CollectionMessage::kNoMineral, field_controls::kSpecimenMainMinerals);
  std::vector<std::uint16_t> accompanying;
  if (auto f = readMineralField(collection.names(), fields.accompanyingMinerals,
                                field_controls::kSpecimenAccompanying, "Begleitminerale", accompanying))
    return error(std::move(*f));
  if (main.size() > sf::kMaxMinerals) main.resize(sf::kMaxMinerals);
  s.minerals = main;
  s.mainCount = static_cast<std::uint16_t>(main.size());
  for (std::uint16_t id : accompanying) {
    if (s.minerals.size() >= sf::kMaxMinerals) break;
    if (std::find(s.minerals.begin(), s.minerals.end(), id) == s.minerals.end()) s.minerals.push_back(id);
  }
  // 3. Date, texts and prices are checked before a new locality is asked
  // for: a locality entered for a specimen that is then refused would keep
  // the specimen's minerals marked as on one of its specimens.
  const DateParse date = parseSpecimenDate(fields.date);
  if (!date.ok()) return error(date.error, field_controls::kSpecimenDate);
  // Texts that the record cannot hold are refused, not cut.
  for (const auto& [control, text] : {std::pair{field_controls::kSpecimenIndex, &fields.index},
                                      std::pair{field_controls::kSpecimenStoragePlace, &fields.storagePlace},
                                      std::pair{field_controls::kSpecimenSize, &fields.size},
                                      std::pair{field_controls::kSpecimenDescription, &fields.description}}) {
    if (auto f = checkFieldText(control, *text)) return error(std::move(*f));
  }
  float purchasePrice = 0;
  if (fields.acquisition == Acquisition::kBought) {
    if (auto f = readAmountField(fields.purchasePrice, field_controls::kSpecimenPurchasePrice, "Kaufpreis",
                                 purchasePrice))
      return error(std::move(*f));
  }
  float value = 0;
  if (auto f = readAmountField(fields.value, field_controls::kSpecimenValue, "Wert", value))
    return error(std::move(*f));
  // 4. "neue Fundstelle": the caller runs the locality form, then collects again.
  const std::uint16_t localityValue = fields.localityItem.value_or(1);
  if (localityValue == 1 && fields.localityItem && !fields.newLocalityDeclined) {
    result.status = FormStatus::kNeedsNewLocality;
    result.message = CollectionMessage::kNoNewLocality;
    return result;
  }
  s.date = date.date;
  s.count = parseSpecimenCount(fields.count);
  s.localityValue = localityValue;
  // Only a changed value is written: each write rewrites the whole file.
  if (Settings* settings = collection.settings();
      settings != nullptr &&
      settings->getInt(ini::kLastLocality.section, ini::kLastLocality.key, -1) != localityValue)
    ini::writeInt(*settings, ini::kLastLocality, localityValue);
  // 5. Texts and prices.
  s.index = fields.index;
  s.storagePlace = fields.storagePlace;
  s.size = fields.size;
  s.purchasePrice = purchasePrice;
  s.value = value;
  s.description = fields.description;
  result.status = FormStatus::kCollected;
  return result;
}

FormResult saveSpecimen(Collection& collection, Specimen specimen) {
  const bool isNew = specimen.number == 0;
  IndexUpdate batch(collection);
  // 6. The record, then its place in the order and its keys.
  if (!writeSpecimen(collection, specimen.number, specimen)) {
    batch.finish(true);
    return error(CollectionMessage::kSaveFailed);
  }
  bool ok = true;
  if (!collection.unavailable()) {
    // A changed index text or first mineral moves the specimen in the order.
    SpecimenComparator comparator(collection);
    if (isNew)
      insertIntoOrder(collection.specimenOrder(), specimen.number, comparator);
    else
      repositionInOrder(collection.specimenOrder(), specimen.number, comparator);
    ok &= collection.saveSpecimenOrder();
    ok &= addSpecimenKeys(collection, specimen);
  }
  // 7. Its locality learns the minerals and the number.
  if (specimen.localityValue > 1) {
    std::optional<Locality> locality = readLocality(collection, specimen.localityNumber(), false);
    if (locality && !locality->deleted()) {
      for (std::uint16_t id : specimen.minerals)
        if (id != 0) addMineralToList(locality->minerals, static_cast<std::uint16_t>(id - 1), true);
      if (std::find(locality->specimens.begin(), locality->specimens.end(), specimen.number) ==
          locality->specimens.end())
        locality->specimens.push_back(specimen.number);
      ok &= writeLocality(collection, locality->number, *locality);
    }
  }
  if (isNew) {
    if (Settings* settings = collection.settings();
        settings != nullptr && settings->getString(ini::kLastCollectionIndex.section,
                                                   ini::kLastCollectionIndex.key, "\x01") != specimen.index)
      settings->writeString(ini::kLastCollectionIndex.section, ini::kLastCollectionIndex.key, specimen.index);
  }
  // The specimen is stored: what failed after it leaves the index marked,
  // and the rebuild puts keys and locality lists right.
  batch.finish(ok);
  FormResult result;
  result.specimen = std::move(specimen);
  result.status = FormStatus::kSaved;
  return result;
}

FormResult collectAndSaveSpecimen(Collection& collection, const SpecimenFormFields& fields,
                                  std::uint32_t existing) {
  FormResult collected = collectSpecimen(collection, fields, existing);
  if (collected.status != FormStatus::kCollected) return collected;
  return saveSpecimen(collection, std::move(collected.specimen));
}

}  // namespace kalvor
