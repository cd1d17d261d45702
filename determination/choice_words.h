// The words a collector may type for an entry of the determination's fixed
// choice lists (Kristallsystem, Spaltbarkeit, Bruch, Glanz): the list's own
// entries, the words the mineral descriptions print, and the usual synonyms
// of German mineralogy books. Case and the spelling of umlauts ("spröde",
// "sproede") do not matter. The command line and the dialog read typed words
// through the same table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvor {

class ColourTable;

enum class ChoiceList { CrystalSystem, Cleavage, Fracture, Lustre };

// The 1-based list index of `word` (Windows-1252) in `list`; 0 when the word
// names no entry of that list.
int choiceIndexOfWord(ChoiceList list, std::string_view word);

// Every word `list` accepts for entry `index` (Windows-1252), list entry first.
std::vector<std::string> choiceWordsOf(ChoiceList list, int index);

// The colour choice (ColourGroup) of a typed colour: a choice name, or any
// name of the colour table the descriptions print ("grauschwarz",
// "zinnweiß-metallisch"), by its group; 0 when no colour has that name.
int colourChoiceOfWord(const ColourTable& colours, std::string_view word);

// `text` in lower case with umlauts and ß spelt out (ä → ae, ß → ss) and
// blanks, hyphens and dots dropped: the form two typed words are compared in.
std::string foldChoiceWord(std::string_view text);

}  // namespace kalvor
