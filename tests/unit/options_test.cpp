#include "views/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collection/sort_order.h"
#include "determination/description.h"
#include "platform/settings.h"
#include "tests/unit/test_files.h"

namespace kalvor::views {
namespace {

using testing::ScratchDir;

std::string text(const Bytes& b) { return std::string(b.begin(), b.end()); }

// An ini file with the given lines ("" for no file at all).
std::unique_ptr<Settings> iniWith(const ScratchDir& dir, const std::string& content) {
  const std::string path = dir.file("kalvor.ini");
  if (!content.empty()) {
    EXPECT_TRUE(testing::writeFile(path, Bytes(content.begin(), content.end())));
  }
  return openIniSettings(path);
}

// Records every write and every side effect in the order they happen.
class RecordingSettings : public Settings {
 public:
  int getInt(std::string_view, std::string_view, int def) const override { return def; }
  std::string getString(std::string_view, std::string_view, std::string_view def) const override {
    return std::string(def);
  }
  bool writeString(std::string_view section, std::string_view key, std::string_view value) override {
    log.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
    return !failWrites;
  }
  bool deleteKey(std::string_view, std::string_view) override { return true; }
  std::vector<std::string> log;
  bool failWrites = false;
};

TEST(Options, DefaultsWithoutSettingsFile) {
  ScratchDir dir;
  auto ini = iniWith(dir, "");
  OptionsDialogState wide = fromSettings(*ini, isSmallScreen(1024));
  EXPECT_TRUE(wide.mineralLocalityList);
  EXPECT_TRUE(wide.aliasLocalityList);
  EXPECT_TRUE(wide.aliasLocalityListEnabled);
  EXPECT_FALSE(wide.anglesWithMinutes);
  EXPECT_FALSE(wide.systematicsAsText);
  // The dialog shows what the program runs with: bubble help on, entry order.
  EXPECT_TRUE(wide.bubbleHelp);
  EXPECT_EQ(wide.specimenSort, 0);
  EXPECT_EQ(kSpecimenSortItemIds[wide.specimenSort], static_cast<unsigned>(strings::kStrSortEntryOrder));
  EXPECT_FALSE(wide.smallFonts);
  EXPECT_TRUE(bubbleHelpAtStart(*ini));
  EXPECT_EQ(specimenSortMode(ini.get()), SpecimenSortMode::kEntryOrder);
  // "&OK" without a change keeps both in effect.
  ScratchDir okDir;
  auto okIni = iniWith(okDir, "");
  ASSERT_TRUE(writeOptions(fromSettings(*okIni, false), *okIni));
  EXPECT_TRUE(bubbleHelpAtStart(*okIni));
  EXPECT_EQ(specimenSortMode(okIni.get()), SpecimenSortMode::kEntryOrder);
  EXPECT_EQ(fromSettings(*okIni, false), wide);

  // Small fonts by default on a screen up to 800 pixels wide.
  EXPECT_TRUE(isSmallScreen(800));
  EXPECT_FALSE(isSmallScreen(801));
  EXPECT_TRUE(smallFontsOption(*ini, isSmallScreen(800)));
  EXPECT_FALSE(smallFontsOption(*ini, isSmallScreen(1024)));
  EXPECT_TRUE(fromSettings(*ini, true).smallFonts);
  EXPECT_EQ(lastLabelFormat(*ini), 0);

  const DescriptionOptions d = readDescriptionOptions(*ini);
  EXPECT_TRUE(d.mineralLocalityList && d.aliasLocalityList && d.referenceColouring);
  EXPECT_FALSE(d.anglesWithMinutes || d.systematicsAsText);
  EXPECT_EQ(d.referenceColour, (Rgb{0, 127, 0}));
}

TEST(Options, ReadsStoredValues) {
  ScratchDir dir;
  auto ini = iniWith(dir, testing::cp(
      "[Optionen]\r\nKleine Zeichensätze=0\r\nBlasenhilfe=1\r\nWinkel mit Minuten=1\r\n"
      "Systematik als Text=1\r\nStufensortierung=4\r\n[Edit]\r\nLetztes Etikettenformat=3\r\n"));
  const OptionsDialogState s = fromSettings(*ini, true);
  EXPECT_FALSE(s.smallFonts);  // stored 0 beats the small screen
  EXPECT_TRUE(s.bubbleHelp);
  EXPECT_TRUE(s.anglesWithMinutes);
  EXPECT_TRUE(s.systematicsAsText);
  EXPECT_EQ(s.specimenSort, 4);
  EXPECT_EQ(lastLabelFormat(*ini), 3);
  EXPECT_FALSE(smallFontsOption(*ini, true));

  // A mode the specimen sort does not know is entry order there; the dialog shows that.
  for (const char* stored : {"5", "-1", "x"}) {
    ScratchDir d2;
    auto other = iniWith(d2, std::string("[Optionen]\r\nStufensortierung=") + stored + "\r\n");
    EXPECT_EQ(fromSettings(*other, false).specimenSort, 0) << stored;
    EXPECT_EQ(specimenSortMode(other.get()), SpecimenSortMode::kEntryOrder) << stored;
  }
}

TEST(Options, SynonymLocalitiesFollowTheMineralLocalities) {
  ScratchDir dir;
  auto ini = iniWith(dir, "[Optionen]\r\nMineral Fundortliste=0\r\nMineral AF-Liste=1\r\n");
  OptionsDialogState s = fromSettings(*ini, false);
  EXPECT_FALSE(s.mineralLocalityList);
  EXPECT_FALSE(s.aliasLocalityList);  // shown unchecked ...
  EXPECT_FALSE(s.aliasLocalityListEnabled);  // ... and disabled
  setMineralLocalityList(s, true);
  EXPECT_TRUE(s.aliasLocalityListEnabled);
  EXPECT_FALSE(s.aliasLocalityList);

  // 1281 checked, then 1280 turned off: "Mineral AF-Liste" is written as "0" all the same.
  s.aliasLocalityList = true;
  setMineralLocalityList(s, false);
  EXPECT_FALSE(s.aliasLocalityListEnabled);
  EXPECT_TRUE(s.aliasLocalityList);
  ASSERT_TRUE(writeOptions(s, *ini));
  EXPECT_EQ(ini->getString("Optionen", "Mineral AF-Liste", "?"), "0");
  EXPECT_EQ(ini->getString("Optionen", "Mineral Fundortliste", "?"), "0");

  setMineralLocalityList(s, true);
  ASSERT_TRUE(writeOptions(s, *ini));
  EXPECT_EQ(ini->getString("Optionen", "Mineral AF-Liste", "?"), "1");
}

TEST(Options, OkWritesInOrderWithSideEffectsBetween) {
  RecordingSettings rec;
  OptionsDialogState s;
  s.mineralLocalityList = true;
  s.aliasLocalityList = false;
  s.anglesWithMinutes = true;
  s.systematicsAsText = true;
  s.bubbleHelp = true;
  s.smallFonts = true;
  s.specimenSort = 3;
  OptionsSideEffects effects;
  effects.switchBubbleHelp = [&](bool on) { rec.log.push_back(std::string("bubble:") + (on ? "1" : "0")); };
  effects.recreateFonts = [&](bool small) { rec.log.push_back(std::string("fonts:") + (small ? "1" : "0")); };
  EXPECT_TRUE(writeOptions(s, rec, effects));
  const std::vector<std::string> expected = {
      "Optionen/Mineral Fundortliste=1", "Optionen/Mineral AF-Liste=0",
      "Optionen/Winkel mit Minuten=1",   "Optionen/Blasenhilfe=1",
      "bubble:1",                        "Optionen/Kleine Zeichens\xE4tze=1",
      "fonts:1",                         "Optionen/Systematik als Text=1",
      "Optionen/Stufensortierung=3"};
  EXPECT_EQ(rec.log, expected);

  // A failed write is reported, and the keys after it are still tried.
  RecordingSettings failing;
  failing.failWrites = true;
  EXPECT_FALSE(writeOptions(s, failing));
  EXPECT_EQ(failing.log.size(), 7u);
}

TEST(Options, WrittenFileIsReadBackByTheirReaders) {
  ScratchDir dir;
  auto ini = iniWith(dir, "");
  OptionsDialogState s = fromSettings(*ini, false);
  s.smallFonts = true;
  s.specimenSort = 2;
  s.anglesWithMinutes = true;
  ASSERT_TRUE(writeOptions(s, *ini));
  // The key is Windows-1252 on disk, as the private-profile functions see it.
  const std::string file = text(testing::readFile(dir.file("kalvor.ini")));
  EXPECT_NE(file.find("Kleine Zeichens\xE4tze=1"), std::string::npos);
  EXPECT_NE(file.find("Stufensortierung=2"), std::string::npos);
  EXPECT_TRUE(smallFontsOption(*ini, false));
  EXPECT_EQ(specimenSortMode(ini.get()), SpecimenSortMode::kTextIndex);
  EXPECT_TRUE(readDescriptionOptions(*ini).anglesWithMinutes);
  EXPECT_EQ(fromSettings(*ini, false), s);
}

TEST(FontMatching, ConvergesOrGivesUp) {
  // A face whose capital "A" is 70 % of the character height.
  std::vector<int> tried;
  auto face = [&](int height) {
    tried.push_back(height);
    return (-height * 7 + 5) / 10;
  };
  FontMatch m = matchCapitalHeight(-20, 21, face);  // needs -30
  EXPECT_TRUE(m.matched);
  EXPECT_EQ(face(m.height), 21);
  EXPECT_EQ(m.height, -30);
  EXPECT_EQ(m.rounds, 11);
  m = matchCapitalHeight(-20, 10, face);  // shrinking: -14 gives 10
  EXPECT_TRUE(m.matched);
  EXPECT_EQ(m.height, -14);
  tried.clear();
  m = matchCapitalHeight(-20, 14, face);  // already right: one font only
  EXPECT_EQ(m.rounds, 1);
  EXPECT_EQ(tried, std::vector<int>{-20});

  // Never equal: the 100th font is the one kept.
  int calls = 0;
  m = matchCapitalHeight(-500, 3, [&](int) { return ++calls, 50; });
  EXPECT_FALSE(m.matched);
  EXPECT_EQ(calls, kMaxMatchRounds);
  EXPECT_EQ(m.rounds, kMaxMatchRounds);
  EXPECT_EQ(m.height, -500 + 99);

  // A size that jumps over the target swings between two heights for 100 rounds.
  m = matchCapitalHeight(-10, 8, [](int h) { return h >= -10 ? 7 : 9; });
  EXPECT_FALSE(m.matched);
  EXPECT_EQ(m.rounds, kMaxMatchRounds);
  EXPECT_EQ(m.height, -11);  // odd rounds try -10, even rounds -11

  // The character height never reaches 0 (the default size).
  m = matchCapitalHeight(-3, 0, [](int) { return 2; });
  EXPECT_FALSE(m.matched);
  EXPECT_EQ(m.height, -1);
  EXPECT_EQ(m.rounds, 3);
}

}  // namespace
}  // namespace kalvor::views
