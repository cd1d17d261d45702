#include "collection/mineral_specimen.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>

#include "collection/locality.h"
#include "collection/mineral_specimen_form.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;
namespace idx = index_field;
namespace sf = specimen_format;

TEST(SpecimenRecord, GoldenBytes) {
  Specimen s;
  s.number = 1;
  s.flags = sf::kFlagCollection | sf::kFlagFound;
  s.index = "A12";
  s.storagePlace = "Schrank 3";
  s.size = "4x3 cm";
  s.minerals = {1, 3};
  s.mainCount = 1;
  s.count = 2;
  s.localityValue = 2;
  s.purchasePrice = 0;
  s.value = 12.5f;
  s.date = 1984u * 65536 + 3 * 256 + 25;

  Bytes expected(168 + 1 + 4, 0);
  expected[0] = 1;
  expected[4] = 0x05;
  std::memcpy(&expected[6], "A12", 3);
  std::memcpy(&expected[46], "Schrank 3", 9);
  std::memcpy(&expected[126], "4x3 cm", 6);
  expected[146] = 2;  // minerals in all
  expected[148] = 1;  // main minerals
  expected[150] = 2;  // count
  expected[152] = 2;  // locality 1
  // value 12.5f = 0x41480000
  expected[160] = 0x48;
  expected[161] = 0x41;
  // 25.03.1984 = 0x07C00319
  expected[162] = 0x19;
  expected[163] = 0x03;
  expected[164] = 0xC0;
  expected[165] = 0x07;
  expected[166] = 1;  // empty text: just its zero
  expected[169] = 1;
  expected[171] = 3;
  EXPECT_EQ(encodeSpecimen(s), expected);
  // (0 + 2*2 + 432) / 256 = 1 unit.
  EXPECT_EQ(specimenUnitsOf(s), 1u);
  auto back = decodeSpecimen(expected);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, s);

  // Number 0 or flags 0 read as deleted; a short payload is refused.
  Bytes zeroFlags = expected;
  zeroFlags[4] = 0;
  EXPECT_TRUE(decodeSpecimen(zeroFlags)->deleted());
  Bytes zeroNumber = expected;
  zeroNumber[0] = 0;
  EXPECT_TRUE(decodeSpecimen(zeroNumber)->deleted());
  EXPECT_FALSE(decodeSpecimen(std::span(expected).first(171)));
  Bytes longText = expected;
  longText[166] = 0x10;  // claims 16 bytes of text
  EXPECT_FALSE(decodeSpecimen(longText));
}

