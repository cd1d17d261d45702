#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "collection/mineral_specimen.h"
#include "refdb/drawing_blocks.h"
#include "refdb/picture_file.h"
#include "refdb/picture_list.h"
#include "test_files.h"

namespace kalvor {
namespace {

namespace fs = std::filesystem;

// Counts what the start-up reports.
class CountingProgress : public StartupProgress {
 public:
  void searchIndexRebuildStarted() override { ++started; }
  void searchIndexRebuildFinished() override { ++finished; }
  void progress(const std::string&) override { ++lines; }
  int started = 0;
  int finished = 0;
  int lines = 0;
};

MineralRecord fullMineral(const char* name, std::uint8_t hardness) {
  MineralRecord r;
  r.setFlags(kMineralImaRecognised);
  r.setName(name);
  r.setHardness(hardness, hardness);
  return r;
}

MineralRecord alias(const char* name, const char* target) {
  MineralRecord r;
  r.setName(name);
  r.setAliasTarget(target);
  return r;
}

// Zirkon (0), Bergkristall (1, alias), Apatit (2), Quarz (3).
MineralFileWriter smallDatabase() {
  MineralFileWriter writer;
  writer.add(fullMineral("Zirkon", 15));
  writer.add(alias("Bergkristall", "Quarz"));
  writer.add(fullMineral("Apatit", 10));
  writer.add(fullMineral("Quarz", 14));
  return writer;
}

// A "kalvor.na" for smallDatabase() (alias byte and 40-byte name field per
// entry) that names entry 2 "Fluorapatit", so a list taken from it shows.
Bytes unsortedNames() {
  Bytes out;
  for (auto [aliasByte, name] : {std::pair<std::uint8_t, const char*>{0x00, "Zirkon"},
                                 {0xFF, "Bergkristall"}, {0x00, "Fluorapatit"}, {0x00, "Quarz"}}) {
    out.push_back(aliasByte);
    std::string field(name);
    field.resize(40, '\0');
    out.insert(out.end(), field.begin(), field.end());
  }
  return out;
}

std::map<std::string, fs::file_time_type> fileTimes(const std::string& folder) {
  std::map<std::string, fs::file_time_type> times;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    times[e.path().filename().string()] = e.last_write_time();
  }
  return times;
}

// Moves every file's time an hour back, so that any later write shows.
void ageFiles(const std::string& folder) {
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
    fs::last_write_time(e.path(), e.last_write_time() - std::chrono::hours(1));
  }
}

TEST(Startup, FreshFolderBuildsDerivedFilesOnceAndSecondStartRebuildsNothing) {
  testing::ScratchDir dir;
  ASSERT_TRUE(smallDatabase().writeTo(dir.path()));
  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.na"), unsortedNames()));
  CountingProgress progress;
  {
    StartupResult first = openReferenceData(dir.path(), {nullptr, &progress, {}});
    ASSERT_TRUE(first.ready()) << first.messageId;
    const ReferenceData& ref = *first.data;
    EXPECT_EQ(ref.mineralCount(), 4u);
    EXPECT_TRUE(ref.rebuilds().nameList);
    EXPECT_TRUE(ref.rebuilds().searchIndex);
    EXPECT_EQ(progress.started, 1);
    EXPECT_EQ(progress.finished, 1);
    // The names of kalvor.na, sorted: Bergkristall, Fluorapatit, Quarz, Zirkon (id n + 1).
    ASSERT_EQ(ref.names().size(), 4u);
    EXPECT_EQ(ref.names().node(0).name, "Bergkristall");
    EXPECT_TRUE(ref.names().node(0).alias);
    EXPECT_EQ(ref.names().node(1).name, "Fluorapatit");
    EXPECT_EQ(ref.names().node(1).id, 3u);
    EXPECT_EQ(ref.names().node(3).name, "Zirkon");
    // Full minerals only, filed under their hardness (half steps).
    EXPECT_EQ(ref.searchIndex().readIndexSlot(kImaRecognisedSlot), (NumberList{{0, 2, 3}}));
    EXPECT_EQ(ref.searchIndex().readIndexSlot(kHardnessSlots + 14), (NumberList{{3}}));
    EXPECT_GT(ref.colourChoiceCount(), 1);
  }
  EXPECT_FALSE(fs::exists(dir.file("kalvor.na")));
  const Bytes stored = testing::readFile(dir.file("kalvor.fl"));
  ASSERT_FALSE(stored.empty());
  EXPECT_EQ(MineralNameList::fromStored(stored).node(2).name, "Quarz");
  const Bytes index = testing::readFile(dir.file("kalvor.si"));
  ASSERT_GE(index.size(), kIndexListsOffset);
  EXPECT_EQ(loadU16(index.data()), 4 + 945);
  for (const char* name : {"kalvor.fs", "kalvor.st", "kalvor.vi"}) {
    EXPECT_TRUE(fs::exists(dir.file(name))) << name;
  }

  // Second start: nothing is built, no file is written.
  ageFiles(dir.path());
  const auto before = fileTimes(dir.path());
  {
    StartupResult second = openReferenceData(dir.path(), {nullptr, &progress, {}});
    ASSERT_TRUE(second.ready());
    EXPECT_FALSE(second.data->rebuilds().nameList);
    EXPECT_FALSE(second.data->rebuilds().searchIndex);
    EXPECT_FALSE(second.data->rebuilds().valueIndex);
    EXPECT_EQ(second.data->names().node(1).name, "Fluorapatit");
  }
  EXPECT_EQ(progress.started, 1);
  EXPECT_EQ(fileTimes(dir.path()), before);
}

