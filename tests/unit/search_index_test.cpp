#include "determination/search_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "determination/elements.h"
#include "test_files.h"

namespace kalvor {
namespace {

constexpr std::uint16_t density(int whole, int hundredths) {
  return static_cast<std::uint16_t>(whole * 256 + hundredths);
}

IndexedMineral fullMineral() {
  IndexedMineral m;
  m.flags = 0x01;
  return m;
}

// Builds an index over the given entries; colour numbers map to group = number / 10.
SearchIndex buildFrom(const std::vector<IndexedMineral>& entries) {
  auto reader = [&](MineralNumber n) {
    if (n >= entries.size()) {
      IndexedMineral end;
      end.flags = 0x80;
      return end;
    }
    return entries[n];
  };
  return SearchIndex(buildSearchIndex(reader, [](int c) { return c / 10; }));
}

// The slots (among `from` .. `to`) whose list holds mineral n.
std::vector<int> slotsOf(const SearchIndex& index, MineralNumber n, int from, int to) {
  std::vector<int> out;
  for (int s = from; s <= to; ++s) {
    auto list = index.readIndexSlot(s);
    if (list && list->contains(n)) out.push_back(s);
  }
  return out;
}

std::vector<int> range(int from, int to) {
  std::vector<int> out;
  for (int s = from; s <= to; ++s) out.push_back(s);
  return out;
}

TEST(SearchIndexFile, LayoutAndStamp) {
  IndexedMineral a = fullMineral();  // everything unknown
  IndexedMineral alias;
  alias.flags = 0x40;  // not a full mineral
  const std::vector<IndexedMineral> entries = {alias, a, alias};
  auto reader = [&](MineralNumber n) {
    IndexedMineral end;
    end.flags = 0x80;
    return n < entries.size() ? entries[n] : end;
  };
  const Bytes bytes = buildSearchIndex(reader, [](int) { return 0; });
  ASSERT_GE(bytes.size(), kIndexListsOffset);
  EXPECT_EQ(loadU16(bytes.data()), 3 + 945);
  EXPECT_EQ(loadU16(bytes.data() + 3782), 0);
  // Slot 0 (density unknown) holds mineral 1: its list is at 3784, 4 bytes long.
  EXPECT_EQ(loadU32(bytes.data() + 2), 3784u);
  EXPECT_EQ(loadU16(bytes.data() + 3784), 1);
  EXPECT_EQ(loadU16(bytes.data() + 3786), 1);
  EXPECT_EQ(loadU32(bytes.data() + 6), 3788u);  // slot 1: empty, still has its count
  EXPECT_EQ(loadU16(bytes.data() + 3788), 0);
  EXPECT_EQ(loadU32(bytes.data() + 10), 3790u);
  // The file ends with the last slot's list.
  const std::uint32_t last = loadU32(bytes.data() + 2 + 4 * 944);
  EXPECT_EQ(bytes.size(), last + 2 + 2 * loadU16(bytes.data() + last));

  SearchIndex index(bytes);
  EXPECT_TRUE(index.fits(3));
  EXPECT_FALSE(index.fits(4));
  EXPECT_EQ(searchIndexStamp(65000), static_cast<std::uint16_t>(65000 + 945));
  // Aliases are in no slot at all.
  for (int s = 0; s < kIndexSlotCount; ++s) {
    auto list = index.readIndexSlot(s);
    if (list) {
      EXPECT_EQ(*list, NumberList{{1}}) << "slot " << s;
    }
  }
}

TEST(SearchIndexSlots, DensityAndHardness) {
  std::vector<IndexedMineral> e(8, fullMineral());
  e[0].densityMin = density(2, 65);  // 2.65 with maximum 0: class 10 only
  e[1].densityMin = density(2, 65);
  e[1].densityMax = density(3, 10);  // classes 10 - 12
  e[2].densityMax = density(3, 0);   // minimum 0: from slot 0 up to class 12
  e[3].densityMin = density(25, 0);  // capped to 84
  e[4].densityMin = density(5, 0);
  e[4].densityMax = density(4, 0);   // reversed: no density slot at all
  e[0].hardness = 0x060B;            // 3.0 - 5.5: slots 91 - 96
  e[1].hardness = 0x1919;            // 25 is taken as 20
  e[4].hardness = 0x0C08;            // reversed: no hardness slot
  e[5].hardness = 0x0E00;            // maximum 0 below the minimum: nothing
  const SearchIndex index = buildFrom(e);
  EXPECT_EQ(slotsOf(index, 0, 0, 84), (std::vector<int>{10}));
  EXPECT_EQ(slotsOf(index, 1, 0, 84), (std::vector<int>{10, 11, 12}));
  EXPECT_EQ(slotsOf(index, 2, 0, 84), range(0, 12));
  EXPECT_EQ(slotsOf(index, 3, 0, 84), (std::vector<int>{84}));
  EXPECT_TRUE(slotsOf(index, 4, 0, 84).empty());
  EXPECT_EQ(slotsOf(index, 6, 0, 84), (std::vector<int>{0}));  // unknown
  EXPECT_EQ(slotsOf(index, 0, 85, 105), range(91, 96));
  EXPECT_EQ(slotsOf(index, 1, 85, 105), (std::vector<int>{105}));
  EXPECT_TRUE(slotsOf(index, 4, 85, 105).empty());
  EXPECT_TRUE(slotsOf(index, 5, 85, 105).empty());
  EXPECT_EQ(slotsOf(index, 6, 85, 105), (std::vector<int>{85}));
  EXPECT_EQ(densityClassOf(density(2, 24)), 8);
  EXPECT_EQ(densityClassOf(density(2, 25)), 9);
  EXPECT_EQ(densityClassOf(density(21, 0)), 84);
}

TEST(SearchIndexSlots, BitSetsAndCrystalSystems) {
  std::vector<IndexedMineral> e(5, fullMineral());
  e[0].cleavage = 0x14;         // bits 2 and 4
  e[0].fracture = 0x0801;       // bits 0 and 11
  e[0].transparency = 0x01;
  e[0].lustre = 0x0804;         // bits 2 and 11
  e[0].crystalSystems = 0x0102; // tetragonal, doubtful
  e[1].crystalSystems = 0x0400; // pseudo-tetragonal only
  e[2].crystalSystems = 0x0201; // cubic
  e[3].lustre = 0x1000;         // a bit beyond the 12 lustres: neither "no data" nor a lustre
  const SearchIndex index = buildFrom(e);
  EXPECT_EQ(slotsOf(index, 0, 106, 111), (std::vector<int>{109, 111}));
  EXPECT_EQ(slotsOf(index, 0, 112, 124), (std::vector<int>{113, 124}));
  EXPECT_EQ(slotsOf(index, 0, 125, 130), (std::vector<int>{126}));
  EXPECT_EQ(slotsOf(index, 0, 142, 154), (std::vector<int>{145, 154}));
  EXPECT_EQ(slotsOf(index, 0, 131, 139), (std::vector<int>{131, 136}));
  EXPECT_EQ(slotsOf(index, 1, 131, 139), (std::vector<int>{136}));
  EXPECT_EQ(slotsOf(index, 2, 131, 139), (std::vector<int>{139}));
  EXPECT_TRUE(slotsOf(index, 3, 142, 154).empty());
  // Nothing recorded: the "no data" slot of each family.
  EXPECT_EQ(slotsOf(index, 4, 106, 154), (std::vector<int>{106, 112, 125, 131, 142}));
}

TEST(SearchIndexSlots, ColoursStatusAndSystematics) {
  std::vector<IndexedMineral> e(6, fullMineral());
  e[0].colours = {31, 35, 52};   // groups 3, 3, 5: group 3 once
  e[0].streaks = {12, 0, 40};    // stops at the first 0
  e[1].colours = {0, 31};        // first code 0: "no colour"
  e[2].colours = {0x1000 + 31};  // flags above the 12 colour bits are ignored
  e[0].flags = 0x01 | 0x08;
  e[1].flags = 0x02;
  e[2].flags = 0x10;             // full mineral without a status
  e[0].strunzClass = 9;
  e[0].strunzLetter = 'A';
  e[1].strunzClass = 10;         // no such class
  e[1].strunzLetter = 'a';       // lower case: not filed
  e[2].strunzLetter = 'Z';
  const SearchIndex index = buildFrom(e);
  EXPECT_EQ(slotsOf(index, 0, 405, 654), (std::vector<int>{408, 410}));
  EXPECT_EQ(index.readIndexSlot(408), (NumberList{{0, 2}}));
  EXPECT_EQ(slotsOf(index, 0, 155, 404), (std::vector<int>{156}));
  EXPECT_EQ(slotsOf(index, 1, 405, 654), (std::vector<int>{405}));
  EXPECT_EQ(slotsOf(index, 3, 155, 404), (std::vector<int>{155}));
  EXPECT_EQ(slotsOf(index, 0, 900, 902), (std::vector<int>{900, 902}));
  EXPECT_EQ(slotsOf(index, 1, 900, 902), (std::vector<int>{901}));
  EXPECT_TRUE(slotsOf(index, 2, 900, 902).empty());
  EXPECT_EQ(slotsOf(index, 0, 910, 944), (std::vector<int>{918, 919}));
  EXPECT_TRUE(slotsOf(index, 1, 910, 944).empty());
  EXPECT_EQ(slotsOf(index, 2, 910, 944), (std::vector<int>{944}));
}

TEST(SearchIndexSlots, FormulaExtractions) {
  std::vector<IndexedMineral> e(3, fullMineral());
  e[0].formula = "NaCl";
  e[1].formula = "Ca(P,As)O_4";
  e[2].formula = "CePO_4";
  const SearchIndex index = buildFrom(e);
  const int na = ElementTable::indexOf("Na"), cl = ElementTable::indexOf("Cl");
  const int c = ElementTable::indexOf("C");
  EXPECT_EQ(slotsOf(index, 0, 655, 760), (std::vector<int>{655 + cl, 655 + na}));
  const auto absent = slotsOf(index, 0, 761, 866);
  EXPECT_EQ(absent.size(), 106u - 34u - 2u);
  EXPECT_TRUE(std::count(absent.begin(), absent.end(), 761 + c));
  EXPECT_TRUE(std::count(absent.begin(), absent.end(), 866));  // no rare earths
  EXPECT_EQ(slotsOf(index, 0, 867, 896), range(883, 896));
  EXPECT_EQ(slotsOf(index, 1, 867, 880), (std::vector<int>{867, 873}));  // AsO4, PO4
  EXPECT_EQ(slotsOf(index, 2, 760, 760), (std::vector<int>{760}));
  EXPECT_TRUE(slotsOf(index, 2, 866, 866).empty());
  // Slots no rule fills stay empty.
  for (int s : {140, 141, 881, 882, 897, 898, 899, 903, 909}) {
    EXPECT_FALSE(index.readIndexSlot(s)) << s;
  }
}

TEST(SearchIndexFile, DamagedFilesYieldNoList) {
  std::vector<IndexedMineral> e(2, fullMineral());
  Bytes good = buildSearchIndex(
      [&](MineralNumber n) {
        IndexedMineral end;
        end.flags = 0x80;
        return n < e.size() ? e[n] : end;
      },
      [](int) { return 0; });
  EXPECT_FALSE(SearchIndex(good).readIndexSlot(-1));
  EXPECT_FALSE(SearchIndex(good).readIndexSlot(945));
  EXPECT_EQ(SearchIndex(good).readIndexSlot(0), (NumberList{{0, 1}}));

  EXPECT_TRUE(SearchIndex(good).slotHolds(0, 1));
  EXPECT_FALSE(SearchIndex(good).slotHolds(0, 2));
  EXPECT_FALSE(SearchIndex(good).slotHolds(945, 0));

  Bytes offsetPastEnd = good;
  storeU32(offsetPastEnd.data() + 2, 0xFFFFFFF0u);
  EXPECT_FALSE(SearchIndex(offsetPastEnd).readIndexSlot(0));
  Bytes countPastEnd = good;
  storeU16(countPastEnd.data() + 3784, 5000);
  EXPECT_FALSE(SearchIndex(countPastEnd).readIndexSlot(0));
  EXPECT_FALSE(SearchIndex(countPastEnd).slotHolds(0, 0));
  Bytes cut(good.begin(), good.begin() + 3785);  // slot 0's count only half there
  EXPECT_FALSE(SearchIndex(cut).readIndexSlot(0));
  EXPECT_FALSE(SearchIndex(cut).fits(2));
  Bytes tiny = {0x01};
  EXPECT_FALSE(SearchIndex(tiny).readIndexSlot(0));
  EXPECT_EQ(SearchIndex(tiny).stamp(), 0);
}

TEST(SearchIndexFile, OpenFromDisk) {
  testing::ScratchDir dir;
  EXPECT_FALSE(SearchIndex::open(dir.file("kalvor.si")));
  std::vector<IndexedMineral> e(1, fullMineral());
  const Bytes bytes = buildSearchIndex(
      [&](MineralNumber n) {
        IndexedMineral end;
        end.flags = 0x80;
        return n < e.size() ? e[n] : end;
      },
      [](int) { return 0; });
  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.si"), bytes));
  auto index = SearchIndex::open(dir.file("kalvor.si"));
  ASSERT_TRUE(index);
  EXPECT_TRUE(index->fits(1));
  EXPECT_EQ(index->readIndexSlot(900), (NumberList{{0}}));
}

}  // namespace
}  // namespace kalvor

