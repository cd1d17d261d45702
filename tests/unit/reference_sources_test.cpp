#include "determination/reference_sources.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace kalvor {
namespace {

// Slot s holds the single mineral s.
class SlotIdentityIndex : public IndexSlotSource {
 public:
  OptionalNumberList readIndexSlot(int slot) const override {
    if (slot < 0 || slot >= kIndexSlotCount) return std::nullopt;
    return NumberList{{static_cast<MineralNumber>(slot)}};
  }
};

TEST(ReferenceSources, ColourSlotsAgreeWithTheColourTable) {
  ColourTable table;
  const int choices = table.buildColourGroups();
  const ColourTableSlots slots(table);
  const SlotIdentityIndex index;
  for (int g = 1; g < choices; g += 7) {
    for (bool exact : {true, false}) {
      OptionalNumberList viaSlots;
      for (int s : slots.matchingColourSlots(g, kStreakSlots, exact)) {
        viaSlots = uniteNumberLists(std::move(viaSlots), index.readIndexSlot(s));
      }
      const OptionalNumberList direct = table.colourSlots(
          static_cast<ColourGroup>(g), kStreakSlots, exact,
          [&](int s) { return index.readIndexSlot(s); });
      EXPECT_EQ(viaSlots, direct) << "choice " << g << (exact ? " exact" : "");
    }
  }
  EXPECT_TRUE(slots.matchingColourSlots(0, kColourSlots, true).empty());
  EXPECT_TRUE(slots.matchingColourSlots(5000, kColourSlots, true).empty());
}

TEST(ReferenceSources, FactsAndIndexFile) {
  testing::ScratchDir dir;
  MineralFileWriter writer;
  for (const char* name : {"Zirkon", "Apatit", "Quarz"}) {
    MineralRecord r;
    r.setFlags(kMineralImaRecognised);
    r.setName(name);
    r.setStrunz({9, 'A', 2, 0, 60});
    writer.add(r);
  }
  ASSERT_TRUE(writer.writeTo(dir.path()));
  auto db = MineralDatabase::open(dir.path());
  ASSERT_TRUE(db);
  const MineralNameList names = MineralNameList::build({{false, "Zirkon"}, {false, "Apatit"}, {false, "Quarz"}});
  const ReferenceMineralFacts facts(*db, names);
  EXPECT_EQ(facts.lapisNumberOf(0), (StrunzNumber{9, 'A', 2, 0, 60}));
  const auto apatit = facts.nameListEntryOf(1);
  ASSERT_TRUE(apatit);
  EXPECT_EQ(apatit->name, "Apatit");
  EXPECT_EQ(apatit->id, 2);
  EXPECT_EQ(apatit->ordinal, 0u);
  EXPECT_EQ(facts.nameListEntryOf(0)->ordinal, 2u);
  EXPECT_FALSE(facts.nameListEntryOf(3));

  // Missing: built and written; a stale stamp: rebuilt; a fitting file: kept.
  const std::string path = dir.file("kalvor.si");
  const SearchIndex built = openOrBuildSearchIndex(dir.path(), *db, [](int) { return 0; });
  EXPECT_EQ(built.readIndexSlot(kImaRecognisedSlot), (NumberList{{0, 1, 2}}));
  Bytes onDisk = testing::readFile(path);
  ASSERT_GE(onDisk.size(), kIndexListsOffset);
  EXPECT_EQ(loadU16(onDisk.data()), 3 + 945);
  storeU16(onDisk.data(), 4 + 945);
  ASSERT_TRUE(testing::writeFile(path, onDisk));
  openOrBuildSearchIndex(dir.path(), *db, [](int) { return 0; });
  EXPECT_EQ(loadU16(testing::readFile(path).data()), 3 + 945);
  // A fitting file is used as it is, even when its lists differ from the database.
  Bytes marked = testing::readFile(path);
  const std::uint32_t imaList = loadU32(marked.data() + 2 + 4 * kImaRecognisedSlot);
  storeU16(marked.data() + imaList + 2, 1);  // first number 0 -> 1 (still ascending 1,1,2)
  ASSERT_TRUE(testing::writeFile(path, marked));
  const SearchIndex kept = openOrBuildSearchIndex(dir.path(), *db, [](int) { return 0; });
  EXPECT_EQ(kept.readIndexSlot(kImaRecognisedSlot)->numbers.front(), 1);
}

}  // namespace
}  // namespace kalvor
