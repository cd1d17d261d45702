// Damaged collections: the open reports which file and how many records
// cannot be read, a damaged collection refuses every write, and the repair
// brings back every record whose block is intact (also those that a
// damaged directory entry, slot page or count word no longer lead to),
// keeps the damaged file byte for byte and rebuilds the index.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "collection/collection_repair.h"
#include "collection/index_check.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "platform/memory_file_layer.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;
namespace sf = store_format;

const std::string kFolder = "/sammlung";
const std::string kFs = kFolder + "/kalvor.fs";
const std::string kSt = kFolder + "/kalvor.st";

// 40 localities, 60 specimens (some with long descriptions over several units).
MemoryFileLayer fortyLocalities() {
  MemoryFileLayer memory;
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, memory);
  EXPECT_NE(c.open(kFolder), Collection::OpenResult::kUnavailable);
  const char* minerals[] = {"Quarz", "Calcit", "Fluorit", "Baryt, Quarz"};
  for (int l = 1; l <= 40; ++l) {
    Locality loc;
    loc.name = "Grube " + std::to_string(l);
    loc.region = l % 2 ? "Harz" : "Schwarzwald";
    loc.description = std::string(static_cast<std::size_t>(l * 37), 'f');
    EXPECT_TRUE(saveLocalityFromForm(c, loc));
  }
  for (int s = 1; s <= 60; ++s) {
    SpecimenFormFields f;
    f.mainMinerals = minerals[s % 4];
    f.localityItem = static_cast<std::uint16_t>(1 + (s * 7) % 40 + 1);
    f.index = "S" + std::to_string(s);
    f.description = std::string(static_cast<std::size_t>((s * 53) % 700), 'd');
    EXPECT_EQ(collectAndSaveSpecimen(c, f, 0).status, FormStatus::kSaved);
  }
  return memory;
}

// Every record's payload as stored.
std::map<std::uint32_t, Bytes> payloads(MemoryFileLayer& memory, const std::string& path,
                                        const StoreLayout& layout) {
  std::map<std::uint32_t, Bytes> out;
  auto store = RecordStore::openStoreFile(path, layout, StoreOpenMode::kReadOnly, memory);
  for (std::uint32_t n = 1; store && n <= store->count(); ++n) out[n] = *store->readRecord(n);
  return out;
}

void patch(MemoryFileLayer& memory, const std::string& path, std::uint64_t at, const Bytes& bytes) {
  memory.setReadOnly(path, false);
  auto file = memory.openFile(path, FileAccess::kReadWrite);
  ASSERT_TRUE(file && file->writeAt(at, bytes));
  file.reset();
  memory.setReadOnly(path, true);
}

Bytes u32(std::uint32_t v) {
  Bytes b(4);
  storeU32(b.data(), v);
  return b;
}

std::uint32_t u32At(const Bytes& file, std::uint64_t at) { return loadU32(file.data() + at); }
std::uint32_t slotOffset(const Bytes& file, std::uint32_t n) {
  return u32At(file, 8 + 4 * (n >> 8)) + 4 * (n & 0xFF);
}

struct Variant {
  const char* what;
  std::string path;
  // Damages the file; gets its bytes.
  std::function<void(MemoryFileLayer&, const Bytes&)> damage;
  bool openFails;                          // no store any more: the open refuses the collection
  std::uint32_t unreadable;                // reported at the open
  std::vector<std::uint32_t> lostRecords;  // records whose block itself is gone
};