TEST(SpecimenForm, DateSyntaxAndMessages) {
  EXPECT_EQ(parseSpecimenDate("").date, 0u);
  EXPECT_TRUE(parseSpecimenDate("").ok());
  EXPECT_EQ(parseSpecimenDate("1991").date, 1991u * 65536);
  EXPECT_EQ(parseSpecimenDate("08.1988").date, 1988u * 65536 + 2048);
  EXPECT_EQ(parseSpecimenDate("25.03.1984").date, 1984u * 65536 + 3 * 256 + 25);
  EXPECT_EQ(parseSpecimenDate("29.02.2000").date, 2000u * 65536 + 2 * 256 + 29);
  EXPECT_EQ(parseSpecimenDate("29.2.2004").date, 2004u * 65536 + 2 * 256 + 29);
  EXPECT_EQ(parseSpecimenDate("31.12.1999").date, 1999u * 65536 + 12 * 256 + 31);
  EXPECT_EQ(parseSpecimenDate("29.02.1900").error, CollectionMessage::kNotLeapYear);
  EXPECT_EQ(parseSpecimenDate("29.02.1999").error, CollectionMessage::kNotLeapYear);
  EXPECT_EQ(parseSpecimenDate("31.04.1990").error, CollectionMessage::kTooManyDays);
  EXPECT_EQ(parseSpecimenDate("30.02.2000").error, CollectionMessage::kTooManyDays);
  EXPECT_EQ(parseSpecimenDate("0.5.1990").error, CollectionMessage::kTooManyDays);
  EXPECT_EQ(parseSpecimenDate("13.1990").error, CollectionMessage::kBadMonth);
  EXPECT_EQ(parseSpecimenDate("0.1990").error, CollectionMessage::kBadMonth);
  EXPECT_EQ(parseSpecimenDate("12.13.1990").error, CollectionMessage::kBadMonth);
  // One reading for entry and search: years 1..65535, nothing left over.
  EXPECT_EQ(parseSpecimenDate(" 25.03.1984 ").date, 1984u * 65536 + 3 * 256 + 25);
  EXPECT_EQ(parseSpecimenDate("1.1.65535").date, 65535u * 65536 + 256 + 1);
  EXPECT_EQ(parseSpecimenDate("1").date, 65536u);
  EXPECT_EQ(parseSpecimenDate("29.2.2400").date, 2400u * 65536 + 2 * 256 + 29);
  for (const char* bad :
       {"1.1.70000", "65536", "0", "5.0", " 5 . 1999", "31.2.1999x", "1999x", "x1999", "1.2.3.1999",
        "5..1999", ".1999", "1999.", "-5.1999", "25/03/1984", "1.1.99999999999"}) {
    EXPECT_EQ(parseSpecimenDate(bad).error, CollectionMessage::kBadDate) << bad;
  }
  EXPECT_EQ(parseSpecimenDate("29.2.2100").error, CollectionMessage::kNotLeapYear);
  EXPECT_EQ(parseSpecimenDate("31.2.1999").error, CollectionMessage::kTooManyDays);
  EXPECT_EQ(collectionMessageText(collectionMessageCaption(CollectionMessage::kBadDate)), "Eingabefehler");

  EXPECT_EQ(formatSpecimenDate(1984u * 65536 + 3 * 256 + 25), "25.3.1984");
  EXPECT_EQ(formatSpecimenDate(1988u * 65536 + 2048), "8.1988");
  EXPECT_EQ(formatSpecimenDate(1991u * 65536), "1991");
  EXPECT_EQ(formatSpecimenDate(0), "");

  // The three messages and their caption are the program's own texts.
  EXPECT_EQ(collectionMessageText(CollectionMessage::kBadMonth),
            cp("Der im Datum angegebene Monat ist nicht gültig."));
  EXPECT_EQ(collectionMessageText(CollectionMessage::kNotLeapYear),
            cp("Das im Datum angegebene Jahr ist kein Schaltjahr. Daher gibt es in diesem Jahr "
               "keinen 29. Februar."));
  EXPECT_EQ(collectionMessageText(CollectionMessage::kTooManyDays),
            cp("Der im Datum angegebene Monat hat nicht so viele Tage."));
  EXPECT_EQ(collectionMessageText(collectionMessageCaption(CollectionMessage::kTooManyDays)),
            "Eingabefehler");
}

TEST(SpecimenForm, CountAndPriceRules) {
  EXPECT_EQ(parseSpecimenCount("1"), 1);
  EXPECT_EQ(parseSpecimenCount("9999"), 9999);
  EXPECT_EQ(parseSpecimenCount(" 12"), 12);
  EXPECT_EQ(parseSpecimenCount("0"), 1);
  EXPECT_EQ(parseSpecimenCount("10000"), 1);
  EXPECT_EQ(parseSpecimenCount("-3"), 1);
  EXPECT_EQ(parseSpecimenCount("drei"), 1);
  EXPECT_EQ(parseSpecimenCount(""), 1);
  EXPECT_EQ(formatPrice(12.5f), "  12.50");
}

TEST(SpecimenForm, LocalityListTypeAhead) {
  const std::vector<LocalityChoice> choices = {{0, "unbekannt"},
                                               {1, "neue Fundstelle"},
                                               {5, "Grube Clara, Oberwolfach"},
                                               {3,
                                                "\xC4u\xDF"
                                                "ere Halde, Freiberg"},  // "Äußere Halde"
                                               {2, "Nordhang, Ahrental"},
                                               {9,
                                                "\xE9"
                                                "boulis, Chamonix"}};  // "éboulis"
  // The first locality with that initial, whichever case is typed.
  EXPECT_EQ(localityChoiceForKey(choices, 'g'), 2u);
  EXPECT_EQ(localityChoiceForKey(choices, 'G'), 2u);
  EXPECT_EQ(localityChoiceForKey(choices, 'N'), 4u);
  // Umlauts and accents go with their base letter, both ways.
  EXPECT_EQ(localityChoiceForKey(choices, 'a'), 3u);
  EXPECT_EQ(localityChoiceForKey(choices, '\xE4'), 3u);
  EXPECT_EQ(localityChoiceForKey(choices, 'E'), 5u);
  // "unbekannt" and "neue Fundstelle" are no localities: 'u' and 'n' skip them.
  EXPECT_EQ(localityChoiceForKey(choices, 'u'), std::nullopt);
  EXPECT_EQ(localityChoiceForKey(choices, 'x'), std::nullopt);
  EXPECT_EQ(localityChoiceForKey({}, 'g'), std::nullopt);
}

