// Checks of the reference database this build compiled from data/: it agrees
// with its sources, and every mineral can be determined from its own values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/cp1252.h"
#include "determination/colours.h"
#include "determination/determination_search.h"
#include "determination/reference_sources.h"
#include "determination/search_index.h"
#include "refdb/glossary.h"
#include "refdb/mineral_record.h"
#include "refdb/name_list_builder.h"
#include "tools/mkdb/compile.h"

namespace kalvor {
namespace {

std::string refdataDir() {
  const char* dir = std::getenv("KALVOR_REFDATA_DIR");
  return dir ? dir : "";
}

std::string sourceDataDir() {
  const char* dir = std::getenv("KALVOR_SOURCE_DIR");
  return dir ? std::string(dir) + "/data" : "";
}

class ShippedData : public ::testing::Test {
 protected:
  void SetUp() override {
    if (refdataDir().empty()) GTEST_SKIP() << "KALVOR_REFDATA_DIR is not set (run through ctest)";
    db_ = MineralDatabase::open(refdataDir());
    ASSERT_TRUE(db_.has_value()) << "no kalvor.mi/kalvor.db in " << refdataDir();
  }

  const MineralRecord* findByName(const char* utf8) {
    for (MineralNumber n = 0; n < db_->entryCount(); ++n) {
      record_ = db_->readMineralRecord(n);
      if (record_.name() == utf8ToCp1252Lossy(utf8)) return &record_;
    }
    return nullptr;
  }

  std::optional<MineralDatabase> db_;
  MineralRecord record_;
};

// Well-known facts a collector would check first.
TEST_F(ShippedData, CommonMineralsCarryTheirTextbookValues) {
  const MineralRecord* quartz = findByName("Quarz");
  ASSERT_NE(quartz, nullptr);
  EXPECT_TRUE(quartz->isFullMineral());
  EXPECT_EQ(quartz->englishName(), "Quartz");
  EXPECT_EQ(quartz->hardnessMin(), 14);
  EXPECT_EQ(quartz->hardnessMax(), 14);
  EXPECT_EQ(quartz->densityMin().whole, 2);
  EXPECT_EQ(quartz->crystalSystems() & 0x0040, 0x0040);  // trigonal
  EXPECT_EQ(quartz->lustre() & 0x0004, 0x0004);          // glas

  const MineralRecord* galena = findByName("Galenit");
  ASSERT_NE(galena, nullptr);
  EXPECT_EQ(galena->hardnessMin(), 5);  // 2.5
  EXPECT_EQ(galena->crystalSystems() & 0x0001, 0x0001);  // kubisch
  EXPECT_EQ(galena->lustre() & 0x0040, 0x0040);          // metall
  EXPECT_GE(galena->densityMin().whole, 7);

  const MineralRecord* gold = findByName("Gold");
  ASSERT_NE(gold, nullptr);
  EXPECT_EQ(gold->englishName(), "Gold");  // not "Golde"
  EXPECT_GE(gold->densityMin().whole, 15);

  const MineralRecord* blei = findByName("Bleiglanz");
  ASSERT_NE(blei, nullptr);
  EXPECT_FALSE(blei->isFullMineral());
  EXPECT_NE(blei->aliasTarget().find("Galenit"), std::string::npos);

  const auto glossary = Glossary::open(refdataDir());
  ASSERT_TRUE(glossary.has_value());
  EXPECT_GE(glossary->entryCount(), 150);
}

// Every entry read back through the program's reader equals what the
// compiler made of its source row.
TEST_F(ShippedData, EveryEntryReadsBackAsItsSourceRowMapped) {
  if (sourceDataDir().empty()) GTEST_SKIP() << "KALVOR_SOURCE_DIR is not set";
  mkdb::Report report;
  const auto entries = mkdb::buildMineralEntries(sourceDataDir(), report);
  ASSERT_FALSE(report.hasErrors()) << report.errorText();
  ASSERT_EQ(entries.size(), db_->entryCount());
  std::size_t full = 0;
  for (MineralNumber n = 0; n < db_->entryCount(); ++n) {
    const MineralRecord read = db_->readMineralRecord(n);
    const MineralRecord& built = entries[n].record;
    ASSERT_EQ(read.name(), built.name()) << "entry " << n;
    if (built.isFullMineral()) {
      ++full;
      // The fixed part, the crystal data and the English name, byte for byte.
      const auto& a = read.bytes();
      const auto& b = built.bytes();
      ASSERT_TRUE(std::equal(a.begin(), a.begin() + 270, b.begin())) << cp1252ToUtf8(built.name());
      ASSERT_EQ(read.crystalData(), built.crystalData()) << cp1252ToUtf8(built.name());
      ASSERT_EQ(read.englishName(), built.englishName()) << cp1252ToUtf8(built.name());
    } else {
      ASSERT_EQ(read.aliasTarget(), built.aliasTarget()) << cp1252ToUtf8(built.name());
      if (built.flags() & kMineralEnglishNames) {
        ASSERT_EQ(read.englishAliasName(), built.englishAliasName()) << cp1252ToUtf8(built.name());
      }
    }
  }
  EXPECT_GE(full, 5500u);
}

// For every full mineral with hardness, density, streak and lustre, a
// determination at "Exakt" from its own stored values finds it.
TEST_F(ShippedData, EveryMineralIsFoundFromItsOwnValuesAtExakt) {
  const MineralNameList names = buildMineralNameList(*db_);
  ColourTable colours;
  colours.buildColourGroups();
  const SearchIndex index(buildSearchIndex(*db_, [&](int c) {
    return static_cast<int>(colours.colourGroupOf(static_cast<std::uint16_t>(c)));
  }));
  const ReferenceMineralFacts facts(*db_, names);
  const ColourTableSlots colourSlots(colours);
  const DeterminationSources sources{index, colourSlots, facts, nullptr};

  auto decimal = [](int hundredths) {
    return std::to_string(hundredths / 100) + "." + std::to_string(hundredths % 100 / 10) +
           std::to_string(hundredths % 10);
  };
  std::size_t checked = 0;
  std::vector<std::string> missed;
  for (MineralNumber n = 0; n < db_->entryCount(); ++n) {
    const MineralRecord r = db_->readMineralRecord(n);
    if (!r.isFullMineral() || !r.hardnessMax() || !r.densityMin().isKnown() || r.streaks().empty() ||
        !r.lustre())
      continue;
    ++checked;
    DeterminationInput in;
    in.exactChecked = true;
    in.discredited = true;  // every status
    in.streak = static_cast<int>(colours.colourGroupOf(r.streaks()[0]));
    int lustreBit = 0;
    while (!(r.lustre() & (1u << lustreBit))) ++lustreBit;
    in.lustre = lustreBit + 1;
    in.hardness = decimal(r.hardnessMin() * 50) + "-" + decimal(r.hardnessMax() * 50);
    const auto dMin = r.densityMin(), dMax = r.densityMax();
    in.density = decimal(dMin.whole * 100 + dMin.hundredths);
    if (dMax.isKnown()) in.density += "-" + decimal(dMax.whole * 100 + dMax.hundredths);
    DeterminationCriteria saved;
    const DeterminationOutcome out = runDetermination(in, saved, sources);
    bool found = false;
    for (const auto& e : out.results) found = found || e.id == n + 1u;
    if (!found) missed.push_back(cp1252ToUtf8(r.name()) + " (" + in.hardness + ", " + in.density + ")");
  }
  EXPECT_GE(checked, 1000u);
  EXPECT_TRUE(missed.empty()) << missed.size() << " not found, first: " << missed.front();
}

}  // namespace
}  // namespace kalvor
