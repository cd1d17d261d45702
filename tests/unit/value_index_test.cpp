#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>

#include "collection/store_format.h"
#include "collection/value_index.h"
#include "platform/settings.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::ScratchDir;
namespace f = index_field;

int caseInsensitive(std::string_view a, std::string_view b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int d = std::tolower(static_cast<unsigned char>(a[i])) - std::tolower(static_cast<unsigned char>(b[i]));
    if (d != 0) return d;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

std::vector<std::uint32_t> membersOf(ValueIndex& index, const IndexValue& v, std::uint16_t field) {
  const auto set = index.getRecordSet(v, field);
  return set ? set->members() : std::vector<std::uint32_t>{};
}

TEST(ValueIndex, FirstKeyGoldenBytesAndBitmapGrowth) {
  ScratchDir dir;
  const std::string path = dir.file("kalvor.vi");
  {
    ValueIndex index(100, nullptr, nullptr);
    ASSERT_EQ(index.openValueIndex(path, 0), ValueIndex::OpenResult::kReady);
    ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(0), f::kSpecimenAll, 1));
    index.closeValueIndex();
  }
  // Header with one entry, the slot page at 1032, the entry at 2056 and its
  // one-unit bitmap block (6 + 64 bytes) at 2118 with record 1 set.
  ByteWriter w;
  w.u32(1);
  w.u32(0);
  w.u32(1032);
  w.zeros(4 * 255);
  w.u32(0);
  w.u32(2056);
  w.zeros(4 * 254);
  w.u16(0x11);   // kind
  w.u16(1);      // entry number
  w.u32(2118);   // bitmap
  w.u32(1);      // members
  w.u32(464);    // capacity: 1 * 512 - 48
  w.u32(2056);   // own offset
  w.u16(1091);   // field
  w.zeros(40);   // value 0
  w.u32(1);      // bitmap block: owner = entry 1
  w.u16(1);
  w.u8(0x02);    // record 1
  w.zeros(63);
  EXPECT_EQ(testing::readFile(path), w.data());

  ValueIndex index(100, nullptr, nullptr);
  ASSERT_EQ(index.openValueIndex(path, 5), ValueIndex::OpenResult::kReady);
  // Record 465 needs two units (capacity 976); the old block becomes free.
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(0), f::kSpecimenAll, 465));
  auto entry = index.findIndexEntry(IndexValue::ofNumber(0), f::kSpecimenAll);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->capacityBits, 976u);
  EXPECT_EQ(entry->memberCount, 2u);
  EXPECT_EQ(index.store()->freeHead(), 2118u);
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenAll), (std::vector<std::uint32_t>{1, 465}));

  // Record 464 lies one bit beyond a one-unit bitmap: it must still be found.
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(7), f::kSpecimenLocality, 464));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(7), f::kSpecimenLocality), (std::vector<std::uint32_t>{464}));
  EXPECT_EQ(bitmapUnitsFor(463), 1u);
  EXPECT_EQ(bitmapUnitsFor(464), 2u);
  EXPECT_EQ(bitmapUnitsFor(465), 2u);
  EXPECT_EQ(bitmapUnitsFor(976), 3u);
}

