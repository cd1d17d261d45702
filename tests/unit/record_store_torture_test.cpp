// Crash tests of the record store. In process: a fixed sequence of new
// records, rewrites that grow and shrink, and deletions (rewrites down to a
// small mark) runs through the fault-injecting file layer, crashed after
// every single write point in turn (also tearing the write under way), and
// each time the store must open again with every acknowledged record intact
// and the record under way either old or new. With a real process: a child
// reports every finished write through a pipe and is killed with SIGKILL
// after a random number of them, or in the middle of the next one.
// The long form runs with
//   kalvor_unit_tests --gtest_also_run_disabled_tests --gtest_filter='*TortureLong*'
// (KALVOR_TORTURE_ROUNDS overrides its 1000 rounds).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "collection/record_store.h"
#include "platform/faulty_file_layer.h"
#include "platform/memory_file_layer.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

namespace sf = store_format;

constexpr std::uint32_t kMaxRecords = 3000;

// The content of version v of record n: its identity, then bytes derived from it.
Bytes recordBytes(std::uint32_t n, std::uint32_t version, std::uint32_t len) {
  Bytes b(len);
  std::uint32_t x = n * 2654435761u ^ version * 40503u ^ len;
  for (std::uint32_t i = 0; i < len; ++i) {
    x = x * 1103515245u + 12345u;
    b[i] = static_cast<std::uint8_t>(x >> 16);
  }
  for (std::uint32_t i = 0; i < 12 && i < len; ++i) {
    const std::uint32_t word = i < 4 ? n : i < 8 ? version : len;
    b[i] = static_cast<std::uint8_t>(word >> (8 * (i % 4)));
  }
  return b;
}

bool holds(const Bytes& read, std::uint32_t n, std::uint32_t version, std::uint32_t len) {
  const Bytes want = recordBytes(n, version, len);
  if (read.size() < len || !std::equal(want.begin(), want.end(), read.begin())) return false;
  return std::all_of(read.begin() + len, read.end(), [](std::uint8_t c) { return c == 0; });
}

// Reads the file the way the documented reader does and checks the allocator's
// invariants: live blocks and slot pages never overlap, the free list ends,
// holds only free blocks and shares no byte with live data.
void checkStructure(const Bytes& file, std::uint32_t count, std::string& problem) {
  const std::uint32_t start = 8 + 4 * sf::kSpecimenDirectorySize;
  std::map<std::uint64_t, std::uint64_t> live;
  auto claim = [&](std::uint64_t b, std::uint64_t e, const char* what) {
    auto next = live.lower_bound(b);
    if ((next != live.end() && next->first < e) || (next != live.begin() && std::prev(next)->second > b)) {
      problem = std::string("overlap at ") + what + " " + std::to_string(b);
    }
    live[b] = e;
  };
  for (std::uint32_t p = 0; p * 256 <= count; ++p) {
    const std::uint32_t page = loadU32(file.data() + 8 + 4 * p);
    if (page == 0) continue;
    if (page % 4 != 0) problem = "slot page not aligned";
    claim(page, page + 1024, "page");
  }
  for (std::uint32_t n = 1; n <= count; ++n) {
    const std::uint32_t page = loadU32(file.data() + 8 + 4 * (n >> 8));
    if (page == 0) continue;
    const std::uint32_t block = loadU32(file.data() + page + 4 * (n & 0xFF));
    if (block == 0) continue;
    if (block < start || block + 6 > file.size()) {
      problem = "slot outside the file";
      continue;
    }
    claim(block, block + 6 + 256ull * loadU16(file.data() + block + 4), "block");
  }
  std::set<std::uint32_t> seen;
  for (std::uint32_t at = loadU32(file.data() + 4); at != 0; at = loadU32(file.data() + at + 6)) {
    if (!seen.insert(at).second || at < start || at + 10 > file.size() || loadU32(file.data() + at) != 0) {
      problem = "bad free list";
      return;
    }
    claim(at, at + 6 + 256ull * loadU16(file.data() + at + 4), "free block");
  }
}

// --- In process, through the fault-injecting file layer ---------------------

const std::string kPath = "/sammlung/kalvor.st";

struct Write {
  std::uint32_t n;  // 0 = a new record
  std::uint32_t len;
};

// Record number -> (version, length) of every acknowledged write.
using Model = std::map<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>>;

