// The words a collector may type for the determination's choice lists: every
// word a description prints finds the list entry that searches the same index
// slot, in any case and umlaut spelling; book synonyms; unknown words are none.
#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "determination/choice_words.h"
#include "determination/colours.h"
#include "refdb/strings.h"
#include "refdb/vocabulary.h"

namespace kalvor {
namespace {

std::string cp(const char* utf8) { return utf8ToCp1252Lossy(utf8); }

std::string wordOf(const VocabularyWord& w) { return loadResourceString(w.stringId - kStringIdBase); }

TEST(ChoiceWords, EveryPrintedWordFindsTheEntryOfItsSlot) {
  // Fracture, lustre and cleavage: bit i of the record is searched by list entry i + 1.
  for (const VocabularyWord& w : kFractureWords) {
    EXPECT_EQ(choiceIndexOfWord(ChoiceList::Fracture, wordOf(w)), w.bit + 1) << wordOf(w);
  }
  for (const VocabularyWord& w : kLustreWords) {
    EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, wordOf(w)), w.bit + 1) << wordOf(w);
  }
  for (const VocabularyWord& w : kCleavageWords) {
    // "sehr vollkommen" has no list entry of its own; it is stored as "vollkommen" too.
    const int expected = w.bit == 4 ? 4 : w.bit + 1;
    EXPECT_EQ(choiceIndexOfWord(ChoiceList::Cleavage, wordOf(w)), expected) << wordOf(w);
  }
  // Crystal systems: the list runs amorph ... kubisch, the bits kubisch ... amorph.
  const int entryOfBit[8] = {8, 5, 4, 3, 2, 7, 6, 1};
  for (const VocabularyWord& w : kCrystalSystemWords) {
    EXPECT_EQ(choiceIndexOfWord(ChoiceList::CrystalSystem, wordOf(w)), entryOfBit[w.bit]) << wordOf(w);
    // The descriptions print pseudo-systems as "ps." + word.
    EXPECT_EQ(choiceIndexOfWord(ChoiceList::CrystalSystem, "ps." + wordOf(w)),
              w.bit == 7 ? 0 : entryOfBit[w.bit])
        << wordOf(w);
  }
}

TEST(ChoiceWords, CaseUmlautsAndBookWords) {
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Fracture, "Muschlig"), 3);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Fracture, "MUSCHELIG"), 3);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Fracture, "sproede"), 5);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Fracture, cp("Spröde")), 5);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Fracture, "blaettrig"), 9);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Fracture, "dehnbar"), 10);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "Glasglanz"), 3);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "metallisch"), 7);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "Metallglanz"), 7);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "halbmetallisch"), 12);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "Perlmuttglanz"), 1);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "perl"), 1);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::CrystalSystem, "orthorhombisch"), 4);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::CrystalSystem, cp("regulär")), 8);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::CrystalSystem, "pseudokubisch"), 8);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Cleavage, "Sehr vollkommen"), 4);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Cleavage, "ausgezeichnet"), 4);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Cleavage, "deutlich"), 3);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Cleavage, "undeutlich"), 2);
  // A word of another list, an empty word or nonsense names no entry.
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Cleavage, "muschelig"), 0);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, ""), 0);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "glanz"), 0);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "funkelnd"), 0);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Fracture, "erdig"), 11);
  EXPECT_EQ(choiceIndexOfWord(ChoiceList::Lustre, "erdig"), 9);  // an earthy lustre is dull
  // The list entry comes first among the words of an entry.
  const auto words = choiceWordsOf(ChoiceList::Lustre, 7);
  ASSERT_FALSE(words.empty());
  EXPECT_EQ(words.front(), "metall");
  EXPECT_TRUE(choiceWordsOf(ChoiceList::Lustre, 13).empty());
}

TEST(ChoiceWords, ColourNamesOfTheTableFindTheirGroup) {
  ColourTable colours;
  colours.buildColourGroups();
  const auto& choices = colours.colourChoices();
  EXPECT_EQ(colourChoiceOfWord(colours, "Weiss"), colourChoiceOfWord(colours, cp("weiß")));
  EXPECT_EQ(choices[static_cast<std::size_t>(colourChoiceOfWord(colours, "BLAU") - 1)], "blau");
  // A name of the table that is no choice: the choice of its group.
  const auto rows = colourTableRows();
  std::size_t checked = 0;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (rows[row].inList) continue;
    const int group = colours.colourGroupOf(static_cast<std::uint16_t>(row + 1));
    if (group == 0) continue;
    // Two rows may share a name; the first one decides.
    bool first = true;
    for (std::size_t earlier = 0; earlier < row; ++earlier)
      first = first && foldChoiceWord(rows[earlier].name) != foldChoiceWord(rows[row].name);
    if (!first) continue;
    EXPECT_EQ(colourChoiceOfWord(colours, rows[row].name), group) << cp1252ToUtf8(rows[row].name);
    ++checked;
  }
  EXPECT_GT(checked, 100u);
  EXPECT_EQ(colourChoiceOfWord(colours, "rauchig"), 0);
  EXPECT_EQ(colourChoiceOfWord(colours, ""), 0);
}

}  // namespace
}  // namespace kalvor
