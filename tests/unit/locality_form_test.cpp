#include "collection/locality_form.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;
namespace fc = field_controls;

Locality named(const std::string& name, const std::string& region = "") {
  Locality loc;
  loc.name = name;
  loc.region = region;
  return loc;
}

// Runs `body` while no file may grow beyond its current size (a full disk).
template <typename F>
void onFullDisk(std::uint64_t size, F body) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit limit = old;
  limit.rlim_cur = size;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  body();
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
}

TEST(LocalityForm, RegionAndCountryBoxesSelectOnlyTheStoredText) {
  const std::vector<std::string> regions = {"", "Harz", "Schwarzwald", "Schwarzwald-Baar"};
  ComboChoice c = comboChoiceFor(regions, "Schwarzwald");
  EXPECT_EQ(c.selected, 2u);
  EXPECT_EQ(c.editText, "Schwarzwald");
  // A prefix of another entry, or missing from the list: no entry is chosen
  // and the edit part keeps the stored text, so OK stores it unchanged.
  c = comboChoiceFor(regions, "Schwarz");
  EXPECT_FALSE(c.selected);
  EXPECT_EQ(c.editText, "Schwarz");
  c = comboChoiceFor({"", "Harz"}, "Eifel");
  EXPECT_FALSE(c.selected);
  EXPECT_EQ(c.editText, "Eifel");
  c = comboChoiceFor(regions, "harz");  // the record's text exactly, case included
  EXPECT_FALSE(c.selected);
  EXPECT_EQ(comboChoiceFor(regions, "").selected, 0u);
}

TEST(LocalityForm, ReplacementListLeavesOutTheLocalityBeingDeleted) {
  CollectionFixture f;
  ASSERT_TRUE(saveLocalityForm(f.c(), named("Clara")).saved());
  ASSERT_TRUE(saveLocalityForm(f.c(), named("Anna")).saved());
  ASSERT_TRUE(saveLocalityForm(f.c(), named("Berta")).saved());
  std::vector<std::uint32_t> items;
  for (const LocalityChoice& c : replacementChoices(f.c(), 3)) items.push_back(c.itemData);
  EXPECT_EQ(items, (std::vector<std::uint32_t>{0, 2, 1}));  // "unbekannt", Anna, Clara
  items.clear();
  for (const LocalityChoice& c : replacementChoices(f.c(), 1)) items.push_back(c.itemData);
  EXPECT_EQ(items, (std::vector<std::uint32_t>{0, 2, 3}));
  // Every entry offered is accepted by the delete.
  EXPECT_EQ(deleteLocalityFromForm(f.c(), 1, false, 2), CollectionMessage::kNone);
  EXPECT_TRUE(readLocality(f.c(), 1)->deleted());
  // A locality that is gone cannot be deleted again: that is reported.
  EXPECT_EQ(deleteLocalityFromForm(f.c(), 1, false, 0), CollectionMessage::kSaveFailed);
  EXPECT_EQ(collectionMessageText(collectionMessageCaption(CollectionMessage::kSaveFailed)),
            "Speicherungsproblem");
}

TEST(LocalityForm, FieldsThatCannotBeStoredAreRefusedAndNothingIsWritten) {
  CollectionFixture f;
  Locality loc = named(std::string(39, 'N'));
  loc.nearestPlace = std::string(39, 'O');
  loc.mapReference = std::string(39, 'K');
  loc.description = std::string(32766, 'b');
  LocalityFormOutcome out = saveLocalityForm(f.c(), loc);
  ASSERT_TRUE(out.saved());
  const std::optional<Locality> back = readLocality(f.c(), *out.number);
  EXPECT_EQ(back->name, loc.name);
  EXPECT_EQ(back->nearestPlace, loc.nearestPlace);
  EXPECT_EQ(back->description.size(), 32766u);

  const std::uint64_t size = f.c().localityStore()->fileSize();
  const auto refused = [&](const Locality& bad, int control) {
    const LocalityFormOutcome r = saveLocalityForm(f.c(), bad);
    EXPECT_FALSE(r.saved());
    EXPECT_EQ(r.failure.controlId, control);
    EXPECT_EQ(f.c().localityCount(), 1u);
    EXPECT_EQ(f.c().localityStore()->fileSize(), size);
  };
  refused(named(std::string(40, 'N')), fc::kLocalityName);
  Locality bad = named("Grube");
  bad.nearestPlace = std::string(40, 'O');
  refused(bad, fc::kLocalityNearestPlace);
  bad = named("Grube", "Schwarz\r\nwald");
  refused(bad, fc::kLocalityRegion);
  bad = named("Grube");
  bad.country = std::string(45, 'L');
  refused(bad, fc::kLocalityCountry);
  bad = named("Grube");
  bad.mapReference = "TK25\n7615";
  refused(bad, fc::kLocalityMapReference);
  bad = named("Grube");
  bad.description = std::string(32767, 'b');
  refused(bad, fc::kLocalityDescription);
}

TEST(LocalityForm, FailedWritesAndDeletesAreReportedNotSuccess) {
  CollectionFixture f;
  ASSERT_TRUE(saveLocalityForm(f.c(), named("Clara")).saved());
  ASSERT_TRUE(saveLocalityForm(f.c(), named("Anna")).saved());
  SpecimenFormFields fields;
  fields.mainMinerals = "Quarz";
  fields.localityItem = 2;  // locality 1
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).status, FormStatus::kSaved);

  Locality longer = named("Berta");
  longer.description = std::string(3000, 'x');  // needs new blocks at the end
  onFullDisk(f.c().localityStore()->fileSize(), [&] {
    const LocalityFormOutcome out = saveLocalityForm(f.c(), longer);
    EXPECT_FALSE(out.saved());
    EXPECT_EQ(out.failure.messageId, static_cast<int>(CollectionMessage::kSaveFailed));
    EXPECT_EQ(formFailureCaption(out.failure), "Speicherungsproblem");
  });
  // A changed locality that must move to new blocks: the old record stays.
  std::optional<Locality> clara = readLocality(f.c(), 1);
  clara->description = std::string(5000, 'c');
  onFullDisk(f.c().localityStore()->fileSize(),
             [&] { EXPECT_FALSE(saveLocalityForm(f.c(), *clara).saved()); });
  f.reopen();
  EXPECT_EQ(readLocality(f.c(), 1)->name, "Clara");
  EXPECT_EQ(readLocality(f.c(), 1)->specimens, (std::vector<std::uint32_t>{1}));

  // A specimen that cannot be read cannot be deleted: reported, not success.
  EXPECT_EQ(deleteSpecimenFromList(f.c(), 5), CollectionMessage::kSaveFailed);
  EXPECT_EQ(deleteSpecimenFromList(f.c(), 1), CollectionMessage::kNone);
  MineralNameList names = testNameList();
  Collection broken(names, 6, nullptr);
  EXPECT_EQ(broken.open(f.dir().file("fehlt/noch/tiefer")), Collection::OpenResult::kUnavailable);
  EXPECT_EQ(deleteSpecimenFromList(broken, 1), CollectionMessage::kSaveFailed);
  EXPECT_EQ(deleteLocalityFromForm(broken, 1, true, 0), CollectionMessage::kSaveFailed);
}

}  // namespace
}  // namespace kalvor
