#include "collection/locality.h"

#include <gtest/gtest.h>

#include <cstring>

#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "collection/store_format.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using testing::CollectionFixture;
using testing::Numbers;
using namespace testing;
namespace lf = locality_format;
namespace idx = index_field;

Locality makeLocality(const std::string& name, const std::string& region, const std::string& country,
                      std::vector<std::uint16_t> minerals) {
  Locality loc;
  loc.name = name;
  loc.region = region;
  loc.country = country;
  loc.minerals = std::move(minerals);
  return loc;
}

TEST(LocalityRecord, GoldenBytesInPayloadAndFile) {
  Locality loc;
  loc.number = 1;
  loc.name = "Grube Clara";
  loc.nearestPlace = "Oberwolfach";
  loc.region = "Schwarzwald";
  loc.country = "Deutschland";
  loc.description = "Gang";
  loc.minerals = {0x8002, 0x0001};
  loc.specimens = {7};

  // Worked out from the record layout: 210-byte fixed part, "Gang" + NUL,
  // two u16 mineral entries, one u32 specimen number.
  Bytes expected(210 + 5 + 4 + 4, 0);
  expected[0] = 1;
  std::memcpy(&expected[4], "Grube Clara", 11);
  std::memcpy(&expected[44], "Oberwolfach", 11);
  std::memcpy(&expected[84], "Schwarzwald", 11);
  std::memcpy(&expected[124], "Deutschland", 11);
  expected[204] = 5;  // text length with its zero
  expected[206] = 2;  // minerals
  expected[208] = 1;  // specimens
  std::memcpy(&expected[210], "Gang", 4);
  expected[215] = 0x02;
  expected[216] = 0x80;
  expected[217] = 0x01;
  expected[219] = 7;
  EXPECT_EQ(encodeLocality(loc), expected);
  // (4 + 2*2 + 4*1 + 478) / 256 = 1 unit.
  EXPECT_EQ(localityUnitsOf(loc), 1u);

  auto decoded = decodeLocality(expected, false);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, loc);
  auto header = decodeLocality(expected, true);
  ASSERT_TRUE(header);
  EXPECT_TRUE(header->minerals.empty());
  EXPECT_EQ(header->name, "Grube Clara");

  // A payload shorter than its counts claim is refused, a negative count too.
  EXPECT_FALSE(decodeLocality(std::span(expected).first(expected.size() - 1), false));
  Bytes negative = expected;
  negative[207] = 0xFF;
  EXPECT_FALSE(decodeLocality(negative, false));

  // In a fresh kalvor.fs the first record follows the 8200-byte header and the
  // first 1024-byte slot page: block header (owner 1, 1 unit) at 9224.
  CollectionFixture f;
  Locality written = loc;
  written.specimens.clear();
  written.minerals = {0x0001};
  ASSERT_TRUE(writeLocality(f.c(), 0, written));
  EXPECT_EQ(written.number, 1);
  f.c().close();
  const Bytes file = readFile(f.dir().file("kalvor.fs"));
  ASSERT_GE(file.size(), 9224u + 6 + 256);
  EXPECT_EQ(loadU32(&file[0]), 1u);
  EXPECT_EQ(loadU32(&file[8]), 8200u);
  EXPECT_EQ(loadU32(&file[8200 + 4]), 9224u);  // slot of record 1
  EXPECT_EQ(loadU32(&file[9224]), 1u);         // owner
  EXPECT_EQ(loadU16(&file[9228]), 1u);         // units
  Bytes payload(file.begin() + 9230, file.begin() + 9230 + 217);
  Bytes expectedWritten = encodeLocality(written);
  EXPECT_EQ(payload, expectedWritten);
  EXPECT_EQ(payload[204], 5);
  EXPECT_EQ(payload[206], 1);
  EXPECT_EQ(payload[208], 0);
}

