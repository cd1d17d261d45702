#include "views/list_model.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/unit/test_files.h"

namespace kalvor::views {
namespace {

using kalvor::testing::cp;

// Entry k gets id k + 1; the list sorts them by the German collation.
MineralNameList sampleNames() {
  std::vector<NameSource> entries;
  for (const char* name : {"Quenstedtit", "Azurit", "Malachit", "Quarz", "Abelsonit", "Quenselit",
                           "Calcit", "Aegirin", "\xC4schynit", "Afghanit", "Rhodonit"}) {
    entries.push_back({false, name});
  }
  return MineralNameList::build(std::move(entries));
}

std::string selectedName(const ListModel& m) { return m.nodeAt(m.selection()).name; }

TEST(ListModel, WatchedTextTakesTheLastNameAndAsksForCompletionOnATrailingBlank) {
  EXPECT_EQ(parseWatchedText("qu").text, "qu");
  EXPECT_FALSE(parseWatchedText("qu").complete);
  // "Malachit, Az" leaves the first name alone.
  EXPECT_EQ(parseWatchedText("Malachit, Az").text, "Az");
  EXPECT_EQ(parseWatchedText("Malachit,   Az").text, "Az");
  const WatchedText quarz = parseWatchedText("quarz ");
  EXPECT_EQ(quarz.text, "quarz");
  EXPECT_TRUE(quarz.complete);
  // A single blank (fewer than 2 characters) is not a completion request.
  EXPECT_FALSE(parseWatchedText("q").complete);
  EXPECT_TRUE(parseWatchedText("q ").complete);
  EXPECT_FALSE(parseWatchedText("Quarz, ").complete);
  EXPECT_EQ(parseWatchedText("Quarz, ").text, "");
  // Cut to 39 characters; a blank beyond them does not count.
  const std::string longText(45, 'a');
  EXPECT_EQ(parseWatchedText(longText + " ").text, std::string(39, 'a'));
  EXPECT_FALSE(parseWatchedText(longText + " ").complete);
}

TEST(ListModel, TypeAheadSelectsTheFirstNameThatDoesNotSortBeforeTheText) {
  const MineralNameList names = sampleNames();
  ListModel m = ListModel::allNames(names, 0);
  ASSERT_EQ(m.count(), 11);
  EXPECT_EQ(selectedName(m), "Abelsonit");

  EXPECT_TRUE(m.searchName("qu"));
  EXPECT_EQ(selectedName(m), "Quarz");
  EXPECT_TRUE(m.searchName("que"));
  EXPECT_EQ(selectedName(m), "Quenselit");
  // Umlauts sort as their two-letter spelling: "äs" finds Äschynit after Aegirin.
  EXPECT_TRUE(m.searchName(cp("äs")));
  EXPECT_EQ(selectedName(m), cp("Äschynit"));
  EXPECT_TRUE(m.searchName("ae"));
  EXPECT_EQ(selectedName(m), "Aegirin");
  // "Malachit, Az" searches Az.
  EXPECT_TRUE(m.searchName(parseWatchedText("Malachit, Az").text));
  EXPECT_EQ(selectedName(m), "Azurit");
  // A text that sorts after every name moves nothing.
  EXPECT_FALSE(m.searchName("zzz"));
  EXPECT_EQ(selectedName(m), "Azurit");
  // "b" has no names: its bucket starts at C.
  EXPECT_TRUE(m.searchName("b"));
  EXPECT_EQ(selectedName(m), "Calcit");
  // The id of the selection is the entry's MineralNumber + 1 (Calcit is entry 6).
  EXPECT_EQ(m.selectedMineralId(), 7u);
  EXPECT_EQ(m.selectedRecord(), 0);
}

TEST(ListModel, TypeAheadDoesNotMoveWhenTheSelectedNameEqualsTheText) {
  // "Rose" and "Rosé" collate equal and keep their entry order; the search
  // would find the first of them, so staying on the second shows the rule.
  MineralNameList names = MineralNameList::build(
      std::vector<NameSource>{{false, "Rose"}, {false, cp("Rosé")}, {false, "Quarz"}});
  ListModel m = ListModel::allNames(names, 2);
  ASSERT_EQ(selectedName(m), cp("Rosé"));
  EXPECT_FALSE(m.searchName(cp("Rosé")));
  EXPECT_EQ(m.selection(), 2);
  EXPECT_TRUE(m.searchName("ros"));
  EXPECT_EQ(selectedName(m), "Rose");
}

TEST(ListModel, CompletionGivesTheFullNameOrTheSharedPrefixOrBeeps) {
  const MineralNameList names = sampleNames();
  ListModel m = ListModel::allNames(names, 0);
  const WatchedText typed = parseWatchedText("quarz ");
  ASSERT_TRUE(typed.complete);
  EXPECT_EQ(m.complete(typed.text), "Quarz");
  EXPECT_EQ(selectedName(m), "Quarz");
  // Quenselit and Quenstedtit share "Quens".
  EXPECT_EQ(m.complete("que"), "Quens");
  EXPECT_EQ(selectedName(m), "Quenselit");
  // Every A name begins differently after the "a": nothing to extend.
  EXPECT_EQ(m.complete("a"), "a");
  EXPECT_EQ(m.complete("quenst"), "Quenstedtit");
  EXPECT_EQ(selectedName(m), "Quenstedtit");
  // Nothing begins with "xy": beep, selection unchanged.
  EXPECT_EQ(m.complete("xy"), std::nullopt);
  EXPECT_EQ(selectedName(m), "Quenstedtit");
}

TEST(ListModel, KeysMoveBySteppingAndPagesAndBeepAtTheEnds) {
  const MineralNameList names = sampleNames();
  ListModel m = ListModel::allNames(names, 0);
  m.setVisibleRows(4);
  EXPECT_EQ(m.lastTop(), 7);
  EXPECT_FALSE(m.lineUp());
  EXPECT_FALSE(m.pageUp());
  EXPECT_EQ(m.selection(), 0);
  EXPECT_TRUE(m.lineDown());
  EXPECT_TRUE(m.lineDown());
  EXPECT_TRUE(m.lineDown());
  EXPECT_EQ(m.topRow(), 0);
  // Passing the last visible row scrolls by one row.
  EXPECT_TRUE(m.lineDown());
  EXPECT_EQ(m.selection(), 4);
  EXPECT_EQ(m.topRow(), 1);
  EXPECT_TRUE(m.pageDown());
  EXPECT_EQ(m.selection(), 8);
  EXPECT_EQ(m.topRow(), 5);
  EXPECT_TRUE(m.pageDown());  // clamped to the last row
  EXPECT_EQ(m.selection(), 10);
  EXPECT_EQ(m.topRow(), 7);
  EXPECT_FALSE(m.pageDown());
  EXPECT_FALSE(m.lineDown());
  EXPECT_EQ(m.selection(), 10);
  EXPECT_TRUE(m.pageUp());
  EXPECT_EQ(m.selection(), 6);
  EXPECT_EQ(m.topRow(), 6);
  m.home();
  EXPECT_EQ(m.selection(), 0);
  EXPECT_EQ(m.topRow(), 0);
  m.end();
  EXPECT_EQ(m.selection(), 10);
  // The scroll bar moves the top row only, clamped.
  m.scrollTo(-3);
  EXPECT_EQ(m.topRow(), 0);
  m.scrollTo(99);
  EXPECT_EQ(m.topRow(), 7);
  EXPECT_EQ(m.selection(), 10);
  EXPECT_FALSE(m.allVisible());
  m.setVisibleRows(20);
  EXPECT_TRUE(m.allVisible());
  EXPECT_EQ(m.topRow(), 0);
}

TEST(ListModel, ResultListSelectsTheLastNodeBeforeTheWantedOneAndHasNoBuckets) {
  const MineralNameList names = sampleNames();
  // Ordinals: 0 Abelsonit, 1 Aegirin, 2 Äschynit, 3 Afghanit, 4 Azurit, 5 Calcit,
  // 6 Malachit, 7 Quarz, 8 Quenselit, 9 Quenstedtit, 10 Rhodonit.
  ASSERT_EQ(names.node(7).name, "Quarz");
  ListModel m = ListModel::someNames(names, {1, 5, 8, 10}, 7);
  EXPECT_EQ(m.count(), 4);
  EXPECT_EQ(selectedName(m), "Calcit");
  EXPECT_TRUE(m.searchName("q"));
  EXPECT_EQ(selectedName(m), "Quenselit");
  EXPECT_EQ(m.selectedOrdinal(), 8u);
  EXPECT_TRUE(m.lineDown());
  EXPECT_EQ(selectedName(m), "Rhodonit");
  EXPECT_EQ(m.rowOf(5), 1);
  EXPECT_EQ(m.rowOf(6), std::nullopt);
  EXPECT_EQ(ListModel::someNames(names, {5, 8}, 2).selection(), 0);
}

TEST(ListModel, RecordSetsAreWalkedInTheSortOrderOrInNumberOrder) {
  RecordSet set;
  for (std::uint32_t r : {2u, 5u, 7u, 9u}) set.add(r);
  const std::vector<std::uint32_t> order = {9, 1, 2, 3, 7, 4, 5, 6, 8};
  ListModel sorted = ListModel::recordSet(set, order, 7);
  ASSERT_EQ(sorted.count(), 4);
  EXPECT_EQ(sorted.selectedRecord(), 7);
  EXPECT_EQ(sorted.selection(), 2);
  EXPECT_TRUE(sorted.lineDown());
  EXPECT_EQ(sorted.selectedRecord(), 5);
  EXPECT_FALSE(sorted.lineDown());
  sorted.home();
  EXPECT_EQ(sorted.selectedRecord(), 9);
  EXPECT_EQ(sorted.selectedMineralId(), 0u);

  ListModel plain = ListModel::recordSet(set, {}, 4);  // 4 is not listed: row 0
  EXPECT_EQ(plain.selectedRecord(), 2);
  EXPECT_TRUE(plain.lineDown());
  EXPECT_EQ(plain.selectedRecord(), 5);

  ListModel numbered = ListModel::range(1, 12, 12);
  EXPECT_EQ(numbered.count(), 12);
  EXPECT_EQ(numbered.selection(), 11);
  EXPECT_FALSE(numbered.lineDown());
  EXPECT_TRUE(numbered.lineUp());
  EXPECT_EQ(numbered.selectedRecord(), 11);
  EXPECT_EQ(ListModel::recordSet(RecordSet{}, {}, 0).count(), 0);
}

TEST(ListModel, DisplayOrderIsTheSameFromEitherFormOfASortOrder) {
  SortOrder order;
  order.count = 5;
  order.form = kOrderList;
  order.entries = {4, 1, 5, 3, 2};
  EXPECT_EQ(displayOrderOf(order), order.entries);
  ASSERT_TRUE(switchOrderForm(order, kOrderPositions));
  // Record 1 stands at position 1, record 4 at position 0, ...
  ASSERT_EQ(order.entries, (std::vector<std::uint32_t>{1, 4, 3, 0, 2}));
  EXPECT_EQ(displayOrderOf(order), (std::vector<std::uint32_t>{4, 1, 5, 3, 2}));
  RecordSet set;
  for (std::uint32_t r : {1u, 3u, 4u}) set.add(r);
  ListModel m = ListModel::recordSet(set, displayOrderOf(order), 0);
  EXPECT_EQ(m.itemAt(0), 4);
  EXPECT_EQ(m.itemAt(1), 1);
  EXPECT_EQ(m.itemAt(2), 3);
}

TEST(ListModel, LetterSearchInRangeModeUsesTheFoldedFirstCharacters) {
  // Glossary-like terms in alphabetical order by record number.
  const std::map<std::int32_t, int> first = {{1, 'A'}, {2, 0xC4 /* Ä */}, {3, 'B'}, {4, 'c'},
                                             {5, 'D'}, {6, 'f'}, {7, 'G'}};
  const auto firstChar = [&](std::int32_t r) { return first.at(r); };
  ListModel m = ListModel::range(1, 7, 7);
  EXPECT_TRUE(m.searchLetter('d', firstChar));
  EXPECT_EQ(m.selectedRecord(), 5);
  EXPECT_TRUE(m.searchLetter('b', firstChar));
  EXPECT_EQ(m.selectedRecord(), 3);
  EXPECT_TRUE(m.searchLetter('e', firstChar));  // no E: the next letter
  EXPECT_EQ(m.selectedRecord(), 6);
  EXPECT_TRUE(m.searchLetter('a', firstChar));
  EXPECT_EQ(m.selectedRecord(), 1);
  EXPECT_FALSE(m.searchLetter('z', [](std::int32_t) { return -1; }));
  EXPECT_EQ(m.selectedRecord(), 1);
}

}  // namespace
}  // namespace kalvor::views
