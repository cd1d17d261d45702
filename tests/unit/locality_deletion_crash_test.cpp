// Interrupted locality deletions (with the specimens, or moving them onto a
// replacement). In process: both deletions run through the fault-injecting
// file layer, crashed or given a full disk at every write point in turn; the
// next open must complete a deletion that had begun, and afterwards no
// specimen refers to a deleted locality, every locality lists exactly its
// specimens, no specimen is lost and the value index agrees. With a real
// process: a writer that reports every write is killed with SIGKILL at a
// random write inside a deletion.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <random>

#include "collection/command_journal.h"
#include "collection/index_check.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "platform/faulty_file_layer.h"
#include "platform/memory_file_layer.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;

const std::string kFolder = "/sammlung";

void saveLocality(Collection& c, const char* name, const char* region) {
  Locality loc;
  loc.name = name;
  loc.region = region;
  loc.minerals = {kQuarz};
  ASSERT_TRUE(saveLocalityFromForm(c, loc));
}

void saveSpecimenAt(Collection& c, const char* minerals, std::uint32_t locality, const char* index) {
  SpecimenFormFields f;
  f.mainMinerals = minerals;
  f.localityItem = static_cast<std::uint16_t>(locality + 1);
  f.index = index;
  ASSERT_EQ(collectAndSaveSpecimen(c, f, 0).status, FormStatus::kSaved);
}

// Three localities: 1 with specimens 1-3, 2 with 4, 3 with 5 and 6.
MemoryFileLayer startingCollection() {
  MemoryFileLayer memory;
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, memory);
  EXPECT_NE(c.open(kFolder), Collection::OpenResult::kUnavailable);
  saveLocality(c, "Grube Clara", "Schwarzwald");
  saveLocality(c, "Lautenthal", "Harz");
  saveLocality(c, "Erzberg", "Steiermark");
  saveSpecimenAt(c, "Fluorit", 1, "A1");
  saveSpecimenAt(c, "Baryt, Quarz", 1, "A2");
  saveSpecimenAt(c, "Calcit", 1, "A3");
  saveSpecimenAt(c, "Quarz", 2, "B1");
  saveSpecimenAt(c, "Baryt", 3, "C1");
  saveSpecimenAt(c, "Fluorit, Calcit", 3, "C2");
  return memory;
}

// The two deletions; returns how many reported success before the first failure.
int runDeletions(FileLayer& files) {
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, files);
  if (c.open(kFolder) == Collection::OpenResult::kUnavailable) return 0;
  if (!deleteLocality(c, 1, false, 2)) return 0;
  if (!deleteLocality(c, 3, true, 0)) return 1;
  return 2;
}

// The state of the collection: no half-done deletion, nothing lost.
void checkConsistent(Collection& c, const std::string& where) {
  ASSERT_EQ(c.specimenCount(), 6u) << where;
  ASSERT_EQ(c.localityCount(), 3u) << where;
  std::map<std::uint32_t, std::vector<std::uint32_t>> listed;
  for (std::uint32_t l = 1; l <= 3; ++l) {
    const std::optional<Locality> loc = readLocality(c, l);
    ASSERT_TRUE(loc) << where << ": locality " << l;
    if (!loc->deleted()) listed[l] = loc->specimens;
  }
  for (std::uint32_t n = 1; n <= 6; ++n) {
    const std::optional<Specimen> s = readSpecimen(c, n);
    ASSERT_TRUE(s) << where << ": specimen " << n << " unreadable";
    // Nothing lost: its own fields are as they were entered.
    EXPECT_EQ(s->index, std::string(n <= 3   ? "A"
                                    : n == 4 ? "B"
                                             : "C") +
                            std::to_string(n <= 3   ? n
                                           : n == 4 ? 1
                                                    : n - 4))
        << where;
    if (s->deleted()) continue;
    const std::uint32_t l = s->localityNumber();
    if (l == 0) continue;
    ASSERT_TRUE(listed.count(l)) << where << ": specimen " << n << " refers to deleted locality " << l;
    const auto& list = listed[l];
    EXPECT_NE(std::find(list.begin(), list.end(), n), list.end())
        << where << ": locality " << l << " misses " << n;
  }
  for (const auto& [l, list] : listed) {
    for (std::uint32_t n : list) {
      const std::optional<Specimen> s = readSpecimen(c, n);
      ASSERT_TRUE(s) << where;
      EXPECT_TRUE(!s->deleted() && s->localityNumber() == l) << where << ": locality " << l << " lists " << n;
    }
  }
  const auto differences = checkValueIndex(c);
  EXPECT_TRUE(differences.empty()) << where << ": " << differences.size() << " index differences";
  EXPECT_EQ(c.files().presence(c.filePath(kJournalFileName)), FilePresence::kMissing) << where;
}

