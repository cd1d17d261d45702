// A writer killed in the middle of entering localities and specimens: after
// every kill the collection opens, every record reads back, and the value
// index and the localities' lists agree with the records again.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "collection/index_check.h"
#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;

// Enters localities and specimens (new, changed, moved, deleted) until killed.
[[noreturn]] void writeForever(const std::string& folder, unsigned seed) {
  const MineralNameList names = testNameList();
  auto settings = openIniSettings(folder + "/kalvor.ini");
  Collection c(names, 6, settings.get());
  c.open(folder);
  std::mt19937 rng(seed);
  const char* minerals[] = {"Quarz", "Calcit", "Fluorit", "Baryt", "Quarz, Baryt"};
  for (;;) {
    const std::uint32_t action = rng() % 10;
    if (action == 0 || c.localityCount() == 0) {
      Locality loc;
      loc.name = "Fundort " + std::to_string(rng() % 100);
      loc.region = rng() % 2 ? "Schwarzwald" : "Harz";
      loc.minerals = {static_cast<std::uint16_t>(rng() % 6)};
      saveLocalityFromForm(c, loc);
    } else if (action == 1 && c.specimenCount() > 0) {
      deleteSpecimen(c, 1 + rng() % c.specimenCount());
    } else {
      SpecimenFormFields f;
      f.mainMinerals = minerals[rng() % 5];
      f.localityItem = static_cast<std::uint16_t>(rng() % (c.localityCount() + 2));
      if (f.localityItem == 1) f.localityItem = 0;
      f.collectionPiece = rng() % 2;
      f.description = std::string(rng() % 700, 'x');
      const std::uint32_t existing = action < 5 && c.specimenCount() > 0 ? 1 + rng() % c.specimenCount() : 0;
      const auto s = readSpecimen(c, existing);
      collectAndSaveSpecimen(c, f, s && !s->deleted() ? existing : 0);
    }
  }
}

TEST(CollectionCrash, KilledWriterLeavesAConsistentCollection) {
  ScratchDir dir;
  std::mt19937 rng(2026);
  for (int round = 0; round < 12; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) writeForever(dir.path(), static_cast<unsigned>(round));
    usleep(static_cast<useconds_t>(20000 + rng() % 60000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    const MineralNameList names = testNameList();
    auto settings = openIniSettings(dir.file("kalvor.ini"));
    Collection c(names, 6, settings.get());
    ASSERT_NE(c.open(dir.path()), Collection::OpenResult::kUnavailable) << "round " << round;
    for (std::uint32_t n = 1; n <= c.specimenCount(); ++n)
      EXPECT_TRUE(readSpecimen(c, n)) << "specimen " << n << " round " << round;
    for (std::uint32_t n = 1; n <= c.localityCount(); ++n)
      EXPECT_TRUE(readLocality(c, n)) << "locality " << n << " round " << round;
    const auto differences = checkValueIndex(c);
    EXPECT_TRUE(differences.empty()) << differences.size() << " differences after round " << round
                                     << ", first in field " << differences.front().field;
    // The writers really wrote: records pile up over the rounds.
    if (round == 11) {
      EXPECT_GT(c.specimenCount(), 12u);
    }
    // The side file order covers every specimen once.
    EXPECT_EQ(c.specimenOrder().entries.size(), c.specimenCount());
  }
}

}  // namespace
}  // namespace kalvor