TEST(Startup, NameListFromDatabaseWhenNeitherNameFileExists) {
  testing::ScratchDir dir;
  ASSERT_TRUE(smallDatabase().writeTo(dir.path()));
  StartupResult result = openReferenceData(dir.path());
  ASSERT_TRUE(result.ready());
  EXPECT_FALSE(fs::exists(dir.file("kalvor.na")));
  const MineralNameList onDisk = MineralNameList::fromStored(testing::readFile(dir.file("kalvor.fl")));
  ASSERT_EQ(onDisk.size(), 4u);
  EXPECT_EQ(onDisk.node(1).name, "Bergkristall");
  EXPECT_EQ(onDisk.node(1).id, 2u);
  EXPECT_TRUE(onDisk.node(1).alias);

  // A stored list of another database (three names for four entries) is
  // not trusted: it would name the wrong minerals.
  result.data.reset();
  const MineralNameList other =
      MineralNameList::build({{false, "Zirkon"}, {false, "Apatit"}, {false, "Quarz"}});
  ASSERT_TRUE(saveMineralNameList(dir.file("kalvor.fl"), other));
  result = openReferenceData(dir.path());
  ASSERT_TRUE(result.ready());
  EXPECT_TRUE(result.data->rebuilds().nameList);
  EXPECT_EQ(result.data->names().size(), 4u);
  EXPECT_EQ(MineralNameList::fromStored(testing::readFile(dir.file("kalvor.fl"))).size(), 4u);
}

TEST(Startup, ANameListStoredInTheOldOrderIsSortedAnew) {
  testing::ScratchDir dir;
  MineralFileWriter writer;
  writer.add(fullMineral("Abellait", 3));
  writer.add(fullMineral("\x8Alikit", 3));  // Šlikit
  writer.add(fullMineral("Quarz", 14));
  ASSERT_TRUE(writer.writeTo(dir.path()));
  // "kalvor.fl" as it was stored while Š compared as a negative byte, before "A".
  Bytes stale;
  for (auto [name, id] :
       {std::pair<std::string, std::uint16_t>{"\x8Alikit", 2}, {"Abellait", 1}, {"Quarz", 3}}) {
    stale.push_back(static_cast<std::uint8_t>(name.size()));
    stale.insert(stale.end(), name.begin(), name.end());
    stale.push_back(static_cast<std::uint8_t>(id));
    stale.push_back(0);
  }
  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.fl"), stale));
  StartupResult result = openReferenceData(dir.path());
  ASSERT_TRUE(result.ready());
  EXPECT_TRUE(result.data->rebuilds().nameList);
  const std::vector<std::string> order = {"Abellait", "Quarz", "\x8Alikit"};
  std::vector<std::string> shown;
  for (const NameListNode& node : result.data->names().nodes()) shown.push_back(node.name);
  EXPECT_EQ(shown, order);
  EXPECT_EQ(result.data->names().bucketStart('s' - 'a'), std::optional<std::size_t>(2));
  const MineralNameList onDisk = MineralNameList::fromStored(testing::readFile(dir.file("kalvor.fl")));
  std::vector<std::string> stored;
  for (const NameListNode& node : onDisk.nodes()) stored.push_back(node.name);
  EXPECT_EQ(stored, order);
  // Stored in the new order, the list is taken as it is at the next start.
  result.data.reset();
  result = openReferenceData(dir.path());
  ASSERT_TRUE(result.ready());
  EXPECT_FALSE(result.data->rebuilds().nameList);
}

