#include "collection/exchange_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;
namespace idx = index_field;
namespace sf = specimen_format;
namespace ef = exchange_format;

class LineRecorder : public ProgressSink {
 public:
  void progress(const std::string& line) override { lines.push_back(line); }
  std::vector<std::string> lines;
};

std::uint32_t addLocality(CollectionFixture& f, const char* name, const char* country,
                          std::vector<std::uint16_t> minerals = {}) {
  Locality loc;
  loc.name = name;
  loc.country = country;
  loc.minerals = std::move(minerals);
  const std::optional<std::uint32_t> n = saveLocalityFromForm(f.c(), loc);
  EXPECT_TRUE(n);
  return n.value_or(0);
}

std::uint32_t addSpecimen(CollectionFixture& f, std::uint16_t kind, const char* index,
                          std::vector<std::uint16_t> ids, std::uint32_t locality, float price = 0,
                          float value = 0) {
  Specimen s;
  s.flags = kind;
  s.index = index;
  s.minerals = std::move(ids);
  s.mainCount = 1;
  s.localityValue = static_cast<std::uint16_t>(locality == 0 ? 0 : locality + 1);
  s.purchasePrice = price;
  s.value = value;
  const FormResult r = saveSpecimen(f.c(), s);
  EXPECT_EQ(r.status, FormStatus::kSaved);
  return r.specimen.number;
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void putText(Bytes& b, std::size_t at, const char* text) { std::memcpy(&b[at], text, std::strlen(text)); }

constexpr std::uint16_t kExchangeBought = sf::kFlagExchange | sf::kFlagBought;
constexpr std::uint16_t kCollectionFound = sf::kFlagCollection | sf::kFlagFound;

TEST(ExchangeList, GoldenBytesOfASmallExport) {
  CollectionFixture f;
  const std::uint32_t grube = addLocality(f, "Grube A", "Deutschland", {kFluorit});
  addLocality(f, "Halde B", "");
  addSpecimen(f, kCollectionFound, "S1", {kCalcit + 1}, grube, 3.0f, 4.0f);
  addSpecimen(f, kExchangeBought, "T1", {kQuarz + 1}, grube, 5.0f, 12.5f);
  const std::string path = f.dir().file("golden.ktl");
  const ExchangeExportResult r = exportExchangeList(f.c(), path, nullptr);
  ASSERT_EQ(r.status, ExchangeExportStatus::kWritten);
  EXPECT_EQ(r.specimens, 1u);
  EXPECT_EQ(r.localities, 1u);

  // Worked out from the layout: value-index area (zero), header, two
  // directories, then the specimen slot page and record, then the locality
  // slot page and record, each appended at the end as it is created.
  const std::size_t specimenPage = 17532;
  const std::size_t specimenRecord = specimenPage + 1024;    // 18556
  const std::size_t localityPage = specimenRecord + 168 + 1 + 2;  // 18727
  const std::size_t localityRecord = localityPage + 1024;    // 19751
  Bytes expected(localityRecord + 210 + 1 + 2 * 2 + 4, 0);    // 19970
  put32(expected, 1032, 1);      // specimens
  put32(expected, 1036, 1);      // localities
  put32(expected, 1040, 1148);   // specimen directory
  put32(expected, 1044, 9340);   // locality directory
  put32(expected, 1148, specimenPage);
  put32(expected, 9340, localityPage);
  put32(expected, specimenPage + 4, specimenRecord);  // slot 1
  put32(expected, localityPage + 4, localityRecord);
  // Specimen 1 (was 2): exchange piece, bought; purchase price 0, value 12.5 kept.
  std::size_t s = specimenRecord;
  put32(expected, s + 0, 1);
  put16(expected, s + 4, kExchangeBought);
  putText(expected, s + 6, "T1");
  put16(expected, s + 146, 1);   // minerals
  put16(expected, s + 148, 1);   // main minerals
  put16(expected, s + 150, 1);   // count
  put16(expected, s + 152, 2);   // locality 1 of the list
  put32(expected, s + 154, 0);   // purchase price 0.0f
  put32(expected, s + 158, 0x41480000);  // 12.5f
  put16(expected, s + 166, 1);   // empty text: its zero only
  put16(expected, s + 169, kQuarz + 1);
  // Locality 1 (was 1): the own entry Fluorit stays, the collection piece's
  // Calcit goes, the exported piece's Quarz comes in marked.
  std::size_t l = localityRecord;
  put16(expected, l + 0, 1);
  putText(expected, l + 4, "Grube A");
  putText(expected, l + 124, "Deutschland");
  put16(expected, l + 204, 1);
  put16(expected, l + 206, 2);
  put16(expected, l + 208, 1);
  put16(expected, l + 211, kFluorit);
  put16(expected, l + 213, 0x8000 | kQuarz);
  put32(expected, l + 215, 1);
  EXPECT_EQ(readFile(path), expected);
}

TEST(ExchangeList, ExportAndOpenRoundTrip) {
  CollectionFixture f;
  f.settings().writeInt("Optionen", "Stufensortierung", 2);  // text index
  const std::uint32_t zinn = addLocality(f, "Zinnwald", "Deutschland", {kBaryt});
  const std::uint32_t aach = addLocality(f, "Aachen", "Belgien");
  addLocality(f, "Unbenutzt", "Norwegen");
  addSpecimen(f, kCollectionFound, "S-1", {kCalcit + 1}, zinn, 7.0f);                // 1
  addSpecimen(f, kExchangeBought, "T-C", {kQuarz + 1, kFluorit + 1}, zinn, 9.0f, 20.0f);  // 2
  addSpecimen(f, kCollectionFound, "S-3", {kQuarz + 1}, aach);                       // 3
  addSpecimen(f, kExchangeBought, "T-A", {kFluorit + 1}, aach, 4.0f, 8.0f);          // 4
  addSpecimen(f, kExchangeBought, "T-B", {kBaryt + 1}, zinn, 1.0f, 2.0f);            // 5
  addSpecimen(f, kExchangeBought, "T-D", {kQuarz + 1}, 0, 6.0f, 3.0f);               // 6: no locality
  const std::uint32_t gone = addSpecimen(f, kExchangeBought, "T-X", {kQuarz + 1}, zinn);  // 7
  ASSERT_TRUE(deleteSpecimen(f.c(), gone));
  const std::uint32_t userSpecimens = f.c().specimenCount();

  const auto members = f.c().valueIndex().getRecordSet(IndexValue::ofNumber(0), idx::kSpecimenExchange);
  ASSERT_TRUE(members);
  LineRecorder progress;
  const std::string path = f.dir().file("tausch.ktl");
  const ExchangeExportResult r = exportExchangeList(f.c(), path, &progress);
  ASSERT_EQ(r.status, ExchangeExportStatus::kWritten);
  EXPECT_EQ(r.specimens, 4u);
  EXPECT_EQ(r.localities, 2u);
  const std::string total = std::to_string(members->count());
  EXPECT_EQ(progress.lines, (std::vector<std::string>{
                                "Bearbeite Stufe 1/" + total, "Bearbeite Stufe 2/" + total,
                                "Bearbeite Stufe 3/" + total, "Bearbeite Stufe 4/" + total,
                                "Bearbeite Fundstelle 1/2", "Bearbeite Fundstelle 2/2"}));
  const Bytes exported = readFile(path);
  ASSERT_GE(exported.size(), 1048u);
  EXPECT_EQ(loadU32(&exported[1032]), 4u);
  EXPECT_EQ(loadU32(&exported[1036]), 2u);
  EXPECT_EQ(loadU32(&exported[0]), 0u);  // no value index yet

  LineRecorder rebuild;
  ASSERT_EQ(openExchangeList(f.c(), path, &rebuild), ExchangeOpenStatus::kOpened);
  ASSERT_TRUE(f.c().inExchangeMode());
  EXPECT_FALSE(rebuild.lines.empty());  // the first opening builds the index
  EXPECT_EQ(f.c().specimenCount(), 4u);
  EXPECT_EQ(f.c().localityCount(), 2u);

  // Renumbered in ascending original order; purchase price 0, value kept.
  const std::vector<std::string> indexes = {"T-C", "T-A", "T-B", "T-D"};
  const std::vector<float> values = {20.0f, 8.0f, 2.0f, 3.0f};
  const std::vector<std::uint16_t> localityValues = {2, 3, 2, 0};
  for (std::uint32_t n = 1; n <= 4; ++n) {
    const std::optional<Specimen> s = readSpecimen(f.c(), n);
    ASSERT_TRUE(s) << n;
    EXPECT_EQ(s->number, n);
    EXPECT_EQ(s->index, indexes[n - 1]);
    EXPECT_EQ(s->purchasePrice, 0.0f);
    EXPECT_EQ(s->value, values[n - 1]);
    EXPECT_EQ(s->localityValue, localityValues[n - 1]);
    EXPECT_EQ(s->flags, kExchangeBought);
  }
  EXPECT_FALSE(readSpecimen(f.c(), 5));
  // Localities in order of first use: Zinnwald (first exchange piece), then
  // Aachen. Zinnwald's Baryt was marked by the save of specimen 5, so it is
  // dropped with the other marked entries and comes back from the exported
  // piece; the collection piece's Calcit stays out.
  const std::optional<Locality> one = readLocality(f.c(), 1);
  const std::optional<Locality> two = readLocality(f.c(), 2);
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->number, 1u);
  EXPECT_EQ(one->name, "Zinnwald");
  EXPECT_EQ(one->specimens, (Numbers{1, 3}));
  EXPECT_EQ(one->minerals, (std::vector<std::uint16_t>{0x8000 | kQuarz, 0x8000 | kFluorit, 0x8000 | kBaryt}));
  EXPECT_EQ(two->number, 2u);
  EXPECT_EQ(two->name, "Aachen");
  EXPECT_EQ(two->specimens, (Numbers{2}));
  EXPECT_EQ(two->minerals, (std::vector<std::uint16_t>{0x8000 | kFluorit}));
  EXPECT_FALSE(readLocality(f.c(), 3));

  // The exchange list's own index answers.
  EXPECT_EQ(f.members(0, idx::kSpecimenExchange), (Numbers{1, 2, 3, 4}));
  EXPECT_EQ(f.members(0, idx::kSpecimenCollection), Numbers{});
  EXPECT_EQ(f.members(0, idx::kSpecimenAll), (Numbers{1, 2, 3, 4}));
  EXPECT_EQ(f.members(1, idx::kSpecimenLocality), (Numbers{1, 3}));
  EXPECT_EQ(f.members(2, idx::kSpecimenLocality), (Numbers{2}));
  EXPECT_EQ(f.members(kQuarz, idx::kSpecimenMineral), (Numbers{1, 4}));
  EXPECT_EQ(f.members(0, idx::kLocalityAll), (Numbers{1, 2}));
  EXPECT_EQ(f.textMembers("Belgien", idx::kLocalityCountry), (Numbers{2}));
  EXPECT_EQ(f.textMembers("Norwegen", idx::kLocalityCountry), Numbers{});
  // Both sort orders are the exchange list's: names, and the text index.
  switchOrderForm(f.c().localityOrder(), kOrderList);
  switchOrderForm(f.c().specimenOrder(), kOrderList);
  EXPECT_EQ(f.c().localityOrder().entries, (Numbers{2, 1}));
  EXPECT_EQ(f.c().specimenOrder().entries, (Numbers{2, 3, 1, 4}));

  // Leaving restores the user's collection.
  leaveExchangeList(f.c());
  EXPECT_FALSE(f.c().inExchangeMode());
  EXPECT_EQ(f.c().specimenCount(), userSpecimens);
  EXPECT_EQ(f.c().localityCount(), 3u);
  EXPECT_EQ(readSpecimen(f.c(), 1)->index, "S-1");
  EXPECT_EQ(readSpecimen(f.c(), 2)->purchasePrice, 9.0f);
  EXPECT_EQ(f.members(0, idx::kSpecimenCollection), (Numbers{1, 3}));
  EXPECT_EQ(f.c().localityOrder().entries.size(), 3u);

  // The index now lives in the file; a second opening does not rebuild it
  // and leaves the file as it was.
  const Bytes withIndex = readFile(path);
  EXPECT_GT(withIndex.size(), exported.size());
  EXPECT_NE(loadU32(&withIndex[0]) & 0xFFFF, 0u);
  EXPECT_TRUE(std::equal(exported.begin() + 1032, exported.end(), withIndex.begin() + 1032));
  LineRecorder again;
  ASSERT_EQ(openExchangeList(f.c(), path, &again), ExchangeOpenStatus::kOpened);
  EXPECT_TRUE(again.lines.empty());
  EXPECT_EQ(f.members(2, idx::kSpecimenLocality), (Numbers{2}));
  leaveExchangeList(f.c());
  EXPECT_EQ(readFile(path), withIndex);
}

TEST(ExchangeList, UserFilesUntouchedByAWholeSessionInTheMode) {
  CollectionFixture f;
  const std::uint32_t loc = addLocality(f, "Grube", "Deutschland");
  addSpecimen(f, kExchangeBought, "T1", {kQuarz + 1}, loc, 2.0f);
  addSpecimen(f, kCollectionFound, "S1", {kCalcit + 1}, loc);
  const std::string path = f.dir().file("t.ktl");
  ASSERT_EQ(exportExchangeList(f.c(), path, nullptr).status, ExchangeExportStatus::kWritten);

  const char* files[] = {"kalvor.fs", "kalvor.st", "kalvor.vi", "kalvor.fss", "kalvor.sts"};
  std::vector<Bytes> before;
  for (const char* name : files) before.push_back(readFile(f.dir().file(name)));
  ASSERT_EQ(openExchangeList(f.c(), path, nullptr), ExchangeOpenStatus::kOpened);
  // Everything that would write is refused or goes nowhere near the user's files.
  Specimen s = *readSpecimen(f.c(), 1);
  s.index = "changed";
  EXPECT_FALSE(writeSpecimen(f.c(), 1, s));
  EXPECT_NE(saveSpecimen(f.c(), s).status, FormStatus::kSaved);
  Locality l = *readLocality(f.c(), 1);
  EXPECT_FALSE(writeLocality(f.c(), 1, l));
  EXPECT_FALSE(deleteSpecimen(f.c(), 1));
  EXPECT_FALSE(f.c().rebuildIndex(nullptr));
  f.c().resortSpecimens();
  f.c().resortLocalities();
  EXPECT_EQ(exportExchangeList(f.c(), f.dir().file("again.ktl"), nullptr).status,
            ExchangeExportStatus::kFailed);
  EXPECT_EQ(openExchangeList(f.c(), path, nullptr), ExchangeOpenStatus::kAlreadyOpen);
  leaveExchangeList(f.c());
  for (std::size_t i = 0; i < std::size(files); ++i)
    EXPECT_EQ(readFile(f.dir().file(files[i])), before[i]) << files[i];
  EXPECT_EQ(readSpecimen(f.c(), 1)->index, "T1");
}

