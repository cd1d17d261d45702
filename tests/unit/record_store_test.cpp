#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "collection/record_store.h"
#include "platform/file_attributes.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::ScratchDir;
namespace sf = store_format;

Bytes payloadOf(std::size_t size, std::uint8_t seed) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
  return b;
}

// The payload as read back: the written bytes, then zeros up to the units.
Bytes padded(const Bytes& payload, std::size_t units) {
  Bytes b = payload;
  b.resize(units * sf::kRecordUnitBytes, 0);
  return b;
}

std::uint32_t u32At(const Bytes& file, std::size_t at) { return loadU32(file.data() + at); }

TEST(RecordStore, FreshFilesHaveTheirHeaderSizes) {
  ScratchDir dir;
  {
    auto fs = RecordStore::openStoreFile(dir.file("kalvor.fs"), kLocalityStoreLayout);
    auto vi = RecordStore::openStoreFile(dir.file("kalvor.vi"), kValueIndexStoreLayout);
    ASSERT_TRUE(fs && vi);
    EXPECT_EQ(fs->count(), 0u);
    EXPECT_EQ(fs->freeHead(), 0u);
  }
  EXPECT_EQ(testing::readFile(dir.file("kalvor.fs")), Bytes(8200, 0));
  EXPECT_EQ(testing::readFile(dir.file("kalvor.vi")), Bytes(1032, 0));
  // An existing empty locality or specimen file is no store (its records are
  // lost, and a fresh start would hide that) and stays as it is; an empty
  // value index is started afresh, it is rebuilt from the records. A cut
  // header is damage.
  StoreOpenError error = StoreOpenError::kNone;
  ASSERT_TRUE(testing::writeFile(dir.file("leer.st"), Bytes{}));
  EXPECT_FALSE(RecordStore::openStoreFile(dir.file("leer.st"), kSpecimenStoreLayout,
                                          StoreOpenMode::kReadWrite, systemFileLayer(), &error));
  EXPECT_EQ(error, StoreOpenError::kNotAStore);
  EXPECT_EQ(testing::readFile(dir.file("leer.st")).size(), 0u);
  ASSERT_TRUE(testing::writeFile(dir.file("leer.vi"), Bytes{}));
  EXPECT_TRUE(RecordStore::openStoreFile(dir.file("leer.vi"), kValueIndexStoreLayout));
  EXPECT_EQ(testing::readFile(dir.file("leer.vi")).size(), 1032u);
  ASSERT_TRUE(testing::writeFile(dir.file("kurz.st"), Bytes(100, 0)));
  EXPECT_FALSE(RecordStore::openStoreFile(dir.file("kurz.st"), kSpecimenStoreLayout,
                                          StoreOpenMode::kReadWrite, systemFileLayer(), &error));
  EXPECT_EQ(error, StoreOpenError::kNotAStore);
  EXPECT_FALSE(RecordStore::openStoreFile(dir.file("fehlt.st"), kSpecimenStoreLayout,
                                          StoreOpenMode::kReadOnly, systemFileLayer(), &error));
  EXPECT_EQ(error, StoreOpenError::kCannotOpen);
}

TEST(RecordStore, CollectionFilesAreReadOnlyBetweenRuns) {
  ScratchDir dir;
  const std::string path = dir.file("kalvor.fs");
  {
    auto fs = openCollectionStore(path, kLocalityStoreLayout);  // created when missing
    ASSERT_TRUE(fs);
    ASSERT_TRUE(fs->writeRecord(0, payloadOf(10, 1), 1));
  }
  ASSERT_TRUE(markCollectionFileReadOnly(path));
  EXPECT_TRUE(isFileReadOnly(path));
  auto fs = openCollectionStore(path, kLocalityStoreLayout);
  ASSERT_TRUE(fs);
  EXPECT_FALSE(isFileReadOnly(path));
  EXPECT_TRUE(fs->writeRecord(0, payloadOf(10, 2), 1));
  EXPECT_EQ(fs->count(), 2u);
  EXPECT_FALSE(markCollectionFileReadOnly(dir.file("fehlt.fs")));
}