// Opens the files as the next start would: a begun deletion is completed.
void checkAfterInterruption(MemoryFileLayer& memory, int succeeded, const std::string& where) {
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, memory);
  ASSERT_NE(c.open(kFolder), Collection::OpenResult::kUnavailable) << where;
  checkConsistent(c, where);
  if (::testing::Test::HasFailure()) return;
  const bool first = readLocality(c, 1)->deleted();
  const bool second = readLocality(c, 3)->deleted();
  // What was acknowledged is done; the rest is done completely or not at all.
  EXPECT_TRUE(succeeded < 1 || first) << where;
  EXPECT_TRUE(succeeded < 2 || second) << where;
  EXPECT_TRUE(first || !second) << where;
  if (first) {
    for (std::uint32_t n : {1u, 2u, 3u}) EXPECT_EQ(readSpecimen(c, n)->localityNumber(), 2u) << where;
  }
  if (second) {
    for (std::uint32_t n : {5u, 6u}) EXPECT_TRUE(readSpecimen(c, n)->deleted()) << where;
  }
  EXPECT_TRUE(c.openNotice().empty() || c.openNotice().find("abgeschlossen") != std::string::npos) << where;
}

std::uint64_t writePointsOfTheDeletions(const MemoryFileLayer& start) {
  MemoryFileLayer memory = start;
  FaultyFileLayer counting(memory, {});
  EXPECT_EQ(runDeletions(counting), 2);
  checkAfterInterruption(memory, 2, "without a fault");
  return counting.writePoints();
}

TEST(LocalityDeletionCrash, CrashAtEveryWritePointIsCompletedAtTheNextOpen) {
  const MemoryFileLayer start = startingCollection();
  const std::uint64_t points = writePointsOfTheDeletions(start);
  ASSERT_GT(points, 30u);
  int completedAtOpen = 0;
  for (std::uint64_t k = 0; k < points; ++k) {
    for (const bool torn : {false, true}) {
      MemoryFileLayer memory = start;
      int succeeded = 0;
      {
        FaultyFileLayer faulty(memory, FaultPlan::crash(k, torn));
        succeeded = runDeletions(faulty);
        ASSERT_TRUE(faulty.crashed());
      }
      completedAtOpen += memory.presence(kFolder + "/" + kJournalFileName) == FilePresence::kPresent;
      checkAfterInterruption(memory, succeeded,
                             "crash after write " + std::to_string(k) + (torn ? " (torn)" : ""));
      if (HasFailure()) return;
    }
  }
  std::printf(
      "deletion crashes: %llu write points, crashed plain and torn at each, %d completed at the next open\n",
      static_cast<unsigned long long>(points), completedAtOpen);
  // Most points lie between an intent record and its removal.
  EXPECT_GT(completedAtOpen, static_cast<int>(points));
}

TEST(LocalityDeletionCrash, FullDiskAtEveryWritePointIsReportedAndCompletedAtTheNextOpen) {
  const MemoryFileLayer start = startingCollection();
  const std::uint64_t points = writePointsOfTheDeletions(start);
  int failed = 0;
  for (std::uint64_t k = 1; k <= points; ++k) {
    MemoryFileLayer memory = start;
    int succeeded = 0;
    {
      FaultyFileLayer faulty(memory, FaultPlan::shortWrite(k));
      succeeded = runDeletions(faulty);
      // A full disk is never acknowledged as a complete deletion.
      if (faulty.faultInjected() && succeeded == 2) {
        // Only a full disk that hit nothing but a file the deletion does
        // not need (none) could let both succeed.
        ADD_FAILURE() << "full disk at " << k << " went unreported";
      }
    }
    failed += succeeded < 2;
    checkAfterInterruption(memory, succeeded, "full disk at write " + std::to_string(k));
    if (HasFailure()) return;
  }
  std::printf("deletion full disk: %llu write points, %d runs reported a failed deletion\n",
              static_cast<unsigned long long>(points), failed);
  EXPECT_GT(failed, 0);
}

