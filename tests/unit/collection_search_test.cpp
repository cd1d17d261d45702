#include "search/collection_search.h"

#include <gtest/gtest.h>

#include <map>

#include "collection/locality.h"
#include "collection/mineral_specimen.h"
#include "collection/mineral_specimen_form.h"
#include "determination/formula_scan.h"
#include "determination/search_index.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using testing::CollectionFixture;
using testing::cp;
using testing::Numbers;
using testing::kAeschynit;
using testing::kBaryt;
using testing::kBergkristall;
using testing::kCalcit;
using testing::kFluorit;
using testing::kQuarz;

// A search index holding just the slots the tests ask for.
class FakeSlots : public IndexSlotSource {
 public:
  void file(int slot, std::vector<MineralNumber> minerals) { slots_[slot].numbers = minerals; }
  OptionalNumberList readIndexSlot(int slot) const override {
    const auto it = slots_.find(slot);
    if (it == slots_.end() || it->second.empty()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<int, NumberList> slots_;
};

class NoFacts : public MineralFacts {
 public:
  StrunzNumber lapisNumberOf(MineralNumber) const override { return {}; }
  std::optional<SearchResultEntry> nameListEntryOf(MineralNumber) const override {
    return std::nullopt;
  }
};

int elementSlot(const char* token) { return kElementSlotBase + elementTokenSlot(token); }

// Five localities (the fifth deleted) and five specimens covering both kinds,
// all three acquisitions and the three forms of a date:
//   L1 Grube Clara, Oberwolfach, Schwarzwald, Deutschland: Fluorit, Baryt (+ Äschynit from S5)
//   L2 Steinbruch, Baden-Baden, Schwarzwald, Deutschland: Calcit
//   L3 Erzberg, Eisenerz, Steiermark, Österreich: Quarz
//   L4 Bad Ischl, "bad ischl", Salzkammergut, Österreich: no minerals
//   L5 Alt, Baden, Schwarzwald, Deutschland: deleted
//   S1 Quarz @L3 collection found "A1" "Schrank 1" 25.3.1984
//   S2 Calcit @L2 exchange bought "A2" "Schrank 2" 5.1999
//   S3 Fluorit + Baryt @L1 collection swapped "B1" "Schrank 1" 12.5.1999
//   S4 Calcit, no locality, collection bought "B2" "Keller" 1999
//   S5 Äschynit @L1 exchange found "C1" "schrank 3" no date
class SearchCollection : public ::testing::Test {
 protected:
  void SetUp() override {
    addLocality("Grube Clara", "Oberwolfach", "Schwarzwald", "Deutschland", {kFluorit, kBaryt});
    addLocality("Steinbruch", "Baden-Baden", "Schwarzwald", "Deutschland", {kCalcit});
    addLocality("Erzberg", "Eisenerz", "Steiermark", cp("Österreich"), {kQuarz});
    addLocality("Bad Ischl", "bad ischl", "Salzkammergut", cp("Österreich"), {});
    addLocality("Alt", "Baden", "Schwarzwald", "Deutschland", {kCalcit});
    ASSERT_TRUE(deleteLocality(f_.c(), 5, false, 0));
    addSpecimen("Quarz", "", 3, true, Acquisition::kFound, "A1", "Schrank 1", "25.03.1984");
    addSpecimen("Calcit", "", 2, false, Acquisition::kBought, "A2", "Schrank 2", "05.1999");
    addSpecimen("Fluorit", "Baryt", 1, true, Acquisition::kSwapped, "B1", "Schrank 1",
                "12.05.1999");
    addSpecimen("Calcit", "", 0, true, Acquisition::kBought, "B2", "Keller", "1999");
    addSpecimen(cp("Äschynit"), "", 1, false, Acquisition::kFound, "C1", "schrank 3", "");

    slots_.file(elementSlot("Ca"), {kCalcit, kFluorit});
    slots_.file(elementSlot("Si"), {kQuarz});
    slots_.file(elementSlot("Ba"), {kBaryt});
    slots_.file(elementSlot("Pb"), {kBergkristall});  // on no locality or specimen
    slots_.file(kStrunzClassSlots + 4, {kQuarz});     // class IV
  }

  void addLocality(std::string name, std::string place, std::string region, std::string country,
                   std::vector<std::uint16_t> minerals) {
    Locality l;
    l.name = std::move(name);
    l.nearestPlace = std::move(place);
    l.region = std::move(region);
    l.country = std::move(country);
    l.minerals = std::move(minerals);
    ASSERT_TRUE(saveLocalityFromForm(f_.c(), l).has_value());
  }

  void addSpecimen(std::string main, std::string accompanying, std::uint16_t locality,
                   bool collectionPiece, Acquisition acquisition, std::string index,
                   std::string storage, std::string date) {
    SpecimenFormFields s;
    s.mainMinerals = std::move(main);
    s.accompanyingMinerals = std::move(accompanying);
    s.localityItem = static_cast<std::uint16_t>(locality == 0 ? 0 : locality + 1);
    s.collectionPiece = collectionPiece;
    s.acquisition = acquisition;
    s.index = std::move(index);
    s.storagePlace = std::move(storage);
    s.date = std::move(date);
    ASSERT_EQ(collectAndSaveSpecimen(f_.c(), s, 0).status, FormStatus::kSaved);
  }

  MineralCriteriaSources sources() const { return {&slots_, &facts_}; }

  // The members found, or {} with the message id noted in `message`.
  Numbers localities(const LocalitySearchInput& in, int* message = nullptr) {
    const CollectionSearchOutcome out = searchLocalities(f_.c(), in, sources());
    if (message) *message = out.messageId;
    return out.succeeded() ? out.records->members() : Numbers{};
  }
  Numbers specimens(const SpecimenSearchInput& in, int* message = nullptr) {
    const CollectionSearchOutcome out = searchSpecimens(f_.c(), in, sources());
    if (message) *message = out.messageId;
    return out.succeeded() ? out.records->members() : Numbers{};
  }

  CollectionFixture f_;
  FakeSlots slots_;
  NoFacts facts_;
};

TEST_F(SearchCollection, LocalitiesByPlace) {
  int msg = -1;
  LocalitySearchInput in;
  // Nothing entered: every locality that is not deleted.
  EXPECT_EQ(localities(in), (Numbers{1, 2, 3, 4}));
  in.nearestPlace = "Nirgendwo";
  CollectionSearchOutcome none = searchLocalities(f_.c(), in, sources());
  EXPECT_EQ(none.messageId, kMsgNoMatchingRecords);
  EXPECT_EQ(none.insertId, kMsgWordLocality);
  EXPECT_EQ(none.captionId, kMsgSearchFailedCaption);
  EXPECT_EQ(none.messageText(),
            cp("Die Suche hat keine Fundstelle mit zutreffenden Eigenschaften finden können!"));
  EXPECT_EQ(none.captionText(), "Suche fehlgeschlagen");
  EXPECT_FALSE(none.records);
  in.nearestPlace.clear();

  in.region = "Schwarzwald";  // the deleted L5 is left out
  EXPECT_EQ(localities(in), (Numbers{1, 2}));
  in.region.reset();
  in.country = cp("Österreich");
  EXPECT_EQ(localities(in), (Numbers{3, 4}));
  in.region = "Steiermark";
  EXPECT_EQ(localities(in), Numbers{3});

  // A region outside the chosen country: its own message with a beep.
  in.region = "Schwarzwald";
  const CollectionSearchOutcome outside = searchLocalities(f_.c(), in, sources());
  EXPECT_EQ(outside.messageId, kMsgRegionNotInCountry);
  EXPECT_TRUE(outside.beep);
  EXPECT_EQ(outside.captionId, kMsgSearchFailedCaption);

  in = {};
  in.region = "Alpen";
  EXPECT_EQ(localities(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);
  // An empty text names no region (the index would answer with its first entry).
  in.region = "";
  EXPECT_EQ(localities(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);

  // Nearest place: case-sensitive prefix; "bad ischl" and the deleted "Baden" stay out.
  in = {};
  in.nearestPlace = "Bad";
  EXPECT_EQ(localities(in), Numbers{2});
  in.nearestPlace = "Ober";
  EXPECT_EQ(localities(in), Numbers{1});
  in.nearestPlace = "Bad";
  in.country = cp("Österreich");
  EXPECT_EQ(localities(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);
}

TEST_F(SearchCollection, LocalitiesByMinerals) {
  int msg = -1;
  LocalitySearchInput in;
  in.minerals = "Calcit";  // only on L2 and the deleted L5
  EXPECT_EQ(localities(in), Numbers{2});
  in.minerals = cp("Äschynit");  // came to L1 with specimen S5
  EXPECT_EQ(localities(in), Numbers{1});
  in.minerals = "Quarz, Calcit";  // names unite
  EXPECT_EQ(localities(in), (Numbers{2, 3}));
  in.minerals = "Xyz";
  EXPECT_EQ(localities(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);
  in.minerals = "Fluorit";
  in.country = "Deutschland";
  EXPECT_EQ(localities(in), Numbers{1});
  in.minerals = "Quarz";
  EXPECT_EQ(localities(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);

  // Element expression: Ca = Calcit, Fluorit -> L2, L1; united with the names.
  in = {};
  in.elementExpression = "Ca ";
  const CollectionSearchOutcome ca = searchLocalities(f_.c(), in, sources());
  ASSERT_TRUE(ca.succeeded());
  EXPECT_EQ(ca.records->members(), (Numbers{1, 2}));
  const NumberList caMinerals{{kCalcit, kFluorit}};
  EXPECT_EQ(ca.highlightElements, caMinerals);
  EXPECT_EQ(ca.highlightSystematics, caMinerals);
  in.minerals = "Quarz";
  EXPECT_EQ(localities(in), (Numbers{1, 2, 3}));
  in.minerals.clear();
  in.nearestPlace = "Bad";
  EXPECT_EQ(localities(in), Numbers{2});

  // Minerals that no locality carries find nothing; they do not lift the restriction.
  in = {};
  in.elementExpression = "Pb";
  EXPECT_EQ(localities(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);
  in.elementExpression = "U";  // not in the index
  EXPECT_EQ(localities(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);

  // An invalid expression shows its message and what to select.
  in.elementExpression = "Cu+Xy";
  const CollectionSearchOutcome bad = searchLocalities(f_.c(), in, sources());
  EXPECT_EQ(bad.messageId, kMsgInvalidElementCharacters);
  EXPECT_EQ(bad.captionId, kMsgSearchFailedCaption);
  EXPECT_EQ(bad.selectionBegin, 3u);
  EXPECT_EQ(bad.selectionEnd, 5u);

  // Systematics alone restricts to class IV (Quarz); with Ca nothing is left.
  in = {};
  in.systematics = "IV";
  const CollectionSearchOutcome iv = searchLocalities(f_.c(), in, sources());
  ASSERT_TRUE(iv.succeeded());
  EXPECT_EQ(iv.records->members(), Numbers{3});
  EXPECT_FALSE(iv.highlightElements);
  EXPECT_EQ(iv.highlightSystematics, NumberList{{kQuarz}});
  in.elementExpression = "Ca";
  EXPECT_EQ(localities(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);
  // Without reference data an expression cannot find anything.
  in = {};
  in.elementExpression = "Ca";
  EXPECT_FALSE(searchLocalities(f_.c(), in, {}).succeeded());
}

TEST_F(SearchCollection, SpecimensByKindAndAcquisition) {
  int msg = -1;
  SpecimenSearchInput in;
  // Every box ticked, nothing entered: all specimens (absent = unrestricted).
  EXPECT_EQ(specimens(in), (Numbers{1, 2, 3, 4, 5}));
  in.exchangePieces = false;
  EXPECT_EQ(specimens(in), (Numbers{1, 3, 4}));
  in.exchangePieces = true;
  in.collectionPieces = false;
  EXPECT_EQ(specimens(in), (Numbers{2, 5}));
  in.exchangePieces = false;
  const CollectionSearchOutcome noType = searchSpecimens(f_.c(), in, sources());
  EXPECT_EQ(noType.messageId, kMsgNoSpecimenType);
  EXPECT_EQ(noType.captionId, kMsgSearchFailedCaption);

  in = {};
  in.found = in.swapped = false;
  EXPECT_EQ(specimens(in), (Numbers{2, 4}));
  in.found = in.swapped = true;
  in.bought = false;
  EXPECT_EQ(specimens(in), (Numbers{1, 3, 5}));
  in.found = in.swapped = false;
  EXPECT_EQ(specimens(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoAcquisition);
  // Exchange pieces that were swapped: none -> the no-result message.
  in = {};
  in.collectionPieces = false;
  in.bought = in.found = false;
  const CollectionSearchOutcome none = searchSpecimens(f_.c(), in, sources());
  EXPECT_EQ(none.messageId, kMsgNoMatchingRecords);
  EXPECT_EQ(none.messageText(),
            cp("Die Suche hat keine Stufe mit zutreffenden Eigenschaften finden können!"));
}

TEST_F(SearchCollection, SpecimensByMineralsAndLocality) {
  int msg = -1;
  SpecimenSearchInput in;
  in.minerals = "Quarz";
  EXPECT_EQ(specimens(in), Numbers{1});
  in.minerals = "Baryt";  // an accompanying mineral counts as well
  EXPECT_EQ(specimens(in), Numbers{3});
  in.minerals = "Calcit";
  EXPECT_EQ(specimens(in), (Numbers{2, 4}));
  in.exchangePieces = false;
  EXPECT_EQ(specimens(in), Numbers{4});

  in = {};
  in.elementExpression = "Ca";
  EXPECT_EQ(specimens(in), (Numbers{2, 3, 4}));
  in.elementExpression = "Pb";  // a mineral on no specimen: nothing, not everything
  EXPECT_EQ(specimens(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);
  in.minerals = "Quarz";  // united with the names
  EXPECT_EQ(specimens(in), Numbers{1});

  in = {};
  in.locality = 1;
  EXPECT_EQ(specimens(in), (Numbers{3, 5}));
  in.exchangePieces = false;
  EXPECT_EQ(specimens(in), Numbers{3});
  in = {};
  in.locality = 4;  // no specimen from there
  EXPECT_EQ(specimens(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);
}

TEST_F(SearchCollection, SpecimensByRecordFields) {
  int msg = -1;
  SpecimenSearchInput in;
  in.date = "1999";  // 5.1999, 12.5.1999 and 1999
  EXPECT_EQ(specimens(in), (Numbers{2, 3, 4}));
  in.date = "5.1999";  // May 1999 with or without a day
  EXPECT_EQ(specimens(in), (Numbers{2, 3}));
  in.date = "12.5.1999";
  EXPECT_EQ(specimens(in), Numbers{3});
  in.date = "25.03.1984";
  EXPECT_EQ(specimens(in), Numbers{1});
  in.date = "29.2.2000";  // valid, but nobody found anything that day
  EXPECT_EQ(specimens(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);
  for (const auto& [text, id] :
       {std::pair{"13.1999", 10054}, std::pair{"29.2.1900", 10055}, std::pair{"31.4.1999", 10056},
        std::pair{"1.1.70000", 20018}, std::pair{" 5 . 1999", 20018}, std::pair{"1999x", 20018}}) {
    in.date = text;
    const CollectionSearchOutcome out = searchSpecimens(f_.c(), in, sources());
    EXPECT_EQ(out.messageId, id) << text;
    EXPECT_EQ(out.captionId, kMsgInputErrorCaption) << text;
  }
  in.date = "1.1.70000";  // not read as the year 4464
  EXPECT_EQ(searchSpecimens(f_.c(), in, sources()).messageText(),
            collectionMessageText(CollectionMessage::kBadDate));

  in = {};
  in.storagePlace = "Schrank";  // case-sensitive: "schrank 3" stays out
  EXPECT_EQ(specimens(in), (Numbers{1, 2, 3}));
  in.storagePlace = "Schrank 1";
  EXPECT_EQ(specimens(in), (Numbers{1, 3}));
  in.storagePlace = "Schrank";
  in.index = "A";
  EXPECT_EQ(specimens(in), (Numbers{1, 2}));
  in = {};
  in.index = "B";
  EXPECT_EQ(specimens(in), (Numbers{3, 4}));
  in.index.clear();
  in.storagePlace = "Keller";
  in.date = "1999";
  EXPECT_EQ(specimens(in), Numbers{4});
  in.storagePlace = "Schrank";
  in.minerals = "Calcit";
  EXPECT_EQ(specimens(in), Numbers{2});
}

TEST_F(SearchCollection, DeletedRecordsAndValueLists) {
  ASSERT_TRUE(deleteSpecimen(f_.c(), 1));
  int msg = -1;
  SpecimenSearchInput in;
  EXPECT_EQ(specimens(in), (Numbers{2, 3, 4, 5}));
  in.storagePlace = "Schrank 1";
  EXPECT_EQ(specimens(in), Numbers{3});
  in = {};
  in.minerals = "Quarz";
  EXPECT_EQ(specimens(in, &msg), Numbers{});
  EXPECT_EQ(msg, kMsgNoMatchingRecords);

  EXPECT_EQ(fillValueList(f_.c(), index_field::kLocalityCountry, kMsgWorld),
            (std::vector<std::string>{"Welt", "Deutschland", cp("Österreich")}));
  EXPECT_EQ(fillValueList(f_.c(), index_field::kLocalityRegion, kMsgWholeCountry),
            (std::vector<std::string>{"ganzes Land", "Salzkammergut", "Schwarzwald",
                                      "Steiermark"}));
  EXPECT_EQ(fillValueList(f_.c(), index_field::kLocalityRegion, kMsgWholeCountry,
                          index_field::kLocalityCountry, cp("Österreich")),
            (std::vector<std::string>{"ganzes Land", "Salzkammergut", "Steiermark"}));
  EXPECT_EQ(fillValueList(f_.c(), index_field::kLocalityRegion, 0, index_field::kLocalityCountry,
                          std::string("Schweiz")),
            std::vector<std::string>{""});
  EXPECT_EQ(fillValueList(f_.c(), index_field::kLocalityRegion, kMsgWholeCountry,
                          index_field::kLocalityCountry, std::string()),
            std::vector<std::string>{"ganzes Land"});

  // In the locality sort order (by name): Erzberg, Grube Clara, Steinbruch.
  LocalitySearchInput where;
  where.country = "Deutschland";
  const CollectionSearchOutcome de = searchLocalities(f_.c(), where, sources());
  ASSERT_TRUE(de.succeeded());
  EXPECT_EQ(membersInOrder(de.records, f_.c().localityOrder()), (Numbers{1, 2}));
  std::optional<RecordSet> some = RecordSet();
  some->add(2);
  some->add(3);
  some->add(1);
  EXPECT_EQ(membersInOrder(some, f_.c().localityOrder()), (Numbers{3, 1, 2}));
  EXPECT_EQ(membersInOrder(RecordSet(), f_.c().localityOrder()), Numbers{});
  EXPECT_EQ(membersInOrder(std::nullopt, f_.c().localityOrder()).size(), 5u);
}

TEST(SpecimenSearchTypes, MissingAndEmptiedTypeSets) {
  CollectionFixture f;
  SpecimenFormFields fields;
  fields.mainMinerals = "Quarz";
  fields.localityItem = 0;
  fields.collectionPiece = false;
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 0).status, FormStatus::kSaved);
  SpecimenSearchInput in;
  in.exchangePieces = false;  // no collection piece was ever saved: no set at all
  EXPECT_EQ(searchSpecimens(f.c(), in, {}).messageId, kMsgNoCollectionPieces);
  in.exchangePieces = true;
  in.collectionPieces = false;
  EXPECT_EQ(searchSpecimens(f.c(), in, {}).records->members(), Numbers{1});
  // The only exchange piece becomes a collection piece: its set is now empty.
  fields.collectionPiece = true;
  ASSERT_EQ(collectAndSaveSpecimen(f.c(), fields, 1).status, FormStatus::kSaved);
  EXPECT_EQ(searchSpecimens(f.c(), in, {}).messageId, kMsgNoExchangePieces);
  in.collectionPieces = true;
  in.exchangePieces = false;
  EXPECT_EQ(searchSpecimens(f.c(), in, {}).records->members(), Numbers{1});
  // Acquisitions of which no piece exists.
  in = {};
  in.found = false;
  EXPECT_EQ(searchSpecimens(f.c(), in, {}).messageId, kMsgAcquisitionCombinationEmpty);
}

}  // namespace
}  // namespace kalvor
