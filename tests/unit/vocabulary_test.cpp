#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "refdb/crystal_classes.h"
#include "refdb/vocabulary.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

TEST(Vocabulary, CleavageKeepsItsTrailingBlank) {
  EXPECT_EQ(formatCleavage(0x00), "");
  EXPECT_EQ(formatCleavage(0x01), "keine ");
  EXPECT_EQ(formatCleavage(0x06), "unvollkommen gut ");
  EXPECT_EQ(formatCleavage(0x0C), "gut vollkommen ");
  EXPECT_EQ(formatCleavage(0x17), "keine unvollkommen gut sehr vollkommen ");
  EXPECT_EQ(formatCleavage(0x10), "sehr vollkommen ");
  // Stored with "vollkommen" for the search; shown once, as the finer grade.
  EXPECT_EQ(formatCleavage(0x18), "sehr vollkommen ");
  EXPECT_EQ(formatCleavage(0x1F), "keine unvollkommen gut sehr vollkommen ");
  EXPECT_EQ(formatCleavage(0xE0), "");  // bits without a word
}

TEST(Vocabulary, FractureInOutputOrder) {
  EXPECT_EQ(formatFracture(0), "");
  EXPECT_EQ(formatFracture(0x0001), "eben");
  EXPECT_EQ(formatFracture(0x0003), "eben, uneben");
  EXPECT_EQ(formatFracture(0x0E00), cp("körnig, erdig, verformbar"));
  EXPECT_EQ(formatFracture(0x0210), cp("spröde, verformbar"));
  EXPECT_EQ(formatFracture(0x0C04), cp("muschlig, körnig, erdig"));
  EXPECT_EQ(formatFracture(0x0FFF), cp("eben, uneben, muschlig, hakig, spröde, splittrig, mild, "
                                       "fasrig, blättrig, körnig, erdig, verformbar"));
  EXPECT_EQ(formatFracture(0xF000), "");
}

TEST(Vocabulary, LustreInOutputOrder) {
  EXPECT_EQ(formatLustre(0), "");
  EXPECT_EQ(formatLustre(0x0801), "perl, halbmetall");
  EXPECT_EQ(formatLustre(0x0440), "metall, opal");
  EXPECT_EQ(formatLustre(0x0840), "halbmetall, metall");
  EXPECT_EQ(formatLustre(0x0024), "glas, diamant");
  EXPECT_EQ(formatLustre(0x0FFF), "perl, seiden, glas, fett, harz, diamant, halbmetall, metall, "
                                  "wachs, matt, samt, opal");
}

TEST(Vocabulary, CrystalSystemsWithPseudoAndDoubt) {
  EXPECT_EQ(formatCrystalSystems(0), "");
  EXPECT_EQ(formatCrystalSystems(0x0102), "tetragonal (?)");
  EXPECT_EQ(formatCrystalSystems(0x0404), "rhombisch, ps.tetragonal");
  EXPECT_EQ(formatCrystalSystems(0x0100), " (?)");
  EXPECT_EQ(formatCrystalSystems(0x0080), "amorph");
  EXPECT_EQ(formatCrystalSystems(0x0081), "kubisch, amorph");
  EXPECT_EQ(formatCrystalSystems(0x0060), "hexagonal, trigonal");
  // Pseudo-systems come after the systems and before "amorph".
  EXPECT_EQ(formatCrystalSystems(0x8288), "monoklin, ps.kubisch, ps.trigonal, amorph");
  EXPECT_EQ(formatCrystalSystems(0x0200), "ps.kubisch");
  EXPECT_EQ(formatCrystalSystems(0x4110), "triklin, ps.hexagonal (?)");
}

TEST(Vocabulary, ColourListCutsNamesAtTheirHyphen) {
  const std::map<std::uint16_t, std::string> table = {
      {1, "grauschwarz-metallisch"}, {2, "blau"}, {3, cp("blau-grün")}, {4, "rot"}};
  std::vector<std::uint16_t> asked;
  const ColourNameLookup lookup = [&](std::uint16_t row) {
    asked.push_back(row);
    const auto it = table.find(row);
    return it == table.end() ? std::string() : it->second;
  };
  auto fmt = [&](std::vector<std::int16_t> codes, std::size_t max) {
    return formatColourList(codes, max, lookup);
  };
  EXPECT_EQ(fmt({1, 2}, 20), "grauschwarz, blau");
  EXPECT_EQ(fmt({0, 2}, 20), "");
  EXPECT_EQ(fmt({3, 4}, 20), "blau, rot");
  EXPECT_EQ(fmt({2, 0, 4}, 20), "blau");     // stops at the first 0
  EXPECT_EQ(fmt({2, 4, 1, 3}, 2), "blau, rot");  // streak colours: at most the given count
  EXPECT_EQ(fmt({2, 400, 4}, 20), "blau, , rot");  // a row beyond the table has no name
  EXPECT_EQ(fmt({}, 20), "");
  // Only the low 12 bits name the colour.
  asked.clear();
  EXPECT_EQ(fmt({0x1002, static_cast<std::int16_t>(0x8004)}, 20), "blau, rot");
  EXPECT_EQ(asked, (std::vector<std::uint16_t>{2, 4}));
  // A code whose row bits are 0 is not the end of the list but has no name.
  asked.clear();
  EXPECT_EQ(fmt({0x1000, 2}, 20), ", blau");
  EXPECT_EQ(asked, (std::vector<std::uint16_t>{2}));
}

