// Measures the start-up on the shipped reference data (KALVOR_REFDATA_DIR,
// the folder kalvor-mkdb compiles into): a start with existing derived files
// against reading every file that start reads once, and the first start that
// builds "kalvor.fl" and "kalvor.si".
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

#include "app/startup.h"
#include "base/file_io.h"

namespace kalvor {
namespace {

namespace fs = std::filesystem;

constexpr const char* kReferenceFiles[] = {"kalvor.mi", "kalvor.db", "kalvor.na", "kalvor.sy",
                                           "kalvor.pf", "kalvor.zi", "kalvor.lf"};

// A copy of the shipped files in a folder of its own, removed at exit.
class StartupFolder {
 public:
  StartupFolder() {
    const char* source = std::getenv("KALVOR_REFDATA_DIR");
    if (source == nullptr) return;
    path_ = (fs::temp_directory_path() / ("kalvor_startup_bench_" + std::to_string(::getpid())))
                .string();
    fs::create_directories(path_);
    for (const char* name : kReferenceFiles) {
      std::error_code ec;
      fs::copy_file(fs::path(source) / name, fs::path(path_) / name, ec);
    }
  }
  ~StartupFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  // Removes the derived files and the collection, as in a fresh installation.
  void makeFresh() const {
    for (const char* name : {"kalvor.fl", "kalvor.si", "kalvor.fs", "kalvor.st", "kalvor.vi",
                             "kalvor.fss", "kalvor.sts"}) {
      std::error_code ec;
      fs::remove(fs::path(path_) / name, ec);
    }
  }

 private:
  std::string path_;
};

// A start runs once in a fresh process, where every page it fills is new:
// both measurements give their memory back after each round, so neither is
// flattered by warm pages the allocator kept from the round before.
void returnFreedMemory() { malloc_trim(0); }

const StartupFolder& folder() {
  static const StartupFolder instance;
  return instance;
}

void BM_ReadStartupFilesOnce(benchmark::State& state) {
  if (folder().path().empty()) return state.SkipWithError("KALVOR_REFDATA_DIR not set");
  if (!openReferenceData(folder().path()).ready()) return state.SkipWithError("start failed");
  for (auto _ : state) {
    // All contents are held until the end, as the start-up holds its tables.
    std::vector<Bytes> contents;
    for (const char* name : {"kalvor.mi", "kalvor.db", "kalvor.fl", "kalvor.si", "kalvor.sy",
                             "kalvor.pf", "kalvor.zi", "kalvor.lf", "kalvor.fs", "kalvor.st",
                             "kalvor.vi", "kalvor.fss", "kalvor.sts"}) {
      if (auto data = readWholeFile(joinPath(folder().path(), name))) {
        contents.push_back(std::move(*data));
      }
    }
    benchmark::DoNotOptimize(contents.data());
    state.PauseTiming();
    contents.clear();
    returnFreedMemory();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReadStartupFilesOnce)->Unit(benchmark::kMillisecond);

void BM_StartWithDerivedFiles(benchmark::State& state) {
  if (folder().path().empty()) return state.SkipWithError("KALVOR_REFDATA_DIR not set");
  if (!openReferenceData(folder().path()).ready()) return state.SkipWithError("start failed");
  for (auto _ : state) {
    StartupResult result = openReferenceData(folder().path());
    benchmark::DoNotOptimize(result.data.get());
    state.PauseTiming();
    result.data.reset();
    returnFreedMemory();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartWithDerivedFiles)->Unit(benchmark::kMillisecond);

void BM_FirstStart(benchmark::State& state) {
  if (folder().path().empty()) return state.SkipWithError("KALVOR_REFDATA_DIR not set");
  for (auto _ : state) {
    state.PauseTiming();
    folder().makeFresh();
    state.ResumeTiming();
    StartupResult result = openReferenceData(folder().path());
    benchmark::DoNotOptimize(result.data.get());
  }
}
BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvor
