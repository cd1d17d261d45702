// The file layers: the system's, the one in memory, and the fault-injecting
// wrapper the crash tests rely on (a fault that does not happen where it is
// planned would let those tests pass without testing anything).
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/faulty_file_layer.h"
#include "platform/file_layer.h"
#include "platform/memory_file_layer.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

Bytes bytesOf(std::size_t n, std::uint8_t seed) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i);
  return b;
}

// The same operations on any layer: create, positioned writes, truncate, rename, remove.
// `markEnforced`: a read-only mark keeps writers out (not for root on POSIX).
void exercise(FileLayer& files, const std::string& folder, bool markEnforced) {
  const std::string a = folder + "/a.bin";
  const std::string b = folder + "/b.bin";
  EXPECT_EQ(files.presence(a), FilePresence::kMissing);
  EXPECT_FALSE(files.openFile(a, FileAccess::kReadOnly));
  {
    auto f = files.createFile(a);
    ASSERT_TRUE(f);
    ASSERT_TRUE(f->writeAt(0, bytesOf(10, 1)));
    ASSERT_TRUE(f->writeAt(20, bytesOf(4, 50)));  // the gap reads as zeros
    EXPECT_EQ(f->size(), std::optional<std::uint64_t>(24));
    Bytes gap(10);
    ASSERT_TRUE(f->readAt(10, gap));
    EXPECT_EQ(gap, Bytes(10, 0));
    Bytes past(4);
    EXPECT_FALSE(f->readAt(22, past));  // a short read is a failure
    ASSERT_TRUE(f->truncate(12));
    EXPECT_TRUE(f->sync());
  }
  EXPECT_EQ(files.presence(a), FilePresence::kPresent);
  Bytes want = bytesOf(10, 1);
  want.resize(12, 0);
  EXPECT_EQ(readWholeFile(files, a), std::optional<Bytes>(want));
  {
    auto ro = files.openFile(a, FileAccess::kReadOnly);
    ASSERT_TRUE(ro);
    EXPECT_FALSE(ro->writeAt(0, bytesOf(2, 9)));
  }
  ASSERT_TRUE(replaceWholeFile(files, b, bytesOf(5, 7)));
  EXPECT_EQ(files.presence(b + ".neu"), FilePresence::kMissing);
  ASSERT_TRUE(files.renameFile(b, a));  // over an existing file
  EXPECT_EQ(readWholeFile(files, a), std::optional<Bytes>(bytesOf(5, 7)));
  EXPECT_EQ(files.presence(b), FilePresence::kMissing);
  ASSERT_TRUE(files.setReadOnly(a, true));
  if (markEnforced) {
    EXPECT_FALSE(files.openFile(a, FileAccess::kReadWrite));
  }
  ASSERT_TRUE(files.setReadOnly(a, false));
  EXPECT_TRUE(files.openFile(a, FileAccess::kReadWrite));
  EXPECT_TRUE(files.removeFile(a));
  EXPECT_TRUE(files.removeFile(a));  // already gone
  EXPECT_EQ(files.presence(a), FilePresence::kMissing);
}

TEST(FileLayer, SystemAndMemoryLayersBehaveAlike) {
  testing::ScratchDir dir;
  exercise(systemFileLayer(), dir.path(), geteuid() != 0);
  EXPECT_FALSE(systemFileLayer().setReadOnly(dir.file("fehlt"), true));
  MemoryFileLayer memory;
  exercise(memory, "/mem", true);
  EXPECT_FALSE(memory.setReadOnly("/mem/fehlt", true));
}

TEST(FileLayer, MemoryLayerCopiesAreSnapshots) {
  MemoryFileLayer memory;
  memory.put("x", bytesOf(4, 1));
  MemoryFileLayer snapshot = memory;
  auto f = memory.openFile("x", FileAccess::kReadWrite);
  ASSERT_TRUE(f->writeAt(0, bytesOf(2, 9)));
  EXPECT_EQ(snapshot.contents("x"), std::optional<Bytes>(bytesOf(4, 1)));
  EXPECT_NE(memory.contents("x"), snapshot.contents("x"));
}

