#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "determination/colours.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

// ColourNumber of the first row with this Windows-1252 name.
std::uint16_t numberOfName(const std::string& name) {
  const auto rows = colourTableRows();
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (name == rows[k].name) return static_cast<std::uint16_t>(k + 1);
  }
  ADD_FAILURE() << "no colour " << name;
  return 0;
}

std::uint16_t numberOf(const char* utf8) { return numberOfName(cp(utf8)); }

class Colours : public ::testing::Test {
 protected:
  void SetUp() override { choices_ = table_.buildColourGroups(); }
  ColourGroup groupOf(const char* utf8) const { return table_.colourGroupOf(numberOf(utf8)); }
  std::set<ColourGroup> matching(const char* utf8, bool exact) const {
    const auto groups = table_.matchingColourGroups(groupOf(utf8), exact);
    return {groups.begin(), groups.end()};
  }
  bool matches(const char* selected, const char* row, bool exact) const {
    return matching(selected, exact).count(groupOf(row)) == 1;
  }
  ColourTable table_;
  int choices_ = 0;
};

TEST(ColourTableRows, TellingRowsHaveTheirNamesMasksAndListFlags) {
  struct Telling {
    int number;
    const char* name;
    std::uint16_t hue, intensity, shade;
    bool inList;
  };
  const Telling telling[] = {
      {1, "--", 0x000, 0x000, 0x000, false},          {2, "farblos", 0x000, 0x000, 0x000, true},
      {3, "apfelgrün", 0x004, 0x078, 0x038, true},    {33, "blau", 0x001, 0x1FE, 0x0FE, true},
      {35, "blau-metallisch", 0x001, 0x1FE, 0x0FE, false},
      {59, "braun", 0x218, 0x078, 0x070, true},       {90, "hellrot", 0x020, 0x180, 0x00E, true},
      {97, "jadegrün", 0x004, 0x078, 0x038, false},   {98, "kalkweiß", 0x1FF, 0x001, 0x001, false},
      {126, "dunkelrot", 0x020, 0x1C0, 0x0E0, true},  {138, "gelb", 0x008, 0x1FE, 0x03E, true},
      {157, "grün", 0x004, 0x1FE, 0x0FE, true},       {172, "grau", 0x100, 0x038, 0x038, true},
      {183, "grauschwarz", 0x100, 0x1E0, 0x1C0, true}, {221, "orangerot", 0x030, 0x1C0, 0x070, true},
      {243, "rötlichweiß", 0x020, 0x00F, 0x003, true}, {245, "rosa", 0x060, 0x01C, 0x01C, true},
      {256, "rot", 0x020, 0x1FE, 0x0FE, true},        {257, "rotbraun", 0x230, 0x070, 0x060, true},
      {258, "rotbraun", 0x230, 0x070, 0x060, false},  {270, "schwarz", 0x1FF, 0x1FF, 0x100, true},
      {303, "vielfarbig", 0x3FF, 0x1FF, 0x1FF, true}, {314, "weiß", 0x1FF, 0x001, 0x001, true},
      {346, "pink", 0x060, 0x030, 0x01C, true},       {427, "anthrazit", 0x100, 0x1E0, 0x1C0, true},
  };
  const auto rows = colourTableRows();
  ASSERT_EQ(rows.size(), 427u);
  for (const Telling& t : telling) {
    SCOPED_TRACE(t.name);
    const ColourEntry& row = rows[static_cast<std::size_t>(t.number - 1)];
    EXPECT_EQ(std::string(row.name), cp(t.name));
    EXPECT_EQ(row.hue, t.hue);
    EXPECT_EQ(row.intensity, t.intensity);
    EXPECT_EQ(row.shade, t.shade);
    EXPECT_EQ(row.inList, t.inList);
  }
  // Other fixed places in the row order, and the doubled names.
  EXPECT_EQ(std::string(rows[86].name), "dunkelblau");
  EXPECT_EQ(std::string(rows[87].name), "hellrosa");
  EXPECT_EQ(std::string(rows[280].name), "seiden-");
  EXPECT_EQ(std::string(rows[317].name), "white");
  EXPECT_EQ(std::string(rows[296].name), rows[297].name);  // tiefgrün twice
  EXPECT_EQ(std::string(rows[332].name), cp("leuchtendpink"));
  EXPECT_EQ(std::string(rows[374].name), cp("leuchtendpink"));
  EXPECT_EQ(std::string(rows[49].name), cp("bräunlichgrau-metallisch"));
  EXPECT_EQ(std::string(rows[62].name), cp("bräunlichgrau-metallisch"));
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const ColourEntry& e) { return e.inList; }), 218);
}

TEST(ColourTableRows, NamesAreLookedUpByTheLow12Bits) {
  EXPECT_EQ(colourNameOf(1), "--");
  EXPECT_EQ(colourNameOf(2), "farblos");
  EXPECT_EQ(colourNameOf(314), cp("weiß"));
  EXPECT_EQ(colourNameOf(0x1000 | 33), "blau");  // flags above the number are ignored
  EXPECT_EQ(colourNameOf(427), "anthrazit");
  EXPECT_EQ(colourNameOf(0), "");
  EXPECT_EQ(colourNameOf(428), "");
  EXPECT_EQ(colourNameOf(0xFFF), "");
  EXPECT_EQ(colourNameOf(0x3000), "");  // number 0 with flags
  // The text form serves as the name source of formatted colour lists.
  const std::function<std::string(std::uint16_t)> source = colourNameText;
  EXPECT_EQ(source(0x1000 | 314), cp("weiß"));
  EXPECT_EQ(source(500), "");
}

// Each hue a name names is among its hue bits, whitish names have the
// weakest intensity and lightest shade, blackish names the darkest shade:
// a guard against typing slips in the 427 hand-chosen rows.
TEST(ColourTableRows, MasksAgreeWithTheWordsOfEachName) {
  const std::pair<const char*, std::uint16_t> words[] = {
      {"grün", kHueGreen | kHueBlueGreen}, {"blau", kHueBlue | kHueBlueGreen}, {"gelb", kHueYellow},
      {"rot", kHueRed},        {"rosa", kHuePink},    {"pink", kHuePink},     {"violett", kHueViolet},
      {"lila", kHueViolet},    {"purpur", kHueViolet}, {"grau", kHueGrey},    {"braun", kHueBrown},
      {"orange", kHueOrange},  {"türkis", kHueBlue | kHueBlueGreen}};
  for (const ColourEntry& row : colourTableRows()) {
    const std::string name = row.name;
    if (name == "--" || name == "farblos") continue;
    SCOPED_TRACE(name);
    for (const auto& [word, bits] : words) {
      if (name.find(cp(word)) != std::string::npos) {
        EXPECT_NE(row.hue & bits, 0) << word;
      }
    }
    std::string base = name.substr(0, name.find('-'));
    if (base.size() >= 4 && base.compare(base.size() - 4, 4, cp("weiß")) == 0) {
      EXPECT_TRUE((row.intensity & 1) && (row.shade & 1));
    }
    if (base.size() >= 7 && base.compare(base.size() - 7, 7, "schwarz") == 0) {
      EXPECT_NE(row.shade & 0x100, 0);
    }
    EXPECT_EQ(row.hue & ~0x3FF, 0);
    EXPECT_EQ(row.intensity & ~0x1FF, 0);
    EXPECT_EQ(row.shade & ~0x1FF, 0);
  }
}