TEST(Startup, SearchIndexStampDecidesRebuildAndFreeSpaceIsChecked) {
  testing::ScratchDir dir;
  ASSERT_TRUE(smallDatabase().writeTo(dir.path()));
  const std::string path = dir.file("kalvor.si");
  ASSERT_TRUE(openReferenceData(dir.path()).ready());

  // A fitting stamp keeps the file as it is, even with other lists in it.
  Bytes marked = testing::readFile(path);
  const std::uint32_t imaList = loadU32(marked.data() + 2 + 4 * kImaRecognisedSlot);
  storeU16(marked.data() + imaList + 2, 2);  // 0, 2, 3 -> 2, 2, 3
  ASSERT_TRUE(testing::writeFile(path, marked));
  CountingProgress progress;
  {
    StartupResult kept = openReferenceData(dir.path(), {nullptr, &progress, {}});
    ASSERT_TRUE(kept.ready());
    EXPECT_EQ(kept.data->searchIndex().readIndexSlot(kImaRecognisedSlot)->numbers.front(), 2);
    EXPECT_EQ(progress.started, 0);
  }

  // A right stamp on a file cut short is no index: rebuilt.
  ASSERT_TRUE(testing::writeFile(path, Bytes(marked.begin(), marked.begin() + kIndexListsOffset)));
  {
    StartupResult cut = openReferenceData(dir.path(), {nullptr, &progress, {}});
    ASSERT_TRUE(cut.ready());
    EXPECT_TRUE(cut.data->rebuilds().searchIndex);
    EXPECT_EQ(cut.data->searchIndex().readIndexSlot(kImaRecognisedSlot), (NumberList{{0, 2, 3}}));
  }
  EXPECT_EQ(testing::readFile(path).size(), marked.size());

  // A stale stamp (another entry count) rebuilds, unless the disk is too full.
  Bytes stale = testing::readFile(path);
  storeU16(stale.data(), 5 + 945);
  ASSERT_TRUE(testing::writeFile(path, stale));
  std::string askedFolder;
  const auto tooLittle = [&askedFolder](const std::string& folder) {
    askedFolder = folder;
    return std::optional<std::uint64_t>(kMinFreeSpaceForIndex - 1);
  };
  StartupResult full = openReferenceData(dir.path(), {nullptr, &progress, tooLittle});
  EXPECT_FALSE(full.ready());
  EXPECT_EQ(full.messageId, 10006);
  EXPECT_EQ(full.captionId, 10007);
  EXPECT_EQ(askedFolder, dir.path());
  EXPECT_EQ(progress.started, 1);  // only the rebuild of the cut file
  EXPECT_FALSE(fs::exists(path));  // deleted, so the next start tries again

  // Exactly the limit, or more than 32 bits can hold: enough.
  for (std::uint64_t free : {kMinFreeSpaceForIndex, std::uint64_t{5} << 40}) {
    ASSERT_TRUE(testing::writeFile(path, stale));
    const auto enough = [free](const std::string&) { return std::optional<std::uint64_t>(free); };
    StartupResult rebuilt = openReferenceData(dir.path(), {nullptr, &progress, enough});
    ASSERT_TRUE(rebuilt.ready());
    EXPECT_TRUE(rebuilt.data->rebuilds().searchIndex);
    EXPECT_EQ(rebuilt.data->searchIndex().readIndexSlot(kImaRecognisedSlot), (NumberList{{0, 2, 3}}));
    EXPECT_EQ(loadU16(testing::readFile(path).data()), 4 + 945);
  }
  EXPECT_EQ(progress.started, 3);
  EXPECT_EQ(progress.finished, 3);

  // Free space that cannot be asked does not stop the start.
  fs::remove(path);
  const auto unknown = [](const std::string&) { return std::optional<std::uint64_t>(); };
  EXPECT_TRUE(openReferenceData(dir.path(), {nullptr, nullptr, unknown}).ready());
  EXPECT_TRUE(fs::exists(path));
}

