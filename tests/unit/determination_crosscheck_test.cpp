// The determination over a real built index, checked against a direct
// reading of the rules on every mineral: a wrong slot, a lost mineral or a
// wrong combination shows up as a difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "determination/determination_search.h"
#include "determination/elements.h"
#include "determination/formula_scan.h"
#include "determination/search_index.h"

namespace kalvor {
namespace {

class NoColours : public ColourSlotSource {
 public:
  std::vector<int> matchingColourSlots(int, int, bool) const override { return {}; }
};

class NumberOrderFacts : public MineralFacts {
 public:
  StrunzNumber lapisNumberOf(MineralNumber) const override { return {}; }
  std::optional<SearchResultEntry> nameListEntryOf(MineralNumber n) const override {
    return SearchResultEntry{"", static_cast<std::uint16_t>(n + 1), n};
  }
};

// True iff some k in [from, to] lies in [lo, hi] (an empty [lo, hi] holds nothing).
bool overlaps(int lo, int hi, int from, int to) { return lo <= hi && lo <= to && from <= hi; }

int cap(int v, int limit) { return v > limit ? limit : v; }

TEST(DeterminationCrossCheck, IndexedSearchMatchesTheRules) {
  std::mt19937 rng(20261206);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const char* formulas[] = {"PbS", "CuFeS_2", "Cu_2CO_3(OH)_2", "SiO_2", "Ca(UO_2)_2(PO_4)_2",
                            "NaCl", "ZnS", "(Ce,La)PO_4"};
  std::vector<IndexedMineral> minerals(400);
  for (IndexedMineral& m : minerals) {
    const int kind = pick(0, 9);
    m.flags = kind == 0 ? 0x40 : kind < 6 ? 0x01 : kind < 8 ? 0x02 : kind < 9 ? 0x08 : 0x10;
    m.formula = formulas[pick(0, 7)];
    const int h = pick(0, 22);
    m.hardness = static_cast<std::uint16_t>(h << 8 | (pick(0, 4) == 0 ? 0 : h + pick(0, 3)));
    m.densityMin = pick(0, 5) == 0 ? 0 : static_cast<std::uint16_t>(pick(1, 22) << 8 | pick(0, 99));
    m.densityMax = pick(0, 2) == 0 ? 0 : static_cast<std::uint16_t>(m.densityMin + pick(0, 600));
    m.crystalSystems = pick(0, 6) == 0 ? 0 : static_cast<std::uint16_t>(1u << pick(0, 15));
    m.lustre = pick(0, 6) == 0 ? 0 : static_cast<std::uint16_t>(1u << pick(0, 11) | 1u << pick(0, 11));
  }
  auto reader = [&](MineralNumber n) {
    IndexedMineral end;
    end.flags = 0x80;
    return n < minerals.size() ? minerals[n] : end;
  };
  const SearchIndex index(buildSearchIndex(reader, [](int) { return 0; }));
  std::vector<IndexList> presentElements;
  for (const IndexedMineral& m : minerals) presentElements.push_back(elementsInFormula(m.formula));
  const NoColours colours;
  const NumberOrderFacts facts;

  int nonEmpty = 0;
  for (int round = 0; round < 300; ++round) {
    DeterminationInput in;
    const int precision = pick(0, 2);
    in.exactChecked = precision == 2;
    in.approximateChecked = precision == 1;
    const bool rough = precision == 0;
    in.imaRecognised = pick(0, 1);
    in.notImaRecognised = pick(0, 1);
    in.discredited = pick(0, 1);
    in.crystalSystem = pick(0, 3) == 0 ? pick(1, 8) : 0;
    in.lustre = pick(0, 3) == 0 ? pick(1, 12) : 0;
    int h1 = 0, h2 = 0, d1 = 0, d2 = 0;
    if (pick(0, 1)) {
      h1 = pick(0, 22);
      h2 = pick(0, 22);
      in.hardness = std::to_string(h1 / 2) + (h1 % 2 ? ".5" : "") + "-" + std::to_string(h2 / 2) +
                    (h2 % 2 ? ",5" : "");
    }
    if (pick(0, 1)) {
      d1 = pick(0, 90);
      d2 = pick(0, 90);
      in.density = std::to_string(d1 / 4) + "." + std::to_string(d1 % 4 * 25) + " - " +
                   std::to_string(d2 / 4) + "," + std::to_string(d2 % 4 * 25);
    }
    const char* elementTokens[] = {"", "Pb", "!Cu", "S+O", "U,Zn", "ree", "!SE+Si"};
    in.elementExpression = elementTokens[pick(0, 6)];

    const std::vector<int> status = statusSlots(in.imaRecognised, in.notImaRecognised, in.discredited);
    std::vector<int> expected;
    const bool anyCriterion = !status.empty() || in.crystalSystem || in.lustre ||
                              !in.hardness.empty() || !in.density.empty() ||
                              !in.elementExpression.empty();
    for (std::size_t n = 0; n < minerals.size() && anyCriterion; ++n) {
      const IndexedMineral& m = minerals[n];
      if (!(m.flags & 0x1B)) continue;
      bool ok = true;
      if (!status.empty()) {
        bool any = false;
        for (int s : status) {
          any |= (s == 900 && (m.flags & 1)) || (s == 901 && (m.flags & 2)) || (s == 902 && (m.flags & 8));
        }
        ok &= any;
      }
      if (in.crystalSystem) {
        const std::uint16_t cs = m.crystalSystems;
        ok &= (cs & kCrystalSystemMasks[static_cast<std::size_t>(in.crystalSystem - 1)]) ||
              (rough && (cs == 0 || (cs & 0x100)));
      }
      if (in.lustre) ok &= (m.lustre >> (in.lustre - 1) & 1) || (rough && m.lustre == 0);
      if (!in.hardness.empty()) {
        const int lo = cap(m.hardness >> 8, 20), hi = cap(m.hardness & 0xFF, 20);
        int a = cap(h1, 20), b = std::max(a, cap(h2, 20));
        if (precision != 2 && a != 0) {  // half a Mohs step, rough a whole one, from Mohs 1 on
          const int tolerance = rough ? 2 : 1;
          b = std::min(20, b + tolerance);
          a = std::max(std::min(a, 2), a - tolerance);
        }
        ok &= overlaps(lo, hi, a, b) || (rough && overlaps(lo, hi, 0, 0));
      }
      if (!in.density.empty()) {
        const int lo = densityClassOf(m.densityMin);
        const int hi = (m.densityMin && !m.densityMax) ? lo : densityClassOf(m.densityMax);
        int a = std::min(d1, 84), b = std::max(a, std::min(d2, 84));
        if (precision != 2 && d1 != 0) {  // 0.10 g/cm³, rough 0.25, never the "no data" class
          const int tolerance = rough ? 25 : 10;
          const auto classOfHundredths = [](int h) { return std::min(84, std::max(h, 1) / 25); };
          a = std::max(1, classOfHundredths(d1 * 25 - tolerance));
          b = std::max(b, classOfHundredths(std::max(d1, d2) * 25 + tolerance));
        }
        ok &= overlaps(lo, hi, a, b) || (rough && overlaps(lo, hi, 0, 0));
      }
      if (!in.elementExpression.empty()) {
        const IndexList& present = presentElements[n];
        auto has = [&](std::string_view sym) {
          const int i = sym == "ree" || sym == "SE" ? 105 : ElementTable::indexOf(sym);
          return std::find(present.begin(), present.end(), i) != present.end();
        };
        const std::string e = in.elementExpression;
        if (e == "Pb") ok &= has("Pb");
        if (e == "!Cu") ok &= !has("Cu");
        if (e == "S+O") ok &= has("S") && has("O");
        if (e == "U,Zn") ok &= has("U") || has("Zn");
        if (e == "ree") ok &= has("ree");
        if (e == "!SE+Si") ok &= !has("ree") && has("Si");
      }
      if (ok) expected.push_back(static_cast<int>(n));
    }

    DeterminationCriteria saved;
    const DeterminationOutcome out = runDetermination(in, saved, {index, colours, facts, nullptr});
    std::vector<int> got;
    for (const SearchResultEntry& e : out.results) got.push_back(e.id - 1);
    EXPECT_EQ(got, expected) << "round " << round << " hardness '" << in.hardness << "' density '"
                             << in.density << "' expression '" << in.elementExpression << "'";
    EXPECT_EQ(out.messageId, expected.empty() ? kMsgNothingFound : 0);
    nonEmpty += expected.empty() ? 0 : 1;
  }
  // Most rounds must find something, or the comparison proves little.
  EXPECT_GT(nonEmpty, 150);
}

}  // namespace
}  // namespace kalvor
