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

TEST(ReferenceSources, FactsFromDatabaseAndNames) {
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
}

}  // namespace
}  // namespace kalvor