TEST(LocalityDeletionCrash, AHalfDoneDeletionIsFinishedBeforeTheNextOne) {
  MemoryFileLayer memory = startingCollection();
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, memory);
  ASSERT_NE(c.open(kFolder), Collection::OpenResult::kUnavailable);
  // An intent record left by an interrupted deletion of locality 1 onto 2.
  ASSERT_TRUE(writePendingDeletion(c, {1, false, 2}));
  ASSERT_TRUE(deleteLocality(c, 3, true, 0));
  EXPECT_TRUE(readLocality(c, 1)->deleted());
  EXPECT_TRUE(readLocality(c, 3)->deleted());
  checkConsistent(c, "after both");
  // A damaged intent record is reported at the open and left in place.
  const std::string path = c.filePath(kJournalFileName);
  c.close();
  auto file = memory.createFile(path);
  ASSERT_TRUE(file && file->writeAt(0, Bytes(20, 0x55)));
  file.reset();
  Collection again(names, 6, nullptr, memory);
  ASSERT_NE(again.open(kFolder), Collection::OpenResult::kUnavailable);
  EXPECT_NE(again.openNotice().find("kalvor.jn"), std::string::npos) << again.openNotice();
  EXPECT_EQ(memory.presence(path), FilePresence::kPresent);
}

// --- A real process killed inside a deletion ----------------------------------

// Passes everything to the real files and reports each completed write
// point through a pipe, so that the parent can kill at a chosen one.
class ReportingFile final : public RandomAccessFile {
 public:
  ReportingFile(std::unique_ptr<RandomAccessFile> inner, int fd) : inner_(std::move(inner)), fd_(fd) {}
  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    return inner_->readAt(offset, out);
  }
  bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    const bool ok = inner_->writeAt(offset, data);
    const char tick = 'w';
    if (write(fd_, &tick, 1) != 1) _exit(4);
    return ok;
  }
  std::optional<std::uint64_t> size() override { return inner_->size(); }
  bool truncate(std::uint64_t length) override { return inner_->truncate(length); }
  bool sync() override { return inner_->sync(); }

 private:
  std::unique_ptr<RandomAccessFile> inner_;
  int fd_;
};

class ReportingLayer final : public FileLayer {
 public:
  explicit ReportingLayer(int fd) : fd_(fd) {}
  std::unique_ptr<RandomAccessFile> openFile(const std::string& path, FileAccess access) override {
    auto f = systemFileLayer().openFile(path, access);
    return f ? std::make_unique<ReportingFile>(std::move(f), fd_) : nullptr;
  }
  std::unique_ptr<RandomAccessFile> createFile(const std::string& path) override {
    auto f = systemFileLayer().createFile(path);
    return f ? std::make_unique<ReportingFile>(std::move(f), fd_) : nullptr;
  }
  FilePresence presence(const std::string& path) override { return systemFileLayer().presence(path); }
  bool removeFile(const std::string& path) override { return systemFileLayer().removeFile(path); }
  bool renameFile(const std::string& from, const std::string& to) override {
    return systemFileLayer().renameFile(from, to);
  }
  bool setReadOnly(const std::string& path, bool readOnly) override {
    return systemFileLayer().setReadOnly(path, readOnly);
  }

 private:
  int fd_;
};