TEST(ExchangeList, OnlyCurrentExchangePiecesAreExported) {
  CollectionFixture f;
  const std::uint32_t loc = addLocality(f, "Grube", "");
  addSpecimen(f, kCollectionFound, "S1", {kCalcit + 1}, loc);
  const std::string path = f.dir().file("leer.ktl");
  // Nothing to export: no file.
  EXPECT_EQ(exportExchangeList(f.c(), path, nullptr).status, ExchangeExportStatus::kNoExchangePieces);
  EXPECT_FALSE(std::filesystem::exists(path));

  // An exchange piece changed into a collection piece is not exported.
  const std::uint32_t t = addSpecimen(f, kExchangeBought, "T1", {kQuarz + 1}, loc);
  Specimen changed = *readSpecimen(f.c(), t);
  changed.flags = kCollectionFound;
  ASSERT_EQ(saveSpecimen(f.c(), changed).status, FormStatus::kSaved);
  EXPECT_EQ(exportExchangeList(f.c(), path, nullptr).status, ExchangeExportStatus::kNoExchangePieces);
  EXPECT_FALSE(std::filesystem::exists(path));

  // Even when the index still lists it (a record changed behind its back),
  // the record decides.
  const std::uint32_t u = addSpecimen(f, kExchangeBought, "T2", {kQuarz + 1}, loc);
  const std::uint32_t v = addSpecimen(f, kExchangeBought, "T3", {kBaryt + 1}, loc);
  Specimen stale = *readSpecimen(f.c(), u);
  stale.flags = kCollectionFound;
  ASSERT_TRUE(f.c().specimenStore()->writeRecord(u, encodeSpecimen(stale), specimenUnitsOf(stale)));
  ASSERT_EQ(f.members(0, idx::kSpecimenExchange), (Numbers{u, v}));
  const ExchangeExportResult r = exportExchangeList(f.c(), path, nullptr);
  ASSERT_EQ(r.status, ExchangeExportStatus::kWritten);
  EXPECT_EQ(r.specimens, 1u);
  ASSERT_EQ(openExchangeList(f.c(), path, nullptr), ExchangeOpenStatus::kOpened);
  EXPECT_EQ(readSpecimen(f.c(), 1)->index, "T3");
  EXPECT_EQ(readLocality(f.c(), 1)->specimens, (Numbers{1}));
  leaveExchangeList(f.c());
}

