#include "search/determination_form.h"

#include <gtest/gtest.h>

#include <map>

namespace kalvor {
namespace {

namespace dc = determination_controls;

// Slot s holds the single mineral s, so a result names exactly the slots read.
class SlotIdentityIndex : public IndexSlotSource {
 public:
  OptionalNumberList readIndexSlot(int slot) const override {
    if (slot < 0 || slot >= 945) return std::nullopt;
    return NumberList{{static_cast<MineralNumber>(slot)}};
  }
};

class OneColour : public ColourSlotSource {
 public:
  std::vector<int> matchingColourSlots(int g, int base, bool) const override { return {base + g}; }
};

class Facts : public MineralFacts {
 public:
  StrunzNumber lapisNumberOf(MineralNumber) const override { return {}; }
  std::optional<SearchResultEntry> nameListEntryOf(MineralNumber n) const override {
    return SearchResultEntry{"M" + std::to_string(n), static_cast<std::uint16_t>(n + 1), n};
  }
};

// Locality n holds the single mineral 600 + n.
class Localities : public LocalityMinerals {
 public:
  std::optional<std::vector<std::uint16_t>> mineralsOfLocality(std::uint16_t n) const override {
    if (n == 0 || n > 20) return std::nullopt;
    return std::vector<std::uint16_t>{static_cast<std::uint16_t>(600 + n)};
  }
};

struct Fixture {
  SlotIdentityIndex index;
  OneColour colours;
  Facts facts;
  Localities localities;
  DeterminationCriteria saved;
  DeterminationFormOutcome search(const DeterminationControls& c) {
    return searchDeterminationForm(c, saved, {index, colours, facts, &localities});
  }
};

// "Neue Suche" with all three status boxes ticked: no status criterion, so a
// result names exactly the slots of the other criteria.
DeterminationControls withoutStatus() {
  DeterminationControls c = newDeterminationSearch();
  c.discredited = true;
  return c;
}

std::vector<int> numbersOf(const DeterminationFormOutcome& out) {
  std::vector<int> v;
  for (const auto& e : out.results) v.push_back(e.id - 1);
  return v;
}

TEST(DeterminationForm, OpeningShowsTheSavedCriteriaAndNewSearchClearsThem) {
  DeterminationCriteria saved;
  saved.precision = kPrecisionApproximate;
  saved.discredited = 1;
  saved.notImaRecognised = 0;
  saved.streak = 4;
  saved.colour = 12;
  saved.lustre = 7;
  saved.hardness = 0x090C;
  saved.density = 0x03000632;
  saved.elementExpression = "Zn,Cu";
  saved.systematics = "VIII/J";
  saved.locality = 7;
  const DeterminationControls c = determinationControlsOf(saved);
  EXPECT_FALSE(c.exact);
  EXPECT_TRUE(c.approximate);
  EXPECT_FALSE(c.rough);
  EXPECT_TRUE(c.imaRecognised);
  EXPECT_FALSE(c.notImaRecognised);
  EXPECT_TRUE(c.discredited);
  EXPECT_EQ(c.streak, 4);
  EXPECT_EQ(c.colour, 12);
  EXPECT_EQ(c.lustre, 7);
  EXPECT_EQ(c.hardness, "4.5-6.0");
  EXPECT_EQ(c.density, "3.00-6.50");
  EXPECT_EQ(c.elements, "Zn,Cu");
  EXPECT_EQ(c.systematics, "VIII/J");
  EXPECT_EQ(c.locality, 7u);
  // The start values show empty fields.
  const DeterminationControls start = determinationControlsOf(DeterminationCriteria{});
  EXPECT_EQ(start.hardness, "");
  EXPECT_EQ(start.density, "");
  EXPECT_TRUE(start.exact);

  const DeterminationControls cleared = newDeterminationSearch();
  EXPECT_TRUE(cleared.exact && !cleared.approximate && !cleared.rough);
  EXPECT_TRUE(cleared.imaRecognised && cleared.notImaRecognised && !cleared.discredited);
  EXPECT_EQ(cleared.streak + cleared.colour + cleared.crystalSystem + cleared.lustre + cleared.cleavage +
                cleared.fracture,
            0);
  EXPECT_TRUE(cleared.hardness.empty() && cleared.density.empty() && cleared.elements.empty() &&
              cleared.systematics.empty());
  EXPECT_EQ(cleared.locality, 0u);
}

TEST(DeterminationForm, SavedLocalityIsReselectedByNumber) {
  Fixture f;
  DeterminationControls c = withoutStatus();
  c.locality = 7;
  EXPECT_EQ(numbersOf(f.search(c)), (std::vector<int>{607}));
  EXPECT_EQ(f.saved.locality, 7);
  // Next opening: a locality sorted in before it moves its entry down; the
  // same locality is selected, not the one now at its old position.
  std::vector<LocalityChoice> items = {{0, "unbekannt"}, {3, "Bad Ems"}, {7, "Grube Clara"}};
  EXPECT_EQ(localityItemIndex(items, determinationControlsOf(f.saved).locality), 2u);
  items.insert(items.begin() + 1, LocalityChoice{9, "Abbau"});
  EXPECT_EQ(localityItemIndex(items, f.saved.locality), 3u);
  // Deleted meanwhile: "unbekannt".
  items.erase(items.begin() + 3);
  EXPECT_EQ(localityItemIndex(items, f.saved.locality), 0u);
  EXPECT_EQ(localityItemIndex(items, 0), 0u);
}

TEST(DeterminationForm, UnreadableHardnessOrDensityIsRefusedWithTheFieldSelected) {
  for (const char* ok : {"", "7", "4-6", "5,5", "4.5 - 6", "2\xBD", "6\xAE-7", "5."}) {
    EXPECT_TRUE(isReadableHardnessText(ok)) << ok;
  }
  for (const char* bad : {"abc", "4-", "-4", "4-6-8", "5,5x", "1.2.3", "7 Mohs", "\xBD"}) {
    EXPECT_FALSE(isReadableHardnessText(bad)) << bad;
  }
  EXPECT_TRUE(isReadableDensityText("3 - 6,5"));
  EXPECT_TRUE(isReadableDensityText("2.65"));
  EXPECT_FALSE(isReadableDensityText("2\xBD"));  // no half sign for a density
  EXPECT_FALSE(isReadableDensityText("schwer"));

  Fixture f;
  DeterminationControls c = withoutStatus();
  c.crystalSystem = 8;
  ASSERT_TRUE(f.search(c).succeeded());
  const DeterminationCriteria before = f.saved;
  c.hardness = "abc";
  c.crystalSystem = 2;
  DeterminationFormOutcome out = f.search(c);
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->messageId, static_cast<int>(CollectionMessage::kUnreadableHardness));
  EXPECT_EQ(out.failure->controlId, dc::kHardness);
  EXPECT_EQ(out.failure->selectionBegin, 0u);
  EXPECT_EQ(out.failure->selectionEnd, 3u);
  EXPECT_EQ(formFailureText(*out.failure),
            "Die H\xE4rte 'abc' ist nicht lesbar. Geben Sie eine H\xE4rte (z.B. 7) oder einen "
            "H\xE4rtebereich (z.B. 4-6) ein.");
  EXPECT_EQ(formFailureCaption(*out.failure), "Eingabefehler");
  EXPECT_EQ(f.saved.crystalSystem, before.crystalSystem);  // nothing read, nothing saved
  c.hardness = "7";
  c.density = "2,6 g";
  out = f.search(c);
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->controlId, dc::kDensity);
  EXPECT_EQ(out.failure->selectionEnd, 5u);
}