TEST(FaultyFileLayer, FullDiskShortensTheFirstLengtheningWriteOnly) {
  MemoryFileLayer memory;
  memory.put("f", Bytes(4, 0xEE));
  FaultyFileLayer faulty(memory, FaultPlan::shortWrite(2));
  auto f = faulty.openFile("f", FileAccess::kReadWrite);
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->writeAt(0, Bytes(6, 1)));  // point 1, before the disk is full
  EXPECT_TRUE(f->writeAt(0, Bytes(2, 2)));  // point 2, inside the file: needs no space
  EXPECT_FALSE(faulty.faultInjected());
  EXPECT_FALSE(f->writeAt(4, Bytes(6, 3)));  // point 3: 2 bytes inside, 4 beyond, of which 2 are kept
  EXPECT_TRUE(faulty.faultInjected());
  EXPECT_EQ(memory.contents("f"), std::optional<Bytes>(Bytes({2, 2, 1, 1, 3, 3, 3, 3})));
  EXPECT_TRUE(f->writeAt(8, Bytes(2, 4)));  // the disk has room again
  EXPECT_EQ(faulty.writePoints(), 4u);
}

TEST(FaultyFileLayer, CrashLosesEverythingAfterItsPoint) {
  MemoryFileLayer memory;
  FaultyFileLayer faulty(memory, FaultPlan::crash(2));
  auto f = faulty.createFile("f");  // point 1
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->writeAt(0, Bytes(4, 1)));   // point 2
  EXPECT_FALSE(f->writeAt(4, Bytes(4, 2)));  // point 3: the crash
  EXPECT_TRUE(faulty.crashed());
  EXPECT_FALSE(f->writeAt(8, Bytes(4, 3)));
  EXPECT_FALSE(faulty.renameFile("f", "g"));
  EXPECT_FALSE(faulty.openFile("f", FileAccess::kReadOnly));
  Bytes back(4);
  EXPECT_FALSE(f->readAt(0, back));
  EXPECT_EQ(memory.contents("f"), std::optional<Bytes>(Bytes(4, 1)));
  EXPECT_EQ(memory.presence("g"), FilePresence::kMissing);
}

TEST(FaultyFileLayer, TornWriteStopsAtASectorBoundary) {
  MemoryFileLayer memory;
  memory.put("f", {});
  {
    FaultyFileLayer faulty(memory, FaultPlan::crash(0, true));
    auto f = faulty.openFile("f", FileAccess::kReadWrite);
    EXPECT_FALSE(f->writeAt(100, bytesOf(1000, 5)));  // spans sectors 0, 1 and 2
  }
  const Bytes got = *memory.contents("f");
  ASSERT_EQ(got.size(), 1024u);  // up to the boundary at 1024; the last sector is lost
  EXPECT_TRUE(std::equal(got.begin() + 100, got.end(), bytesOf(1000, 5).begin()));
  {
    // A write within one sector is all or nothing.
    FaultyFileLayer faulty(memory, FaultPlan::crash(0, true));
    auto f = faulty.openFile("f", FileAccess::kReadWrite);
    EXPECT_FALSE(f->writeAt(0, bytesOf(4, 9)));
  }
  EXPECT_EQ(memory.contents("f"), std::optional<Bytes>(got));
}

TEST(FaultyFileLayer, FailedSyncIsReportedAndReplaceLeavesNoTemporaryFile) {
  MemoryFileLayer memory;
  memory.put("keep", bytesOf(3, 1));
  FaultyFileLayer faulty(memory, FaultPlan::failedSync(1));
  EXPECT_FALSE(replaceWholeFile(faulty, "keep", bytesOf(6, 2)));
  EXPECT_TRUE(faulty.faultInjected());
  EXPECT_EQ(memory.contents("keep"), std::optional<Bytes>(bytesOf(3, 1)));
  EXPECT_EQ(memory.names(), std::vector<std::string>{"keep"});
  EXPECT_TRUE(replaceWholeFile(faulty, "keep", bytesOf(6, 2)));
  EXPECT_EQ(memory.contents("keep"), std::optional<Bytes>(bytesOf(6, 2)));
}

}  // namespace
}  // namespace kalvor