TEST(ExchangeList, AnExportClearsWhatKilledExportsLeftBehind) {
  CollectionFixture f;
  const std::uint32_t loc = addLocality(f, "Grube", "");
  addSpecimen(f, kExchangeBought, "T1", {kQuarz + 1}, loc);
  // Two exports killed before their rename, and files that are no such leftovers.
  for (const char* name : {"liste.ktl.neu", "Alt.KTL.NEU", "notiz.txt.neu", "liste.ktl"})
    ASSERT_TRUE(testing::writeFile(f.dir().file(name), Bytes{1, 2, 3}));
  ASSERT_EQ(exportExchangeList(f.c(), f.dir().file("liste.ktl"), nullptr).status,
            ExchangeExportStatus::kWritten);
  EXPECT_FALSE(std::filesystem::exists(f.dir().file("liste.ktl.neu")));
  EXPECT_FALSE(std::filesystem::exists(f.dir().file("Alt.KTL.NEU")));
  EXPECT_TRUE(std::filesystem::exists(f.dir().file("notiz.txt.neu")));
  EXPECT_GT(testing::readFile(f.dir().file("liste.ktl")).size(), 3u);
  ASSERT_EQ(openExchangeList(f.c(), f.dir().file("liste.ktl"), nullptr), ExchangeOpenStatus::kOpened);
  EXPECT_EQ(readSpecimen(f.c(), 1)->index, "T1");
  leaveExchangeList(f.c());
}

