// One writer at a time, and collections that can only be read: a second
// writer is refused and writes nothing, readers open beside a writer, a
// collection in a read-only folder or with files the user may only read
// opens for reading with the reason named, and an index marked damaged
// ("Index-Defekt") is rebuilt before anything is written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "collection/store_format.h"
#include "platform/faulty_file_layer.h"
#include "platform/memory_file_layer.h"
#include "platform/settings.h"
#include "platform/settings_keys.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;

const std::string kFolder = "/sammlung";

void addLocalities(Collection& c, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    Locality loc;
    loc.name = name;
    EXPECT_TRUE(saveLocalityFromForm(c, loc));
  }
}

void addSpecimen(Collection& c, const char* minerals) {
  SpecimenFormFields f;
  f.mainMinerals = minerals;
  f.localityItem = 2;
  EXPECT_EQ(collectAndSaveSpecimen(c, f, 0).status, FormStatus::kSaved);
}

// Three localities and two specimens of Quarz, closed.
MemoryFileLayer smallCollection() {
  MemoryFileLayer files;
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, files);
  EXPECT_EQ(c.open(kFolder), Collection::OpenResult::kReady);
  addLocalities(c, {"Grube Clara", "Lautenthal", "Tsumeb"});
  addSpecimen(c, "Quarz");
  addSpecimen(c, "Quarz");
  return files;
}

// Every file with its bytes and read-only mark.
std::vector<std::tuple<std::string, Bytes, bool>> snapshot(const MemoryFileLayer& files) {
  std::vector<std::tuple<std::string, Bytes, bool>> out;
  for (const std::string& name : files.names())
    out.emplace_back(name, *files.contents(name), files.isReadOnly(name));
  return out;
}

Numbers quarzSpecimens(Collection& c) {
  const auto set = c.valueIndex().getRecordSet(IndexValue::ofNumber(kQuarz), index_field::kSpecimenMineral);
  return set ? set->members() : Numbers{};
}

TEST(CollectionLock, ASecondWriterIsRefusedAndWritesNothingReadersShare) {
  MemoryFileLayer files = smallCollection();
  const MineralNameList names = testNameList();
  Collection writer(names, 6, nullptr, files);
  ASSERT_EQ(writer.open(kFolder), Collection::OpenResult::kReady);
  EXPECT_FALSE(writer.readOnly());
  const auto before = snapshot(files);

  Collection second(names, 6, nullptr, files);
  EXPECT_EQ(second.open(kFolder), Collection::OpenResult::kBusy);
  EXPECT_NE(second.openProblem().find("/sammlung\" wird gerade von einem anderen Programm"),
            std::string::npos)
      << second.openProblem();
  EXPECT_EQ(second.localityCount(), 0u);
  EXPECT_EQ(snapshot(files), before);

  Collection reader(names, 6, nullptr, files);
  ASSERT_EQ(reader.open(kFolder, nullptr, Collection::Access::kRead), Collection::OpenResult::kReady);
  EXPECT_TRUE(reader.readOnly());
  EXPECT_TRUE(reader.readOnlyReason().empty());
  EXPECT_EQ(readLocality(reader, 2)->name, "Lautenthal");
  EXPECT_EQ(quarzSpecimens(reader), (Numbers{1, 2}));
  // A reader cannot write, even by mistake, and closing it leaves every mark.
  Locality stray;
  stray.name = "Irrtum";
  EXPECT_FALSE(saveLocalityFromForm(reader, stray));
  reader.close();
  EXPECT_EQ(snapshot(files), before);

  // The writer goes on; once it has closed, the next one may write.
  addLocalities(writer, {"Erzberg"});
  writer.close();
  ASSERT_EQ(second.open(kFolder), Collection::OpenResult::kReady);
  EXPECT_EQ(second.localityCount(), 4u);
  // Restoring a backup closes the stores but keeps the lock.
  std::unique_ptr<FolderLock> held = second.closeKeepingLock();
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(writer.open(kFolder), Collection::OpenResult::kBusy);
  held.reset();
  EXPECT_EQ(writer.open(kFolder), Collection::OpenResult::kReady);
}