// A bitmap grows by half its size once it is past a few units, so a
// collection that grows record by record does not leave a trail of freed
// one-unit-larger blocks behind every key.
TEST(ValueIndex, LargeBitmapsGrowByHalfTheirSize) {
  ScratchDir dir;
  ValueIndex index(100, nullptr, nullptr);
  ASSERT_EQ(index.openValueIndex(dir.file("kalvor.vi"), 0), ValueIndex::OpenResult::kReady);
  const auto value = IndexValue::ofNumber(0);
  auto capacity = [&] { return index.findIndexEntry(value, f::kSpecimenAll)->capacityBits; };
  ASSERT_TRUE(index.addIndexKey(value, f::kSpecimenAll, 1));
  EXPECT_EQ(capacity(), 464u);   // 1 unit
  ASSERT_TRUE(index.addIndexKey(value, f::kSpecimenAll, 465));
  EXPECT_EQ(capacity(), 976u);   // 2 units, as the record needs
  ASSERT_TRUE(index.addIndexKey(value, f::kSpecimenAll, 977));
  EXPECT_EQ(capacity(), 1488u);  // 3 units
  ASSERT_TRUE(index.addIndexKey(value, f::kSpecimenAll, 1489));
  EXPECT_EQ(capacity(), 2000u);  // 4 units
  ASSERT_TRUE(index.addIndexKey(value, f::kSpecimenAll, 2001));
  EXPECT_EQ(capacity(), 3024u);  // 6 units: half of 4 more, where 5 would do
  const auto sizeBefore = testing::readFile(dir.file("kalvor.vi")).size();
  ASSERT_TRUE(index.addIndexKey(value, f::kSpecimenAll, 3000));
  EXPECT_EQ(testing::readFile(dir.file("kalvor.vi")).size(), sizeBefore);  // no new block
  EXPECT_EQ(membersOf(index, value, f::kSpecimenAll), (std::vector<std::uint32_t>{1, 465, 977, 1489, 2001, 3000}));
}

