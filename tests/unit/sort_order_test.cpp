#include "collection/sort_order.h"

#include <gtest/gtest.h>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;

void addSpecimen(Collection& c, const char* index, const char* mineral) {
  SpecimenFormFields fields;
  fields.index = index;
  fields.mainMinerals = mineral;
  fields.localityItem = 0;
  ASSERT_EQ(collectAndSaveSpecimen(c, fields, 0).status, FormStatus::kSaved);
}

Numbers sortedIn(CollectionFixture& f, int mode) {
  f.settings().writeInt("Optionen", "Stufensortierung", mode);
  EXPECT_TRUE(f.c().resortSpecimens());
  return f.c().specimenOrder().entries;
}

TEST(SpecimenSort, AllFiveModes) {
  CollectionFixture f;
  // number: index text, first mineral
  addSpecimen(f.c(), "A12", "Quarz");   // 1
  addSpecimen(f.c(), "A9", "Calcit");   // 2
  addSpecimen(f.c(), "B1", "Baryt");    // 3
  addSpecimen(f.c(), "10", "Fluorit");  // 4
  addSpecimen(f.c(), "9", "Quarz");     // 5
  addSpecimen(f.c(), " 7x", "Calcit");  // 6

  // 0: entry order.
  EXPECT_EQ(sortedIn(f, 0), (Numbers{1, 2, 3, 4, 5, 6}));
  // 1: leading number (A12, A9, B1 have none: 0, in entry order), then 7, 9, 10.
  EXPECT_EQ(sortedIn(f, 1), (Numbers{1, 2, 3, 6, 5, 4}));
  // 2: bytes: " 7x" < "10" < "9" < "A12" < "A9" < "B1".
  EXPECT_EQ(sortedIn(f, 2), (Numbers{6, 4, 5, 1, 2, 3}));
  // 3: first mineral's name, then the number: Baryt; Calcit (0, 7); Fluorit; Quarz (0, 9).
  EXPECT_EQ(sortedIn(f, 3), (Numbers{3, 2, 6, 4, 1, 5}));
  // 4: text before the first digit, then the number from there:
  // "" 9, "" 10; " " 7; "A" 9, "A" 12; "B" 1.
  EXPECT_EQ(sortedIn(f, 4), (Numbers{5, 4, 6, 2, 1, 3}));

  // A new record equal to an existing one goes after it (mode 4: A9 after A9).
  addSpecimen(f.c(), "A9", "Baryt");  // 7
  EXPECT_EQ(f.c().specimenOrder().entries, (Numbers{5, 4, 6, 2, 7, 1, 3}));
  EXPECT_EQ(f.c().specimenOrder().count, 7u);
  // ... and the side file was rewritten with it.
  SortOrder loaded;
  ASSERT_TRUE(loadSortOrder(f.dir().file("kalvor.sts"), 7, loaded));
  EXPECT_EQ(loaded.entries, f.c().specimenOrder().entries);

  // Insertion at both ends in mode 2.
  sortedIn(f, 2);
  addSpecimen(f.c(), " 0", "Quarz");  // 8: first
  addSpecimen(f.c(), "Z", "Quarz");   // 9: last
  EXPECT_EQ(f.c().specimenOrder().entries, (Numbers{8, 6, 4, 5, 1, 2, 7, 3, 9}));

  // A missing or unknown mode sorts in entry order.
  f.settings().writeInt("Optionen", "Stufensortierung", 7);
  EXPECT_EQ(specimenSortMode(&f.settings()), SpecimenSortMode::kEntryOrder);
  EXPECT_EQ(specimenSortMode(nullptr), SpecimenSortMode::kEntryOrder);
}

TEST(SpecimenSort, LeadingNumber) {
  EXPECT_EQ(leadingNumber("  42abc"), 42);
  EXPECT_EQ(leadingNumber("-7"), -7);
  EXPECT_EQ(leadingNumber("+8"), 8);
  EXPECT_EQ(leadingNumber("A12"), 0);
  EXPECT_EQ(leadingNumber(""), 0);
  EXPECT_EQ(leadingNumber("99999999999"), 2147483647);
}

TEST(LocalitySort, CaseInsensitiveOnTheWholeText) {
  CollectionFixture f;
  auto add = [&](const std::string& name, const std::string& place) {
    Locality loc;
    loc.name = name;
    loc.nearestPlace = place;
    return saveLocalityFromForm(f.c(), loc);
  };
  add("grube b", "");                                  // 1
  add("Grube A", "");                                  // 2
  add("Halde", "");                                    // 3
  add("Steinbruch am Hohen Berg Nord", "Ypsilon");     // 4: differs after 30 characters
  add("Steinbruch am Hohen Berg Nord", "Xanten");      // 5
  add("Aue", "");                                      // 6
  // Inserted one by one, and sorted anew: the same order.
  const Numbers expected{6, 2, 1, 3, 5, 4};
  EXPECT_EQ(f.c().localityOrder().entries, expected);
  ASSERT_TRUE(f.c().resortLocalities());
  EXPECT_EQ(f.c().localityOrder().entries, expected);
  SortOrder loaded;
  ASSERT_TRUE(loadSortOrder(f.dir().file("kalvor.fss"), 6, loaded));
  EXPECT_EQ(loaded.entries, expected);

  // A renamed locality moves to its new place, in memory and in the file.
  auto aue = readLocality(f.c(), 6);
  aue->name = "Zeche";
  ASSERT_TRUE(saveLocalityFromForm(f.c(), *aue));
  EXPECT_EQ(f.c().localityOrder().entries, (Numbers{2, 1, 3, 5, 4, 6}));
  ASSERT_TRUE(loadSortOrder(f.dir().file("kalvor.fss"), 6, loaded));
  EXPECT_EQ(loaded.entries, (Numbers{2, 1, 3, 5, 4, 6}));
}