TEST(RecordStore, FirstRecordGoldenBytes) {
  ScratchDir dir;
  const Bytes payload = payloadOf(300, 0x41);
  {
    auto fs = RecordStore::openStoreFile(dir.file("kalvor.fs"), kLocalityStoreLayout);
    ASSERT_TRUE(fs);
    EXPECT_EQ(fs->writeRecord(0, payload, 1), std::optional<std::uint32_t>(1));  // 300 bytes need 2 units
  }
  // Built field by field: header with count 1 and page 0 at 8200, the slot
  // page, then the block at 9224 with owner 1, units 2 and the zero-padded payload.
  ByteWriter w;
  w.u32(1);
  w.u32(0);
  w.u32(8200);
  w.zeros(4 * 2047);
  w.u32(0);       // slot of record 0
  w.u32(9224);    // slot of record 1
  w.zeros(4 * 254);
  w.u32(1);
  w.u16(2);
  w.bytes(payload);
  w.zeros(512 - payload.size());
  EXPECT_EQ(testing::readFile(dir.file("kalvor.fs")), w.data());

  auto again = RecordStore::openStoreFile(dir.file("kalvor.fs"), kLocalityStoreLayout, StoreOpenMode::kReadOnly);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->readRecord(1), std::optional<Bytes>(padded(payload, 2)));
  EXPECT_FALSE(again->readRecord(0));
  EXPECT_FALSE(again->readRecord(2));  // above the count
  EXPECT_FALSE(again->writeRecord(1, payload, 1));  // read-only
}

TEST(RecordStore, PagesNumbersAndCounts) {
  ScratchDir dir;
  auto st = RecordStore::openStoreFile(dir.file("kalvor.st"), kSpecimenStoreLayout);
  ASSERT_TRUE(st);
  for (std::uint32_t n = 1; n <= 255; ++n) ASSERT_EQ(st->writeRecord(0, payloadOf(10, 0), 1), n);
  EXPECT_NE(st->directoryEntry(0), 0u);
  EXPECT_EQ(st->directoryEntry(1), 0u);  // record 255 is still on page 0
  ASSERT_EQ(st->writeRecord(0, payloadOf(10, 1), 1), std::optional<std::uint32_t>(256));
  EXPECT_NE(st->directoryEntry(1), 0u);
  EXPECT_EQ(st->readRecord(256), std::optional<Bytes>(padded(payloadOf(10, 1), 1)));
  EXPECT_EQ(st->count(), 256u);
  EXPECT_EQ(testing::readFile(dir.file("kalvor.st")).at(0), 0x00);  // 256 = 0x100
  EXPECT_EQ(testing::readFile(dir.file("kalvor.st")).at(1), 0x01);

  // Page 2048 lies beyond the directory.
  EXPECT_EQ(st->lookupSlot(524288, true), 0u);
  EXPECT_NE(st->lookupSlot(524287, true), 0u);
  EXPECT_FALSE(st->writeRecord(300, payloadOf(10, 1), 1));  // not issued yet
}