TEST(ValueIndex, AddRemoveAndLookupsByField) {
  ScratchDir dir;
  ValueIndex index(50, caseInsensitive, nullptr);
  ASSERT_EQ(index.openValueIndex(dir.file("kalvor.vi"), 0), ValueIndex::OpenResult::kReady);
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofText("Deutschland"), f::kLocalityCountry, 3));
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofText("Namibia"), f::kLocalityCountry, 4));
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofText("DEUTSCHLAND"), f::kLocalityCountry, 5));  // other prefix: own entry
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofText("Deutschland"), f::kLocalityCountry, 6));
  EXPECT_EQ(index.entryCount(), 3u);
  // The first two bytes pick the candidates exactly, the collation decides among them.
  EXPECT_EQ(membersOf(index, IndexValue::ofText("DEutschland"), f::kLocalityCountry),
            (std::vector<std::uint32_t>{5}));
  EXPECT_EQ(membersOf(index, IndexValue::ofText("deutschland"), f::kLocalityCountry), std::vector<std::uint32_t>{});
  EXPECT_EQ(membersOf(index, IndexValue::ofText("Deutschland"), f::kLocalityCountry),
            (std::vector<std::uint32_t>{3, 6}));
  // An empty search text gives the field's first entry.
  EXPECT_EQ(membersOf(index, IndexValue::ofText(""), f::kLocalityCountry), (std::vector<std::uint32_t>{3, 6}));
  // An empty text is not indexed: it would land in the first entry's set.
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofText(""), f::kLocalityCountry, 9));
  EXPECT_FALSE(testRecord(index.getRecordSet(IndexValue::ofText("Deutschland"), f::kLocalityCountry), 9));
  // Texts are kept with at most 40 characters.
  const std::string longName(50, 'x');
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofText(longName), f::kLocalityRegion, 2));
  auto region = index.findIndexEntry(IndexValue::ofText(longName.substr(0, 40)), f::kLocalityRegion);
  ASSERT_TRUE(region);
  EXPECT_EQ(region->text(), longName.substr(0, 40));

  // Kinds and fields keep keys apart; field 1083 matches the locality number.
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(12), f::kSpecimenLocality, 8));
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(13), f::kSpecimenLocality, 9));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(13), f::kSpecimenLocality), (std::vector<std::uint32_t>{9}));
  EXPECT_FALSE(index.getRecordSet(IndexValue::ofNumber(12), f::kLocalityMineral));
  EXPECT_FALSE(index.getRecordSet(IndexValue::ofNumber(14), f::kSpecimenLocality));

  // Mineral fields: the direct array, and numbers beyond the mineral list are not duplicated.
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(0), f::kSpecimenMineral, 1));
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(49), f::kSpecimenMineral, 2));
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(60), f::kSpecimenMineral, 3));
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(60), f::kSpecimenMineral, 4));
  const std::uint32_t entries = index.entryCount();
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(60), f::kSpecimenMineral), (std::vector<std::uint32_t>{3, 4}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenMineral), (std::vector<std::uint32_t>{1}));

  // Removing a non-member writes nothing; removing a member clears its bit and count.
  const Bytes before = testing::readFile(dir.file("kalvor.vi"));
  ASSERT_TRUE(index.removeIndexKey(IndexValue::ofNumber(60), f::kSpecimenMineral, 5));
  ASSERT_TRUE(index.removeIndexKey(IndexValue::ofNumber(60), f::kSpecimenMineral, 100000));
  ASSERT_TRUE(index.removeIndexKey(IndexValue::ofNumber(61), f::kSpecimenMineral, 3));
  EXPECT_EQ(testing::readFile(dir.file("kalvor.vi")), before);
  ASSERT_TRUE(index.removeIndexKey(IndexValue::ofNumber(60), f::kSpecimenMineral, 3));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(60), f::kSpecimenMineral), (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(index.findIndexEntry(IndexValue::ofNumber(60), f::kSpecimenMineral)->memberCount, 1u);
  EXPECT_EQ(index.entryCount(), entries);

  // The table loaded afresh from the file answers the same.
  index.closeValueIndex();
  ASSERT_EQ(index.openValueIndex(dir.file("kalvor.vi"), 1), ValueIndex::OpenResult::kReady);
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(60), f::kSpecimenMineral), (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(membersOf(index, IndexValue::ofText("Namibia"), f::kLocalityCountry), (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(index.entriesOfField(f::kLocalityCountry).size(), 3u);
}

TEST(ValueIndex, FieldTableLoadsInStepsOfFive) {
  ScratchDir dir;
  ValueIndex index(10, nullptr, nullptr);
  ASSERT_EQ(index.openValueIndex(dir.file("kalvor.vi"), 0), ValueIndex::OpenResult::kReady);
  for (std::uint32_t i = 0; i < 12; ++i) ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(i), f::kSpecimenLocality, i + 1));
  index.closeValueIndex();
  ASSERT_EQ(index.openValueIndex(dir.file("kalvor.vi"), 12), ValueIndex::OpenResult::kReady);
  EXPECT_TRUE(index.loadFieldTableStep(false));   // entries 1..5
  EXPECT_TRUE(index.loadFieldTableStep(false));   // 6..10
  EXPECT_FALSE(index.loadFieldTableStep(false));  // 11, 12
  EXPECT_FALSE(index.loadFieldTableStep(false));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(11), f::kSpecimenLocality), (std::vector<std::uint32_t>{12}));
  EXPECT_TRUE(index.loadFieldTableStep(true));
  // A lookup in the middle of loading finishes the table first.
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(10), f::kSpecimenLocality), (std::vector<std::uint32_t>{11}));
  EXPECT_FALSE(index.loadFieldTableStep(false));
  // A new entry is not loaded twice.
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(20), f::kSpecimenLocality, 30));
  EXPECT_EQ(index.entriesOfField(f::kSpecimenLocality).size(), 13u);

  // A damaged count word claims 65,535 entries on pages that do not exist:
  // the loader steps over each missing page whole and still finds the 13.
  index.closeValueIndex();
  Bytes bytes = testing::readFile(dir.file("kalvor.vi"));
  bytes[store_format::kCountOffset] = 0xFF;
  bytes[store_format::kCountOffset + 1] = 0xFF;
  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.vi"), bytes));
  ASSERT_NE(index.openValueIndex(dir.file("kalvor.vi"), 13), ValueIndex::OpenResult::kFailed);
  int steps = 1;
  while (index.loadFieldTableStep(steps == 1)) ++steps;
  EXPECT_LT(steps, 200);  // page 0 slot by slot, then a page per try; 13,107 steps of five without
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(20), f::kSpecimenLocality), (std::vector<std::uint32_t>{30}));
  EXPECT_EQ(index.entriesOfField(f::kSpecimenLocality).size(), 13u);
}

