#include "determination/determination_search.h"

#include <gtest/gtest.h>

#include <map>

namespace kalvor {
namespace {

// Slot s holds the single mineral s, so a result names exactly the slots read.
class SlotIdentityIndex : public IndexSlotSource {
 public:
  OptionalNumberList readIndexSlot(int slot) const override {
    if (slot < 0 || slot >= 945) return std::nullopt;
    return NumberList{{static_cast<MineralNumber>(slot)}};
  }
};

// Slots as the test gives them; all others empty.
class MapIndex : public IndexSlotSource {
 public:
  std::map<int, std::vector<MineralNumber>> slots;
  OptionalNumberList readIndexSlot(int slot) const override {
    auto it = slots.find(slot);
    if (it == slots.end() || it->second.empty()) return std::nullopt;
    return NumberList{it->second};
  }
};

// Colour choice g under base b is the single mineral b + g; remembers "exact".
class FakeColours : public ColourSlotSource {
 public:
  mutable std::vector<bool> exactFlags;
  std::vector<int> matchingColourSlots(int g, int base, bool exact) const override {
    exactFlags.push_back(exact);
    return {base + g};
  }
};

// Names sort in reverse mineral order; Lapis numbers as the test sets them.
class FakeFacts : public MineralFacts {
 public:
  std::map<MineralNumber, StrunzNumber> lapis;
  StrunzNumber lapisNumberOf(MineralNumber n) const override {
    auto it = lapis.find(n);
    return it == lapis.end() ? StrunzNumber{} : it->second;
  }
  std::optional<SearchResultEntry> nameListEntryOf(MineralNumber n) const override {
    return SearchResultEntry{"M" + std::to_string(n), static_cast<std::uint16_t>(n + 1),
                             static_cast<std::uint32_t>(60000 - n)};
  }
};

class FakeLocalities : public LocalityMinerals {
 public:
  std::map<std::uint16_t, std::vector<std::uint16_t>> minerals;
  std::optional<std::vector<std::uint16_t>> mineralsOfLocality(std::uint16_t n) const override {
    auto it = minerals.find(n);
    if (it == minerals.end()) return std::nullopt;
    return it->second;
  }
};

using Density = std::pair<std::uint16_t, std::uint16_t>;

// Mineral numbers of a result (in result order).
std::vector<int> numbersOf(const DeterminationOutcome& out) {
  std::vector<int> v;
  for (const auto& e : out.results) v.push_back(e.id - 1);
  return v;
}

std::vector<int> descending(int from, int to) {
  std::vector<int> v;
  for (int s = to; s >= from; --s) v.push_back(s);
  return v;
}

// Input without any criterion and without the status criterion.
DeterminationInput blank(std::uint8_t precision = kPrecisionExact) {
  DeterminationInput in;
  in.exactChecked = precision == kPrecisionExact;
  in.approximateChecked = precision == kPrecisionApproximate;
  in.discredited = true;  // all three boxes ticked: no status criterion
  return in;
}

struct Fixture {
  SlotIdentityIndex index;
  FakeColours colours;
  FakeFacts facts;
  FakeLocalities localities;
  DeterminationCriteria saved;
  DeterminationOutcome run(const DeterminationInput& in) {
    return runDetermination(in, saved, {index, colours, facts, &localities});
  }
};

TEST(DeterminationText, ParseAndFormat) {
  EXPECT_EQ(parseHardnessText("4-6"), 0x080C);
  EXPECT_EQ(parseHardnessText("7"), 0x0E0E);
  EXPECT_EQ(parseHardnessText("4.5"), 0x0909);
  EXPECT_EQ(parseHardnessText("4.4"), 0x0808);  // .0 - .4 add nothing
  EXPECT_EQ(parseHardnessText("5,5"), 0x0B0B);  // a German decimal comma
  EXPECT_EQ(parseHardnessText("5\xAE"), 0x0B0B);
  EXPECT_EQ(parseHardnessText("6-4"), 0x0C08);
  EXPECT_EQ(parseHardnessText("abc"), 0);
  EXPECT_EQ(parseDensityText("3-6.5"), Density(0x0300, 0x0632));
  EXPECT_EQ(parseDensityText("2.65"), Density(0x0241, 0x0241));
  EXPECT_EQ(parseDensityText("2,65"), Density(0x0241, 0x0241));
  EXPECT_EQ(parseDensityText("2.657"), Density(0x0241, 0x0241));
  EXPECT_EQ(parseDensityText("4."), Density(0x0400, 0x0400));
  EXPECT_EQ(parseDensityText("x"), Density(0, 0));
  EXPECT_EQ(densitySlotOf(0x0241), 10);
  EXPECT_EQ(densitySlotOf(0x1900), 84);
  EXPECT_EQ(densitySlotOf(0), 0);
  EXPECT_EQ(hardnessSlotOf(25), 20);
  EXPECT_EQ(formatHardness(0x080C, false), "4.0-6.0");
  EXPECT_EQ(formatHardness(0x0E0E, false), "7.0");
  EXPECT_EQ(formatHardness(0x0909, false), "4.5");
  EXPECT_EQ(formatHardness(0, true), "nicht bestimmt");
  EXPECT_EQ(formatHardness(0, false), "0.0");
  EXPECT_EQ(formatDensity(0x0300, 0x0632, false), "3.00-6.50");
  EXPECT_EQ(formatDensity(0x0241, 0x0241, false), "2.65");
  EXPECT_EQ(formatDensity(0x0241, 0, false), "2.65");  // a single value, not "2.65-0.00"
  EXPECT_EQ(formatDensity(0, 0, true), "nicht bestimmt");
  EXPECT_EQ(formatDensity(0x1507, 0x1507, false), "21.07");
}

TEST(DeterminationSearch, SlotUnion) {
  SlotIdentityIndex index;
  EXPECT_EQ(slotUnion(index, 131, 139), (NumberList{{131, 139}}));
  EXPECT_EQ(slotUnion(index, 131, -1), (NumberList{{131}}));
  EXPECT_EQ(slotUnion(index, -1, 85), (NumberList{{85}}));
  EXPECT_EQ(slotUnion(index, 85, 85), (NumberList{{85}}));
  EXPECT_FALSE(slotUnion(index, -1, -1));
  EXPECT_FALSE(slotUnion(index, 945, -1));
}

TEST(DeterminationSearch, StartValues) {
  const DeterminationCriteria c;
  EXPECT_EQ(c.precision, kPrecisionExact);
  EXPECT_EQ(c.imaRecognised, 1);
  EXPECT_EQ(c.notImaRecognised, 1);
  EXPECT_EQ(c.discredited, 0);
  EXPECT_EQ(c.streak + c.colour + c.crystalSystem + c.cleavage + c.lustre + c.fracture, 0);
  EXPECT_EQ(c.hardness, 0);
  EXPECT_EQ(c.density, 0u);
  EXPECT_EQ(c.locality, 0);
  EXPECT_FALSE(c.elementExpression);
  EXPECT_FALSE(c.systematics);
}

TEST(DeterminationSearch, StatusTableRowByRow) {
  EXPECT_EQ(statusSlots(true, false, false), (std::vector<int>{900}));
  EXPECT_EQ(statusSlots(true, false, true), (std::vector<int>{900, 902}));
  EXPECT_EQ(statusSlots(true, true, false), (std::vector<int>{900, 901}));
  EXPECT_TRUE(statusSlots(true, true, true).empty());
  EXPECT_EQ(statusSlots(false, false, false), (std::vector<int>{902}));
  EXPECT_EQ(statusSlots(false, false, true), (std::vector<int>{902}));
  EXPECT_EQ(statusSlots(false, true, false), (std::vector<int>{901}));
  EXPECT_EQ(statusSlots(false, true, true), (std::vector<int>{901, 902}));

  Fixture f;
  DeterminationInput in;  // start values: IMA-recognised and not recognised
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{901, 900}));
  in.imaRecognised = in.notImaRecognised = in.discredited = false;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{902}));
  in.notImaRecognised = in.discredited = true;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{902, 901}));
  EXPECT_EQ(f.saved.notImaRecognised, 1);
  EXPECT_EQ(f.saved.imaRecognised, 0);
  // All three ticked and nothing else: every mineral, whatever its status.
  in.imaRecognised = true;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{902, 901, 900}));
  // Any criterion given: it alone restricts.
  in.crystalSystem = 8;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{139}));
}