TEST(RecordStore, RewritesMoveAndFreedBlocksAreReusedFirstFit) {
  ScratchDir dir;
  const std::string path = dir.file("kalvor.fs");
  auto fs = RecordStore::openStoreFile(path, kLocalityStoreLayout);
  ASSERT_TRUE(fs);
  ASSERT_TRUE(fs->writeRecord(0, payloadOf(400, 1), 2));  // record 1: 2 units at 9224
  ASSERT_TRUE(fs->writeRecord(0, payloadOf(100, 2), 1));  // record 2: 1 unit at 9224 + 518
  const std::uint32_t first = fs->slotValue(1);
  EXPECT_EQ(first, 9224u);
  EXPECT_EQ(fs->slotValue(2), 9224u + 518u);

  // Growing record 1 to 3 units puts it at the end; its old block heads the free list.
  ASSERT_TRUE(fs->writeRecord(1, payloadOf(700, 3), 3));
  EXPECT_EQ(fs->slotValue(1), 9224u + 518u + 262u);
  EXPECT_EQ(fs->freeHead(), first);
  Bytes file = testing::readFile(path);
  EXPECT_EQ(u32At(file, 4), first);
  EXPECT_EQ(u32At(file, first), 0u);                 // owner 0
  EXPECT_EQ(loadU16(file.data() + first + 4), 2u);   // units unchanged
  EXPECT_EQ(u32At(file, first + 6), 0u);             // end of list

  // A new 1-unit record takes the 2-unit block whole and keeps its size.
  ASSERT_EQ(fs->writeRecord(0, payloadOf(50, 4), 1), std::optional<std::uint32_t>(3));
  EXPECT_EQ(fs->slotValue(3), first);
  EXPECT_EQ(fs->freeHead(), 0u);
  file = testing::readFile(path);
  EXPECT_EQ(u32At(file, first), 3u);
  EXPECT_EQ(loadU16(file.data() + first + 4), 2u);
  EXPECT_EQ(fs->readRecord(3), std::optional<Bytes>(padded(payloadOf(50, 4), 2)));

  // A rewrite that would fit still goes to another block and frees the old one,
  // so the file is never written over a live record.
  const std::uint32_t before = fs->slotValue(2);
  ASSERT_TRUE(fs->writeRecord(2, payloadOf(90, 5), 1));
  EXPECT_NE(fs->slotValue(2), before);
  EXPECT_EQ(fs->freeHead(), before);
  ASSERT_TRUE(fs->writeRecord(2, payloadOf(80, 6), 1));  // and back into the freed block
  EXPECT_EQ(fs->slotValue(2), before);
  EXPECT_EQ(fs->readRecord(2), std::optional<Bytes>(padded(payloadOf(80, 6), 1)));
  EXPECT_EQ(fs->readRecord(1), std::optional<Bytes>(padded(payloadOf(700, 3), 3)));

  // The payload decides when the units given are too few.
  ASSERT_TRUE(fs->writeRecord(2, payloadOf(600, 7), 1));
  EXPECT_EQ(fs->readRecord(2)->size(), 768u);
}

// Builds a store with three 1-unit records and returns the path.
std::string threeRecords(const ScratchDir& dir) {
  const std::string path = dir.file("kalvor.st");
  auto st = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
  for (int i = 0; i < 3; ++i) st->writeRecord(0, payloadOf(20, static_cast<std::uint8_t>(i)), 1);
  return path;
}

void patchU32(Bytes& file, std::size_t at, std::uint32_t v) { storeU32(file.data() + at, v); }

TEST(RecordStore, DamagedRecordsFailCleanly) {
  ScratchDir dir;
  const std::string path = threeRecords(dir);
  Bytes file = testing::readFile(path);
  const std::uint32_t page = u32At(file, 8);
  const std::uint32_t block2 = u32At(file, page + 8);
  patchU32(file, page + 4, static_cast<std::uint32_t>(file.size()) + 1000);  // record 1: past the end
  storeU16(file.data() + block2 + 4, 0);                                     // record 2: 0 units
  const std::uint32_t block3 = u32At(file, page + 12);
  ASSERT_TRUE(testing::writeFile(path, file));
  auto st = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
  ASSERT_TRUE(st);
  EXPECT_FALSE(st->readRecord(1));
  EXPECT_FALSE(st->readRecord(2));
  EXPECT_TRUE(st->readRecord(3));

  // A slot that points at another record's block is not that record.
  ASSERT_TRUE(st->setSlot(1, block3));
  EXPECT_FALSE(st->readRecord(1));

  // Rewriting a damaged record gives it a fresh block and leaves the others alone.
  ASSERT_TRUE(st->writeRecord(2, payloadOf(30, 9), 1));
  EXPECT_EQ(st->readRecord(2), std::optional<Bytes>(padded(payloadOf(30, 9), 1)));
  EXPECT_EQ(st->readRecord(3), std::optional<Bytes>(padded(payloadOf(20, 2), 1)));
  EXPECT_EQ(st->freeHead(), 0u);  // the 0-unit block was not freed

  // A count beyond the directory: reads of missing pages fail, no new number is issued.
  st->writeCountWord(0x7FFFF);
  EXPECT_FALSE(st->readRecord(0x7FFFF));
  EXPECT_FALSE(st->readRecord(5000));
  EXPECT_FALSE(st->writeRecord(0, payloadOf(10, 1), 1));
  EXPECT_EQ(st->count(), 0x7FFFFu);
}

