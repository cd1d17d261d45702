#include "collection/index_check.h"

#include <algorithm>
#include <map>
#include <set>

#include "collection/collection.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"

namespace kalvor {
namespace {

namespace idx = index_field;

using Members = std::set<std::uint32_t>;

// The texts of one field grouped exactly as the index groups them
// (sameIndexText), each group under the first text seen.
class TextGroups {
 public:
  explicit TextGroups(const ValueIndex& index) : index_(index) {}
  Members& operator[](const std::string& text) {
    const std::size_t i = find(text);
    if (i < groups_.size()) return groups_[i].second;
    groups_.push_back({text, Members{}});
    return groups_.back().second;
  }
  // The group `text` belongs to; nothing when there is none.
  const Members* members(const std::string& text) const {
    const std::size_t i = find(text);
    return i < groups_.size() ? &groups_[i].second : nullptr;
  }
  const std::vector<std::pair<std::string, Members>>& groups() const { return groups_; }

 private:
  std::size_t find(const std::string& text) const {
    for (std::size_t i = 0; i < groups_.size(); ++i)
      if (index_.sameText(groups_[i].first, text)) return i;
    return groups_.size();
  }
  const ValueIndex& index_;
  std::vector<std::pair<std::string, Members>> groups_;
};

struct Expected {
  explicit Expected(const ValueIndex& index)
      : texts{{idx::kLocalityCountry, TextGroups(index)}, {idx::kLocalityRegion, TextGroups(index)}} {}
  std::map<std::pair<std::uint16_t, std::uint32_t>, Members> numbers;
  std::map<std::uint16_t, TextGroups> texts;
};

Expected expectedKeys(Collection& c) {
  Expected e(c.valueIndex());
  for (std::uint32_t n = 1; n <= c.localityCount(); ++n) {
    const std::optional<Locality> loc = readLocality(c, n, false);
    if (!loc || loc->deleted()) continue;
    e.numbers[{idx::kLocalityAll, 0}].insert(n);
    const std::string country = loc->country.substr(0, 39);
    const std::string region = loc->region.substr(0, 39);
    if (!country.empty()) e.texts.at(idx::kLocalityCountry)[country].insert(n);
    if (!region.empty()) e.texts.at(idx::kLocalityRegion)[region].insert(n);
    for (std::uint16_t m : loc->minerals)
      e.numbers[{idx::kLocalityMineral, m & locality_format::kMineralMask}].insert(n);
  }
  for (std::uint32_t n = 1; n <= c.specimenCount(); ++n) {
    const std::optional<Specimen> s = readSpecimen(c, n);
    if (!s || s->deleted()) continue;
    e.numbers[{idx::kSpecimenAll, 0}].insert(n);
    const bool collection = (s->flags & specimen_format::kFlagCollection) != 0;
    e.numbers[{collection ? idx::kSpecimenCollection : idx::kSpecimenExchange, 0}].insert(n);
    if (s->flags & specimen_format::kFlagBought) e.numbers[{idx::kSpecimenBought, 0}].insert(n);
    if (s->flags & specimen_format::kFlagFound) e.numbers[{idx::kSpecimenFound, 0}].insert(n);
    if (s->flags & specimen_format::kFlagSwapped) e.numbers[{idx::kSpecimenSwapped, 0}].insert(n);
    for (std::uint16_t id : s->minerals)
      if (id >= 1 && id - 1u < c.mineralCount())
        e.numbers[{idx::kSpecimenMineral, id - 1u}].insert(n);
    if (s->localityValue > 1) e.numbers[{idx::kSpecimenLocality, s->localityNumber()}].insert(n);
  }
  return e;
}

void compareSets(const Members& expected, const std::optional<RecordSet>& actual,
                 IndexDifference& d) {
  const std::vector<std::uint32_t> have = actual ? actual->members() : std::vector<std::uint32_t>{};
  const Members got(have.begin(), have.end());
  std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(),
                      std::back_inserter(d.missing));
  std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(),
                      std::back_inserter(d.extra));
}

constexpr std::uint16_t kNumberFields[] = {
    idx::kLocalityMineral,    idx::kLocalityAll,     idx::kSpecimenMineral, idx::kSpecimenCollection,
    idx::kSpecimenExchange,   idx::kSpecimenBought,  idx::kSpecimenFound,   idx::kSpecimenSwapped,
    idx::kSpecimenLocality,   idx::kSpecimenAll};
constexpr std::uint16_t kTextFields[] = {idx::kLocalityCountry, idx::kLocalityRegion};

}  // namespace

std::vector<IndexDifference> checkValueIndex(Collection& c) {
  std::vector<IndexDifference> out;
  Expected e = expectedKeys(c);
  ValueIndex& index = c.valueIndex();

  // Every value that the index or the records know, field by field.
  for (std::uint16_t field : kNumberFields) {
    std::set<std::uint32_t> values;
    for (const auto& [key, members] : e.numbers)
      if (key.first == field) values.insert(key.second);
    for (const IndexEntry& entry : index.entriesOfField(field)) values.insert(entry.numberValue());
    for (std::uint32_t v : values) {
      IndexDifference d;
      d.field = field;
      d.number = v;
      const auto it = e.numbers.find({field, v});
      compareSets(it != e.numbers.end() ? it->second : Members{},
                  index.getRecordSet(IndexValue::ofNumber(v), field), d);
      if (!d.missing.empty() || !d.extra.empty()) out.push_back(std::move(d));
    }
  }
  for (std::uint16_t field : kTextFields) {
    const TextGroups& expected = e.texts.at(field);
    // Every value once: the records' groups, then index entries outside them.
    TextGroups values(index);
    for (const auto& [text, members] : expected.groups()) values[text];
    for (const IndexEntry& entry : index.entriesOfField(field)) values[entry.text()];
    for (const auto& [text, unused] : values.groups()) {
      IndexDifference d;
      d.field = field;
      d.text = text;
      d.isText = true;
      if (text.empty()) {
        // An entry with an empty text would answer every search of its field:
        // all its members are wrong.
        for (const IndexEntry& entry : index.entriesOfField(field))
          if (entry.text().empty() && entry.memberCount != 0) d.extraCount += entry.memberCount;
        if (d.extraCount != 0) out.push_back(std::move(d));
        continue;
      }
      const Members* members = expected.members(text);
      compareSets(members != nullptr ? *members : Members{},
                  index.getRecordSet(IndexValue::ofText(text), field), d);
      if (!d.missing.empty() || !d.extra.empty()) out.push_back(std::move(d));
    }
  }
  // The localities' own specimen lists against their sets.
  for (std::uint32_t n = 1; n <= c.localityCount(); ++n) {
    const std::optional<Locality> loc = readLocality(c, n, false);
    if (!loc || loc->deleted()) continue;
    const auto it = e.numbers.find({idx::kSpecimenLocality, n});
    const Members expected = it != e.numbers.end() ? it->second : Members{};
    const Members listed(loc->specimens.begin(), loc->specimens.end());
    if (listed == expected) continue;
    IndexDifference d;
    d.field = idx::kSpecimenLocality;
    d.number = n;
    std::set_difference(expected.begin(), expected.end(), listed.begin(), listed.end(),
                        std::back_inserter(d.missing));
    std::set_difference(listed.begin(), listed.end(), expected.begin(), expected.end(),
                        std::back_inserter(d.extra));
    out.push_back(std::move(d));
  }
  return out;
}

}  // namespace kalvor
