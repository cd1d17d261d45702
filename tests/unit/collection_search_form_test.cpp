#include "search/collection_search_form.h"

#include <gtest/gtest.h>

#include "collection/locality.h"
#include "collection/mineral_specimen_form.h"
#include "tests/unit/collection_fixture.h"

namespace kalvor {
namespace {

using namespace testing;
namespace lc = locality_search_controls;
namespace sc = specimen_search_controls;

class NoSlots : public IndexSlotSource {
 public:
  OptionalNumberList readIndexSlot(int) const override { return std::nullopt; }
};

class NoFacts : public MineralFacts {
 public:
  StrunzNumber lapisNumberOf(MineralNumber) const override { return {}; }
  std::optional<SearchResultEntry> nameListEntryOf(MineralNumber) const override { return std::nullopt; }
};

const std::string kLongPlace(39, 'P');    // a nearest place as long as the record holds
const std::string kLongStorage(79, 'S');  // a storage place as long as the record holds

// L1 Clara (Schwarzwald, Deutschland), L2 Erzberg (Steiermark, Österreich),
// L3 Ischl (Salzkammergut, Österreich, nearest place 39 characters);
// S1 Quarz @L1 collection found, S2 Calcit @L2 exchange bought (storage 79 characters).
class SearchForms : public ::testing::Test {
 protected:
  void SetUp() override {
    addLocality("Clara", "Oberwolfach", "Schwarzwald", "Deutschland");
    addLocality("Erzberg", "Eisenerz", "Steiermark", cp("Österreich"));
    addLocality("Ischl", kLongPlace, "Salzkammergut", cp("Österreich"));
    SpecimenFormFields s;
    s.mainMinerals = "Quarz";
    s.localityItem = 2;
    s.index = "A1";
    ASSERT_EQ(collectAndSaveSpecimen(f_.c(), s, 0).status, FormStatus::kSaved);
    s.mainMinerals = "Calcit";
    s.localityItem = 3;
    s.collectionPiece = false;
    s.acquisition = Acquisition::kBought;
    s.storagePlace = kLongStorage;
    s.index = "B2";
    ASSERT_EQ(collectAndSaveSpecimen(f_.c(), s, 0).status, FormStatus::kSaved);
  }
  void addLocality(const std::string& name, const std::string& place, const std::string& region,
                   const std::string& country) {
    Locality l;
    l.name = name;
    l.nearestPlace = place;
    l.region = region;
    l.country = country;
    ASSERT_TRUE(saveLocalityFromForm(f_.c(), l));
  }
  MineralCriteriaSources sources() const { return {&slots_, &facts_}; }
  CollectionSearchFormOutcome localities(const LocalitySearchControls& c) {
    const std::vector<std::string> countries = countryChoices(f_.c());
    return searchLocalityForm(f_.c(), c, regionChoices(f_.c(), countries, c.country), countries, sources());
  }
  Numbers members(const CollectionSearchFormOutcome& out) {
    return out.records ? out.records->members() : Numbers{};
  }

  CollectionFixture f_;
  NoSlots slots_;
  NoFacts facts_;
};

TEST_F(SearchForms, LocalitySearchReadsItsControlsAndNamesTheFieldOfEachMessage) {
  const std::vector<std::string> countries = countryChoices(f_.c());
  EXPECT_EQ(countries, (std::vector<std::string>{"Welt", "Deutschland", cp("Österreich")}));
  EXPECT_EQ(regionChoices(f_.c(), countries, 2),
            (std::vector<std::string>{"ganzes Land", "Salzkammergut", "Steiermark"}));
  EXPECT_EQ(regionChoices(f_.c(), countries, 0).size(), 4u);

  // Nothing entered: every locality.
  EXPECT_EQ(members(localities(newLocalitySearch())), (Numbers{1, 2, 3}));
  LocalitySearchControls c = newLocalitySearch();
  c.country = 2;
  c.region = 2;  // Steiermark among the regions of Österreich
  EXPECT_EQ(members(localities(c)), Numbers{2});

  // A region of another country: its message, the beep and the region box.
  const std::vector<std::string> allRegions = regionChoices(f_.c(), countries, 0);
  c = newLocalitySearch();
  c.region = 2;  // "Schwarzwald" of the unfiltered list
  ASSERT_EQ(allRegions[2], "Schwarzwald");
  c.country = 2;
  CollectionSearchFormOutcome out = searchLocalityForm(f_.c(), c, allRegions, countries, sources());
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->messageId, kMsgRegionNotInCountry);
  EXPECT_EQ(out.failure->controlId, lc::kRegion);
  EXPECT_TRUE(out.beep);

