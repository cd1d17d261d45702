// Backups of the collection: a generation only after a change, ten kept,
// restores byte for byte, damaged generations found and not counted.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "base/file_io.h"
#include "collection/backup.h"
#include "collection/locality.h"
#include "platform/file_attributes.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using kalvor::testing::CollectionFixture;

std::string nameAt(int second) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 6;
  t.tm_hour = 16;
  t.tm_min = second / 60;
  t.tm_sec = second % 60;
  return backupNameFor(t);
}

void addLocality(CollectionFixture& f, const std::string& name) {
  f.reopen();
  Locality loc;
  loc.name = name;
  loc.country = "Deutschland";
  loc.minerals = {kalvor::testing::kFluorit};
  ASSERT_TRUE(writeLocality(f.c(), 0, loc));
  ASSERT_TRUE(addLocalityKeys(f.c(), loc));
  // As the entry commands leave it: the sort order with its side file.
  ASSERT_TRUE(f.c().resortLocalities());
  f.c().close();
}

std::map<std::string, Bytes> collectionFiles(const std::string& folder) {
  std::map<std::string, Bytes> files;
  for (const char* name : backupFileNames())
    if (auto bytes = readWholeFile(joinPath(folder, name))) files[name] = *bytes;
  return files;
}

std::vector<std::string> validNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const BackupEntry& e : listBackups(folder))
    if (e.valid) names.push_back(e.name);
  return names;
}

TEST(Backup, NameCarriesDateAndTime) { EXPECT_EQ(nameAt(3 * 60 + 7), "2026-12-06_16-03-07"); }

TEST(Backup, GenerationOnlyAfterAChangeAndTenKept) {
  CollectionFixture f;
  const MineralNameList names = kalvor::testing::testNameList();
  const std::string folder = f.dir().path();
  addLocality(f, "Grube Clara");

  const BackupOutcome first = backupCollection(folder, names, 6, nameAt(0));
  ASSERT_EQ(first.status, BackupStatus::kCreated);
  EXPECT_EQ(first.name, nameAt(0));
  // The generation holds the collection files as they were, byte for byte.
  EXPECT_EQ(collectionFiles(joinPath(joinPath(folder, kBackupFolderName), first.name)),
            collectionFiles(folder));
  EXPECT_EQ(collectionFiles(folder).size(), 5u);

  // Nothing changed: no generation.
  EXPECT_EQ(backupCollection(folder, names, 6, nameAt(1)).status, BackupStatus::kUnchanged);
  // Opening and closing without a write changes nothing either.
  f.reopen();
  f.c().close();
  EXPECT_EQ(backupCollection(folder, names, 6, nameAt(2)).status, BackupStatus::kUnchanged);
  EXPECT_EQ(validNames(folder), std::vector<std::string>{nameAt(0)});

  // Each change makes one; the eleventh removes the oldest.
  for (int i = 1; i <= 10; ++i) {
    addLocality(f, "Fundort " + std::to_string(i));
    const BackupOutcome o = backupCollection(folder, names, 6, nameAt(10 * i));
    ASSERT_EQ(o.status, BackupStatus::kCreated) << i;
    EXPECT_EQ(o.removed, i == 10 ? std::vector<std::string>{nameAt(0)} : std::vector<std::string>{}) << i;
  }
  const std::vector<std::string> kept = validNames(folder);
  ASSERT_EQ(kept.size(), kBackupGenerationsKept);
  EXPECT_EQ(kept.front(), nameAt(10));
  EXPECT_EQ(kept.back(), nameAt(100));
  EXPECT_FALSE(std::filesystem::exists(joinPath(joinPath(folder, kBackupFolderName), nameAt(0))));

  // A second generation in the same second gets a suffix and sorts after the first.
  addLocality(f, "Grube Wenzel");
  const BackupOutcome same = backupCollection(folder, names, 6, nameAt(100));
  ASSERT_EQ(same.status, BackupStatus::kCreated);
  EXPECT_EQ(same.name, nameAt(100) + "-2");
  EXPECT_EQ(validNames(folder).back(), nameAt(100) + "-2");
}