TEST_F(Colours, GroupingGivesOneChoicePerDistinctColour) {
  EXPECT_EQ(choices_, 213);
  const auto& choices = table_.colourChoices();
  ASSERT_EQ(choices.size(), 212u);
  EXPECT_EQ(choices[0], "farblos");
  EXPECT_EQ(groupOf("farblos"), 1);
  EXPECT_EQ(table_.colourGroupOf(1), 0);  // "--"
  EXPECT_EQ(table_.colourGroupOf(0), 0);
  EXPECT_EQ(table_.colourGroupOf(428), 0);
  EXPECT_EQ(table_.colourGroupOf(0x1000 | 33), 0);  // a number, not a stored value

  // Byte order of Windows-1252 after "farblos": "ß" after every plain letter.
  for (std::size_t k = 2; k < choices.size(); ++k) {
    EXPECT_LT(std::strcmp(choices[k - 1].c_str(), choices[k].c_str()), 0) << choices[k];
  }
  const auto at = [&](const char* utf8) {
    return std::find(choices.begin(), choices.end(), cp(utf8)) - choices.begin();
  };
  EXPECT_GT(at("blaßblau"), at("blauviolett"));
  EXPECT_EQ(at("anthrazit"), 1);  // first name in byte order

  // Identical masks share a group; the offered name of each group names the choice.
  EXPECT_EQ(groupOf("apfelgrün"), groupOf("jadegrün"));
  EXPECT_EQ(groupOf("blau"), groupOf("blau-metallisch"));
  EXPECT_EQ(table_.colourGroupOf(257), table_.colourGroupOf(258));
  EXPECT_EQ(choices[static_cast<std::size_t>(table_.colourGroupOf(258) - 1)], "rotbraun");
  EXPECT_EQ(choices[static_cast<std::size_t>(groupOf("apfelgrün") - 1)], cp("apfelgrün"));
  EXPECT_EQ(groupOf("grauschwarz"), groupOf("anthrazit"));
  EXPECT_EQ(groupOf("weiß"), groupOf("kalkweiß"));
  EXPECT_NE(groupOf("rot"), groupOf("hellrot"));

  // Every colour but the placeholder can be filed and chosen; each choice is
  // named by an offered row with exactly the masks of its group.
  const auto rows = colourTableRows();
  std::map<ColourGroup, const ColourEntry*> firstRow;
  for (std::size_t k = 1; k < rows.size(); ++k) {
    const ColourGroup g = table_.colourGroupOf(static_cast<std::uint16_t>(k + 1));
    ASSERT_GE(g, 1) << rows[k].name;
    ASSERT_LE(g, 212) << rows[k].name;
    if (!firstRow.count(g)) firstRow[g] = &rows[k];
    const ColourEntry& first = *firstRow[g];
    EXPECT_EQ(rows[k].hue, first.hue) << rows[k].name;
    EXPECT_EQ(rows[k].intensity, first.intensity) << rows[k].name;
    EXPECT_EQ(rows[k].shade, first.shade) << rows[k].name;
  }
  EXPECT_EQ(firstRow.size(), 212u);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (!rows[k].inList) continue;
    const ColourGroup g = table_.colourGroupOf(static_cast<std::uint16_t>(k + 1));
    const std::string& choice = choices[static_cast<std::size_t>(g - 1)];
    const ColourEntry& named = rows[numberOfName(choice) - 1u];
    EXPECT_TRUE(named.inList) << choice;
    EXPECT_EQ(named.hue, rows[k].hue) << choice;
  }

  // Grouping again gives the same result.
  EXPECT_EQ(table_.buildColourGroups(), 213);
  EXPECT_EQ(table_.colourChoices().size(), 212u);
}

TEST_F(Colours, RedMatchesItsShadesExactlyAndItsNeighboursLoosely) {
  EXPECT_TRUE(matches("rot", "rot", true));
  EXPECT_TRUE(matches("rot", "hellrot", true));
  EXPECT_TRUE(matches("rot", "dunkelrot", true));
  EXPECT_FALSE(matches("rot", "rosa", true));
  EXPECT_FALSE(matches("rot", "orangerot", true));
  EXPECT_FALSE(matches("rot", "pink", true));
  EXPECT_FALSE(matches("rot", "rotbraun", true));
  for (const char* loose : {"rot", "hellrot", "dunkelrot", "rosa", "pink", "orangerot", "rotbraun"}) {
    EXPECT_TRUE(matches("rot", loose, false)) << loose;
  }
  EXPECT_FALSE(matches("rot", "blau", false));
  EXPECT_FALSE(matches("rot", "grün", false));
  EXPECT_FALSE(matches("rot", "weiß", false));    // shades share no band
  EXPECT_FALSE(matches("rot", "schwarz", false));
  // "hellrot" lies inside "rot", so the light shade finds the plain colour exactly too.
  EXPECT_TRUE(matches("hellrot", "rot", true));
  EXPECT_FALSE(matches("hellrot", "dunkelrot", true));
}

TEST_F(Colours, TwoMixedColoursAreNeighboursOnlyWithTwoCommonHues) {
  // braun (brown, orange, yellow) and rotbraun (brown, red, orange) share two hues.
  EXPECT_TRUE(matches("braun", "rotbraun", false));
  // orangerot (orange, red) and braun share only orange.
  EXPECT_FALSE(matches("orangerot", "braun", false));
  // A single-hue selection ignores the rule: gelb meets braun through yellow.
  EXPECT_TRUE(matches("gelb", "braun", false));
}