TEST(CollectionLock, WhatCanOnlyBeReadOpensReadOnlyNamingWhy) {
  const MemoryFileLayer intact = smallCollection();
  const MineralNameList names = testNameList();
  {
    // A read-only folder: the stores themselves could be written, but not
    // the sort orders or a new file; no "disk full" for that.
    MemoryFileLayer files = intact;
    files.setFolderReadOnly(kFolder, true);
    const auto before = snapshot(files);
    Collection c(names, 6, nullptr, files);
    ASSERT_EQ(c.open(kFolder), Collection::OpenResult::kReady);
    EXPECT_TRUE(c.readOnly());
    EXPECT_NE(c.readOnlyReason().find(
                  "/sammlung\" kann nur gelesen werden: Sie d\xFCrfen in diesem Ordner nur lesen"),
              std::string::npos)
        << c.readOnlyReason();
    EXPECT_EQ(c.localityCount(), 3u);
    EXPECT_EQ(readLocality(c, 3)->name, "Tsumeb");
    EXPECT_EQ(quarzSpecimens(c), (Numbers{1, 2}));
    SpecimenFormFields f;
    f.mainMinerals = "Calcit";
    EXPECT_NE(collectAndSaveSpecimen(c, f, 0).status, FormStatus::kSaved);
    c.close();
    EXPECT_EQ(snapshot(files), before);
  }
  {
    // Someone else's store file: its mark cannot be cleared.
    MemoryFileLayer files = intact;
    files.denyWriting(kFolder + "/" + store_format::kSpecimenFileName);
    const auto before = snapshot(files);
    Collection c(names, 6, nullptr, files);
    ASSERT_EQ(c.open(kFolder), Collection::OpenResult::kReady);
    EXPECT_TRUE(c.readOnly());
    EXPECT_NE(c.readOnlyReason().find("Sie d\xFCrfen die Datei \"kalvor.st\" nur lesen"), std::string::npos)
        << c.readOnlyReason();
    EXPECT_EQ(c.specimenCount(), 2u);
    EXPECT_EQ(quarzSpecimens(c), (Numbers{1, 2}));
    c.close();
    EXPECT_EQ(snapshot(files), before);
    // Nothing held: another program may still open it (for reading, too).
    Collection other(names, 6, nullptr, files);
    EXPECT_EQ(other.open(kFolder), Collection::OpenResult::kReady);
  }
  {
    // A read-only folder without a collection yet: an empty one to look at, nothing created.
    MemoryFileLayer files;
    files.setFolderReadOnly(kFolder, true);
    Collection c(names, 6, nullptr, files);
    ASSERT_EQ(c.open(kFolder), Collection::OpenResult::kReady);
    EXPECT_TRUE(c.readOnly());
    EXPECT_EQ(c.localityCount(), 0u);
    c.close();
    EXPECT_TRUE(files.names().empty());
  }
  {
    // A store that cannot be read at all is named in the message.
    MemoryFileLayer files = intact;
    files.put(kFolder + "/" + store_format::kLocalityFileName, Bytes(10, 0xFF));
    Collection c(names, 6, nullptr, files);
    EXPECT_EQ(c.open(kFolder, nullptr, Collection::Access::kRead), Collection::OpenResult::kUnavailable);
    EXPECT_NE(c.openProblem().find("\"kalvor.fs\""), std::string::npos) << c.openProblem();
  }
}

TEST(CollectionLock, AnIndexMarkedDamagedIsRebuiltBeforeTheFirstWrite) {
  ScratchDir dir;
  std::unique_ptr<Settings> settings = openIniSettings(dir.file("kalvor.ini"));
  const MineralNameList names = testNameList();
  MemoryFileLayer files = smallCollection();
  {
    // The state the finding left: the flag set, and a specimen saved while it
    // was set, so the index does not know it.
    Collection c(names, 6, settings.get(), files);
    ASSERT_EQ(c.open(kFolder), Collection::OpenResult::kReady);
    c.valueIndex().setUnavailable(true);
    addSpecimen(c, "Quarz");
    EXPECT_EQ(quarzSpecimens(c), (Numbers{1, 2}));
  }
  ASSERT_TRUE(ini::readFlag(*settings, ini::kIndexBroken));
  const auto before = snapshot(files);
  {
    // A reader answers from an index rebuilt in memory and leaves flag and files alone.
    Collection reader(names, 6, settings.get(), files);
    ASSERT_EQ(reader.open(kFolder, nullptr, Collection::Access::kRead), Collection::OpenResult::kRebuilt);
    EXPECT_TRUE(reader.indexMarkedDamaged());
    EXPECT_EQ(quarzSpecimens(reader), (Numbers{1, 2, 3}));
    EXPECT_FALSE(reader.unavailable());
  }
  EXPECT_TRUE(ini::readFlag(*settings, ini::kIndexBroken));
  EXPECT_EQ(snapshot(files), before);
  {
    // The next writer rebuilds first: the flag goes, new saves are indexed.
    Collection writer(names, 6, settings.get(), files);
    ASSERT_EQ(writer.open(kFolder), Collection::OpenResult::kRebuilt);
    EXPECT_TRUE(writer.healedDamagedIndex());
    EXPECT_FALSE(writer.unavailable());
    EXPECT_FALSE(ini::readFlag(*settings, ini::kIndexBroken));
    addSpecimen(writer, "Quarz");
    EXPECT_EQ(quarzSpecimens(writer), (Numbers{1, 2, 3, 4}));
  }
  {
    Collection again(names, 6, settings.get(), files);
    ASSERT_EQ(again.open(kFolder), Collection::OpenResult::kReady);
    EXPECT_FALSE(again.healedDamagedIndex());
  }
}