TEST(SpecimenMinerals, ParseMineralList) {
  const MineralNameList names = testNameList();
  // Each mineral once, in order of first mention; unknown names are skipped.
  EXPECT_EQ(parseMineralList(names, "Quarz, calcit ,Xyz, Quarz"),
            (std::vector<std::uint16_t>{kQuarz + 1, kCalcit + 1}));
  // A beginning is enough; umlauts compare as their two-letter spellings.
  EXPECT_EQ(parseMineralList(names, "Flu"), (std::vector<std::uint16_t>{kFluorit + 1}));
  EXPECT_EQ(parseMineralList(names, "Aeschynit"), (std::vector<std::uint16_t>{kAeschynit + 1}));
  EXPECT_EQ(parseMineralList(names, cp("Äschynit, Bergkristall")),
            (std::vector<std::uint16_t>{kAeschynit + 1, kBergkristall + 1}));
  EXPECT_TRUE(parseMineralList(names, " , ,").empty());
  EXPECT_TRUE(parseMineralList(names, "Zirkon").empty());
  EXPECT_TRUE(parseMineralList(names, "").empty());
  // The checked form names the first piece that is no mineral.
  const MineralListParse checked = parseMineralListChecked(names, "Quarz, Xyz ,Zirkon");
  EXPECT_EQ(checked.ids, (std::vector<std::uint16_t>{kQuarz + 1}));
  ASSERT_TRUE(checked.firstUnknown);
  EXPECT_EQ(*checked.firstUnknown, (std::pair<std::size_t, std::size_t>{7, 10}));
  EXPECT_FALSE(parseMineralListChecked(names, " Flu, , Calcit ").firstUnknown);
  // One name, as a description's reference to another mineral gives it.
  EXPECT_EQ(mineralNamed(names, "Flu"), std::optional<MineralNumber>(kFluorit));
  EXPECT_EQ(mineralNamed(names, cp("Äschynit")), std::optional<MineralNumber>(kAeschynit));
  EXPECT_FALSE(mineralNamed(names, "Zirkon"));
  EXPECT_FALSE(mineralNamed(names, ""));
}

TEST(SpecimenLifecycle, KindAndAcquisitionChangeLeavesTheOldSets) {
  CollectionFixture f;
  SpecimenFormFields fields;
  fields.mainMinerals = "Quarz";
  fields.collectionPiece = false;
  fields.acquisition = Acquisition::kBought;
  fields.purchasePrice = "20";
  fields.localityItem = 0;
  auto saved = collectAndSaveSpecimen(f.c(), fields, 0);
  ASSERT_EQ(saved.status, FormStatus::kSaved);
  EXPECT_EQ(f.members(0, idx::kSpecimenExchange), Numbers{1});
  EXPECT_EQ(f.members(0, idx::kSpecimenBought), Numbers{1});
  EXPECT_FLOAT_EQ(readSpecimen(f.c(), 1)->purchasePrice, 20.f);

  // "Tauschstufe" -> "Sammlungsstufe", "gekauft" -> "gefunden".
  fields.collectionPiece = true;
  fields.acquisition = Acquisition::kFound;
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 1).status, FormStatus::kSaved);
  EXPECT_EQ(f.members(0, idx::kSpecimenExchange), Numbers{});
  EXPECT_EQ(f.members(0, idx::kSpecimenBought), Numbers{});
  EXPECT_EQ(f.members(0, idx::kSpecimenCollection), Numbers{1});
  EXPECT_EQ(f.members(0, idx::kSpecimenFound), Numbers{1});
  // A found piece has no purchase price.
  EXPECT_FLOAT_EQ(readSpecimen(f.c(), 1)->purchasePrice, 0.f);
  EXPECT_EQ(f.c().specimenCount(), 1u);
}

TEST(SpecimenLifecycle, MineralLocalityChangeAndDelete) {
  CollectionFixture f;
  Locality a;
  a.name = "Clara";
  Locality b;
  b.name = "Erzberg";
  ASSERT_EQ(saveLocalityFromForm(f.c(), a), 1u);
  ASSERT_EQ(saveLocalityFromForm(f.c(), b), 2u);

  SpecimenFormFields fields;
  fields.mainMinerals = "Quarz, Calcit";
  fields.accompanyingMinerals = "Baryt, Quarz";
  fields.localityItem = 2;
  fields.date = "08.1988";
  fields.count = "3";
  fields.index = "K7";
  auto saved = collectAndSaveSpecimen(f.c(), fields, 0);
  ASSERT_EQ(saved.status, FormStatus::kSaved);
  auto s = readSpecimen(f.c(), 1);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->minerals, (std::vector<std::uint16_t>{kQuarz + 1, kCalcit + 1, kBaryt + 1}));
  EXPECT_EQ(s->mainCount, 2);
  EXPECT_EQ(s->date, 1988u * 65536 + 2048);
  EXPECT_EQ(s->count, 3);
  EXPECT_EQ(specimenMineralNames(f.c().names(), *s, true, ", "), "Quarz, Calcit");
  EXPECT_EQ(specimenMineralNames(f.c().names(), *s, false, ", "), "Baryt");
  EXPECT_EQ(f.members(kQuarz, idx::kSpecimenMineral), Numbers{1});
  EXPECT_EQ(f.members(kBaryt, idx::kSpecimenMineral), Numbers{1});
  EXPECT_EQ(f.members(0, idx::kSpecimenAll), Numbers{1});
  EXPECT_EQ(readLocality(f.c(), 1)->minerals,
            (std::vector<std::uint16_t>{0x8000 | kQuarz, 0x8000 | kCalcit, 0x8000 | kBaryt}));
  // The form remembers the locality and the index text for the next entry.
  EXPECT_EQ(f.settings().getInt("Edit", "Fundort", 0), 2);
  EXPECT_EQ(f.settings().getString("Sammlung", "Index", ""), "K7");
  EXPECT_EQ(newSpecimenFields(f.c()).index, "K7");

  // Minerals change on the same locality: mineral sets and the locality's marks follow.
  fields.accompanyingMinerals = "Fluorit";
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 1).status, FormStatus::kSaved);
  EXPECT_EQ(f.members(kBaryt, idx::kSpecimenMineral), Numbers{});
  EXPECT_EQ(f.members(kFluorit, idx::kSpecimenMineral), Numbers{1});
  EXPECT_EQ(readLocality(f.c(), 1)->minerals,
            (std::vector<std::uint16_t>{0x8000 | kQuarz, 0x8000 | kCalcit, kBaryt, 0x8000 | kFluorit}));

  // Moving to locality 2: it leaves 1's list and set; 1's marks are dropped.
  fields.localityItem = 3;
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 1).status, FormStatus::kSaved);
  auto locA = readLocality(f.c(), 1);
  EXPECT_TRUE(locA->specimens.empty());
  EXPECT_EQ(locA->minerals, (std::vector<std::uint16_t>{kQuarz, kCalcit, kBaryt, kFluorit}));
  EXPECT_EQ(readLocality(f.c(), 2)->specimens, Numbers{1});
  EXPECT_EQ(f.members(1, idx::kSpecimenLocality), Numbers{});
  EXPECT_EQ(f.members(2, idx::kSpecimenLocality), Numbers{1});

  // Delete: the number stays, the sets and the locality forget it.
  ASSERT_TRUE(deleteSpecimen(f.c(), 1));
  EXPECT_TRUE(readSpecimen(f.c(), 1)->deleted());
  EXPECT_EQ(f.members(0, idx::kSpecimenAll), Numbers{});
  EXPECT_EQ(f.members(kQuarz, idx::kSpecimenMineral), Numbers{});
  EXPECT_EQ(f.members(0, idx::kSpecimenCollection), Numbers{});
  EXPECT_EQ(f.members(0, idx::kSpecimenFound), Numbers{});
  EXPECT_EQ(f.members(2, idx::kSpecimenLocality), Numbers{});
  EXPECT_TRUE(readLocality(f.c(), 2)->specimens.empty());
  fields.localityItem = 0;
  auto next = collectAndSaveSpecimen(f.c(), fields, 0);
  ASSERT_EQ(next.status, FormStatus::kSaved);
  EXPECT_EQ(next.specimen.number, 2u);
}

