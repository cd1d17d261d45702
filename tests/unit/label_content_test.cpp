// What goes on a label: the formula looked up for the mineral field, and
// the content of a specimen's label.
#include <gtest/gtest.h>

#include "labels/label_content.h"
#include "test_files.h"

namespace kalvor {
namespace {

using testing::cp;

// Entries: 0 Quarz, 1 Quarzin, 2 Bergkristall (alias), 3 Calcit, 4 Calcioferrit, 5 Äschynit.
struct Reference {
  MineralDatabase database;
  MineralNameList names;
};

Reference reference() {
  MineralFileWriter w;
  std::vector<NameSource> sources;
  auto full = [&](const std::string& name, const std::string& formula) {
    MineralRecord r;
    r.setFlags(kMineralImaRecognised);
    r.setName(name);
    r.setFormula(formula);
    w.add(r);
    sources.push_back(NameSource{false, name});
  };
  full("Quarz", "SiO_2");
  full("Quarzin", "SiO_2 (faserig)");
  MineralRecord alias;
  alias.setName("Bergkristall");
  alias.setAliasTarget("Quarz");
  w.add(alias);
  sources.push_back(NameSource{true, "Bergkristall"});
  full("Calcit", "CaCO_3");
  full("Calcioferrit", "Ca_2Fe^{3+}_2(PO_4)_3(OH)");
  full(cp("Äschynit-(Ce)"), "(Ce,Ca,Fe,Th)(Ti,Nb)_2(O,OH)_6");
  std::optional<MineralDatabase> db = MineralDatabase::fromBytes(w.indexFile(), w.recordFile());
  EXPECT_TRUE(db);
  return Reference{std::move(*db), MineralNameList::build(sources)};
}

TEST(LabelContent, FormulaOfTheMineralTheFieldNames) {
  const Reference r = reference();
  auto formula = [&](const char* text) { return lookupLabelFormula(r.names, r.database, cp(text)); };
  // The text up to the first comma or blank is looked up.
  EXPECT_EQ(formula("Calcit, Quarz"), "CaCO_3");
  EXPECT_EQ(formula("Calcit xx"), "CaCO_3");
  EXPECT_EQ(formula("calcit"), "CaCO_3");
  // A name typed in full is that mineral, though a longer one begins with it.
  EXPECT_EQ(formula("Quarz"), "SiO_2");
  EXPECT_EQ(formula("Quarzi"), "SiO_2 (faserig)");
  // An abbreviation that several names begin with names none of them.
  EXPECT_EQ(formula("Calc"), "");
  EXPECT_EQ(formula("Qu"), "");
  // A unique abbreviation is enough; umlauts fold as ae.
  EXPECT_EQ(formula("Calcio"), "Ca_2Fe^{3+}_2(PO_4)_3(OH)");
  EXPECT_EQ(formula("Aeschyn"), "(Ce,Ca,Fe,Th)(Ti,Nb)_2(O,OH)_6");
  EXPECT_EQ(formula("Äschynit-(Ce)"), "(Ce,Ca,Fe,Th)(Ti,Nb)_2(O,OH)_6");
  // An alias has no formula of its own.
  EXPECT_EQ(formula("Bergkristall"), "");
  // A name that no entry begins gives none, not the entry after it.
  EXPECT_EQ(formula("Cb"), "");
  EXPECT_EQ(formula("Zirkon"), "");
  EXPECT_EQ(formula(""), "");
  EXPECT_EQ(formula(" Quarz"), "");
}

TEST(LabelContent, SpecimenLabelCarriesMineralsLocalityIndexAndQrText) {
  const Reference r = reference();
  Specimen s;
  s.number = 7;
  s.flags = specimen_format::kFlagCollection;
  s.index = cp("Ä-7");
  s.minerals = {4, 1};  // Calcit, Quarz (MineralNumber + 1)
  s.mainCount = 1;
  Locality loc;
  loc.name = "Grube Clara";
  loc.nearestPlace = "Oberwolfach";
  const LabelContent c = specimenLabelContent(s, r.names, loc, &r.database);
  EXPECT_EQ(c.mineral, "Calcit");
  EXPECT_EQ(c.accompanying, "Quarz");
  EXPECT_EQ(c.locality, "Grube Clara, Oberwolfach");
  EXPECT_EQ(c.freeLine, cp("Ä-7"));
  EXPECT_EQ(c.formula, "CaCO_3");
  EXPECT_EQ(c.qrText, cp("Ä-7: Calcit, Quarz"));

  const LabelContent bare = specimenLabelContent(s, r.names, std::nullopt, nullptr);
  EXPECT_EQ(bare.locality, "");
  EXPECT_EQ(bare.formula, "");
  EXPECT_EQ(labelQrText("", "Quarz", ""), "Quarz");
  EXPECT_EQ(labelQrText("B1", "", "Calcit"), "B1: Calcit");
}

}  // namespace
}  // namespace kalvor
