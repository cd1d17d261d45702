// A collection file that exists but is not a valid store (emptied, zeroed,
// its count word cleared) is an error that names the file, never a fresh
// start: the open writes nothing, and the user's files stay as they were.
#include <gtest/gtest.h>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "platform/memory_file_layer.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;

const std::string kFolder = "/sammlung";

// A collection of three localities and four specimens, closed (files marked read-only).
MemoryFileLayer smallCollection() {
  MemoryFileLayer files;
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, files);
  EXPECT_EQ(c.open(kFolder), Collection::OpenResult::kReady);
  for (const char* name : {"Grube Clara", "Lautenthal", "Tsumeb"}) {
    Locality loc;
    loc.name = name;
    EXPECT_TRUE(saveLocalityFromForm(c, loc));
  }
  for (std::uint16_t i = 0; i < 4; ++i) {
    SpecimenFormFields f;
    f.mainMinerals = "Quarz";
    f.localityItem = static_cast<std::uint16_t>(2 + i % 3);
    EXPECT_EQ(collectAndSaveSpecimen(c, f, 0).status, FormStatus::kSaved);
  }
  return files;
}

Bytes changed(Bytes file, std::size_t at, std::size_t length) {
  std::fill_n(file.begin() + static_cast<std::ptrdiff_t>(at), length, 0);
  return file;
}

TEST(CollectionOpen, AStoreThatIsNoStoreIsReportedAndLeftAlone) {
  const MemoryFileLayer intact = smallCollection();
  const Bytes fs = *intact.contents(kFolder + "/kalvor.fs");
  const Bytes st = *intact.contents(kFolder + "/kalvor.st");
  struct Damage {
    const char* what;
    const char* file;
    Bytes content;
  };
  const std::vector<Damage> damages = {
      {"emptied", "kalvor.fs", Bytes{}},
      {"emptied", "kalvor.st", Bytes{}},
      {"count word zeroed", "kalvor.st", changed(st, 0, 4)},
      {"count word zeroed", "kalvor.fs", changed(fs, 0, 4)},
      {"zeroed", "kalvor.fs", Bytes(fs.size(), 0)},
      {"zeroed", "kalvor.st", Bytes(st.size(), 0)},
      {"cut in the directory", "kalvor.st", Bytes(st.begin(), st.begin() + 4000)},
  };
  for (const Damage& d : damages) {
    const std::string where = std::string(d.file) + " " + d.what;
    MemoryFileLayer files = intact;
    files.put(kFolder + "/" + d.file, d.content);
    files.setReadOnly(kFolder + "/" + d.file, true);
    const MemoryFileLayer before = files;
    const MineralNameList names = testNameList();
    {
      Collection c(names, 6, nullptr, files);
      EXPECT_EQ(c.open(kFolder), Collection::OpenResult::kUnavailable) << where;
      EXPECT_NE(c.openProblem().find(std::string("\"") + d.file + "\""), std::string::npos) << where;
      EXPECT_NE(c.openProblem().find("keine g\xFCltige Sammlungsdatei"), std::string::npos) << where;
    }
    // Not a byte written, no file created, every read-only mark back in place.
    EXPECT_EQ(files.names(), before.names()) << where;
    for (const std::string& name : before.names()) {
      EXPECT_EQ(files.contents(name), before.contents(name)) << where << ": " << name;
      EXPECT_EQ(files.isReadOnly(name), before.isReadOnly(name)) << where << ": " << name;
    }
  }
}

TEST(CollectionOpen, AMissingCollectionIsCreatedAndAnIntactOneOpens) {
  MemoryFileLayer files = smallCollection();
  const MineralNameList names = testNameList();
  Collection c(names, 6, nullptr, files);
  ASSERT_EQ(c.open(kFolder), Collection::OpenResult::kReady);
  EXPECT_EQ(c.localityCount(), 3u);
  EXPECT_EQ(c.specimenCount(), 4u);
  EXPECT_TRUE(c.openProblem().empty());
  // An emptied value index is no loss: it is rebuilt from the records.
  c.close();
  files.put(kFolder + "/kalvor.vi", Bytes{});
  ASSERT_EQ(c.open(kFolder), Collection::OpenResult::kRebuilt);
  EXPECT_EQ(
      c.valueIndex().getRecordSet(IndexValue::ofNumber(kQuarz), index_field::kSpecimenMineral)->members(),
      (Numbers{1, 2, 3, 4}));
}

}  // namespace
}  // namespace kalvor