// Fills the collection up as needed, then deletes one locality after the
// other (with specimens or onto another), announcing each with 'D'.
[[noreturn]] void deleteForever(const std::string& folder, unsigned seed, int fd) {
  ReportingLayer files(fd);
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, files);
  if (c.open(folder) == Collection::OpenResult::kUnavailable) _exit(3);
  std::mt19937 rng(seed);
  const char* minerals[] = {"Quarz", "Calcit", "Fluorit", "Baryt", "Quarz, Baryt"};
  for (;;) {
    std::vector<std::uint32_t> alive;
    for (std::uint32_t l = 1; l <= c.localityCount(); ++l) {
      const auto loc = readLocality(c, l, true);
      if (loc && !loc->deleted()) alive.push_back(l);
    }
    if (alive.size() < 3) {
      Locality loc;
      loc.name = "Fundort " + std::to_string(c.localityCount() + 1);
      loc.region = rng() % 2 ? "Schwarzwald" : "Harz";
      if (!saveLocalityFromForm(c, loc)) _exit(5);
      const std::uint32_t l = c.localityCount();
      for (unsigned i = 0; i < 2 + rng() % 5; ++i) {
        SpecimenFormFields f;
        f.mainMinerals = minerals[rng() % 5];
        f.localityItem = static_cast<std::uint16_t>(l + 1);
        f.description = std::string(rng() % 600, 'x');
        if (collectAndSaveSpecimen(c, f, 0).status != FormStatus::kSaved) _exit(5);
      }
      continue;
    }
    const std::uint32_t victim = alive[rng() % alive.size()];
    const bool withSpecimens = rng() % 2 == 0;
    std::uint32_t replacement = 0;
    if (!withSpecimens && rng() % 4 != 0) {
      do replacement = alive[rng() % alive.size()];
      while (replacement == victim);
    }
    const char mark = 'D';
    if (write(fd, &mark, 1) != 1) _exit(4);
    if (!deleteLocality(c, victim, withSpecimens, replacement)) _exit(5);
    const char done = 'E';
    if (write(fd, &done, 1) != 1) _exit(4);
  }
}

TEST(LocalityDeletionCrash, WriterKilledInsideDeletionsLeavesNoHalfDeletion) {
  ScratchDir dir;
  std::mt19937 rng(77);
  int killedInside = 0;
  int completedAtOpen = 0;
  for (int round = 0; round < 16; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      deleteForever(dir.path(), static_cast<unsigned>(round) + 1, fds[1]);
    }
    close(fds[1]);
    // Progress decides the kill: inside the deletions-th deletion, after a
    // random number of its writes.
    const int deletions = 1 + static_cast<int>(rng() % 3);
    const int writesInside = static_cast<int>(rng() % 40);
    int seen = 0;
    int inside = -1;
    char ch = 0;
    while (true) {
      ASSERT_EQ(read(fds[0], &ch, 1), 1) << "the writer stopped by itself in round " << round;
      if (ch == 'D' && ++seen == deletions)
        inside = 0;
      else if (ch == 'E' && inside >= 0)
        break;  // the deletion was shorter: kill after it
      else if (ch == 'w' && inside >= 0 && ++inside > writesInside)
        break;
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;
    close(fds[0]);
    killedInside += ch == 'w';
    completedAtOpen += systemFileLayer().presence(dir.file(kJournalFileName)) == FilePresence::kPresent;

    const MineralNameList names = testNameList();
    Collection c(names, 6, nullptr);
    ASSERT_NE(c.open(dir.path()), Collection::OpenResult::kUnavailable) << "round " << round;
    EXPECT_EQ(systemFileLayer().presence(dir.file(kJournalFileName)), FilePresence::kMissing) << round;
    std::map<std::uint32_t, bool> localityDeleted;
    for (std::uint32_t l = 1; l <= c.localityCount(); ++l) {
      const auto loc = readLocality(c, l);
      ASSERT_TRUE(loc) << "round " << round << ": locality " << l;
      localityDeleted[l] = loc->deleted();
      if (loc->deleted()) continue;
      for (std::uint32_t n : loc->specimens) {
        const auto s = readSpecimen(c, n);
        ASSERT_TRUE(s) << "round " << round;
        EXPECT_TRUE(!s->deleted() && s->localityNumber() == l)
            << "round " << round << ": " << l << " lists " << n;
      }
    }
    for (std::uint32_t n = 1; n <= c.specimenCount(); ++n) {
      const auto s = readSpecimen(c, n);
      ASSERT_TRUE(s) << "round " << round << ": specimen " << n << " lost";
      if (s->deleted() || s->localityNumber() == 0) continue;
      EXPECT_FALSE(localityDeleted[s->localityNumber()])
          << "round " << round << ": specimen " << n << " refers to deleted locality " << s->localityNumber();
    }
    const auto differences = checkValueIndex(c);
    EXPECT_TRUE(differences.empty()) << differences.size() << " index differences after round " << round;
    if (HasFailure()) return;
  }
  std::printf("deletion kills: 16 rounds, %d inside a deletion, %d completed at the next open\n",
              killedInside, completedAtOpen);
  EXPECT_GT(killedInside, 4);
  EXPECT_GT(completedAtOpen, 2);
}

}  // namespace
}  // namespace kalvor
