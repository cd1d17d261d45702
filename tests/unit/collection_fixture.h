// A small collection in a scratch folder with a six-name mineral list, for
// the locality, specimen and sort-order tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "collection/collection.h"
#include "platform/settings.h"
#include "refdb/names.h"
#include "tests/unit/test_files.h"

namespace kalvor::testing {

// MineralNumbers of the test list (ids are one more).
inline constexpr std::uint16_t kQuarz = 0;
inline constexpr std::uint16_t kCalcit = 1;
inline constexpr std::uint16_t kFluorit = 2;
inline constexpr std::uint16_t kBaryt = 3;
inline constexpr std::uint16_t kBergkristall = 4;  // an alias
inline constexpr std::uint16_t kAeschynit = 5;     // "Äschynit"

inline MineralNameList testNameList() {
  return MineralNameList::build({{false, "Quarz"},
                                 {false, "Calcit"},
                                 {false, "Fluorit"},
                                 {false, "Baryt"},
                                 {true, "Bergkristall"},
                                 {false, cp("Äschynit")}});
}

class CollectionFixture {
 public:
  CollectionFixture()
      : names_(testNameList()), settings_(openIniSettings(dir_.file("kalvor.ini"))) {
    reopen();
  }

  // Closes and opens the collection again from its files.
  Collection::OpenResult reopen() {
    collection_.reset();
    collection_ = std::make_unique<Collection>(names_, 6, settings_.get());
    return collection_->open(dir_.path());
  }

  Collection& c() { return *collection_; }
  Settings& settings() { return *settings_; }
  const ScratchDir& dir() const { return dir_; }

  // Members of the value-index set (value, field); empty when there is no entry.
  std::vector<std::uint32_t> members(std::uint32_t value, std::uint16_t field) {
    auto set = collection_->valueIndex().getRecordSet(IndexValue::ofNumber(value), field);
    return set ? set->members() : std::vector<std::uint32_t>{};
  }
  std::vector<std::uint32_t> textMembers(const std::string& text, std::uint16_t field) {
    auto set = collection_->valueIndex().getRecordSet(IndexValue::ofText(text), field);
    return set ? set->members() : std::vector<std::uint32_t>{};
  }

 private:
  ScratchDir dir_;
  MineralNameList names_;
  std::unique_ptr<Settings> settings_;
  std::unique_ptr<Collection> collection_;
};

using Numbers = std::vector<std::uint32_t>;

}  // namespace kalvor::testing