TEST(DeterminationSearch, HardnessAndDensityPerPrecision) {
  Fixture f;
  DeterminationInput in = blank();
  in.hardness = "4-6";
  EXPECT_EQ(numbersOf(f.run(in)), descending(93, 97));
  EXPECT_EQ(formatHardness(f.saved.hardness, false), "4.0-6.0");
  in.hardness = "7";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{99}));
  in.hardness = "4.5";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{94}));
  in.hardness = "6-4";  // reversed: the first value only
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{97}));
  in.hardness = "5,5";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{96}));
  DeterminationInput rough = blank(kPrecisionRough);
  // "Grob" widens by a whole Mohs step and a quarter g/cm³ and adds "no data".
  rough.hardness = "4-6";
  EXPECT_EQ(numbersOf(f.run(rough)), (std::vector<int>{99, 98, 97, 96, 95, 94, 93, 92, 91, 85}));
  rough.hardness = "1";  // never below Mohs 1, and "no data" only as the rough slot
  EXPECT_EQ(numbersOf(f.run(rough)), (std::vector<int>{89, 88, 87, 85}));
  rough.hardness = "";
  rough.density = "2.65";  // 2.40 - 2.90
  EXPECT_EQ(numbersOf(f.run(rough)), (std::vector<int>{11, 10, 9, 0}));
  EXPECT_EQ(f.saved.hardness, 0);

  // "Annähernd": half a Mohs step and a tenth of a g/cm³ on either side.
  in = blank(kPrecisionApproximate);
  in.hardness = "7";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{100, 99, 98}));
  in.hardness = "10";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{105, 104}));
  in.hardness = "";
  in.density = "2,7";  // 2.60 - 2.80: a stored 2.76 (slot 11) is found
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{11, 10}));
  in.density = "0,3";  // 0.20 - 0.40, but never down into the "no density" slot
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{1}));
  in.density = "3-6.5";  // 2.90 - 6.60
  EXPECT_EQ(numbersOf(f.run(in)), descending(11, 26));
  EXPECT_EQ(f.saved.density, 0x03000632u);
  EXPECT_EQ(formatDensity(f.saved.density >> 16, f.saved.density & 0xFFFF, false), "3.00-6.50");
  in.density = "2.65";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{11, 10}));
  in.density = "2,65";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{11, 10}));
  in.density = "25";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{84}));
  in.density = "3 - 5";  // blanks are dropped, not the end of the text
  EXPECT_EQ(numbersOf(f.run(in)), descending(11, 20));
  in = blank();  // "Exakt" takes the typed values as they are
  in.density = "2,7";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{10}));
  in.density = "";
  in.hardness = "7";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{99}));
  in = blank(kPrecisionApproximate);
  in.density = "abc";    // unreadable: the "no density" slot
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{0}));
  in.density = "   ";
  // No criterion left: every mineral of any status.
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{902, 901, 900}));
  EXPECT_EQ(f.saved.density, 0u);
}

TEST(DeterminationSearch, ChoiceListsAndColours) {
  Fixture f;
  DeterminationInput in = blank();
  in.crystalSystem = 8;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{139}));
  in = blank(kPrecisionApproximate);
  in.fracture = 3;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{115}));
  in = blank(kPrecisionRough);
  in.cleavage = 4;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{110, 106}));
  in = blank(kPrecisionRough);
  in.lustre = 12;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{154, 142}));
  in.lustre = 13;  // no such entry: no criterion, and it cannot reach the colour slots
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{902, 901, 900}));
  in = blank(kPrecisionRough);
  in.crystalSystem = 1;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{132, 131}));
  EXPECT_EQ(f.saved.crystalSystem, 1);

  // Colour and streak: exact only with "Exakt"; "Annähernd" and "Grob" alike.
  for (std::uint8_t p : {kPrecisionExact, kPrecisionApproximate, kPrecisionRough}) {
    in = blank(p);
    in.colour = 5;
    f.colours.exactFlags.clear();
    EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{410}));
    in.colour = 0;
    in.streak = 7;
    EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{162}));
    EXPECT_EQ(f.colours.exactFlags, (std::vector<bool>{p == kPrecisionExact, p == kPrecisionExact}));
  }
  EXPECT_EQ(f.saved.streak, 7);
  EXPECT_EQ(f.saved.colour, 0);
}

TEST(DeterminationSearch, ElementExpressionCriterion) {
  Fixture f;
  DeterminationInput in = blank();
  in.elementExpression = "Zn,Cu  ";
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{758, 678}));
  EXPECT_EQ(f.saved.elementExpression, "Zn,Cu");

  // An invalid expression ends the search before density is read.
  in.crystalSystem = 2;
  in.density = "3";
  in.elementExpression = "Cu+Xy";
  DeterminationOutcome out = f.run(in);
  EXPECT_EQ(out.messageId, kMsgInvalidElementCharacters);
  EXPECT_EQ(out.selectionBegin, 3u);
  EXPECT_EQ(out.selectionEnd, 5u);
  EXPECT_TRUE(out.results.empty());
  EXPECT_EQ(f.saved.crystalSystem, 2);        // read before the expression
  EXPECT_EQ(f.saved.density, 0u);             // not read
  EXPECT_EQ(f.saved.elementExpression, "Zn,Cu");
  in.elementExpression = "Cu,He";
  out = f.run(in);
  EXPECT_EQ(out.messageId, kMsgUnseenElement);
  EXPECT_EQ(out.selectionBegin, 3u);
  EXPECT_EQ(out.selectionEnd, 5u);
  in.elementExpression = "   ";
  in.crystalSystem = 0;
  EXPECT_EQ(numbersOf(f.run(in)), (std::vector<int>{12}));
  EXPECT_FALSE(f.saved.elementExpression);
}