namespace kalvor {
namespace {

// The index over "kalvor.mi"/"kalvor.db" as the record writer writes them.
TEST(SearchIndexFile, BuiltFromReferenceFiles) {
  testing::ScratchDir dir;
  MineralFileWriter writer;
  MineralRecord quartz;
  quartz.setFlags(kMineralImaRecognised);
  quartz.setName("Quarz");
  quartz.setFormula("SiO_2");
  quartz.setHardness(14, 14);
  quartz.setDensity({2, 65}, {0, 0});
  const std::uint16_t quartzColours[] = {33, 35};
  quartz.setColours(quartzColours);
  quartz.setCrystalSystems(0x8040);  // trigonal
  quartz.setLustre(0x0004);
  quartz.setStrunz({4, 'D', 1, 0, 0});
  MineralRecord alias;
  alias.setName("Bergkristall");
  alias.setAliasTarget("Quarz");
  MineralRecord galena;
  galena.setFlags(kMineralImaRecognised | kMineralDiscredited);
  galena.setName("Galenit");
  galena.setFormula("PbS");
  galena.setHardness(5, 6);
  galena.setDensity({7, 40}, {7, 60});
  galena.setCrystalSystems(0x0201);
  ASSERT_TRUE(writer.add(quartz));
  ASSERT_TRUE(writer.add(alias));
  ASSERT_TRUE(writer.add(galena));
  ASSERT_TRUE(writer.writeTo(dir.path()));
  auto db = MineralDatabase::open(dir.path());
  ASSERT_TRUE(db);

  const SearchIndex index(buildSearchIndex(*db, [](int c) { return c == 35 ? 2 : c / 10; }));
  EXPECT_TRUE(index.fits(3));
  EXPECT_EQ(index.readIndexSlot(85 + 14), NumberList{{0}});
  EXPECT_EQ(index.readIndexSlot(90), NumberList{{2}});
  EXPECT_EQ(index.readIndexSlot(10), NumberList{{0}});
  EXPECT_EQ(slotsOf(index, 2, 0, 84), (std::vector<int>{29, 30}));
  EXPECT_EQ(slotsOf(index, 0, 405, 654), (std::vector<int>{407, 408}));
  EXPECT_EQ(index.readIndexSlot(137), NumberList{{0}});
  EXPECT_EQ(index.readIndexSlot(139), NumberList{{2}});
  EXPECT_EQ(index.readIndexSlot(145), NumberList{{0}});
  EXPECT_EQ(index.readIndexSlot(913), NumberList{{0}});
  EXPECT_EQ(index.readIndexSlot(854 + 'D'), NumberList{{0}});
  EXPECT_EQ(index.readIndexSlot(900), (NumberList{{0, 2}}));
  EXPECT_EQ(index.readIndexSlot(902), NumberList{{2}});
  EXPECT_EQ(index.readIndexSlot(655 + ElementTable::indexOf("Pb")), NumberList{{2}});
  EXPECT_EQ(index.readIndexSlot(655 + ElementTable::indexOf("Si")), NumberList{{0}});
  // The alias (number 1) is in no slot.
  for (int s = 0; s < kIndexSlotCount; ++s) {
    auto list = index.readIndexSlot(s);
    EXPECT_FALSE(list && list->contains(1)) << s;
  }
}

}  // namespace
}  // namespace kalvor
