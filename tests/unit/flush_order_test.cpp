// A save is durable in the right order: the locality and specimen records
// reach the disk before the value index's update mark is cleared, so that a
// power cut can never leave a clean-looking index over records that were
// lost; and a disk that refuses the flush leaves the mark set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collection/locality.h"
#include "collection/store_format.h"
#include "platform/memory_file_layer.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;

struct Event {
  std::string file;  // the file name without its folder
  char what;         // 'w' write, 's' flush
};

std::string baseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class LoggingFile final : public RandomAccessFile {
 public:
  LoggingFile(std::unique_ptr<RandomAccessFile> inner, std::string name, std::vector<Event>& log,
              const std::string& refuseFlushOf)
      : inner_(std::move(inner)), name_(std::move(name)), log_(log), refuseFlush_(name_ == refuseFlushOf) {}
  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    return inner_->readAt(offset, out);
  }
  bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) override {
    log_.push_back({name_, 'w'});
    return inner_->writeAt(offset, data);
  }
  std::optional<std::uint64_t> size() override { return inner_->size(); }
  bool truncate(std::uint64_t length) override { return inner_->truncate(length); }
  bool sync() override {
    log_.push_back({name_, 's'});
    return !refuseFlush_ && inner_->sync();
  }

 private:
  std::unique_ptr<RandomAccessFile> inner_;
  std::string name_;
  std::vector<Event>& log_;
  bool refuseFlush_;
};

class LoggingLayer final : public FileLayer {
 public:
  LoggingLayer(MemoryFileLayer& inner, std::string refuseFlushOf = {})
      : inner_(inner), refuseFlushOf_(std::move(refuseFlushOf)) {}
  std::unique_ptr<RandomAccessFile> openFile(const std::string& path, FileAccess access) override {
    return wrap(inner_.openFile(path, access), path);
  }
  std::unique_ptr<RandomAccessFile> createFile(const std::string& path) override {
    return wrap(inner_.createFile(path), path);
  }
  FilePresence presence(const std::string& path) override { return inner_.presence(path); }
  bool removeFile(const std::string& path) override { return inner_.removeFile(path); }
  bool renameFile(const std::string& from, const std::string& to) override {
    return inner_.renameFile(from, to);
  }
  bool setReadOnly(const std::string& path, bool readOnly) override {
    return inner_.setReadOnly(path, readOnly);
  }
  FolderLockResult lockFolder(const std::string& folder) override { return inner_.lockFolder(folder); }

  std::vector<Event> log;

 private:
  std::unique_ptr<RandomAccessFile> wrap(std::unique_ptr<RandomAccessFile> f, const std::string& path) {
    if (!f) return nullptr;
    return std::make_unique<LoggingFile>(std::move(f), baseName(path), log, refuseFlushOf_);
  }
  MemoryFileLayer& inner_;
  std::string refuseFlushOf_;
};

Locality harzLocality() {
  Locality loc;
  loc.name = "Lautenthal";
  loc.region = "Harz";
  loc.country = "Deutschland";
  loc.minerals = {kQuarz};
  return loc;
}

// Position of the last event matching, -1 when there is none.
int lastOf(const std::vector<Event>& log, const std::string& file, char what) {
  for (int i = static_cast<int>(log.size()) - 1; i >= 0; --i)
    if (log[i].file == file && log[i].what == what) return i;
  return -1;
}

TEST(FlushOrder, RecordsReachTheDiskBeforeTheIndexMarkIsCleared) {
  MemoryFileLayer memory;
  LoggingLayer files(memory);
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, files);
  ASSERT_NE(c.open("/sammlung"), Collection::OpenResult::kUnavailable);
  files.log.clear();
  ASSERT_TRUE(saveLocalityFromForm(c, harzLocality()).has_value());

  // The new keys (region, country) were written to the index, ending with
  // the cleared mark; the locality store was flushed before that write, and
  // the index itself after it.
  const int lastIndexWrite = lastOf(files.log, "kalvor.vi", 'w');
  const int recordFlush = lastOf(files.log, "kalvor.fs", 's');
  const int indexFlush = lastOf(files.log, "kalvor.vi", 's');
  ASSERT_GE(lastIndexWrite, 0);
  ASSERT_GE(recordFlush, 0);
  EXPECT_LT(recordFlush, lastIndexWrite);
  EXPECT_GT(indexFlush, lastIndexWrite);
  EXPECT_FALSE(c.valueIndex().updateFailed());
  EXPECT_FALSE(c.syncFailed());
  // The locality store is flushed before the mark and once more at the end
  // of the action (the index flush is the only other one): not per write.
  int flushes = 0;
  for (const Event& e : files.log) flushes += e.what == 's' ? 1 : 0;
  EXPECT_LE(flushes, 5);
}

TEST(FlushOrder, ARefusedFlushLeavesTheIndexMarkedAndIsReported) {
  MemoryFileLayer memory;
  LoggingLayer files(memory, "kalvor.fs");
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, files);
  ASSERT_NE(c.open("/sammlung"), Collection::OpenResult::kUnavailable);
  saveLocalityFromForm(c, harzLocality());
  EXPECT_TRUE(c.valueIndex().updateFailed());
  EXPECT_TRUE(c.syncFailed());
  // The mark is still in the file, so a later open rebuilds the index
  // rather than trusting it.
  const std::string indexPath = c.filePath("kalvor.vi");
  c.close();
  const std::optional<Bytes> index = memory.contents(indexPath);
  ASSERT_TRUE(index && index->size() >= store_format::kCountOffset + 4);
  const std::uint32_t countWord = static_cast<std::uint32_t>((*index)[store_format::kCountOffset]) |
                                  static_cast<std::uint32_t>((*index)[store_format::kCountOffset + 1]) << 8 |
                                  static_cast<std::uint32_t>((*index)[store_format::kCountOffset + 2]) << 16 |
                                  static_cast<std::uint32_t>((*index)[store_format::kCountOffset + 3]) << 24;
  EXPECT_NE(countWord & store_format::kValueIndexDirtyBit, 0u);
}

}  // namespace
}  // namespace kalvor
