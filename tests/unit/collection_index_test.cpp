// The value index as the collection keeps it: saves and a rebuild give the
// same sets, damage is reported by the check and mended by the rebuild.
#include <gtest/gtest.h>

#include <cstdio>

#include "collection/index_check.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;
namespace idx = index_field;

struct Snapshot {
  std::vector<Numbers> sets;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(CollectionFixture& f) {
  Snapshot s;
  for (std::uint16_t field : {idx::kLocalityMineral, idx::kSpecimenMineral})
    for (std::uint32_t m = 0; m < 6; ++m) s.sets.push_back(f.members(m, field));
  for (std::uint16_t field : {idx::kLocalityAll, idx::kSpecimenAll, idx::kSpecimenCollection,
                              idx::kSpecimenExchange, idx::kSpecimenBought, idx::kSpecimenFound,
                              idx::kSpecimenSwapped})
    s.sets.push_back(f.members(0, field));
  for (std::uint32_t loc = 1; loc <= 3; ++loc) s.sets.push_back(f.members(loc, idx::kSpecimenLocality));
  s.sets.push_back(f.textMembers("Schwarzwald", idx::kLocalityRegion));
  s.sets.push_back(f.textMembers("Deutschland", idx::kLocalityCountry));
  return s;
}

void buildSmallCollection(CollectionFixture& f) {
  Locality a;
  a.name = "Clara";
  a.region = "Schwarzwald";
  a.country = "Deutschland";
  a.minerals = {kFluorit};
  Locality b;
  b.name = "Erzberg";
  ASSERT_EQ(saveLocalityFromForm(f.c(), a), 1u);
  ASSERT_EQ(saveLocalityFromForm(f.c(), b), 2u);
  SpecimenFormFields s1;
  s1.mainMinerals = "Quarz";  // MineralNumber 0
  s1.localityItem = 2;
  s1.collectionPiece = false;
  s1.acquisition = Acquisition::kBought;
  SpecimenFormFields s2;
  s2.mainMinerals = "Calcit";
  s2.localityItem = 3;
  s2.acquisition = Acquisition::kSwapped;
  SpecimenFormFields s3;
  s3.mainMinerals = "Baryt";
  s3.localityItem = 2;
  for (const auto* fields : {&s1, &s2, &s3})
    ASSERT_EQ(collectAndSaveSpecimen(f.c(), *fields, 0).status, FormStatus::kSaved);
  ASSERT_TRUE(deleteSpecimen(f.c(), 3));
}

TEST(CollectionIndex, RebuildGivesTheSetsTheSavesGave) {
  CollectionFixture f;
  buildSmallCollection(f);
  EXPECT_TRUE(checkValueIndex(f.c()).empty());
  const Snapshot saved = snapshot(f);
  // MineralNumber 0 is indexed by the save ...
  EXPECT_EQ(f.members(kQuarz, idx::kSpecimenMineral), Numbers{1});
  ASSERT_TRUE(f.c().rebuildIndex(nullptr));
  // ... and by the rebuild.
  EXPECT_EQ(f.members(kQuarz, idx::kSpecimenMineral), Numbers{1});
  EXPECT_EQ(snapshot(f), saved);
  EXPECT_TRUE(checkValueIndex(f.c()).empty());

  // A missing kalvor.vi beside the records is rebuilt at the next start.
  f.c().close();
  ASSERT_EQ(std::remove(f.dir().file("kalvor.vi").c_str()), 0);
  EXPECT_EQ(f.reopen(), Collection::OpenResult::kRebuilt);
  EXPECT_EQ(snapshot(f), saved);
}

TEST(CollectionIndex, CheckReportsDamageAndRebuildMendsIt) {
  CollectionFixture f;
  buildSmallCollection(f);
  ValueIndex& index = f.c().valueIndex();
  ASSERT_TRUE(index.removeIndexKey(IndexValue::ofNumber(kQuarz), idx::kSpecimenMineral, 1));
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(0), idx::kSpecimenCollection, 1));
  // Locality 1 forgets its specimen behind the index's back.
  auto a = readLocality(f.c(), 1);
  a->specimens.clear();
  ASSERT_TRUE(writeLocality(f.c(), 1, *a));

  const std::vector<IndexDifference> found = checkValueIndex(f.c());
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].field, idx::kSpecimenMineral);
  EXPECT_EQ(found[0].number, kQuarz);
  EXPECT_EQ(found[0].missing, Numbers{1});
  EXPECT_EQ(found[1].field, idx::kSpecimenCollection);
  EXPECT_EQ(found[1].extra, Numbers{1});
  EXPECT_EQ(found[2].field, idx::kSpecimenLocality);
  EXPECT_EQ(found[2].number, 1u);
  EXPECT_EQ(found[2].missing, Numbers{1});

  ASSERT_TRUE(f.c().rebuildIndex(nullptr));
  EXPECT_TRUE(checkValueIndex(f.c()).empty());
  // The rebuild put the specimen back on its locality, with its mineral
  // marked; Baryt of the deleted specimen 3 stays known there, unmarked.
  a = readLocality(f.c(), 1);
  EXPECT_EQ(a->specimens, Numbers{1});
  EXPECT_EQ(a->minerals, (std::vector<std::uint16_t>{kFluorit, 0x8000 | kQuarz, kBaryt}));
}

TEST(CollectionIndex, CheckGroupsRegionsAsTheIndexDoes) {
  CollectionFixture f;
  // Equal under the collation, but filed under different first bytes: the
  // index keeps three values, and so must the check.
  for (const char* region : {"Harz", "H\xE1rz", "harz", "Harz"}) {
    Locality loc;
    loc.name = "Grube";
    loc.region = region;
    ASSERT_TRUE(saveLocalityFromForm(f.c(), loc));
  }
  EXPECT_EQ(f.textMembers("Harz", idx::kLocalityRegion), (Numbers{1, 4}));
  EXPECT_EQ(f.textMembers("harz", idx::kLocalityRegion), (Numbers{3}));
  EXPECT_TRUE(checkValueIndex(f.c()).empty());
  ASSERT_TRUE(f.c().rebuildIndex(nullptr));
  EXPECT_TRUE(checkValueIndex(f.c()).empty());
  // A real difference is still seen, in the right group.
  ASSERT_TRUE(f.c().valueIndex().removeIndexKey(IndexValue::ofText("harz"), idx::kLocalityRegion, 3));
  const std::vector<IndexDifference> d = checkValueIndex(f.c());
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].text, "harz");
  EXPECT_EQ(d[0].missing, (Numbers{3}));
  EXPECT_TRUE(d[0].extra.empty());
}

}  // namespace
}  // namespace kalvor