  // The nearest place as long as the record holds matches; one more
  // character could never match and is refused with the field marked.
  c = newLocalitySearch();
  c.nearestPlace = kLongPlace;
  EXPECT_EQ(members(localities(c)), Numbers{3});
  c.nearestPlace += "X";
  out = localities(c);
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->messageId, static_cast<int>(CollectionMessage::kTextTooLong));
  EXPECT_EQ(out.failure->controlId, lc::kNearestPlace);
  EXPECT_EQ(out.failure->selectionBegin, 39u);
  EXPECT_EQ(out.failure->selectionEnd, 40u);

  c = newLocalitySearch();
  c.elements = "Cu+Xy";
  out = localities(c);
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->controlId, lc::kElements);
  EXPECT_EQ(
      c.elements.substr(out.failure->selectionBegin, out.failure->selectionEnd - out.failure->selectionBegin),
      "Xy");

  c = newLocalitySearch();
  c.minerals = "Fluorit";
  out = localities(c);
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->controlId, 0);
  EXPECT_EQ(formFailureText(*out.failure),
            cp("Die Suche hat keine Fundstelle mit zutreffenden Eigenschaften finden können!"));
  EXPECT_EQ(formFailureCaption(*out.failure), "Suche fehlgeschlagen");
}

TEST_F(SearchForms, SpecimenSearchReadsItsControlsAndNamesTheFieldOfEachMessage) {
  const SpecimenSearchControls start = newSpecimenSearch();
  EXPECT_TRUE(start.collectionPieces && start.exchangePieces && start.bought && start.found && start.swapped);
  EXPECT_EQ(members(searchSpecimenForm(f_.c(), start, sources())), (Numbers{1, 2}));

  SpecimenSearchControls c = start;
  c.locality = 2;
  EXPECT_EQ(members(searchSpecimenForm(f_.c(), c, sources())), Numbers{2});
  c = start;
  c.storagePlace = kLongStorage;
  EXPECT_EQ(members(searchSpecimenForm(f_.c(), c, sources())), Numbers{2});
  c.storagePlace += "S";
  CollectionSearchFormOutcome out = searchSpecimenForm(f_.c(), c, sources());
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->controlId, sc::kStoragePlace);
  c = start;
  c.index = std::string(40, 'A');
  out = searchSpecimenForm(f_.c(), c, sources());
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->controlId, sc::kIndex);

  c = start;
  c.collectionPieces = c.exchangePieces = false;
  out = searchSpecimenForm(f_.c(), c, sources());
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->messageId, kMsgNoSpecimenType);
  EXPECT_EQ(out.failure->controlId, sc::kCollectionPieces);
  c = start;
  c.bought = c.found = c.swapped = false;
  out = searchSpecimenForm(f_.c(), c, sources());
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->messageId, kMsgNoAcquisition);
  EXPECT_EQ(out.failure->controlId, sc::kBought);

  // The date: the entry form's reading, with the whole field marked.
  c = start;
  c.date = "1.1.70000";
  out = searchSpecimenForm(f_.c(), c, sources());
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->controlId, sc::kDate);
  EXPECT_EQ(out.failure->selectionEnd, 9u);
  EXPECT_EQ(formFailureText(*out.failure), collectionMessageText(CollectionMessage::kBadDate));
  EXPECT_EQ(formFailureCaption(*out.failure), "Eingabefehler");
  c.date = "31.4.1999";
  out = searchSpecimenForm(f_.c(), c, sources());
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->messageId, 10056);

  c = start;
  c.minerals = "Fluorit";
  out = searchSpecimenForm(f_.c(), c, sources());
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(formFailureText(*out.failure),
            cp("Die Suche hat keine Stufe mit zutreffenden Eigenschaften finden können!"));
}

}  // namespace
}  // namespace kalvor