TEST(LocalityRecord, TextsAndLines) {
  Locality loc = makeLocality("Clara", "Schwarzwald", "Deutschland", {});
  loc.nearestPlace = "";
  EXPECT_EQ(localityLine(loc), "Clara, Schwarzwald, Deutschland");
  EXPECT_EQ(localitySortText(loc), "ClaraSchwarzwaldDeutschland");
  loc.name = std::string(50, 'x');  // stored with 39 characters
  EXPECT_EQ(localityLine(loc), std::string(39, 'x') + ", Schwarzwald, Deutschland");
  auto back = decodeLocality(encodeLocality(loc), false);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->name, std::string(39, 'x'));
}

TEST(LocalityMinerals, AddMarkAndRecompute) {
  std::vector<std::uint16_t> list;
  EXPECT_EQ(addMineralToList(list, kQuarz, false), AddMineralResult::kAdded);
  EXPECT_EQ(addMineralToList(list, kQuarz, false), AddMineralResult::kAlreadyPresent);
  EXPECT_EQ(list, (std::vector<std::uint16_t>{kQuarz}));
  EXPECT_EQ(addMineralToList(list, kQuarz, true), AddMineralResult::kMarked);
  EXPECT_EQ(list, (std::vector<std::uint16_t>{0x8000 | kQuarz}));
  EXPECT_EQ(addMineralToList(list, kCalcit, true), AddMineralResult::kAdded);
  EXPECT_EQ(list[1], 0x8000 | kCalcit);
  // A locality entry has 13 bits: a larger number would name another mineral.
  EXPECT_EQ(addMineralToList(list, 0x2001, false), AddMineralResult::kNotRepresentable);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(checkMineralDeletable(list, 0), CollectionMessage::kMineralOnSpecimen);
  list.push_back(kFluorit);
  EXPECT_EQ(checkMineralDeletable(list, 2), CollectionMessage::kNone);

  CollectionFixture f;
  Locality loc = makeLocality("Clara", "", "", {kFluorit, 0x8000 | kQuarz});
  ASSERT_TRUE(writeLocality(f.c(), 0, loc));
  SpecimenFormFields fields;
  fields.mainMinerals = "Baryt";
  fields.localityItem = 2;  // locality 1
  auto saved = collectAndSaveSpecimen(f.c(), fields, 0);
  ASSERT_EQ(saved.status, FormStatus::kSaved);
  Specimen other;  // stands in for specimen 1 with other minerals
  other.number = 1;
  other.flags = 0x05;
  other.minerals = {kCalcit + 1};
  auto stored = readLocality(f.c(), 1);
  ASSERT_TRUE(stored);
  recomputeLocalityMinerals(f.c(), *stored, &other);
  // Hand entries stay without marks; only the given record's minerals come marked.
  EXPECT_EQ(stored->minerals, (std::vector<std::uint16_t>{kFluorit, kQuarz, kBaryt, 0x8000 | kCalcit}));
  recomputeLocalityMinerals(f.c(), *stored, nullptr);
  // Without a stand-in the stored specimen (Baryt) marks its mineral again.
  EXPECT_EQ(stored->minerals, (std::vector<std::uint16_t>{kFluorit, kQuarz, 0x8000 | kBaryt, kCalcit}));
}

