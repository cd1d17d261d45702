// Per-record saves of the record store against SQLite at the same durability
// (each write flushed to the system, no fsync): 100,000 specimen-sized records
// added one by one, 10,000 of them rewritten, all read back (one by one, and
// in large runs). The durable variants ("Durable", "Full") make every save
// durable on the disk before the next one: the store with one sync per save,
// as the program does once per user action, SQLite with synchronous=FULL.
// Run them on a real disk (TMPDIR), not a tmpfs, where a sync costs nothing:
//   cmake --preset native && cmake --build build/native --target kalvor_bench -j2
//   TMPDIR=/a/real/disk build/native/bench/kalvor_bench --benchmark_filter='Store|Sqlite'
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "collection/record_store.h"

#ifdef KALVOR_HAVE_SQLITE
#include <sqlite3.h>
#endif

namespace kalvor {
namespace {

constexpr std::uint32_t kRecords = 100000;
constexpr std::uint32_t kRewrites = 10000;

// A specimen-like record: fixed part, a short description, three minerals.
Bytes specimenPayload(std::uint32_t n, std::uint32_t version) {
  Bytes b(168 + 60 + 6, 0);
  storeU32(b.data(), n);
  storeU32(b.data() + 6, version);
  for (std::size_t i = 168; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>('a' + (i + n + version) % 26);
  return b;
}

std::string freshFolder(const char* name) {
  const auto dir = std::filesystem::temp_directory_path() / ("kalvor_bench_" + std::string(name));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

std::vector<std::uint32_t> rewriteOrder() {
  std::mt19937 rng(42);
  std::vector<std::uint32_t> order(kRewrites);
  for (auto& n : order) n = 1 + rng() % kRecords;
  return order;
}

void perRecord(benchmark::State& state, std::uint32_t records) {
  state.counters["records"] = records;
  state.counters["per_record"] = benchmark::Counter(
      records, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

RecordStore filledStore(const std::string& path) {
  std::filesystem::remove(path);
  auto store = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
  for (std::uint32_t n = 1; n <= kRecords; ++n) store->writeRecord(0, specimenPayload(n, 0), 1);
  return std::move(*store);
}

void BM_StoreAdd(benchmark::State& state) {
  const std::string path = freshFolder("add") + "/kalvor.st";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(path);
    auto store = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
    state.ResumeTiming();
    for (std::uint32_t n = 1; n <= kRecords; ++n) {
      if (!store->writeRecord(0, specimenPayload(n, 0), 1)) state.SkipWithError("write failed");
    }
    state.counters["file_bytes"] = static_cast<double>(store->fileSize());
  }
  perRecord(state, kRecords);
}

void BM_StoreRewrite(benchmark::State& state) {
  const std::string path = freshFolder("rewrite") + "/kalvor.st";
  RecordStore store = filledStore(path);
  const std::uint64_t before = store.fileSize();
  const auto order = rewriteOrder();
  std::uint32_t version = 1;
  for (auto _ : state) {
    for (std::uint32_t n : order) {
      if (!store.writeRecord(n, specimenPayload(n, version++), 1)) state.SkipWithError("write failed");
    }
  }
  state.counters["file_growth_bytes"] = static_cast<double>(store.fileSize() - before);
  perRecord(state, kRewrites);
}

// The first reuse of a freed block after opening a large file checks the free
// list against the live blocks, which are gathered once per session.
void BM_StoreFirstReuse(benchmark::State& state) {
  const std::string path = freshFolder("reuse") + "/kalvor.st";
  {
    RecordStore store = filledStore(path);
    store.writeRecord(1, specimenPayload(1, 1), 1);  // leaves one free block
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto store = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
    state.ResumeTiming();
    store->writeRecord(2, specimenPayload(2, 1), 1);
  }
}

void BM_StoreReadAll(benchmark::State& state) {
  const std::string path = freshFolder("read") + "/kalvor.st";
  RecordStore store = filledStore(path);
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (std::uint32_t n = 1; n <= kRecords; ++n) bytes += store.readRecord(n)->size();
    benchmark::DoNotOptimize(bytes);
  }
  perRecord(state, kRecords);
}

// Every record through the reading in large runs (as the open's check and
// the repair read them).
void BM_StoreReadAllRuns(benchmark::State& state) {
  const std::string path = freshFolder("read_runs") + "/kalvor.st";
  RecordStore store = filledStore(path);
  for (auto _ : state) {
    std::size_t bytes = 0;
    const RecordStore::RecordScan scan = store.readAllRecords(
        [&](std::uint32_t, std::span<const std::uint8_t> payload) { bytes += payload.size(); });
    if (scan.readable != kRecords) state.SkipWithError("records missing");
    benchmark::DoNotOptimize(bytes);
  }
  perRecord(state, kRecords);
}

constexpr std::uint32_t kDurableSaves = 2000;

// One save after the other, each made durable before the next (fdatasync).
void BM_StoreAddDurable(benchmark::State& state) {
  const std::string path = freshFolder("add_durable") + "/kalvor.st";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(path);
    auto store = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
    state.ResumeTiming();
    for (std::uint32_t n = 1; n <= kDurableSaves; ++n) {
      if (!store->writeRecord(0, specimenPayload(n, 0), 1) || !store->sync())
        state.SkipWithError("save failed");
    }
  }
  perRecord(state, kDurableSaves);
}

#ifdef KALVOR_HAVE_SQLITE
// SQLite with one committed statement per record; arg 0 = rollback journal, 1 = WAL.
struct Sqlite {
  sqlite3* db = nullptr;
  explicit Sqlite(const std::string& path, bool wal, bool full = false) {
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    std::filesystem::remove(path + "-journal");
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, full ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    sqlite3_exec(db, wal ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE", nullptr, nullptr,
                 nullptr);
    sqlite3_exec(db, "CREATE TABLE stufe(nr INTEGER PRIMARY KEY, daten BLOB)", nullptr, nullptr, nullptr);
  }
  ~Sqlite() { sqlite3_close(db); }
  bool put(const char* sql, std::uint32_t n, const Bytes& payload) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    sqlite3_bind_blob(st, 1, payload.data(), static_cast<int>(payload.size()), SQLITE_STATIC);
    sqlite3_bind_int(st, 2, static_cast<int>(n));
    const bool ok = sqlite3_step(st) == SQLITE_DONE;
    sqlite3_finalize(st);
    return ok;
  }
  void fill() {
    for (std::uint32_t n = 1; n <= kRecords; ++n)
      put("INSERT INTO stufe(daten, nr) VALUES(?1, ?2)", n, specimenPayload(n, 0));
  }
};

void BM_SqliteAdd(benchmark::State& state) {
  const std::string path = freshFolder("sqlite_add") + "/stufen.db";
  for (auto _ : state) {
    state.PauseTiming();
    Sqlite db(path, state.range(0) != 0);
    state.ResumeTiming();
    for (std::uint32_t n = 1; n <= kRecords; ++n) {
      if (!db.put("INSERT INTO stufe(daten, nr) VALUES(?1, ?2)", n, specimenPayload(n, 0))) {
        state.SkipWithError("insert failed");
      }
    }
  }
  perRecord(state, kRecords);
}

void BM_SqliteAddFull(benchmark::State& state) {
  const std::string path = freshFolder("sqlite_add_full") + "/stufen.db";
  for (auto _ : state) {
    state.PauseTiming();
    Sqlite db(path, state.range(0) != 0, true);
    state.ResumeTiming();
    for (std::uint32_t n = 1; n <= kDurableSaves; ++n) {
      if (!db.put("INSERT INTO stufe(daten, nr) VALUES(?1, ?2)", n, specimenPayload(n, 0))) {
        state.SkipWithError("insert failed");
      }
    }
  }
  perRecord(state, kDurableSaves);
}

void BM_SqliteRewrite(benchmark::State& state) {
  const std::string path = freshFolder("sqlite_rewrite") + "/stufen.db";
  Sqlite db(path, state.range(0) != 0);
  db.fill();
  const auto order = rewriteOrder();
  std::uint32_t version = 1;
  for (auto _ : state) {
    for (std::uint32_t n : order) {
      if (!db.put("UPDATE stufe SET daten = ?1 WHERE nr = ?2", n, specimenPayload(n, version++))) {
        state.SkipWithError("update failed");
      }
    }
  }
  perRecord(state, kRewrites);
}

void BM_SqliteReadAll(benchmark::State& state) {
  const std::string path = freshFolder("sqlite_read") + "/stufen.db";
  Sqlite db(path, state.range(0) != 0);
  db.fill();
  for (auto _ : state) {
    std::size_t bytes = 0;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db.db, "SELECT daten FROM stufe WHERE nr = ?1", -1, &st, nullptr);
    for (std::uint32_t n = 1; n <= kRecords; ++n) {
      sqlite3_bind_int(st, 1, static_cast<int>(n));
      if (sqlite3_step(st) == SQLITE_ROW) bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, 0));
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(bytes);
  }
  perRecord(state, kRecords);
}

BENCHMARK(BM_SqliteAdd)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteAddFull)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteRewrite)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteReadAll)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
#endif

BENCHMARK(BM_StoreAdd)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreRewrite)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreFirstReuse)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreReadAll)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreReadAllRuns)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreAddDurable)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvor
