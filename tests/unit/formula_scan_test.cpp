#include "determination/formula_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "determination/elements.h"

namespace kalvor {
namespace {

int el(std::string_view symbol) { return ElementTable::indexOf(symbol); }

bool holds(const IndexList& list, int i) {
  return std::find(list.begin(), list.end(), i) != list.end();
}

// An index whose slots are given by the test; every other slot is empty.
class FakeIndex : public IndexSlotSource {
 public:
  std::map<int, std::vector<MineralNumber>> slots;
  mutable std::vector<int> reads;
  OptionalNumberList readIndexSlot(int slot) const override {
    reads.push_back(slot);
    auto it = slots.find(slot);
    if (it == slots.end() || it->second.empty()) return std::nullopt;
    return NumberList{it->second};
  }
};

TEST(ElementTables, OrderAndMembership) {
  // Every one-letter symbol follows the two-letter symbols with its letter.
  for (std::size_t i = 0; i < ElementTable::kCount; ++i) {
    const auto s = ElementTable::kSymbols[i];
    if (s.size() != 1) continue;
    for (std::size_t k = i + 1; k < ElementTable::kCount; ++k) {
      EXPECT_NE(ElementTable::kSymbols[k][0], s[0]) << s << " before " << ElementTable::kSymbols[k];
    }
  }
  EXPECT_EQ(el("Pb"), 67);
  EXPECT_EQ(el("U"), 97);
  EXPECT_EQ(el("Zr"), 104);
  EXPECT_TRUE(UnseenElements::contains(el("He")));
  EXPECT_FALSE(UnseenElements::contains(el("Pb")));
  EXPECT_TRUE(RareEarthElements::contains(el("Y")));
  EXPECT_FALSE(RareEarthElements::contains(el("Zn")));
  for (auto s : UnseenElements::kSymbols) EXPECT_GE(el(s), 0) << s;
  for (auto s : RareEarthElements::kSymbols) EXPECT_GE(el(s), 0) << s;
}

TEST(FormulaScan, ElementsPresentAndAbsent) {
  const IndexList nacl = elementsInFormula("NaCl");
  EXPECT_EQ(nacl, (IndexList{el("Cl"), el("Na")}));  // no C inside Cl
  const IndexList notNacl = elementsNotInFormula("NaCl");
  EXPECT_TRUE(holds(notNacl, el("C")));
  EXPECT_FALSE(holds(notNacl, el("Cl")));
  EXPECT_FALSE(holds(notNacl, el("He")));  // unseen elements are never filed as absent
  EXPECT_TRUE(holds(notNacl, ElementTable::kRareEarths));
  EXPECT_TRUE(std::is_sorted(notNacl.begin(), notNacl.end()));
  // 106 indexes, 34 unseen, 2 present.
  EXPECT_EQ(notNacl.size(), 106u - 34u - 2u);

  // Subscripts and charges are not elements: the 4 of PO_4 and the charge vanish.
  EXPECT_EQ(elementsInFormula("Ca_5(PO_4)_3(OH)"),
            (IndexList{el("Ca"), el("H"), el("O"), el("P")}));
  EXPECT_EQ(elementsInFormula("Fe^{3+}_2O_3"), (IndexList{el("Fe"), el("O")}));
  // A braced subscript with letters is ignored whole: "_{Nb}" is no niobium.
  EXPECT_EQ(elementsInFormula("Ca_{Nb}O"), (IndexList{el("Ca"), el("O")}));
  // Rare earths: 105 right after the first rare-earth element, once.
  EXPECT_EQ(elementsInFormula("(Ce,La)PO_4"),
            (IndexList{el("Ce"), ElementTable::kRareEarths, el("La"), el("O"), el("P")}));
  EXPECT_FALSE(holds(elementsNotInFormula("CePO_4"), ElementTable::kRareEarths));
  // An unclosed brace drops only the markup; elements behind it still count.
  EXPECT_EQ(elementsInFormula("Cu_{2Zn"), (IndexList{el("Cu"), el("Zn")}));
  EXPECT_EQ(elementsInFormula("Cu^"), (IndexList{el("Cu")}));
  EXPECT_TRUE(elementsInFormula("").empty());
}

TEST(FormulaScan, MarkupStripping) {
  EXPECT_EQ(stripFormulaMarkup("SO_4^{2-}"), "SO4");
  EXPECT_EQ(stripFormulaMarkup("Fe^{3+}_2O_3"), "Fe2O3");
  EXPECT_EQ(stripFormulaMarkup("Cu^2+Zn"), "Cu+Zn");  // "^" takes one character
  EXPECT_EQ(stripFormulaMarkup("Ca_{0.5}Mg"), "Ca0.5Mg");
  EXPECT_EQ(stripFormulaMarkup("Cu^{2+O"), "Cu");  // unclosed charge cuts the text
  EXPECT_EQ(stripFormulaMarkup("Cu_{2O"), "Cu2O");
  EXPECT_EQ(stripFormulaMarkup("Cu_"), "Cu");
  EXPECT_EQ(stripFormulaMarkup("Cu^"), "Cu");
}

TEST(FormulaScan, Groups) {
  const int as = 0, h2o = 3, oh = 5, po4 = 6, so4 = 9;
  EXPECT_EQ(groupsInFormula("Ca_5(PO_4)_3(OH)"), (IndexList{oh, po4}));
  EXPECT_EQ(groupsInFormula("Pb_5(PO_4,AsO_4)_3Cl"), (IndexList{as, po4}));
  // The bracket rule: each alternative joined with what follows the bracket.
  EXPECT_EQ(groupsInFormula("Ca(P,As)O_4"), (IndexList{po4, as}));
  EXPECT_EQ(groupsInFormula("CaSO_4^{2-}*2H_2O"), (IndexList{h2o, so4}));
  const IndexList absent = groupsNotInFormula("Ca(P,As)O_4");
  EXPECT_EQ(absent.size(), 12u);
  EXPECT_FALSE(holds(absent, po4));
  EXPECT_TRUE(holds(absent, so4));
  // Over-long alternatives are cut to the candidate length and never overrun:
  // uncut, "ABCDEFGHIJKS" + "O4" would read as SO4.
  EXPECT_EQ(groupsInFormula("X(ABCDEFGHIJKS,P)O_4"), (IndexList{po4}));
  EXPECT_TRUE(groupsInFormula("(P,As").empty());  // no ")" : no alternatives
  EXPECT_TRUE(groupsInFormula("").empty());
}

TEST(ElementExpression, Validation) {
  EXPECT_EQ(validateElementExpression("U+Pb").result, 0);
  EXPECT_EQ(validateElementExpression("Zn,Cu").result, 0);
  EXPECT_EQ(validateElementExpression("!Pb").result, 0);
  EXPECT_EQ(validateElementExpression("ree+!SE+SO4+!H2O").result, 0);
  EXPECT_EQ(validateElementExpression("Cu, Zn").result, 0);
  EXPECT_EQ(validateElementExpression("+").result, 0);
  EXPECT_EQ(validateElementExpression("").result, 0);

  const ElementCheck unknown = validateElementExpression("Cu+Xy");
  EXPECT_EQ(unknown.result, 4);  // position 3 holds the X
  EXPECT_EQ(unknown.selectionBegin, 3u);
  EXPECT_EQ(unknown.selectionEnd, 5u);

  const ElementCheck unseen = validateElementExpression("Cu,He");
  EXPECT_EQ(unseen.result, -4);
  EXPECT_EQ(unseen.selectionBegin, 3u);
  EXPECT_EQ(unseen.selectionEnd, 5u);
  EXPECT_EQ(validateElementExpression("!He").result, -2);  // absence of He is refused too

  const ElementCheck lower = validateElementExpression("cu");
  EXPECT_EQ(lower.result, 1);
  EXPECT_EQ(lower.selectionEnd, 2u);
  // The selection stops at the next separator, not at the end of the text.
  const ElementCheck mid = validateElementExpression("Cu+1x,Zn");
  EXPECT_EQ(mid.result, 4);
  EXPECT_EQ(mid.selectionEnd, 5u);
}

TEST(ElementExpression, TokenSlots) {
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("U"), 752);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("Pb"), 722);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("Zn"), 758);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("Cu"), 678);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("!Pb"), 828);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("ree"), 760);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("SE"), 760);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("!SE"), 866);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("SO4"), 876);
  EXPECT_EQ(kElementSlotBase + elementTokenSlot("!H2O"), 886);
  EXPECT_EQ(elementTokenSlot("pb"), -1);
  EXPECT_EQ(elementTokenSlot(""), -1);
  EXPECT_EQ(elementTokenSlot("!"), -1);
}