TEST(LocalityLifecycle, AddChangeReplaceDeleteKeepTheIndexInStep) {
  CollectionFixture f;
  // 1. A new locality with two hand-entered minerals.
  auto a = saveLocalityFromForm(f.c(), makeLocality("Clara", "Schwarzwald", "Deutschland",
                                                    {kQuarz, kCalcit}));
  ASSERT_EQ(a, 1u);
  EXPECT_EQ(f.members(0, idx::kLocalityAll), Numbers{1});
  EXPECT_EQ(f.members(kQuarz, idx::kLocalityMineral), Numbers{1});
  EXPECT_EQ(f.members(kCalcit, idx::kLocalityMineral), Numbers{1});
  EXPECT_EQ(f.textMembers("Schwarzwald", idx::kLocalityRegion), Numbers{1});
  EXPECT_EQ(f.textMembers("Deutschland", idx::kLocalityCountry), Numbers{1});

  // 2. A locality without region must not join another region's set.
  auto b = saveLocalityFromForm(f.c(), makeLocality("Erzberg", "", cp("Österreich"), {}));
  ASSERT_EQ(b, 2u);
  EXPECT_EQ(f.textMembers("Schwarzwald", idx::kLocalityRegion), Numbers{1});
  EXPECT_EQ(f.c().valueIndex().entriesOfField(idx::kLocalityRegion).size(), 1u);
  EXPECT_EQ(f.members(0, idx::kLocalityAll), (Numbers{1, 2}));

  // 3. Change: region and minerals differ.
  auto locA = readLocality(f.c(), 1);
  ASSERT_TRUE(locA);
  locA->region = "Erzgebirge";
  locA->minerals = {kQuarz, kFluorit};
  ASSERT_TRUE(saveLocalityFromForm(f.c(), *locA));
  EXPECT_EQ(f.members(kCalcit, idx::kLocalityMineral), Numbers{});
  EXPECT_EQ(f.members(kFluorit, idx::kLocalityMineral), Numbers{1});
  EXPECT_EQ(f.members(kQuarz, idx::kLocalityMineral), Numbers{1});
  EXPECT_EQ(f.textMembers("Schwarzwald", idx::kLocalityRegion), Numbers{});
  EXPECT_EQ(f.textMembers("Erzgebirge", idx::kLocalityRegion), Numbers{1});
  EXPECT_EQ(f.textMembers("Deutschland", idx::kLocalityCountry), Numbers{1});

  // 4. A specimen from A brings Baryt to A's list, marked.
  SpecimenFormFields fields;
  fields.mainMinerals = "Baryt";
  fields.localityItem = 2;
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).status, FormStatus::kSaved);
  locA = readLocality(f.c(), 1);
  EXPECT_EQ(locA->minerals, (std::vector<std::uint16_t>{kQuarz, kFluorit, 0x8000 | kBaryt}));
  EXPECT_EQ(locA->specimens, Numbers{1});
  EXPECT_EQ(f.members(kBaryt, idx::kLocalityMineral), Numbers{1});
  EXPECT_EQ(f.members(1, idx::kSpecimenLocality), Numbers{1});

  // A longer description moves the record; the number stays.
  locA->description = std::string(600, 'd');
  ASSERT_TRUE(saveLocalityFromForm(f.c(), *locA));
  auto moved = readLocality(f.c(), 1);
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->number, 1);
  EXPECT_EQ(moved->description, std::string(600, 'd'));
  EXPECT_EQ(moved->specimens, Numbers{1});

  // 5. Replace A by B: the specimen moves with its minerals.
  ASSERT_TRUE(deleteLocality(f.c(), 1, false, 2));
  auto specimen = readSpecimen(f.c(), 1);
  ASSERT_TRUE(specimen);
  EXPECT_EQ(specimen->localityValue, 3);
  auto locB = readLocality(f.c(), 2);
  EXPECT_EQ(locB->specimens, Numbers{1});
  EXPECT_EQ(locB->minerals, (std::vector<std::uint16_t>{0x8000 | kBaryt}));
  locA = readLocality(f.c(), 1);
  ASSERT_TRUE(locA);
  EXPECT_TRUE(locA->deleted());
  EXPECT_TRUE(locA->minerals.empty());
  EXPECT_TRUE(locA->specimens.empty());
  EXPECT_EQ(f.members(1, idx::kSpecimenLocality), Numbers{});
  EXPECT_EQ(f.members(2, idx::kSpecimenLocality), Numbers{1});
  EXPECT_EQ(f.members(0, idx::kLocalityAll), Numbers{2});
  EXPECT_EQ(f.members(kQuarz, idx::kLocalityMineral), Numbers{});
  EXPECT_EQ(f.members(kBaryt, idx::kLocalityMineral), Numbers{2});
  EXPECT_EQ(f.textMembers("Erzgebirge", idx::kLocalityRegion), Numbers{});
  EXPECT_EQ(f.textMembers("Deutschland", idx::kLocalityCountry), Numbers{});
  // Deleting again, or onto a deleted or missing replacement, fails and changes nothing.
  EXPECT_FALSE(deleteLocality(f.c(), 1, false, 0));
  EXPECT_FALSE(deleteLocality(f.c(), 2, false, 1));
  EXPECT_FALSE(deleteLocality(f.c(), 2, false, 9));
  EXPECT_EQ(readSpecimen(f.c(), 1)->localityValue, 3);

  // The deleted number is not reused.
  EXPECT_EQ(saveLocalityFromForm(f.c(), makeLocality("Halde", "", "", {})), 3u);

  // 6. Delete B with its specimens.
  ASSERT_TRUE(deleteLocality(f.c(), 2, true, 0));
  EXPECT_TRUE(readSpecimen(f.c(), 1)->deleted());
  EXPECT_EQ(f.members(0, idx::kSpecimenAll), Numbers{});
  EXPECT_EQ(f.members(kBaryt, idx::kSpecimenMineral), Numbers{});
  EXPECT_EQ(f.members(kBaryt, idx::kLocalityMineral), Numbers{});
  EXPECT_EQ(f.members(2, idx::kSpecimenLocality), Numbers{});
  EXPECT_EQ(f.members(0, idx::kLocalityAll), Numbers{3});
  EXPECT_TRUE(readLocality(f.c(), 2)->deleted());
}