TEST(DeterminationForm, SearchFailuresNameTheirControl) {
  Fixture f;
  DeterminationControls c = newDeterminationSearch();
  c.elements = "Cu+Xy";
  DeterminationFormOutcome out = f.search(c);
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->messageId, kMsgInvalidElementCharacters);
  EXPECT_EQ(out.failure->captionId, kMsgSearchFailedCaption);
  EXPECT_EQ(out.failure->controlId, dc::kElements);
  EXPECT_EQ(
      c.elements.substr(out.failure->selectionBegin, out.failure->selectionEnd - out.failure->selectionBegin),
      "Xy");
  // Two criteria with nothing in common: the message without a control.
  c = withoutStatus();
  c.crystalSystem = 8;
  c.hardness = "7";
  out = f.search(c);
  ASSERT_FALSE(out.succeeded());
  EXPECT_EQ(out.failure->messageId, kMsgNothingFound);
  EXPECT_EQ(out.failure->controlId, 0);
  EXPECT_EQ(f.saved.hardness, 0x0E0E);  // what was read is saved
  // Every control reaches its criterion: rough precision adds the no-data slots.
  c = withoutStatus();
  c.exact = false;
  c.rough = true;
  c.cleavage = 4;
  EXPECT_EQ(numbersOf(f.search(c)), (std::vector<int>{106, 110}));
  EXPECT_EQ(f.saved.precision, kPrecisionRough);
  c = newDeterminationSearch();
  c.colour = 3;
  c.streak = 3;
  c.imaRecognised = false;
  c.notImaRecognised = false;
  c.discredited = true;
  EXPECT_FALSE(f.search(c).succeeded());  // 408 and 158 differ
  EXPECT_EQ(f.saved.colour, 3);
  EXPECT_EQ(f.saved.streak, 3);
  EXPECT_EQ(f.saved.discredited, 1);
  // All three status boxes and nothing else: every mineral of any status.
  EXPECT_EQ(numbersOf(f.search(withoutStatus())), (std::vector<int>{900, 901, 902}));
  // The default boxes: IMA-recognised and not recognised.
  EXPECT_EQ(numbersOf(f.search(newDeterminationSearch())), (std::vector<int>{900, 901}));
}

}  // namespace
}  // namespace kalvor