TEST(ElementExpression, Search) {
  FakeIndex index;
  index.slots[752] = {3, 5, 9};      // U
  index.slots[722] = {1, 5, 9, 12};  // Pb
  index.slots[758] = {2, 4};         // Zn
  index.slots[678] = {4, 7};         // Cu
  index.slots[828] = {2, 3, 4, 7};   // no Pb

  EXPECT_EQ(searchElementExpression("U+Pb", index), (NumberList{{5, 9}}));
  EXPECT_EQ(index.reads, (std::vector<int>{752, 722}));
  EXPECT_EQ(searchElementExpression("Zn,Cu", index), (NumberList{{2, 4, 7}}));
  EXPECT_EQ(searchElementExpression("!Pb", index), (NumberList{{2, 3, 4, 7}}));
  EXPECT_EQ(searchElementExpression("Zn,Cu+!Pb", index), (NumberList{{2, 4, 7}}));
  // Blanks around tokens are ignored, as the check already ignores them.
  EXPECT_EQ(searchElementExpression("Zn, Cu", index), (NumberList{{2, 4, 7}}));
  EXPECT_EQ(searchElementExpression(" U + Pb ", index), (NumberList{{5, 9}}));
  EXPECT_EQ(searchElementExpression("! Pb", index), (NumberList{{2, 3, 4, 7}}));
  // Nothing in common, a term without a match, or only separators: nothing found.
  EXPECT_FALSE(searchElementExpression("U+Zn", index));
  EXPECT_FALSE(searchElementExpression("Cu+Fe", index));
  EXPECT_FALSE(searchElementExpression("Fe+Cu", index));
  EXPECT_FALSE(searchElementExpression("+", index));
}

}  // namespace
}  // namespace kalvor