TEST(LocalityLifecycle, ReplacementUnknownLeavesSpecimensWithoutLocality) {
  CollectionFixture f;
  ASSERT_TRUE(saveLocalityFromForm(f.c(), makeLocality("Clara", "", "", {})));
  SpecimenFormFields fields;
  fields.mainMinerals = "Quarz";
  fields.localityItem = 2;
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).status, FormStatus::kSaved);
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).status, FormStatus::kSaved);
  EXPECT_EQ(f.members(1, idx::kSpecimenLocality), (Numbers{1, 2}));
  ASSERT_TRUE(deleteLocality(f.c(), 1, false, 0));
  EXPECT_EQ(readSpecimen(f.c(), 1)->localityValue, 1);
  EXPECT_EQ(readSpecimen(f.c(), 2)->localityValue, 1);
  EXPECT_EQ(f.members(1, idx::kSpecimenLocality), Numbers{});
  // The specimens themselves stay.
  EXPECT_EQ(f.members(0, idx::kSpecimenAll), (Numbers{1, 2}));
  EXPECT_EQ(f.members(kQuarz, idx::kSpecimenMineral), (Numbers{1, 2}));
}

}  // namespace
}  // namespace kalvor

namespace kalvor {
namespace {

using namespace testing;

TEST(LocalityChoices, ListsLiveLocalitiesInSortOrderAndAsksTheRightQuestion) {
  CollectionFixture f;
  for (const char* name : {"Halde", "Aue", "Grube"}) {
    Locality loc;
    loc.name = name;
    ASSERT_TRUE(saveLocalityFromForm(f.c(), loc));
  }
  ASSERT_TRUE(deleteLocality(f.c(), 3, false, 0));
  const auto plain = localityChoices(f.c(), false);
  ASSERT_EQ(plain.size(), 3u);
  EXPECT_EQ(plain[0].itemData, 0u);
  EXPECT_EQ(plain[0].text, "unbekannt");
  EXPECT_EQ(plain[1].itemData, 2u);
  EXPECT_EQ(plain[1].text, "Aue");
  EXPECT_EQ(plain[2].itemData, 1u);
  const auto entry = localityChoices(f.c(), true);
  ASSERT_EQ(entry.size(), 4u);
  EXPECT_EQ(entry[1].itemData, 1u);
  EXPECT_EQ(entry[1].text, "neue Fundstelle");
  EXPECT_EQ(entry[2].itemData, 3u);  // locality 2 + 1

  EXPECT_EQ(deleteLocalityQuestion(f.c(), 1, false, 2),
            "Wollen Sie den Fundort\n Halde\nwirklich durch den Fundort\n Aue\n ersetzen?");
  EXPECT_EQ(deleteLocalityQuestion(f.c(), 1, false, 0),
            "Wollen Sie den Fundort\n Halde\nwirklich durch den Fundort\n unbekannt\n ersetzen?");
  EXPECT_EQ(deleteLocalityQuestion(f.c(), 1, true, 0),
            cp("Wollen Sie den Fundort mit allen seinen Stufen wirklich löschen?"));
}

}  // namespace
}  // namespace kalvor