TEST(CollectionLock, AFullDiskDuringTheHealingRebuildIsReportedNotHidden) {
  ScratchDir dir;
  std::unique_ptr<Settings> settings = openIniSettings(dir.file("kalvor.ini"));
  const MineralNameList names = testNameList();
  MemoryFileLayer files = smallCollection();
  ASSERT_TRUE(ini::writeInt(*settings, ini::kIndexBroken, 1));
  FaultyFileLayer faulty(files, FaultPlan::shortWrite(1));
  {
    Collection c(names, 6, settings.get(), faulty);
    EXPECT_EQ(c.open(kFolder), Collection::OpenResult::kUnavailable);
    EXPECT_TRUE(faulty.faultInjected());
    EXPECT_TRUE(c.unavailable());
    EXPECT_NE(c.openProblem().find("\"kalvor.vi\""), std::string::npos) << c.openProblem();
  }
  // The flag stays for the next attempt, which heals it.
  EXPECT_TRUE(ini::readFlag(*settings, ini::kIndexBroken));
  Collection c(names, 6, settings.get(), files);
  ASSERT_EQ(c.open(kFolder), Collection::OpenResult::kRebuilt);
  EXPECT_EQ(quarzSpecimens(c), (Numbers{1, 2}));
  EXPECT_FALSE(ini::readFlag(*settings, ini::kIndexBroken));
}

// The real disk, two real processes: a child holds the collection open for
// writing while the parent tries to write, then lets go.
TEST(CollectionLock, TwoProcessesOnTheRealDisk) {
  ScratchDir dir;
  const MineralNameList names = testNameList();
  {
    Collection c(names, 6, nullptr);
    ASSERT_EQ(c.open(dir.path()), Collection::OpenResult::kReady);
    addLocalities(c, {"Grube Clara"});
  }
  int ready[2];
  int go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[0]);
    close(go[1]);
    Collection c(names, 6, nullptr);
    const bool opened = c.open(dir.path()) == Collection::OpenResult::kReady;
    const char byte = opened ? 'W' : 'X';
    if (write(ready[1], &byte, 1) != 1) _exit(2);
    char wait = 0;
    if (read(go[0], &wait, 1) != 1) _exit(3);
    Locality loc;
    loc.name = "Lautenthal";
    _exit(saveLocalityFromForm(c, loc) ? 0 : 4);
  }
  close(ready[1]);
  close(go[0]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  ASSERT_EQ(byte, 'W');
  const Bytes fs = readFile(dir.file("kalvor.fs"));
  const Bytes vi = readFile(dir.file("kalvor.vi"));
  {
    Collection second(names, 6, nullptr);
    EXPECT_EQ(second.open(dir.path()), Collection::OpenResult::kBusy);
    Collection reader(names, 6, nullptr);
    ASSERT_EQ(reader.open(dir.path(), nullptr, Collection::Access::kRead), Collection::OpenResult::kReady);
    EXPECT_EQ(readLocality(reader, 1)->name, "Grube Clara");
  }
  EXPECT_EQ(readFile(dir.file("kalvor.fs")), fs);
  EXPECT_EQ(readFile(dir.file("kalvor.vi")), vi);
  ASSERT_EQ(write(go[1], "g", 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  close(ready[0]);
  close(go[1]);
  Collection after(names, 6, nullptr);
  ASSERT_EQ(after.open(dir.path()), Collection::OpenResult::kReady);
  EXPECT_EQ(after.localityCount(), 2u);
  EXPECT_EQ(readLocality(after, 2)->name, "Lautenthal");
}

// A real read-only folder (chmod): the collection opens for reading with the reason.
TEST(CollectionLock, ARealReadOnlyFolderOpensForReading) {
  if (geteuid() == 0)
    GTEST_SKIP() << "runs as root, which may write into any folder; the read-only "
                    "folder is covered through the memory file layer";
  ScratchDir dir;
  const MineralNameList names = testNameList();
  {
    Collection c(names, 6, nullptr);
    ASSERT_EQ(c.open(dir.path()), Collection::OpenResult::kReady);
    addLocalities(c, {"Grube Clara", "Tsumeb"});
  }
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
  const Bytes fs = readFile(dir.file("kalvor.fs"));
  {
    Collection c(names, 6, nullptr);
    ASSERT_EQ(c.open(dir.path()), Collection::OpenResult::kReady);
    EXPECT_TRUE(c.readOnly());
    EXPECT_NE(c.readOnlyReason().find("kann nur gelesen werden"), std::string::npos) << c.readOnlyReason();
    EXPECT_EQ(readLocality(c, 2)->name, "Tsumeb");
    Locality loc;
    loc.name = "Erzberg";
    EXPECT_FALSE(saveLocalityFromForm(c, loc));
  }
  EXPECT_EQ(readFile(dir.file("kalvor.fs")), fs);
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
}

}  // namespace
}  // namespace kalvor