TEST(Startup, PicturesComeWithTheirListsOrNotAtAll) {
  testing::ScratchDir dir;
  MineralFileWriter db = smallDatabase();
  ASSERT_TRUE(db.writeTo(dir.path()));
  PictureFileWriter pictures;
  const std::vector<std::uint8_t> bitmap(2 * 2, 0xFF);
  const std::uint32_t picture = pictures.addPicture(16, 2, "Zirkonkristall", bitmap);
  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.pf"), pictures.build()));
  {
    StartupResult result = openReferenceData(dir.path());
    ASSERT_TRUE(result.ready());
    EXPECT_EQ(result.data->pictures(), nullptr);
    EXPECT_EQ(result.data->pictureLists(), nullptr);
    EXPECT_EQ(result.data->drawings(), nullptr);
  }
  PictureListWriter lists(4);
  ASSERT_TRUE(lists.setList(0, {PictureEntry::make(static_cast<std::uint16_t>(picture), "Zirkon")}));
  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.zi"), lists.build()));
  DrawingFileWriter drawings(4);
  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.lf"), drawings.build()));
  StartupResult result = openReferenceData(dir.path());
  ASSERT_TRUE(result.ready());
  ASSERT_NE(result.data->pictures(), nullptr);
  ASSERT_NE(result.data->pictureLists(), nullptr);
  EXPECT_NE(result.data->drawings(), nullptr);
  EXPECT_EQ(result.data->pictures()->pictureCount(), 1u);
  const std::vector<PictureEntry> zirkon = result.data->pictureLists()->pictureListFor(0);
  ASSERT_EQ(zirkon.size(), 1u);
  EXPECT_EQ(zirkon[0].caption(), "Zirkon");
  EXPECT_TRUE(result.data->pictureLists()->pictureListFor(3).empty());
}

TEST(Startup, MissingOrShortMineralFilesFailWithoutWritingAnything) {
  const MineralFileWriter db = smallDatabase();
  const Bytes mi = db.indexFile();
  const Bytes records = db.recordFile();
  const std::uint32_t lastOffset = *MineralDatabase::fromBytes(mi, records)->entryOffset(3);
  struct Case {
    const char* what;
    std::optional<Bytes> mi;
    std::optional<Bytes> db;
  };
  const std::vector<Case> cases = {
      {"kalvor.mi missing", std::nullopt, records},
      {"kalvor.db missing", mi, std::nullopt},
      {"kalvor.mi without its last offset", Bytes(mi.begin(), mi.end() - 4), records},
      {"kalvor.mi empty", Bytes{}, records},
      {"kalvor.db ends before its last entry", mi, Bytes(records.begin(), records.begin() + lastOffset)},
  };
  for (const Case& c : cases) {
    testing::ScratchDir dir;
    if (c.mi) {
      ASSERT_TRUE(testing::writeFile(dir.file("kalvor.mi"), *c.mi));
    }
    if (c.db) {
      ASSERT_TRUE(testing::writeFile(dir.file("kalvor.db"), *c.db));
    }
    const StartupResult result = openReferenceData(dir.path());
    EXPECT_FALSE(result.ready()) << c.what;
    EXPECT_EQ(result.messageId, 10002) << c.what;
    EXPECT_EQ(result.captionId, 10003) << c.what;
    for (const char* name : {"kalvor.fl", "kalvor.si", "kalvor.fs", "kalvor.vi"}) {
      EXPECT_FALSE(fs::exists(dir.file(name))) << c.what << ": " << name;
    }
  }
}

TEST(Startup, CollectionOpensWithItsValueIndexAndSortOrder) {
  testing::ScratchDir dir;
  ASSERT_TRUE(smallDatabase().writeTo(dir.path()));
  {
    StartupResult first = openReferenceData(dir.path());
    ASSERT_TRUE(first.ready());
    Collection& c = first.data->collection();
    for (int k = 0; k < 2; ++k) {
      Specimen s;
      s.flags = specimen_format::kFlagCollection;
      s.minerals = {4};  // Quarz, stored as MineralNumber + 1
      s.mainCount = 1;
      ASSERT_TRUE(writeSpecimen(c, 0, s));
    }
    ASSERT_TRUE(c.resortSpecimens());
  }
  const auto quarzSpecimens = [](ReferenceData& ref) {
    auto set = ref.collection().valueIndex().getRecordSet(IndexValue::ofNumber(3),
                                                           index_field::kSpecimenMineral);
    return set ? set->members() : std::vector<std::uint32_t>{};
  };

  // A lost value index is rebuilt from the records, and only once.
  fs::remove(dir.file("kalvor.vi"));
  CountingProgress progress;
  {
    StartupResult second = openReferenceData(dir.path(), {nullptr, &progress, {}});
    ASSERT_TRUE(second.ready());
    EXPECT_TRUE(second.data->rebuilds().valueIndex);
    EXPECT_FALSE(second.data->rebuilds().searchIndex);
    EXPECT_EQ(second.data->collection().specimenCount(), 2u);
    EXPECT_EQ(quarzSpecimens(*second.data), (std::vector<std::uint32_t>{1, 2}));
  }
  EXPECT_GT(progress.lines, 0);
  const int linesAfterRebuild = progress.lines;
  {
    StartupResult third = openReferenceData(dir.path(), {nullptr, &progress, {}});
    ASSERT_TRUE(third.ready());
    EXPECT_FALSE(third.data->rebuilds().valueIndex);
    EXPECT_EQ(quarzSpecimens(*third.data), (std::vector<std::uint32_t>{1, 2}));
  }
  EXPECT_EQ(progress.lines, linesAfterRebuild);

  // A lost specimen order is sorted and saved again.
  fs::remove(dir.file("kalvor.sts"));
  {
    StartupResult fourth = openReferenceData(dir.path());
    ASSERT_TRUE(fourth.ready());
    EXPECT_EQ(fourth.data->collection().specimenOrder().count, 2u);
  }
  EXPECT_TRUE(fs::exists(dir.file("kalvor.sts")));

  // A specimen store that cannot be opened stops the start.
  fs::remove(dir.file("kalvor.st"));
  fs::create_directory(dir.file("kalvor.st"));
  const StartupResult broken = openReferenceData(dir.path());
  EXPECT_FALSE(broken.ready());
  EXPECT_EQ(broken.messageId, 10002);
  EXPECT_EQ(broken.captionId, 10003);
}

TEST(Startup, StampIsEntryCountPlus945TruncatedTo16Bits) {
  EXPECT_EQ(expectedIndexStamp(100), 1045);
  EXPECT_EQ(expectedIndexStamp(65000), 409);         // 65945 - 65536
  EXPECT_EQ(expectedIndexStamp(64590), -1);          // 0xFFFF, compared signed
  EXPECT_EQ(expectedIndexStamp(64591), 0);           // as a missing file reads

  // A database of 65000 entries: the file carries 409 and is kept next time.
  testing::ScratchDir dir;
  MineralFileWriter writer;
  writer.add(fullMineral("Quarz", 14));
  const std::vector<std::uint8_t> aliasEntry = encodeMineralEntry(alias("Name", "Quarz"));
  while (writer.entryCount() < 65000) ASSERT_TRUE(writer.addRawEntry(aliasEntry));
  ASSERT_TRUE(writer.writeTo(dir.path()));
  CountingProgress progress;
  {
    StartupResult first = openReferenceData(dir.path(), {nullptr, &progress, {}});
    ASSERT_TRUE(first.ready());
    EXPECT_EQ(first.data->searchIndex().readIndexSlot(kImaRecognisedSlot), (NumberList{{0}}));
  }
  EXPECT_EQ(loadU16(testing::readFile(dir.file("kalvor.si")).data()), 409);
  StartupResult second = openReferenceData(dir.path(), {nullptr, &progress, {}});
  ASSERT_TRUE(second.ready());
  EXPECT_FALSE(second.data->rebuilds().searchIndex);
  EXPECT_FALSE(second.data->rebuilds().nameList);
  EXPECT_EQ(progress.started, 1);
}

}  // namespace
}  // namespace kalvor