TEST_F(Colours, ColourlessMatchesItselfOrEveryWhitishColour) {
  const std::set<ColourGroup> exact = matching("farblos", true);
  EXPECT_EQ(exact, (std::set<ColourGroup>{1}));
  const std::set<ColourGroup> loose = matching("farblos", false);
  for (const char* whitish : {"farblos", "weiß", "kalkweiß", "rötlichweiß", "vielfarbig"}) {
    EXPECT_EQ(loose.count(groupOf(whitish)), 1u) << whitish;
  }
  for (const char* coloured : {"grau", "gelb", "schwarz", "rosa", "hellblau"}) {
    EXPECT_EQ(loose.count(groupOf(coloured)), 0u) << coloured;
  }
  // Every loose match is a whitish colour: weakest intensity and lightest shade.
  for (ColourGroup g : loose) {
    if (g == 1) continue;
    const auto rows = colourTableRows();
    for (std::size_t k = 1; k < rows.size(); ++k) {
      if (table_.colourGroupOf(static_cast<std::uint16_t>(k + 1)) != g) continue;
      EXPECT_TRUE((rows[k].intensity & 1) && (rows[k].shade & 1)) << rows[k].name;
    }
  }
}

TEST_F(Colours, ManyColouredMatchesEveryColouredChoiceExactly) {
  const std::set<ColourGroup> all = matching("vielfarbig", true);
  EXPECT_EQ(all.size(), 211u);  // every group but "farblos", whose masks are empty
  EXPECT_EQ(all.count(1), 0u);
  EXPECT_EQ(*all.begin(), 2);
  EXPECT_EQ(*all.rbegin(), 212);
}

TEST_F(Colours, OliveGreenLooselyFindsGreensAndYellowGreens) {
  const std::set<ColourGroup> near = matching("olivgrün", false);
  for (const char* green : {"olivgrün", "grün", "dunkelgrün", "gelbgrün", "gelblichgrün", "flaschengrün"}) {
    EXPECT_EQ(near.count(groupOf(green)), 1u) << green;
  }
  const auto rows = colourTableRows();
  for (ColourGroup g : near) {
    const std::string& name = table_.colourChoices()[static_cast<std::size_t>(g - 1)];
    if (name == "vielfarbig") continue;
    const ColourEntry& row = rows[numberOfName(name) - 1u];
    SCOPED_TRACE(name);
    EXPECT_NE(row.hue & (kHueGreen | kHueYellow), 0);
    EXPECT_EQ(row.hue & (kHueRed | kHueBlue | kHueViolet | kHuePink), 0);
  }
  for (const char* far : {"rot", "blau", "braun", "rosa", "violett", "weiß", "gelb", "blaugrün"}) {
    EXPECT_EQ(near.count(groupOf(far)), 0u) << far;
  }
}

TEST_F(Colours, LooseNeighboursFollowTheColourNames) {
  // Blue-greens meet the turquoise blues and the greens, not the yellow-greens.
  EXPECT_TRUE(matches("blaugrün", "grünblau", false));
  EXPECT_TRUE(matches("grünblau", "blaugrün", false));
  EXPECT_TRUE(matches("blaugrün", "türkisblau", false));
  EXPECT_TRUE(matches("blaugrün", "grün", false));
  EXPECT_FALSE(matches("blaugrün", "gelbgrün", false));
  // Black meets the blackish colours, not every violet.
  EXPECT_TRUE(matches("schwarz", "blauschwarz", false));
  EXPECT_TRUE(matches("schwarz", "anthrazit", false));
  EXPECT_FALSE(matches("schwarz", "violett", false));
  EXPECT_FALSE(matches("schwarz", "grau", false));
  // Grey meets the tinted greys; white only the whitish colours.
  EXPECT_TRUE(matches("grau", "blaugrau", false));
  EXPECT_TRUE(matches("grau", "hellgrau", false));
  EXPECT_FALSE(matches("weiß", "gelb", false));
  EXPECT_TRUE(matches("weiß", "gelblichweiß", false));
  // Brown meets the yellow-browns and red-browns, not green or blue.
  EXPECT_TRUE(matches("braun", "gelbbraun", false));
  EXPECT_TRUE(matches("braun", "rotbraun", false));
  EXPECT_FALSE(matches("braun", "grün", false));
  EXPECT_FALSE(matches("braun", "blau", false));
}