TEST(DeterminationSearch, SavedStateShowsTheLastSearchAgain) {
  Fixture f;
  DeterminationInput in;
  in.exactChecked = false;
  in.approximateChecked = true;
  in.discredited = true;
  in.elementExpression = "Zn,Cu ";
  in.density = "3-6.5";
  in.hardness = "4.5";
  in.colour = 12;
  in.localityIndex = 0;
  // Nothing is found (each criterion is a different single mineral), but
  // every criterion read so far is saved.
  EXPECT_EQ(f.run(in).messageId, kMsgNothingFound);
  EXPECT_EQ(f.saved.precision, kPrecisionApproximate);
  EXPECT_EQ(f.saved.colour, 12);
  EXPECT_EQ(f.saved.discredited, 1);
  // The colour (417) and the expression (678, 758) have nothing in common:
  // the search stops before the density is read.
  EXPECT_EQ(f.saved.elementExpression, "Zn,Cu");
  EXPECT_EQ(f.saved.density, 0u);
  in.colour = 0;
  in.elementExpression = "";
  in.density = "3-6.5";
  in.hardness = "";
  EXPECT_TRUE(f.run(in).succeeded());
  EXPECT_EQ(formatDensity(f.saved.density >> 16, f.saved.density & 0xFFFF, false), "3.00-6.50");
  EXPECT_FALSE(f.saved.elementExpression);
  EXPECT_EQ(f.saved.colour, 0);
}

TEST(DeterminationSearch, CriteriaIntersectAndStopEarly) {
  MapIndex index;
  index.slots[139] = {1, 2, 3, 4};   // kubisch
  index.slots[99] = {2, 3, 4, 9};    // hardness 7
  index.slots[900] = {1, 2, 4};
  index.slots[901] = {3};
  index.slots[902] = {9};
  index.slots[655 + 23] = {2, 3};    // Cu
  FakeColours colours;
  FakeFacts facts;
  FakeLocalities localities;
  localities.minerals[7] = {0x2000 | 4, 3, 0xE000 | 2};  // flags above the number
  DeterminationCriteria saved;
  auto run = [&](const DeterminationInput& in) {
    return runDetermination(in, saved, {index, colours, facts, &localities});
  };
  DeterminationInput in;  // default status: 900 and 901
  in.crystalSystem = 8;
  in.hardness = "7";
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{4, 3, 2}));  // name-list order
  in.elementExpression = "Cu";
  DeterminationOutcome out = run(in);
  ASSERT_EQ(out.results.size(), 2u);
  EXPECT_EQ(out.results[0].name, "M3");
  EXPECT_EQ(out.results[0].id, 4);
  EXPECT_EQ(out.results[0].ordinal, 59997u);
  in.imaRecognised = false;
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{3}));

  // Locality: entries masked to their mineral numbers and sorted.
  in = DeterminationInput{};
  in.localityIndex = 2;
  in.localityNumber = 7;
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{4, 3, 2}));
  EXPECT_EQ(saved.locality, 7);  // the number, not the list position
  in.hardness = "7";
  in.imaRecognised = false;  // 901 only: mineral 3
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{3}));
  in.localityNumber = 8;     // unreadable locality: nothing
  EXPECT_EQ(run(in).messageId, kMsgNothingFound);
  EXPECT_EQ(runDetermination(in, saved, {index, colours, facts, nullptr}).messageId,
            kMsgNothingFound);

  // Nothing left after hardness: the search stops, later criteria are not read.
  saved = DeterminationCriteria{};
  in = DeterminationInput{};
  in.crystalSystem = 8;
  in.hardness = "3";
  in.localityIndex = 1;
  out = run(in);
  EXPECT_EQ(out.messageId, kMsgNothingFound);
  EXPECT_EQ(saved.hardness, 0x0606);
  EXPECT_EQ(saved.locality, 0);
}