// New records, a rewrite that grows into a new block at the end, a deletion
// that frees a block, a new record that takes it, shrinking and growing again.
const std::vector<Write> kSequence = {
    {0, 100}, {0, 300}, {0, 20}, {1, 700},  {2, 8},  {0, 200}, {3, 900},
    {1, 40},  {0, 500}, {4, 8},  {5, 1200}, {0, 30}, {2, 260}, {6, 8},
};

struct SequenceRun {
  Model model;
  std::optional<std::pair<std::size_t, std::uint32_t>> pending;  // (write index, its record number)
  std::size_t failures = 0;
};

// Runs the sequence; a failed write ends the run when `stopAtFailure`
// (a crash); otherwise (a full disk that has room again) the record must
// still be its old version, and the write is tried again, as a user would.
void runSequence(FaultyFileLayer& files, bool stopAtFailure, SequenceRun& run) {
  std::optional<RecordStore> store =
      RecordStore::openStoreFile(kPath, kSpecimenStoreLayout, StoreOpenMode::kReadWrite, files);
  if (!store) return;
  for (std::size_t i = 0; i < kSequence.size(); ++i) {
    const Write& w = kSequence[i];
    const std::uint32_t n = w.n == 0 ? store->count() + 1 : w.n;
    run.pending = {{i, n}};
    const Bytes payload = recordBytes(n, static_cast<std::uint32_t>(i), w.len);
    std::optional<std::uint32_t> written = store->writeRecord(w.n, payload, 1);
    // A write during which the crash came was never acknowledged.
    if (files.crashed()) return;
    if (!written) {
      ++run.failures;
      if (stopAtFailure) return;
      if (w.n == 0) {
        EXPECT_EQ(store->count(), n - 1) << "a failed new record was counted";
      } else {
        const std::optional<Bytes> old = store->readRecord(n);
        const auto& [version, len] = run.model.at(n);
        EXPECT_TRUE(old && holds(*old, n, version, len)) << "a failed rewrite changed record " << n;
      }
      written = store->writeRecord(w.n, payload, 1);
      if (!written) {
        ADD_FAILURE() << "the write after the full disk failed too";
        return;
      }
    }
    EXPECT_EQ(*written, n);
    run.model[n] = {static_cast<std::uint32_t>(i), w.len};
    run.pending.reset();
  }
}

// Opens the files as the next start would and checks them against the run.
void checkAfter(MemoryFileLayer& files, SequenceRun& run, const std::string& where) {
  std::optional<RecordStore> store =
      RecordStore::openStoreFile(kPath, kSpecimenStoreLayout, StoreOpenMode::kReadWrite, files);
  ASSERT_TRUE(store) << where;
  for (const auto& [n, content] : run.model) {
    const std::optional<Bytes> read = store->readRecord(n);
    ASSERT_TRUE(read) << where << ": record " << n << " unreadable";
    if (run.pending && run.pending->second == n) {
      const std::uint32_t len = kSequence[run.pending->first].len;
      if (holds(*read, n, static_cast<std::uint32_t>(run.pending->first), len)) continue;
    }
    ASSERT_TRUE(holds(*read, n, content.first, content.second))
        << where << ": record " << n << " changed or torn";
  }
  if (run.pending && run.model.count(run.pending->second) == 0) {
    // A new record under way: absent, or complete.
    const std::uint32_t n = run.pending->second;
    if (store->count() >= n) {
      const std::optional<Bytes> read = store->readRecord(n);
      ASSERT_TRUE(read && holds(*read, n, static_cast<std::uint32_t>(run.pending->first),
                                kSequence[run.pending->first].len))
          << where << ": torn new record " << n;
    }
  }
  std::string problem;
  checkStructure(*files.contents(kPath), store->count(), problem);
  ASSERT_EQ(problem, "") << where;
}

TEST(RecordStoreCrash, CrashAtEveryWritePointLeavesOldOrNewRecords) {
  std::uint64_t points = 0;
  {
    MemoryFileLayer memory;
    FaultyFileLayer counting(memory, {});
    SequenceRun run;
    runSequence(counting, true, run);
    ASSERT_EQ(run.failures, 0u);
    ASSERT_EQ(run.model.size(), 6u);
    points = counting.writePoints();
  }
  ASSERT_GT(points, 40u);
  int crashes = 0;
  for (std::uint64_t k = 0; k < points; ++k) {
    for (const bool torn : {false, true}) {
      MemoryFileLayer memory;
      SequenceRun run;
      {
        FaultyFileLayer faulty(memory, FaultPlan::crash(k, torn));
        runSequence(faulty, true, run);
        ASSERT_TRUE(faulty.crashed()) << "crash after " << k;
      }
      checkAfter(memory, run, "crash after write " + std::to_string(k) + (torn ? " (torn)" : ""));
      if (::testing::Test::HasFatalFailure()) return;
      ++crashes;
    }
  }
  EXPECT_EQ(crashes, static_cast<int>(2 * points));
}