TEST(ValueIndex, UpdateMarkRevealsAnInterruptedUpdate) {
  ScratchDir dir;
  const std::string path = dir.file("kalvor.vi");
  {
    ValueIndex index(10, nullptr, nullptr);
    ASSERT_EQ(index.openValueIndex(path, 0), ValueIndex::OpenResult::kReady);
    index.beginUpdate();
    ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(0), f::kSpecimenAll, 1));
    EXPECT_EQ(testing::readFile(path).at(3), 0x80);  // the mark is on disk while the batch runs
    ASSERT_TRUE(index.endUpdate());
    EXPECT_EQ(testing::readFile(path).at(3), 0x00);
    index.beginUpdate();
    ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(0), f::kSpecimenAll, 2));
    // The program ends here without finishing the batch, as a crash would.
  }
  ValueIndex index(10, nullptr, nullptr);
  EXPECT_EQ(index.openValueIndex(path, 2), ValueIndex::OpenResult::kNeedsRebuild);
  EXPECT_TRUE(index.wasLeftDirty());
  // Closing without a rebuild keeps the mark.
  index.closeValueIndex();
  EXPECT_EQ(index.openValueIndex(path, 2), ValueIndex::OpenResult::kNeedsRebuild);
  index.closeValueIndex();

  // An empty index beside a non-empty collection must be rebuilt too.
  EXPECT_EQ(index.openValueIndex(dir.file("neu.vi"), 3), ValueIndex::OpenResult::kNeedsRebuild);
  index.closeValueIndex();
  EXPECT_EQ(index.openValueIndex(dir.file("leer.vi"), 0), ValueIndex::OpenResult::kReady);
}

TEST(ValueIndex, UnavailableFlagLivesInTheSettings) {
  ScratchDir dir;
  auto settings = openIniSettings(dir.file("kalvor.ini"));
  ValueIndex index(10, nullptr, settings.get());
  // A folder in place of the file cannot be opened: the collection is unavailable.
  EXPECT_EQ(index.openValueIndex(dir.path(), 0), ValueIndex::OpenResult::kFailed);
  EXPECT_TRUE(index.unavailable());
  EXPECT_EQ(settings->getInt("Status", "Index-Defekt", 0), 1);

  ASSERT_EQ(index.openValueIndex(dir.file("kalvor.vi"), 0), ValueIndex::OpenResult::kReady);
  ASSERT_TRUE(index.addIndexKey(IndexValue::ofNumber(0), f::kSpecimenAll, 1));
  EXPECT_EQ(index.entryCount(), 0u);  // no effect while unavailable

  ValueIndex next(10, nullptr, settings.get());
  next.loadUnavailableFlag();
  EXPECT_TRUE(next.unavailable());
  next.setUnavailable(false);
  EXPECT_EQ(settings->getInt("Status", "Index-Defekt", 1), 0);
}

// A collection in memory, as the localities and specimens would report it.
class FakeCollection : public IndexRebuildSource {
 public:
  std::map<std::uint32_t, Locality> localities;
  std::map<std::uint32_t, Specimen> specimens;
  std::uint32_t localityCount() override { return localities.empty() ? 0 : localities.rbegin()->first; }
  std::uint32_t specimenCount() override { return specimens.empty() ? 0 : specimens.rbegin()->first; }
  std::optional<Locality> readLocality(std::uint32_t n) override {
    auto it = localities.find(n);
    return it == localities.end() ? std::nullopt : std::optional<Locality>(it->second);
  }
  std::optional<Specimen> readSpecimen(std::uint32_t n) override {
    auto it = specimens.find(n);
    return it == specimens.end() ? std::nullopt : std::optional<Specimen>(it->second);
  }
  bool replaceLocalitySpecimens(std::uint32_t n, const std::vector<std::uint32_t>& list) override {
    localities[n].specimens = list;
    ++replaced;
    return true;
  }
  int replaced = 0;
};