TEST(SpecimenSort, ChangedIndexMovesTheSpecimen) {
  CollectionFixture f;
  f.settings().writeInt("Optionen", "Stufensortierung", 2);
  addSpecimen(f.c(), "B", "Quarz");  // 1
  addSpecimen(f.c(), "C", "Quarz");  // 2
  addSpecimen(f.c(), "D", "Quarz");  // 3
  EXPECT_EQ(f.c().specimenOrder().entries, (Numbers{1, 2, 3}));
  SpecimenFormFields fields = fieldsOfSpecimen(f.c(), *readSpecimen(f.c(), 3));
  fields.index = "A";
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 3).status, FormStatus::kSaved);
  EXPECT_EQ(f.c().specimenOrder().entries, (Numbers{3, 1, 2}));
  EXPECT_EQ(f.c().specimenOrder().count, 3u);
  // Unchanged keys keep their place.
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 3).status, FormStatus::kSaved);
  EXPECT_EQ(f.c().specimenOrder().entries, (Numbers{3, 1, 2}));
}

TEST(SortOrderFile, GoldenBytesRoundTripAndRejection) {
  SortOrder order;
  order.count = 3;
  order.form = kOrderList;
  order.entries = {2, 3, 1};
  const Bytes expected{3, 0, 1, 0, 0, 0, 2, 0, 3, 0, 1, 0};
  EXPECT_EQ(encodeSortOrder(order), expected);

  ScratchDir dir;
  const std::string path = dir.file("kalvor.sts");
  ASSERT_TRUE(saveSortOrder(path, order));
  EXPECT_EQ(readFile(path), expected);
  SortOrder loaded;
  ASSERT_TRUE(loadSortOrder(path, 3, loaded));
  EXPECT_EQ(loaded.entries, order.entries);
  EXPECT_EQ(loaded.form, kOrderList);
  // Another count, a truncated file, a repeated entry: rejected, order untouched.
  SortOrder untouched;
  EXPECT_FALSE(loadSortOrder(path, 4, untouched));
  ASSERT_TRUE(writeFile(path, Bytes(expected.begin(), expected.end() - 1)));
  EXPECT_FALSE(loadSortOrder(path, 3, untouched));
  ASSERT_TRUE(writeFile(path, Bytes{3, 0, 1, 0, 0, 0, 2, 0, 2, 0, 1, 0}));
  EXPECT_FALSE(loadSortOrder(path, 3, untouched));
  EXPECT_FALSE(loadSortOrder(dir.file("fehlt.sts"), 3, untouched));
  EXPECT_TRUE(untouched.entries.empty());

  // Form 2: the position of each record; converting back is the same list.
  ASSERT_TRUE(switchOrderForm(order, kOrderPositions));
  EXPECT_EQ(order.entries, (Numbers{2, 0, 1}));
  ASSERT_TRUE(saveSortOrder(path, order));
  ASSERT_TRUE(loadSortOrder(path, 3, loaded));
  EXPECT_EQ(loaded.form, kOrderPositions);
  EXPECT_EQ(loaded.entries, (Numbers{2, 0, 1}));
  ASSERT_TRUE(switchOrderForm(loaded, kOrderList));
  EXPECT_EQ(loaded.entries, (Numbers{2, 3, 1}));
  EXPECT_FALSE(switchOrderForm(loaded, 3));

  // An order beyond what the file holds stays in memory; no stale file remains.
  SortOrder big;
  big.count = 70000;
  big.entries.resize(70000);
  for (std::uint32_t i = 0; i < 70000; ++i) big.entries[i] = i + 1;
  EXPECT_FALSE(encodeSortOrder(big));
  EXPECT_TRUE(saveSortOrder(path, big));
  EXPECT_TRUE(readFile(path).empty());
}

TEST(SortOrderFile, StaleSideFileIsSortedAnewAtOpen) {
  CollectionFixture f;
  addSpecimen(f.c(), "3", "Quarz");
  addSpecimen(f.c(), "1", "Quarz");
  addSpecimen(f.c(), "2", "Quarz");
  f.settings().writeInt("Optionen", "Stufensortierung", 1);
  // A side file from another count is ignored at the next start and rewritten.
  ASSERT_TRUE(writeFile(f.dir().file("kalvor.sts"), Bytes{2, 0, 1, 0, 0, 0, 1, 0, 2, 0}));
  f.reopen();
  EXPECT_EQ(f.c().specimenOrder().entries, (Numbers{2, 3, 1}));
  EXPECT_EQ(readFile(f.dir().file("kalvor.sts")),
            (Bytes{3, 0, 1, 0, 0, 0, 2, 0, 3, 0, 1, 0}));
  // An accepted file is taken as it is (no sort at start).
  ASSERT_TRUE(writeFile(f.dir().file("kalvor.sts"), Bytes{3, 0, 1, 0, 0, 0, 3, 0, 2, 0, 1, 0}));
  f.reopen();
  EXPECT_EQ(f.c().specimenOrder().entries, (Numbers{3, 2, 1}));
}

}  // namespace
}  // namespace kalvor