TEST(CrystalClasses, ListsShowFullSymbolsJoinedWithOder) {
  EXPECT_EQ(formatCrystalClasses(0), "");
  EXPECT_EQ(formatCrystalClasses((1u << 14) | (1u << 18)), "2/m2/m2/m oder 222");
  EXPECT_EQ(formatCrystalClasses((1u << 2) | (1u << 11) | (1u << 19)), "3, 3m oder 32");
  EXPECT_EQ(formatCrystalClasses(1u << 31), "4/m\\32/m");
  EXPECT_EQ(formatCrystalClasses(1u << 25), "\\42m");  // no full symbol
  EXPECT_EQ(formatCrystalClasses((1u << 0) | (1u << 22)), "1 oder \\1");
  EXPECT_EQ(formatCrystalClasses(0xF8000000), "23, 2/m\\3, 432, \\43m oder 4/m\\32/m");
  EXPECT_EQ(crystalClassSymbol(15), "\\6m2");
  EXPECT_EQ(crystalClassSymbol(32), "");
}

TEST(CrystalClasses, SystemsGroupTheClassesCrystallographically) {
  // The short symbols of each system's classes, by crystallography.
  const std::map<std::uint16_t, std::vector<std::string>> expected = {
      {10066, {"23", "m3", "43", "\\43m", "m3m"}},
      {10067, {"4", "4/m", "4mm", "4/mmm", "422", "\\4", "\\42m"}},
      {10068, {"mm", "mmm", "222"}},
      {10069, {"2", "2/m", "m"}},
      {10070, {"1", "\\1"}},
      {10071, {"6", "\\6", "6/m", "6mm", "\\62m", "6/mmm", "622"}},
      {10072, {"3", "3m", "32", "\\3", "\\3m"}},
  };
  std::uint32_t all = 0;
  for (const auto& s : kCrystalDataSystems) {
    EXPECT_EQ(all & s.classMask, 0u) << s.stringId;  // masks do not overlap
    all |= s.classMask;
    std::vector<std::string> symbols;
    for (unsigned bit = 0; bit < 32; ++bit)
      if (s.classMask >> bit & 1u) symbols.push_back(kCrystalClasses[bit].shortSymbol);
    std::sort(symbols.begin(), symbols.end());
    auto want = expected.at(s.stringId);
    std::sort(want.begin(), want.end());
    EXPECT_EQ(symbols, want) << s.stringId;
  }
  EXPECT_EQ(all, 0xFFFFFFFFu);
  EXPECT_EQ(kCrystalDataSystems[5].classMask | kCrystalDataSystems[6].classMask, kHexagonalCellClasses);
}

TEST(CrystalClasses, LatticeKindFromTheFirstSharingSystem) {
  EXPECT_EQ(latticeKindOf(0), LatticeKind::kNone);
  EXPECT_EQ(latticeKindOf(1u << 31), LatticeKind::kA);
  EXPECT_EQ(latticeKindOf(1u << 16), LatticeKind::kAC);
  EXPECT_EQ(latticeKindOf(1u << 14), LatticeKind::kABC);
  EXPECT_EQ(latticeKindOf(1u << 5), LatticeKind::kABCBeta);
  EXPECT_EQ(latticeKindOf(1u << 22), LatticeKind::kABCAngles);
  EXPECT_EQ(latticeKindOf(1u << 21), LatticeKind::kAC);  // hexagonal
  EXPECT_EQ(latticeKindOf(1u << 26), LatticeKind::kAC);  // trigonal
  // Classes of two systems: the earlier row (cubic before triclinic) wins.
  EXPECT_EQ(latticeKindOf((1u << 0) | (1u << 27)), LatticeKind::kA);
  EXPECT_EQ(crystalDataSystemOf((1u << 9) | (1u << 18))->stringId, 10068);  // rhombisch before monoklin
  EXPECT_FALSE(crystalDataSystemOf(0).has_value());
}

}  // namespace
}  // namespace kalvor