TEST(RecordStore, DamagedFreeListNeverLoopsNorHandsOutLiveData) {
  ScratchDir dir;
  const std::string path = threeRecords(dir);
  Bytes file = testing::readFile(path);
  const std::uint32_t page = u32At(file, 8);
  const std::uint32_t block1 = u32At(file, page + 4);
  const std::uint32_t end = static_cast<std::uint32_t>(file.size());

  // Two free 1-unit blocks at the end that point at each other: a cycle.
  ByteWriter tail;
  tail.u32(0); tail.u16(1); tail.u32(end + 262); tail.zeros(256 - 4);
  tail.u32(0); tail.u16(1); tail.u32(end); tail.zeros(256 - 4);
  file.insert(file.end(), tail.data().begin(), tail.data().end());
  patchU32(file, 4, end);
  ASSERT_TRUE(testing::writeFile(path, file));
  {
    auto st = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
    ASSERT_TRUE(st);
    // Needs 2 units: nothing fits, the walk stops at the cycle and appends.
    ASSERT_EQ(st->writeRecord(0, payloadOf(300, 1), 2), std::optional<std::uint32_t>(4));
    EXPECT_EQ(st->slotValue(4), end + 2 * 262);
    ASSERT_TRUE(st->writeRecord(0, payloadOf(10, 1), 1));
    ASSERT_TRUE(st->writeRecord(0, payloadOf(10, 1), 1));
    EXPECT_EQ(st->slotValue(5) == end || st->slotValue(5) == end + 262, true);
  }

  // A free-list head that points into record 1's block, made to look like a free block.
  file = testing::readFile(path);
  patchU32(file, block1, 0);
  storeU16(file.data() + block1 + 4, 1);
  patchU32(file, block1 + 6, 0);
  patchU32(file, 4, block1);
  ASSERT_TRUE(testing::writeFile(path, file));
  // Make the slot of record 1 still point there: the block is live.
  auto st = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
  ASSERT_TRUE(st);
  const std::uint64_t sizeBefore = st->fileSize();
  ASSERT_TRUE(st->writeRecord(0, payloadOf(10, 3), 1));
  EXPECT_NE(st->slotValue(st->count()), block1);
  EXPECT_EQ(st->slotValue(st->count()), sizeBefore);  // appended instead
  EXPECT_EQ(st->freeHead(), 0u);                     // the bad list was cut off
}

TEST(RecordStore, ShortWritesAreReportedAndLeaveTheRecordIntact) {
  ScratchDir dir;
  const std::string path = threeRecords(dir);
  const std::uint64_t size = testing::readFile(path).size();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A file-size limit makes every write beyond it short, as a full disk would.
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {static_cast<rlim_t>(size + 100), static_cast<rlim_t>(size + 100)};
    setrlimit(RLIMIT_FSIZE, &limit);
    auto st = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
    if (!st) _exit(10);
    if (st->writeRecord(2, payloadOf(600, 8), 3)) _exit(11);  // must report the short write
    if (st->writeRecord(0, payloadOf(600, 8), 3)) _exit(12);
    if (st->readRecord(2) != padded(payloadOf(20, 1), 1)) _exit(13);
    if (st->count() != 3) _exit(14);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  auto st = RecordStore::openStoreFile(path, kSpecimenStoreLayout);
  ASSERT_TRUE(st);
  EXPECT_EQ(st->count(), 3u);
  EXPECT_EQ(st->readRecord(2), std::optional<Bytes>(padded(payloadOf(20, 1), 1)));
}

}  // namespace
}  // namespace kalvor