TEST(Backup, RestoreGivesByteIdenticalFilesAndKeepsTheCurrentState) {
  CollectionFixture f;
  const MineralNameList names = kalvor::testing::testNameList();
  const std::string folder = f.dir().path();
  addLocality(f, "Grube Clara");
  ASSERT_EQ(backupCollection(folder, names, 6, nameAt(0)).status, BackupStatus::kCreated);
  const auto saved = collectionFiles(folder);

  addLocality(f, "Grube Wenzel");
  const auto changed = collectionFiles(folder);
  ASSERT_NE(saved, changed);
  EXPECT_EQ(restoreBackup(folder, names, 6, nameAt(0), nameAt(5)), RestoreStatus::kRestored);
  EXPECT_EQ(collectionFiles(folder), saved);
  EXPECT_TRUE(isFileReadOnly(joinPath(folder, "kalvor.fs")));
  // The state before the restore is a generation of its own.
  EXPECT_EQ(validNames(folder), (std::vector<std::string>{nameAt(0), nameAt(5)}));
  EXPECT_EQ(collectionFiles(joinPath(joinPath(folder, kBackupFolderName), nameAt(5))), changed);
  // And the restored collection opens and reads.
  EXPECT_EQ(f.reopen(), Collection::OpenResult::kReady);
  EXPECT_EQ(f.c().localityCount(), 1u);
  ASSERT_TRUE(readLocality(f.c(), 1));
  EXPECT_EQ(readLocality(f.c(), 1)->name, "Grube Clara");
  f.c().close();

  EXPECT_EQ(restoreBackup(folder, names, 6, "2001-01-01_00-00-00", nameAt(6)), RestoreStatus::kUnknown);
  EXPECT_EQ(restoreBackup(folder, names, 6, "../x", nameAt(6)), RestoreStatus::kUnknown);
}

TEST(Backup, DamagedGenerationIsFoundNotCountedNotRestored) {
  CollectionFixture f;
  const MineralNameList names = kalvor::testing::testNameList();
  const std::string folder = f.dir().path();
  const std::string root = joinPath(folder, kBackupFolderName);
  addLocality(f, "Grube Clara");
  ASSERT_EQ(backupCollection(folder, names, 6, nameAt(0)).status, BackupStatus::kCreated);
  addLocality(f, "Grube Wenzel");
  ASSERT_EQ(backupCollection(folder, names, 6, nameAt(1)).status, BackupStatus::kCreated);

  // One flipped byte in the newest generation's locality file.
  const std::string damaged = joinPath(joinPath(root, nameAt(1)), "kalvor.fs");
  Bytes bytes = *readWholeFile(damaged);
  bytes[bytes.size() / 2] ^= 0x40;
  ASSERT_TRUE(writeWholeFile(damaged, bytes));
  const std::vector<BackupEntry> entries = listBackups(folder);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_TRUE(entries[0].valid);
  EXPECT_FALSE(entries[1].valid);
  EXPECT_EQ(restoreBackup(folder, names, 6, nameAt(1), nameAt(2)), RestoreStatus::kDamaged);

  // The unchanged collection no longer has a valid copy: the next run makes one.
  EXPECT_EQ(backupCollection(folder, names, 6, nameAt(3)).status, BackupStatus::kCreated);

  // A damaged generation does not count towards the ten: ten valid ones remain beside it.
  for (int i = 0; i < 12; ++i) {
    addLocality(f, "Fundort " + std::to_string(i));
    ASSERT_EQ(backupCollection(folder, names, 6, nameAt(10 + i)).status, BackupStatus::kCreated);
  }
  EXPECT_EQ(validNames(folder).size(), kBackupGenerationsKept);
  EXPECT_TRUE(std::filesystem::exists(joinPath(root, nameAt(1))));

  // A generation whose list of contents is missing is not valid either.
  std::filesystem::remove(joinPath(joinPath(root, validNames(folder).back()), kBackupManifestName));
  EXPECT_EQ(validNames(folder).size(), kBackupGenerationsKept - 1);
}

TEST(Backup, CollectionThatDoesNotReopenIsNotKept) {
  CollectionFixture f;
  const MineralNameList names = kalvor::testing::testNameList();
  const std::string folder = f.dir().path();
  addLocality(f, "Grube Clara");
  // Records without their value index: the copy would need a rebuild to open.
  ASSERT_TRUE(std::filesystem::remove(joinPath(folder, "kalvor.vi")));
  const BackupOutcome broken = backupCollection(folder, names, 6, nameAt(0));
  EXPECT_EQ(broken.status, BackupStatus::kNotVerified);
  EXPECT_TRUE(listBackups(folder).empty());
}

TEST(Backup, NoCollectionNoGeneration) {
  kalvor::testing::ScratchDir dir;
  const MineralNameList names = kalvor::testing::testNameList();
  EXPECT_EQ(backupCollection(dir.path(), names, 6, nameAt(0)).status, BackupStatus::kNoCollection);
  EXPECT_FALSE(std::filesystem::exists(joinPath(dir.path(), kBackupFolderName)));
}

}  // namespace
}  // namespace kalvor