TEST(CollectionRepair, EveryIntactRecordComesBackAndTheDamagedFileIsKept) {
  const MemoryFileLayer start = fortyLocalities();
  MemoryFileLayer probe = start;
  const auto localities = payloads(probe, kFs, kLocalityStoreLayout);
  const auto specimens = payloads(probe, kSt, kSpecimenStoreLayout);
  ASSERT_EQ(localities.size(), 40u);
  ASSERT_EQ(specimens.size(), 60u);
  const std::uint32_t dataStart = 8 + 4 * 2048;

  const std::vector<Variant> variants = {
      {"directory entry into a block",
       kFs,
       [&](MemoryFileLayer& m, const Bytes&) { patch(m, kFs, 8, u32(dataStart + 1030)); },
       true,
       0,
       {}},
      {"directory entry past the end",
       kFs,
       [&](MemoryFileLayer& m, const Bytes&) { patch(m, kFs, 8, u32(0xFFFFF000u)); },
       false,
       40,
       {}},
      {"slot page zeroed",
       kSt,
       [&](MemoryFileLayer& m, const Bytes& f) { patch(m, kSt, u32At(f, 8), Bytes(1024, 0)); },
       false,
       60,
       {}},
      {"one slot zeroed",
       kSt,
       [&](MemoryFileLayer& m, const Bytes& f) { patch(m, kSt, slotOffset(f, 5), u32(0)); },
       false,
       1,
       {}},
      {"slot leads to another record's block",
       kSt,
       [&](MemoryFileLayer& m, const Bytes& f) {
         patch(m, kSt, slotOffset(f, 7), u32(u32At(f, slotOffset(f, 8))));
       },
       false,
       1,
       {}},
      {"block header overwritten",
       kSt,
       [&](MemoryFileLayer& m, const Bytes& f) { patch(m, kSt, u32At(f, slotOffset(f, 9)), Bytes(6, 0xEE)); },
       false,
       1,
       {9}},
      {"locality count zeroed",
       kFs,
       [&](MemoryFileLayer& m, const Bytes&) { patch(m, kFs, 0, u32(0)); },
       true,
       0,
       {}},
      {"locality block torn",
       kFs,
       [&](MemoryFileLayer& m, const Bytes& f) {
         // The counts of the fixed part say more than the block holds.
         patch(m, kFs, u32At(f, slotOffset(f, 12)) + 6 + 204, Bytes{0xFF, 0x7F});
       },
       false,
       1,
       {12}},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.what);
    MemoryFileLayer memory = start;
    v.damage(memory, *memory.contents(v.path));
    const Bytes damaged = *memory.contents(v.path);
    const Bytes otherBefore = *memory.contents(v.path == kFs ? kSt : kFs);
    const MineralNameList names = testNameList();
    Collection c(names, 6, nullptr, memory);
    const Collection::OpenResult opened = c.open(kFolder);
    const std::string fileName = v.path.substr(kFolder.size() + 1);
    if (v.openFails) {
      EXPECT_EQ(opened, Collection::OpenResult::kUnavailable);
      EXPECT_NE(c.openProblem().find(fileName), std::string::npos);
      EXPECT_NE(c.openProblem().find("reparatur"), std::string::npos) << c.openProblem();
    } else {
      ASSERT_NE(opened, Collection::OpenResult::kUnavailable);
      ASSERT_TRUE(c.damaged());
      ASSERT_EQ(c.damage().size(), 1u);
      EXPECT_EQ(c.damage()[0].fileName, fileName);
      EXPECT_EQ(c.damage()[0].unreadable, v.unreadable);
      const std::string count =
          std::to_string(v.unreadable) + " von " + std::to_string(fileName == "kalvor.fs" ? 40 : 60);
      EXPECT_NE(c.damageReport().find(count), std::string::npos) << c.damageReport();
      // Writing is refused, and the files stay as they are.
      Locality loc;
      loc.name = "Neu";
      EXPECT_FALSE(saveLocalityFromForm(c, loc));
      SpecimenFormFields f;
      f.mainMinerals = "Quarz";
      f.localityItem = 0;
      EXPECT_NE(collectAndSaveSpecimen(c, f, 0).status, FormStatus::kSaved);
      EXPECT_FALSE(deleteLocality(c, 2, true, 0));
      EXPECT_EQ(*memory.contents(v.path), damaged);
    }

    const RepairResult result = repairCollection(c, kFolder, "2026-12-06", nullptr);
    ASSERT_TRUE(result.ok) << result.problem;
    EXPECT_TRUE(result.indexRebuilt);
    const std::string keptAs = fileName + ".beschaedigt-2026-12-06";
    // The damaged file is kept byte for byte; the other, intact one was not replaced.
    EXPECT_EQ(memory.contents(kFolder + "/" + keptAs), damaged);
    // (A lost specimen leaves its locality's list at the rebuild, a change of that file.)
    EXPECT_TRUE(!v.lostRecords.empty() || *memory.contents(v.path == kFs ? kSt : kFs) == otherBefore);
    const std::map<std::uint32_t, Bytes>& want = v.path == kFs ? localities : specimens;
    std::uint32_t salvaged = 0;
    for (const RepairedStore& s : result.stores) {
      if (s.fileName != fileName) {
        EXPECT_FALSE(s.damaged);
        continue;
      }
      EXPECT_TRUE(s.damaged);
      EXPECT_EQ(s.keptAs, keptAs);
      EXPECT_EQ(s.lost, v.lostRecords.size());
      salvaged = s.salvaged;
    }
    EXPECT_EQ(salvaged, want.size() - v.lostRecords.size());
    EXPECT_NE(repairReport(result).find(keptAs), std::string::npos);

    // Every intact record is back under its number, byte for byte.
    ASSERT_FALSE(c.damaged()) << c.damageReport();
    const auto back = payloads(memory, v.path, v.path == kFs ? kLocalityStoreLayout : kSpecimenStoreLayout);
    ASSERT_EQ(back.size(), want.size());
    for (const auto& [n, payload] : want) {
      const bool lost = std::find(v.lostRecords.begin(), v.lostRecords.end(), n) != v.lostRecords.end();
      if (!lost) {
        EXPECT_EQ(back.at(n), payload) << "record " << n;
      } else if (v.path == kSt) {
        EXPECT_TRUE(readSpecimen(c, n)->deleted()) << "record " << n;
      } else {
        // A lost locality that specimens name stays with a placeholder name.
        EXPECT_NE(readLocality(c, n)->name.find("verloren"), std::string::npos);
      }
    }
    EXPECT_TRUE(checkValueIndex(c).empty());
    // And it can be written to again.
    Locality loc;
    loc.name = "Neu";
    EXPECT_TRUE(saveLocalityFromForm(c, loc));
    // A second repair keeps the first kept file and names its own apart (nothing is damaged now).
    const RepairResult again = repairCollection(c, kFolder, "2026-12-06", nullptr);
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(memory.contents(kFolder + "/" + keptAs), damaged);
    if (HasFailure()) return;
  }
}