TEST(ValueIndex, RebuildIndexesWhatTheSavesIndexed) {
  ScratchDir dir;
  FakeCollection c;
  c.localities[1] = {false, "Deutschland", "Harz", {0x8000 | 5, 7}, {1, 3}};
  c.localities[2] = {true, "Namibia", "", {9}, {}};
  c.localities[3] = {false, "", "Erongo", {}, {2, 9}};  // list out of step with the specimens
  c.specimens[1] = {false, 0x01 | 0x04, {1, 6}, 2};      // MineralNumber 0 and 5, locality 1
  c.specimens[2] = {false, 0x02 | 0x10, {8}, 4};         // exchange, swapped, locality 3
  c.specimens[3] = {false, 0x01 | 0x08, {6}, 2};
  c.specimens[4] = {true, 0x01, {6}, 2};                 // deleted
  c.specimens[5] = {false, 0x02 | 0x04, {99}, 1};        // mineral beyond the list, no locality

  struct Lines : ProgressSink {
    std::vector<std::string> lines;
    void progress(const std::string& line) override { lines.push_back(line); }
  } progress;
  ValueIndex index(20, nullptr, nullptr);
  ASSERT_EQ(index.openValueIndex(dir.file("kalvor.vi"), 8), ValueIndex::OpenResult::kNeedsRebuild);
  index.setUnavailable(true);
  ASSERT_TRUE(index.rebuildValueIndex(c, &progress, true));
  EXPECT_FALSE(index.unavailable());
  EXPECT_EQ(progress.lines.front(), "Bearbeite Fundstelle 1/3");
  EXPECT_EQ(progress.lines.back(), "Bearbeite Stufe 5/5");

  using V = std::vector<std::uint32_t>;
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kLocalityAll), (V{1, 3}));
  EXPECT_EQ(membersOf(index, IndexValue::ofText("Deutschland"), f::kLocalityCountry), (V{1}));
  EXPECT_FALSE(index.getRecordSet(IndexValue::ofText("Namibia"), f::kLocalityCountry));
  EXPECT_EQ(membersOf(index, IndexValue::ofText("Erongo"), f::kLocalityRegion), (V{3}));
  EXPECT_EQ(index.entriesOfField(f::kLocalityCountry).size(), 1u);  // the empty country is not a key
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(5), f::kLocalityMineral), (V{1}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenAll), (V{1, 2, 3, 5}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenCollection), (V{1, 3}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenExchange), (V{2, 5}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenBought), (V{3}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenFound), (V{1, 5}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenSwapped), (V{2}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenMineral), (V{1}));  // MineralNumber 0 included
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(5), f::kSpecimenMineral), (V{1, 3}));
  EXPECT_FALSE(index.getRecordSet(IndexValue::ofNumber(98), f::kSpecimenMineral));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(1), f::kSpecimenLocality), (V{1, 3}));
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(3), f::kSpecimenLocality), (V{2}));
  // Pass 3 mended locality 3's list; locality 1 was right and kept.
  EXPECT_EQ(c.replaced, 1);
  EXPECT_EQ(c.localities[3].specimens, (V{2}));

  // The same keys added one save at a time give the same sets.
  ValueIndex saved(20, nullptr, nullptr);
  ASSERT_EQ(saved.openValueIndex(dir.file("saved.vi"), 0), ValueIndex::OpenResult::kReady);
  for (std::uint32_t s : {1u, 3u}) saved.addIndexKey(IndexValue::ofNumber(5), f::kSpecimenMineral, s);
  saved.addIndexKey(IndexValue::ofNumber(0), f::kSpecimenMineral, 1);
  EXPECT_EQ(membersOf(saved, IndexValue::ofNumber(5), f::kSpecimenMineral),
            membersOf(index, IndexValue::ofNumber(5), f::kSpecimenMineral));
  EXPECT_EQ(membersOf(saved, IndexValue::ofNumber(0), f::kSpecimenMineral),
            membersOf(index, IndexValue::ofNumber(0), f::kSpecimenMineral));

  // The rebuilt file stands on its own.
  index.closeValueIndex();
  ASSERT_EQ(index.openValueIndex(dir.file("kalvor.vi"), 8), ValueIndex::OpenResult::kReady);
  EXPECT_EQ(membersOf(index, IndexValue::ofNumber(0), f::kSpecimenAll), (V{1, 2, 3, 5}));
  EXPECT_EQ(index.findIndexEntry(IndexValue::ofNumber(0), f::kSpecimenAll)->memberCount, 4u);
}

}  // namespace
}  // namespace kalvor