TEST(SpecimenForm, InputErrorsSaveNothing) {
  CollectionFixture f;
  SpecimenFormFields fields;
  fields.localityItem = 0;
  fields.mainMinerals = " , ";
  fields.accompanyingMinerals = "Quarz";  // accompanying minerals alone are not enough
  auto r = collectAndSaveSpecimen(f.c(), fields, 0);
  EXPECT_EQ(r.status, FormStatus::kError);
  EXPECT_EQ(r.message, CollectionMessage::kNoMineral);
  fields.mainMinerals = "Zirkon";  // not in the list: refused, not dropped
  EXPECT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).message, CollectionMessage::kUnknownMineral);
  EXPECT_EQ(collectionMessageCaption(r.message), CollectionMessage::kInputErrorCaption);

  fields.mainMinerals = "Quarz";
  fields.date = "31.04.1990";
  r = collectAndSaveSpecimen(f.c(), fields, 0);
  EXPECT_EQ(r.message, CollectionMessage::kTooManyDays);
  EXPECT_EQ(f.c().specimenCount(), 0u);

  // "neue Fundstelle" with a refused date: the date is told before a locality is asked for.
  fields.localityItem = 1;
  r = collectAndSaveSpecimen(f.c(), fields, 0);
  EXPECT_EQ(r.status, FormStatus::kError);
  EXPECT_EQ(r.message, CollectionMessage::kTooManyDays);
  fields.date = "1999";
  fields.value = "abc";
  EXPECT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).status, FormStatus::kError);
  fields.value = "";

  // "neue Fundstelle": first the locality form; declined means no locality (value 1).
  fields.date = "";
  r = collectAndSaveSpecimen(f.c(), fields, 0);
  EXPECT_EQ(r.status, FormStatus::kNeedsNewLocality);
  EXPECT_EQ(r.message, CollectionMessage::kNoNewLocality);
  EXPECT_EQ(f.c().specimenCount(), 0u);
  fields.newLocalityDeclined = true;
  r = collectAndSaveSpecimen(f.c(), fields, 0);
  ASSERT_EQ(r.status, FormStatus::kSaved);
  EXPECT_EQ(readSpecimen(f.c(), 1)->localityValue, 1);
  EXPECT_EQ(f.members(0, idx::kSpecimenLocality), Numbers{});
}

TEST(SpecimenForm, FailedWriteShowsTheSaveProblem) {
  CollectionFixture f;
  SpecimenFormFields fields;
  fields.localityItem = 0;
  fields.mainMinerals = "Quarz";
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).status, FormStatus::kSaved);
  const std::uint64_t size = f.c().specimenStore()->fileSize();

  // A disk that is full: no file may grow past its current size.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit limit = old;
  limit.rlim_cur = size;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  fields.description = std::string(2000, 'x');  // needs a new block at the end
  auto r = collectAndSaveSpecimen(f.c(), fields, 0);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
  EXPECT_EQ(r.status, FormStatus::kError);
  EXPECT_EQ(r.message, CollectionMessage::kSaveFailed);
  EXPECT_EQ(collectionMessageText(collectionMessageCaption(r.message)), "Speicherungsproblem");
  // The earlier specimen is untouched and still readable after reopening.
  f.reopen();
  auto first = readSpecimen(f.c(), 1);
  ASSERT_TRUE(first);
  EXPECT_FALSE(first->deleted());
  EXPECT_EQ(first->minerals, (std::vector<std::uint16_t>{kQuarz + 1}));

  // Without its stores the collection reports the same problem.
  MineralNameList names = testNameList();
  Collection broken(names, 6, nullptr);
  EXPECT_EQ(broken.open(f.dir().file("fehlt/noch/tiefer")), Collection::OpenResult::kUnavailable);
  fields.description.clear();
  EXPECT_EQ(collectAndSaveSpecimen(broken, fields, 0).message, CollectionMessage::kSaveFailed);
}

}  // namespace
}  // namespace kalvor