TEST(CollectionRepair, SalvageFindsBlocksNoSlotLeadsToAndIgnoresFreeOnes) {
  MemoryFileLayer memory = fortyLocalities();
  Bytes file = *memory.contents(kSt);
  // Rewrite specimen 3 so that its old block is freed (owner 0), then lose every slot page.
  {
    const MineralNameList names = testNameList();
    Collection c(names, 6, nullptr, memory);
    ASSERT_NE(c.open(kFolder), Collection::OpenResult::kUnavailable);
    std::optional<Specimen> s = readSpecimen(c, 3);
    s->description = std::string(2000, 'n');
    ASSERT_TRUE(writeSpecimen(c, 3, *s));
  }
  file = *memory.contents(kSt);
  Bytes wiped = file;
  std::fill(wiped.begin() + 8, wiped.begin() + 8 + 4 * 2048, 0);
  const SalvagedRecords found = salvageRecords(wiped, kSpecimenStoreLayout, false);
  EXPECT_EQ(found.records.size(), 60u);
  EXPECT_EQ(found.numbered, 60u);
  // The newest version of specimen 3, not the freed old one.
  EXPECT_EQ(decodeSpecimen(found.records.at(3))->description, std::string(2000, 'n'));
  for (const auto& [n, payload] : found.records) EXPECT_EQ(decodeSpecimen(payload)->number, n);
}

}  // namespace
}  // namespace kalvor