TEST(ExchangeList, DamagedFilesAreRefusedOrReadSafely) {
  CollectionFixture f;
  const std::uint32_t loc = addLocality(f, "Grube", "Deutschland");
  addSpecimen(f, kExchangeBought, "T1", {kQuarz + 1}, loc);
  addSpecimen(f, kExchangeBought, "T2", {kCalcit + 1}, loc);
  const std::string good = f.dir().file("gut.ktl");
  ASSERT_EQ(exportExchangeList(f.c(), good, nullptr).status, ExchangeExportStatus::kWritten);
  const Bytes file = readFile(good);
  const std::string bad = f.dir().file("kaputt.ktl");

  const auto refused = [&](const Bytes& bytes, ExchangeOpenStatus expected, const char* what) {
    ASSERT_TRUE(writeFile(bad, bytes));
    EXPECT_EQ(openExchangeList(f.c(), bad, nullptr), expected) << what;
    EXPECT_FALSE(f.c().inExchangeMode()) << what;
    EXPECT_EQ(readFile(bad), bytes) << what;  // nothing written into a refused file
    EXPECT_EQ(readSpecimen(f.c(), 1)->index, "T1") << what;
  };
  EXPECT_EQ(openExchangeList(f.c(), f.dir().file("fehlt.ktl"), nullptr), ExchangeOpenStatus::kCannotOpen);
  refused(Bytes(file.begin(), file.begin() + 17531), ExchangeOpenStatus::kMalformed, "cut in the directory");
  Bytes b = file;
  put32(b, 1032, 1000);  // more specimens than the file can hold
  refused(b, ExchangeOpenStatus::kMalformed, "specimen count");
  b = file;
  put32(b, 1036, 3);  // more localities than specimens
  refused(b, ExchangeOpenStatus::kMalformed, "locality count");
  b = file;
  put32(b, 1040, static_cast<std::uint32_t>(file.size()) - 100);  // directory past the end
  refused(b, ExchangeOpenStatus::kMalformed, "specimen directory");
  b = file;
  put32(b, 1044, 0xFFFFFFF0u);
  refused(b, ExchangeOpenStatus::kMalformed, "locality directory");
  EXPECT_FALSE(exchangeOpenMessage(ExchangeOpenStatus::kMalformed).empty());

  // Sound header, damaged records: the list opens, the damaged records do not read.
  b = file;
  const std::uint32_t page = loadU32(&b[1148]);
  const std::uint32_t second = loadU32(&b[page + 8]);
  put32(b, page + 4, static_cast<std::uint32_t>(b.size()) - 10);  // specimen 1 past the end
  put16(b, second + 166, 0x7FFF);                                 // specimen 2's text past the end
  const std::uint32_t locPage = loadU32(&b[9340]);
  const std::uint32_t locRecord = loadU32(&b[locPage + 4]);
  put16(b, locRecord + 208, 0x7000);  // the locality's specimen list past the end
  ASSERT_TRUE(writeFile(bad, b));
  ASSERT_EQ(openExchangeList(f.c(), bad, nullptr), ExchangeOpenStatus::kOpened);
  EXPECT_FALSE(readSpecimen(f.c(), 1));
  EXPECT_FALSE(readSpecimen(f.c(), 2));
  EXPECT_FALSE(readLocality(f.c(), 1));
  EXPECT_TRUE(readLocality(f.c(), 1, true));  // its fixed part is whole
  EXPECT_EQ(f.members(0, idx::kSpecimenAll), Numbers{});
  leaveExchangeList(f.c());
  EXPECT_EQ(readSpecimen(f.c(), 2)->index, "T2");
}

TEST(ExchangeList, ExtensionAppendedToANameWithoutOne) {
  EXPECT_EQ(withExchangeExtension("liste"), "liste.ktl");
  EXPECT_EQ(withExchangeExtension("C:\\a.b\\liste"), "C:\\a.b\\liste.ktl");
  EXPECT_EQ(withExchangeExtension("tausch/liste.alt"), "tausch/liste.alt");
  EXPECT_EQ(withExchangeExtension("liste.ktl"), "liste.ktl");
}

}  // namespace
}  // namespace kalvor