TEST_F(Colours, SlotsUniteTheIndexListsOfTheMatchingGroupsOnce) {
  std::map<int, int> reads;
  const IndexSlotReader reader = [&](int slot) -> OptionalNumberList {
    ++reads[slot];
    // Slot of group g holds mineral g; group 2's slot is empty.
    const int group = slot - (slot >= kColourSlotBase ? kColourSlotBase : kStreakSlotBase);
    if (group == 2) return std::nullopt;
    return NumberList{{static_cast<MineralNumber>(group)}};
  };
  const ColourGroup red = groupOf("rot");
  const OptionalNumberList result = table_.colourSlots(red, kColourSlotBase, true, reader);
  ASSERT_TRUE(result.has_value());
  std::vector<MineralNumber> expected;
  for (ColourGroup g : matching("rot", true)) expected.push_back(static_cast<MineralNumber>(g));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(result->numbers, expected);
  for (const auto& [slot, count] : reads) {
    EXPECT_EQ(count, 1) << slot;
    EXPECT_GE(slot, kColourSlotBase);
  }
  reads.clear();
  const OptionalNumberList streak = table_.colourSlots(red, kStreakSlotBase, true, reader);
  EXPECT_EQ(streak, result);
  EXPECT_EQ(reads.count(kStreakSlotBase + red), 1u);

  // A choice that no row carries is absent, and reads nothing.
  reads.clear();
  EXPECT_FALSE(table_.colourSlots(213, kColourSlotBase, false, reader).has_value());
  EXPECT_FALSE(table_.colourSlots(0, kColourSlotBase, false, reader).has_value());
  EXPECT_FALSE(table_.colourSlots(-3, kColourSlotBase, false, reader).has_value());
  EXPECT_TRUE(reads.empty());
  // Matching groups whose slots are all empty give an absent result as well.
  EXPECT_FALSE(table_.colourSlots(2, kColourSlotBase, true, [](int) { return OptionalNumberList{}; }).has_value());
}

// docs/colours.md lists every row for the reader; it must say what the code does.
TEST(ColourTableRows, DocumentedTableAgreesWithTheCompiledTable) {
  const char* source = std::getenv("KALVOR_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "KALVOR_SOURCE_DIR not set";
  std::ifstream doc(std::string(source) + "/docs/colours.md");
  ASSERT_TRUE(doc.good());
  const auto rows = colourTableRows();
  std::size_t seen = 0;
  std::string line;
  while (std::getline(doc, line)) {
    std::vector<std::string> cells;
    std::stringstream cellStream(line);
    std::string cell;
    while (std::getline(cellStream, cell, '|')) {
      const auto b = cell.find_first_not_of(' ');
      const auto e = cell.find_last_not_of(' ');
      cells.push_back(b == std::string::npos ? "" : cell.substr(b, e - b + 1));
    }
    if (cells.size() < 8 || cells[1].empty() || !std::isdigit(static_cast<unsigned char>(cells[1][0]))) continue;
    const std::size_t number = std::stoul(cells[1]);
    ASSERT_GE(number, 1u);
    ASSERT_LE(number, rows.size());
    const ColourEntry& row = rows[number - 1];
    SCOPED_TRACE(line);
    EXPECT_EQ(number, seen + 1);
    EXPECT_EQ(cp(cells[2].c_str()), row.name);
    EXPECT_EQ(std::stoul(cells[4], nullptr, 16), row.hue);
    EXPECT_EQ(std::stoul(cells[5], nullptr, 16), row.intensity);
    EXPECT_EQ(std::stoul(cells[6], nullptr, 16), row.shade);
    EXPECT_EQ(cells[7] == "ja", row.inList);
    seen = number;
  }
  EXPECT_EQ(seen, 427u);
}

TEST(ColourTableGroups, BeforeGroupingOnlyColourlessHasAGroup) {
  ColourTable table;
  EXPECT_EQ(table.colourGroupOf(2), 1);
  EXPECT_EQ(table.colourGroupOf(33), 0);
  EXPECT_TRUE(table.colourChoices().empty());
}

}  // namespace
}  // namespace kalvor