TEST(RecordStoreCrash, ShortWriteAtEveryWritePointIsReportedAndLosesNothing) {
  std::uint64_t points = 0;
  {
    MemoryFileLayer memory;
    FaultyFileLayer counting(memory, {});
    SequenceRun run;
    runSequence(counting, true, run);
    points = counting.writePoints();
  }
  std::size_t reported = 0;
  for (std::uint64_t k = 1; k <= points; ++k) {
    MemoryFileLayer memory;
    SequenceRun run;
    {
      FaultyFileLayer faulty(memory, FaultPlan::shortWrite(k));
      runSequence(faulty, false, run);
      // Every failure reported is the full disk, and no full disk goes unreported.
      EXPECT_EQ(run.failures, faulty.faultInjected() && !run.model.empty() ? 1u : 0u) << "short write " << k;
    }
    reported += run.failures;
    // A failed write leaves the record as it was, and the writes after it go on.
    run.pending.reset();
    if (run.model.empty()) continue;  // the store itself could not be created
    checkAfter(memory, run, "short write " + std::to_string(k));
    if (::testing::Test::HasFatalFailure()) return;
  }
  // Most write points are followed by a lengthening write inside a record write.
  EXPECT_GT(reported, points / 2);
}

TEST(RecordStoreCrash, FailedSyncWhileCreatingTheStoreIsReported) {
  MemoryFileLayer memory;
  {
    FaultyFileLayer faulty(memory, FaultPlan::failedSync(1));
    EXPECT_FALSE(RecordStore::openStoreFile(kPath, kSpecimenStoreLayout, StoreOpenMode::kReadWrite, faulty));
    EXPECT_TRUE(faulty.faultInjected());
  }
  // Neither a store nor its temporary file is left behind.
  EXPECT_TRUE(memory.names().empty());
}

// --- A real process killed with SIGKILL --------------------------------------

struct Message {
  std::uint32_t type;  // 1 begin, 2 done
  std::uint32_t n;     // 0 = new record
  std::uint32_t version;
  std::uint32_t len;
};

[[noreturn]] void childWrites(const std::string& path, int fd, std::uint32_t seed) {
  std::mt19937 rng(seed);
  auto store = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
  if (!store) _exit(3);
  for (std::uint32_t op = 0;; ++op) {
    const std::uint32_t count = store->count();
    const bool fresh = count == 0 || (count < kMaxRecords && rng() % 4 == 0);
    const std::uint32_t n = fresh ? 0 : 1 + rng() % count;
    const std::uint32_t kind = rng() % 8;
    // Mostly small records, some that need several units, and deletions that shrink to a mark.
    const std::uint32_t len = kind == 0 ? 8 : kind < 5 ? 12 + rng() % 300 : 12 + rng() % 1400;
    const std::uint32_t version = seed * 65536u + op;
    Message begin{1, n, version, len};
    if (write(fd, &begin, sizeof begin) != sizeof begin) _exit(4);
    const Bytes payload = recordBytes(fresh ? count + 1 : n, version, len);
    const std::optional<std::uint32_t> written = store->writeRecord(n, payload, 1);
    if (!written) _exit(5);
    Message done{2, *written, version, len};
    if (write(fd, &done, sizeof done) != sizeof done) _exit(4);
  }
}