TEST(DeterminationSearch, Systematics) {
  MapIndex index;
  index.slots[911] = {1, 5};            // class II
  index.slots[917] = {2, 3, 6, 8};      // class VIII
  index.slots[918] = {7, 9};            // class IX
  index.slots[854 + 'J'] = {3, 6, 7};
  index.slots[854 + 'A'] = {7, 8, 9};
  index.slots[854 + 'B'] = {1};         // no class VIII mineral has B
  FakeColours colours;
  FakeFacts facts;
  facts.lapis[7] = {9, 'A', 2, 0, 60};
  facts.lapis[9] = {9, 'A', 2, 0, 0};
  DeterminationCriteria saved;
  auto run = [&](const DeterminationInput& in) {
    return runDetermination(in, saved, {index, colours, facts, nullptr});
  };
  DeterminationInput in = blank();
  in.systematics = "II";
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{5, 1}));
  EXPECT_EQ(saved.systematics, "II/");
  in.systematics = "VIII/J";
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{6, 3}));
  in.systematics = "viii/j";
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{6, 3}));
  in.systematics = "IX/A.2-60";
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{7}));
  in.systematics = "IX/A.2";
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{9, 7}));
  in.systematics = "IX/A.3";
  EXPECT_EQ(run(in).messageId, kMsgNothingFound);
  EXPECT_FALSE(saved.systematics);
  // Class and letter without a common mineral: nothing fits.
  in.systematics = "VIII/B";
  EXPECT_EQ(run(in).messageId, kMsgNothingFound);
  // A letter no mineral carries leaves class and letter out: with the
  // status criterion the result is unrestricted by the systematics.
  DeterminationInput withStatus;
  index.slots[900] = {2, 9};
  withStatus.systematics = "VIII/Q";
  EXPECT_EQ(numbersOf(run(withStatus)), (std::vector<int>{9, 2}));
  EXPECT_EQ(saved.systematics, "VIII/Q");
  // A number without any list to filter finds nothing (class III has no slot here).
  in.systematics = "III/A.2";
  EXPECT_EQ(run(in).messageId, kMsgNothingFound);
  // A text that names no class is no criterion: nothing restricts, every
  // mineral of any status is found.
  in.systematics = "X/A.2";
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{9, 2}));
  in.systematics = "";
  in.hardness = "";
  // Nothing restricts any more: every mineral of any status.
  EXPECT_EQ(numbersOf(run(in)), (std::vector<int>{9, 2}));
  EXPECT_FALSE(saved.systematics);
}


// The step both searches share, with what the collection search may lack.
TEST(DeterminationSearch, SystematicsStepWithAndWithoutSources) {
  MapIndex index;
  index.slots[917] = {2, 3, 6, 8};  // class VIII
  index.slots[854 + 'J'] = {3, 6, 7};
  index.slots[854 + 'B'] = {1};
  FakeFacts facts;
  facts.lapis[6] = {8, 'J', 4, 0, 0};

  OptionalNumberList running;  // no earlier criterion
  SystematicsStep step = applySystematicsCriterion("VIII/J", &index, &facts, running);
  EXPECT_EQ(step.text, "VIII/J");
  EXPECT_TRUE(step.restricted);
  EXPECT_FALSE(step.nothingFits);
  EXPECT_EQ(running, (NumberList{{3, 6}}));
  step = applySystematicsCriterion("VIII/J.4", &index, &facts, running);
  EXPECT_EQ(running, (NumberList{{6}}));
  EXPECT_FALSE(step.nothingFits);

  // An empty field or a lone "/" is no criterion and leaves the list alone.
  running = NumberList{{2, 3}};
  step = applySystematicsCriterion("", &index, &facts, running);
  EXPECT_TRUE(step.text.empty());
  EXPECT_FALSE(step.restricted);
  EXPECT_EQ(running, (NumberList{{2, 3}}));
  EXPECT_TRUE(applySystematicsCriterion("/", &index, &facts, running).text.empty());

  // Class and letter filed without a common mineral: nothing fits, list dropped.
  step = applySystematicsCriterion("VIII/B", &index, &facts, running);
  EXPECT_TRUE(step.nothingFits);
  EXPECT_FALSE(running);

  // Without an index the class restricts nothing; the text still counts.
  running = NumberList{{2, 3}};
  step = applySystematicsCriterion("VIII", nullptr, &facts, running);
  EXPECT_EQ(step.text, "VIII/");
  EXPECT_FALSE(step.restricted);
  EXPECT_EQ(running, (NumberList{{2, 3}}));
  // Without mineral facts no mineral keeps a Lapis number.
  step = applySystematicsCriterion("VIII/J.4", &index, nullptr, running);
  EXPECT_TRUE(step.nothingFits);
  EXPECT_FALSE(running);
}

}  // namespace
}  // namespace kalvor
