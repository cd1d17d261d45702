// Crash test of the record store: a child process writes new records,
// rewrites that grow and shrink, and deletions (rewrites with the deleted
// mark), and is killed with SIGKILL at a random moment. After every kill the
// store must open, every write that had returned must read back complete, a
// record under way must be either its old or its new version, and no other
// record may have changed. The long form runs with
//   kalvor_unit_tests --gtest_also_run_disabled_tests --gtest_filter='*TortureLong*'
// (KALVOR_TORTURE_ROUNDS overrides its 1000 rounds).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "collection/record_store.h"
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

void runTorture(int rounds, std::uint32_t maxDelayMicros, std::uint32_t seed, TortureFigures& figures) {
  testing::ScratchDir dir;
  const std::string path = dir.file("kalvor.st");
  std::map<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>> model;  // n -> (version, len)
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
    std::vector<Message> messages;
    auto drain = [&](int timeoutMs) {
      pollfd p{fds[0], POLLIN, 0};
      while (poll(&p, 1, timeoutMs) > 0) {
        Message m[256];
        const ssize_t got = read(fds[0], m, sizeof m);
        if (got <= 0) return;
        messages.insert(messages.end(), m, m + got / static_cast<ssize_t>(sizeof(Message)));
      }
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::microseconds(rng() % (maxDelayMicros + 1));
    while (std::chrono::steady_clock::now() < deadline) drain(0);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended by itself with " << WEXITSTATUS(status);
    drain(100);
    close(fds[0]);

    // The last write begun and not returned, if any (type 0 = none).
    Message pending{0, 0, 0, 0};
    for (const Message& m : messages) {
      if (m.type == 1) {
        pending = m;
      } else {
        model[m.n] = {m.version, m.len};
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
        ASSERT_TRUE(store->readRecord(known + 1) && holds(*store->readRecord(known + 1), known + 1, pending.version, pending.len))
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

TEST(RecordStoreTorture, ShortKilledWritersLoseNothing) {
  TortureFigures figures;
  runTorture(30, 4000, 7, figures);
  report(figures);
  EXPECT_EQ(figures.rounds, 30);
  EXPECT_GT(figures.writesReturned, 0);
}

TEST(RecordStoreTorture, DISABLED_TortureLong) {
  const char* env = std::getenv("KALVOR_TORTURE_ROUNDS");
  const int rounds = env ? std::atoi(env) : 1000;
  TortureFigures figures;
  runTorture(rounds, 20000, 1234, figures);
  report(figures);
  EXPECT_EQ(figures.rounds, rounds);
}

}  // namespace
}  // namespace kalvor