// Reads one message; false at the end of the pipe.
bool readMessage(int fd, Message& m) {
  std::size_t got = 0;
  auto* bytes = reinterpret_cast<char*>(&m);
  while (got < sizeof m) {
    const ssize_t n = read(fd, bytes + got, sizeof m - got);
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

struct TortureFigures {
  int rounds = 0;
  long writesReturned = 0;
  int killedInNew = 0;
  int killedInRewrite = 0;
  int rewriteFoundOld = 0;
  int rewriteFoundNew = 0;
  int newFoundPresent = 0;
  std::uint32_t records = 0;
  std::uint64_t fileSize = 0;
};

void runTorture(int rounds, std::uint32_t maxWrites, std::uint32_t seed, TortureFigures& figures) {
  testing::ScratchDir dir;
  const std::string path = dir.file("kalvor.st");
  Model model;
  std::mt19937 rng(seed);
  for (int round = 0; round < rounds; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      childWrites(path, fds[1], seed * 10007u + static_cast<std::uint32_t>(round) + 1);
    }
    close(fds[1]);
    // Progress, not time, decides the kill: after this many finished writes,
    // either at once or as soon as the next one has begun.
    const std::uint32_t writes = rng() % (maxWrites + 1);
    const bool inTheMiddle = rng() % 2 == 0;
    std::vector<Message> messages;
    std::uint32_t done = 0;
    Message m;
    while (done < writes || (inTheMiddle && (messages.empty() || messages.back().type != 1))) {
      ASSERT_TRUE(readMessage(fds[0], m)) << "the writer stopped by itself in round " << round;
      messages.push_back(m);
      if (m.type == 2) ++done;
    }
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended by itself with " << WEXITSTATUS(status);
    // What the child reported before it died.
    while (readMessage(fds[0], m)) messages.push_back(m);
    close(fds[0]);

    // The last write begun and not returned, if any (type 0 = none).
    Message pending{0, 0, 0, 0};
    for (const Message& msg : messages) {
      if (msg.type == 1) {
        pending = msg;
      } else {
        model[msg.n] = {msg.version, msg.len};
        ++figures.writesReturned;
        pending.type = 0;
      }
    }

    auto store = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
    ASSERT_TRUE(store) << "round " << round;
    const std::uint32_t known = static_cast<std::uint32_t>(model.size());
    if (pending.type == 1 && pending.n == 0) {
      ++figures.killedInNew;
      ASSERT_TRUE(store->count() == known || store->count() == known + 1) << "round " << round;
      if (store->count() == known + 1) {
        // The new record became visible: then it is complete.
        ASSERT_TRUE(store->readRecord(known + 1) &&
                    holds(*store->readRecord(known + 1), known + 1, pending.version, pending.len))
            << "round " << round << ": torn new record";
        model[known + 1] = {pending.version, pending.len};
        ++figures.newFoundPresent;
      }
    } else {
      ASSERT_EQ(store->count(), known) << "round " << round;
    }
    for (auto& [n, content] : model) {
      const std::optional<Bytes> read = store->readRecord(n);
      ASSERT_TRUE(read) << "round " << round << ": record " << n << " unreadable";
      if (pending.type == 1 && pending.n == n) {
        ++figures.killedInRewrite;
        if (holds(*read, n, pending.version, pending.len)) {
          content = {pending.version, pending.len};
          ++figures.rewriteFoundNew;
          continue;
        }
        ++figures.rewriteFoundOld;
      }
      ASSERT_TRUE(holds(*read, n, content.first, content.second))
          << "round " << round << ": record " << n << " changed or torn";
    }
    std::string problem;
    checkStructure(testing::readFile(path), store->count(), problem);
    ASSERT_EQ(problem, "") << "round " << round;
    figures.rounds = round + 1;
    figures.records = store->count();
    figures.fileSize = store->fileSize();
  }
}

void report(const TortureFigures& f) {
  std::printf(
      "torture: %d rounds, %ld writes returned, killed during %d new-record and %d rewrite writes "
      "(new visible %d; rewrite old %d, new %d), %u records, file %llu bytes\n",
      f.rounds, f.writesReturned, f.killedInNew, f.killedInRewrite, f.newFoundPresent, f.rewriteFoundOld,
      f.rewriteFoundNew, f.records, static_cast<unsigned long long>(f.fileSize));
}

TEST(RecordStoreTorture, KilledWritersLoseNothing) {
  TortureFigures figures;
  runTorture(30, 60, 7, figures);
  report(figures);
  EXPECT_EQ(figures.rounds, 30);
  EXPECT_GT(figures.writesReturned, 30 * 10);
  EXPECT_GT(figures.killedInNew + figures.killedInRewrite, 0);
}

TEST(RecordStoreTorture, DISABLED_TortureLong) {
  const char* env = std::getenv("KALVOR_TORTURE_ROUNDS");
  const int rounds = env ? std::atoi(env) : 1000;
  TortureFigures figures;
  runTorture(rounds, 400, 1234, figures);
  report(figures);
  EXPECT_EQ(figures.rounds, rounds);
}

}  // namespace
}  // namespace kalvor
