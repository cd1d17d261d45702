#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "refdb/collation.h"
#include "refdb/mineral_record.h"
#include "refdb/name_list_builder.h"
#include "refdb/names.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

int sign(int v) { return (v > 0) - (v < 0); }

int compareNames(const char* a, const char* b) {
  return sign(collateCompare(cp(a), cp(b), kNameCompareLength, kNameCompareLength));
}

// One "kalvor.na" record: alias byte and 40-byte blank-padded name field.
void addUnsortedRecord(Bytes& out, const std::string& name, bool alias) {
  out.push_back(alias ? 0xFF : 0x00);
  std::string field = name;
  field.resize(40, ' ');
  out.insert(out.end(), field.begin(), field.end());
}

// One "kalvor.fl" record.
void addStoredRecord(Bytes& out, const std::string& name, std::uint16_t id, bool alias) {
  out.push_back(static_cast<std::uint8_t>(name.size() | (alias ? 0x80 : 0)));
  out.insert(out.end(), name.begin(), name.end());
  out.push_back(static_cast<std::uint8_t>(id));
  out.push_back(static_cast<std::uint8_t>(id >> 8));
}

std::vector<std::string> namesInOrder(const MineralNameList& list) {
  std::vector<std::string> names;
  for (const NameListNode& node : list.nodes()) names.push_back(node.name);
  return names;
}

std::vector<std::uint32_t> idsInOrder(const MineralNameList& list) {
  std::vector<std::uint32_t> ids;
  for (const NameListNode& node : list.nodes()) ids.push_back(node.id);
  return ids;
}

MineralNameList listOf(const std::vector<const char*>& utf8Names) {
  std::vector<NameSource> entries;
  for (const char* name : utf8Names) entries.push_back({false, cp(name)});
  return MineralNameList::build(std::move(entries));
}

TEST(Collation, FoldInitialUsesTheTwoLetterTableFirst) {
  EXPECT_EQ(foldInitial(cp("Ä")[0]), 'a');
  EXPECT_EQ(foldInitial('A'), 'a');
  EXPECT_EQ(foldInitial(cp("É")[0]), 'e');
  EXPECT_EQ(foldInitial(cp("ß")[0]), 's');
  EXPECT_EQ(foldInitial(cp("Ø")[0]), 'o');
  EXPECT_EQ(foldInitial(cp("ï")[0]), 'i');
  EXPECT_EQ(foldInitial('x'), 'x');
  EXPECT_EQ(foldInitial('1'), '1');
  EXPECT_EQ(foldInitial(cp("Ñ")[0]), 'n');
  EXPECT_EQ(foldInitial(cp("Š")[0]), 's');
  EXPECT_EQ(foldInitial(cp("ž")[0]), 'z');
  EXPECT_EQ(foldInitial(cp("Ý")[0]), 'y');
  EXPECT_EQ(foldInitial(cp("Æ")[0]), 'a');
  EXPECT_EQ(foldInitial(cp("×")[0]), cp("×")[0]);  // a sign, not a letter
}

TEST(Collation, LettersWithDiacriticsSortWithTheirBaseLetters) {
  // Windows-1252 0x8A, 0x8E, 0x9A, 0x9E and the other letters above 127.
  EXPECT_EQ(compareNames("Šlikit", "Slikit"), 0);
  EXPECT_EQ(compareNames("šreinit", "Sreinit"), 0);
  EXPECT_EQ(compareNames("Žemkorit", "Zemkorit"), 0);
  EXPECT_EQ(compareNames("ž", "Z"), 0);
  EXPECT_EQ(compareNames("Abellait", "Šlikit"), -1);
  EXPECT_EQ(compareNames("Šlikit", "Smolianinovit"), -1);  // "sl" before "sm"
  EXPECT_EQ(compareNames("Cernýit", "Cernyit"), 0);
  EXPECT_EQ(compareNames("Ÿ", "y"), 0);
  EXPECT_EQ(compareNames("Çx", "cx"), 0);
  EXPECT_EQ(compareNames("Ñ", "n"), 0);
  EXPECT_EQ(compareNames("Ôâêîû", "oaeiu"), 0);
  EXPECT_EQ(compareNames("Æ", "ae"), 0);
  EXPECT_EQ(compareNames("Œ", "oe"), 0);
  EXPECT_EQ(compareNames("œ", "Ö"), 0);
  EXPECT_EQ(foldedPrefixLength(cp("Æs"), 2), 3);
}

TEST(Collation, UmlautsSharpSAndAccentsFoldToTheirSpelling) {
  // ä -> ae: all three spellings are the same name.
  EXPECT_EQ(compareNames("Äschynit", "Aeschynit"), 0);
  EXPECT_EQ(compareNames("Aeschynit", "aeschynit"), 0);
  EXPECT_EQ(compareNames("äschynit", "AESCHYNIT"), 0);
  // aer < aes, and aes < af.
  EXPECT_EQ(compareNames("Ärgerit", "Aeschynit"), -1);
  EXPECT_EQ(compareNames("Äschynit", "Afghanit"), -1);
  EXPECT_EQ(compareNames("Aegirin", "Äschynit"), -1);  // aeg < aes
  EXPECT_EQ(compareNames("Straße", "Strasse"), 0);
  EXPECT_EQ(compareNames("Éveit", "Eveit"), 0);
  EXPECT_EQ(compareNames("Rosé", "Rose"), 0);
  EXPECT_EQ(compareNames("Ötzit", "Oetzit"), 0);
  EXPECT_EQ(compareNames("Über", "ueber"), 0);
  EXPECT_EQ(compareNames("Åkermanit", "Akermanit"), 0);
  EXPECT_EQ(compareNames("Müllerit", "Mullerit"), -1);  // "mue" before "mul"
  EXPECT_EQ(compareNames("Mullerit", "Müllerit"), 1);
}

TEST(Collation, CaseEndsOfTextAndUnfoldedCharacters) {
  EXPECT_EQ(compareNames("quarz", "Quarz"), 0);
  EXPECT_EQ(compareNames("QUARZ", "quarzit"), -1);  // the end of a text sorts first
  EXPECT_EQ(compareNames("A", "Ä"), -1);            // "a" before "ae"
  EXPECT_EQ(compareNames("Ab", "Abc"), -1);
  // A character above 127 that is no letter sorts after the letters, and
  // like every character after the end of a text.
  EXPECT_EQ(compareNames("Ab", "Ab×"), -1);
  EXPECT_EQ(compareNames("×x", "Zx"), 1);
  EXPECT_EQ(compareNames("Ab·c", "Abz"), 1);
  EXPECT_EQ(compareNames("1-Methyl", "Albit"), -1);  // digits before letters
  EXPECT_EQ(compareNames("Calcit", "Zirkon"), -1);
  EXPECT_EQ(compareNames("Zirkon", "Calcit"), 1);
}

TEST(Collation, CharactersAfterAnUmlautAgainstAPlainVowelFoldToo) {
  // "Ä" against "A" pairs the "e" of "ae" with the next character of the
  // other name, folded like every other character.
  EXPECT_EQ(compareNames("ÄSCHYNIT", "Aeschynit"), 0);
  EXPECT_EQ(compareNames("äschynit", "AESCHYNIT"), 0);
  EXPECT_EQ(compareNames("Äé", "aüe"), -1);  // "aee" before "auee"
  EXPECT_EQ(compareNames("aüe", "Äé"), 1);
  EXPECT_EQ(compareNames("aß", "ass"), 0);
  EXPECT_EQ(compareNames("aß", "ä"), 1);     // "ass" after "ae"
  EXPECT_EQ(compareNames("ass", "ä"), 1);
  EXPECT_EQ(compareNames("Aä", "Äa"), -1);   // "aae" before "aea"
}

TEST(Collation, FoldedLengthLimitsTheComparisonToATypedPrefix) {
  EXPECT_EQ(foldedPrefixLength(cp("Straße"), 6), 7);
  EXPECT_EQ(foldedPrefixLength(cp("Äsch"), 4), 5);
  EXPECT_EQ(foldedPrefixLength(cp("Äö"), 5), 7);  // n stays, expanding ones counted up to the end
  EXPECT_EQ(foldedPrefixLength("Quarz", 3), 3);

  const std::string typed = cp("Äsch");
  const int m = foldedPrefixLength(typed, 4);
  EXPECT_EQ(collateCompare(typed, "Aeschynit", 4, m), 0);
  EXPECT_LT(collateCompare(typed, "Aeschynit", 40, 40), 0);  // over the whole name it is shorter
  EXPECT_EQ(collateCompare("Quarzit", "Quarz", 40, 5), 0);
  EXPECT_GT(collateCompare("Quarzit", "Quarz", 40, 6), 0);
  // The quick length alone decides equality when the first n characters match ignoring case.
  EXPECT_EQ(collateCompare("abcX", "ABCy", 3, 40), 0);
}

TEST(NameList, UnsortedRecordsAreSortedWithTheirRecordNumbersAsIds) {
  Bytes na;
  addUnsortedRecord(na, "C", false);
  addUnsortedRecord(na, "A", false);
  addUnsortedRecord(na, "D", true);
  addUnsortedRecord(na, "B", false);
  const MineralNameList list = MineralNameList::fromUnsorted(na);
  EXPECT_EQ(namesInOrder(list), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(idsInOrder(list), (std::vector<std::uint32_t>{2, 4, 1, 3}));
  EXPECT_TRUE(list.node(3).alias);
  EXPECT_FALSE(list.node(0).alias);
  for (std::size_t k = 0; k < list.size(); ++k) EXPECT_EQ(list.node(k).ordinal, k);
  // NumberToNode: MineralNumber 0 is record "C".
  EXPECT_EQ(list.nameOfMineral(0), "C");
  EXPECT_EQ(list.nameOfMineral(3), "B");
  EXPECT_EQ(list.nameOfMineral(4), "");  // past N - 1
}

TEST(NameList, GermanOrderAndEqualNamesInRecordOrder) {
  const MineralNameList list = listOf({"Afghanit", "Rose", "Äschynit", "Zoisit", "Éveit", "Aegirin", "Rosé",
                                       "Ärgerit", "Euklas", "Strasse", "Abelsonit", "Straße", "rose",
                                       "Ezcurrit", "Sulfur"});
  const std::vector<std::string> expected = {
      cp("Abelsonit"), cp("Aegirin"), cp("Ärgerit"), cp("Äschynit"), cp("Afghanit"),
      cp("Euklas"),    cp("Éveit"),   cp("Ezcurrit"), cp("Rose"),    cp("Rosé"),
      cp("rose"),      cp("Strasse"), cp("Straße"),  cp("Sulfur"),  cp("Zoisit")};
  EXPECT_EQ(namesInOrder(list), expected);
  // Rose (record 2), Rosé (7), rose (13) compare equal and keep record order.
  EXPECT_EQ(list.node(8).id, 2u);
  EXPECT_EQ(list.node(9).id, 7u);
  EXPECT_EQ(list.node(10).id, 13u);
}

// The list order is the one that inserting the records one by one gives:
// before the head, after the tail, or after the last node (searched from the
// tail) that the new name sorts equal to or after.
TEST(NameList, OrderEqualsRecordByRecordInsertion) {
  const char* const parts[] = {"a", "A", "ae", "\xE4", "\xC4", "o", "oe", "\xF6", "u", "\xFC", "ss", "\xDF",
                               "e", "\xE9", "\xC9", "r", "s", "Z", "-", "1", " "};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> part(0, std::size(parts) - 1);
  std::uniform_int_distribution<int> length(1, 4);
  std::vector<NameSource> entries;
  for (int k = 0; k < 600; ++k) {
    std::string name;
    for (int p = length(random); p > 0; --p) name += parts[part(random)];
    while (!name.empty() && name.back() == ' ') name.pop_back();
    entries.push_back({false, name});
  }
  std::vector<std::uint32_t> inserted;  // ids in insertion order
  for (std::uint32_t id = 1; id <= entries.size(); ++id) {
    const std::string& name = entries[id - 1].name;
    const auto cmp = [&](std::uint32_t other) {
      return collateCompare(name, entries[other - 1].name, kNameCompareLength, kNameCompareLength);
    };
    std::size_t at = inserted.size();
    if (!inserted.empty() && cmp(inserted.front()) < 0) {
      at = 0;
    } else if (!inserted.empty() && cmp(inserted.back()) < 0) {
      at = inserted.size() - 1;
      while (at > 0 && cmp(inserted[at - 1]) < 0) --at;
    }
    inserted.insert(inserted.begin() + static_cast<std::ptrdiff_t>(at), id);
  }
  const MineralNameList list = MineralNameList::build(entries);
  EXPECT_EQ(idsInOrder(list), inserted);
}

TEST(NameList, SourceNamesAreTrimmedAndCutTo39Characters) {
  Bytes na;
  addUnsortedRecord(na, std::string(40, 'X'), false);  // full field, no terminator
  addUnsortedRecord(na, "Gold   ", false);
  const MineralNameList list = MineralNameList::fromUnsorted(na);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.nameOfMineral(0), std::string(39, 'X'));
  EXPECT_EQ(list.nameOfMineral(1), "Gold");
}

TEST(NameList, LetterBucketsPointAtTheFirstNameOfEachLetterOrTheNext) {
  const MineralNameList list = listOf({"Zirkon", "Bornit", "Äschynit", "1-Methyl", "Éveit", "Aegirin"});
  // Order: 1-Methyl, Aegirin, Äschynit, Bornit, Éveit, Zirkon.
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list.bucketStart(0), 1u);   // a: Aegirin, not the digit name
  EXPECT_EQ(list.bucketStart(1), 3u);   // b
  EXPECT_EQ(list.bucketStart(2), 4u);   // c: none, so d: none, so e: Éveit
  EXPECT_EQ(list.bucketStart(4), 4u);
  EXPECT_EQ(list.bucketStart(5), 5u);   // f..y run on to Zirkon
  EXPECT_EQ(list.bucketStart(24), 5u);
  EXPECT_EQ(list.bucketStart(25), 5u);

  const MineralNameList noZ = listOf({"Albit", "Calcit"});
  EXPECT_EQ(noZ.bucketStart(3), std::nullopt);  // no name from d on
  EXPECT_EQ(noZ.bucketStart(25), std::nullopt);
}

TEST(NameList, FindByPrefixStartsAtTheLetterBucketAndMatchesRawBytes) {
  const MineralNameList list = listOf({"Quarz", "Aegirin", "Äschynit", "1-Methyl", "Afghanit", "Quarzit"});
  // Order: 1-Methyl(4), Aegirin(2), Äschynit(3), Afghanit(5), Quarz(1), Quarzit(6).
  EXPECT_EQ(list.findMineralByPrefix("Qu"), 1u);
  EXPECT_EQ(list.findMineralByPrefix("Quarzi"), 6u);
  EXPECT_EQ(list.findMineralByPrefix("qu"), 0u);  // case-sensitive
  EXPECT_EQ(list.findMineralByPrefix(cp("Ä")), 3u);
  EXPECT_EQ(list.findMineralByPrefix("Ae"), 2u);    // raw bytes: "Äschynit" does not start with "Ae"
  EXPECT_EQ(list.findMineralByPrefix("1"), 4u);     // not a letter: from the head
  EXPECT_EQ(list.findMineralByPrefix("Z"), 0u);     // bucket z has no node
  EXPECT_EQ(list.findMineralByPrefix("Gold"), 0u);

  // The walk starts at the bucket and runs past its end (a stored list need not be in order).
  Bytes fl;
  addStoredRecord(fl, "Bornit", 1, false);
  addStoredRecord(fl, "Albit", 2, false);
  addStoredRecord(fl, "Bismut", 3, false);
  addStoredRecord(fl, "Anatas", 4, false);
  const MineralNameList stored = MineralNameList::fromStored(fl);
  EXPECT_EQ(stored.findMineralByPrefix("An"), 4u);  // from Albit past Bismut
  EXPECT_EQ(stored.findMineralByPrefix("Bi"), 3u);  // bucket b starts at Bornit
  EXPECT_EQ(stored.findMineralByPrefix("1"), 0u);
}

TEST(NameList, StoredFileRoundTripsWithExactBytes) {
  testing::ScratchDir dir;
  const MineralNameList list = MineralNameList::build({{false, "Quarz"}, {true, "Bergkristall"}});
  ASSERT_TRUE(saveMineralNameList(dir.file("kalvor.fl"), list));
  const Bytes expected = {0x8C, 'B', 'e', 'r', 'g', 'k', 'r', 'i', 's', 't', 'a', 'l', 'l', 0x02, 0x00,
                          0x05, 'Q', 'u', 'a', 'r', 'z', 0x01, 0x00};
  EXPECT_EQ(testing::readFile(dir.file("kalvor.fl")), expected);

  const auto loaded = loadMineralNameList(dir.file("kalvor.fl"), NameListForm::kStored);
  ASSERT_TRUE(loaded.has_value());
  EXPECT_EQ(namesInOrder(*loaded), namesInOrder(list));
  EXPECT_EQ(idsInOrder(*loaded), idsInOrder(list));
  EXPECT_TRUE(loaded->node(0).alias);
  EXPECT_FALSE(loaded->node(1).alias);
  EXPECT_EQ(loaded->nameOfMineral(1), "Bergkristall");
  EXPECT_EQ(loaded->storedBytes(), expected);

  EXPECT_FALSE(loadMineralNameList(dir.file("missing.fl"), NameListForm::kStored).has_value());
}

TEST(NameList, LargerListRoundTripsThroughBothFiles) {
  testing::ScratchDir dir;
  Bytes na;
  const std::vector<const char*> names = {"Zoisit", "Ärgerit", "Baryt", "Calcit", "Straße", "Éveit",
                                          "Aegirin", "Öhlit", "Oberit", "Üdit", "Uranit", "Gips"};
  for (std::size_t k = 0; k < names.size(); ++k) addUnsortedRecord(na, cp(names[k]), k % 3 == 0);
  ASSERT_TRUE(testing::writeFile(dir.file("kalvor.na"), na));
  const auto fromNa = loadMineralNameList(dir.file("kalvor.na"), NameListForm::kUnsorted);
  ASSERT_TRUE(fromNa.has_value());
  ASSERT_TRUE(saveMineralNameList(dir.file("kalvor.fl"), *fromNa));
  const auto fromFl = loadMineralNameList(dir.file("kalvor.fl"), NameListForm::kStored);
  ASSERT_TRUE(fromFl.has_value());
  EXPECT_EQ(namesInOrder(*fromFl), namesInOrder(*fromNa));
  EXPECT_EQ(idsInOrder(*fromFl), idsInOrder(*fromNa));
  for (std::size_t k = 0; k < names.size(); ++k) {
    const MineralNumber number = static_cast<MineralNumber>(k);
    EXPECT_EQ(fromFl->nameOfMineral(number), cp(names[k]));
    const auto ordinal = fromFl->ordinalOfNumber(number);
    ASSERT_TRUE(ordinal.has_value());
    EXPECT_EQ(fromFl->node(*ordinal).alias, k % 3 == 0);
  }
  // "ob" < "oe" puts Oberit before Öhlit; "ue" < "ur" puts Üdit before Uranit.
  const std::vector<std::string> expected = {cp("Aegirin"), cp("Ärgerit"), cp("Baryt"), cp("Calcit"),
                                             cp("Éveit"),   cp("Gips"),    cp("Oberit"), cp("Öhlit"),
                                             cp("Straße"),  cp("Üdit"),    cp("Uranit"), cp("Zoisit")};
  EXPECT_EQ(namesInOrder(*fromFl), expected);
}

TEST(NameList, DamagedStoredFilesLoadWhatIsWhole) {
  {
    Bytes fl;
    addStoredRecord(fl, "Gold", 2, false);
    fl.push_back(0x85);  // alias, 5 letters
    fl.insert(fl.end(), {'S', 'i', 'l', 'b', 'e', 0x01, 0x00});
    const MineralNameList list = MineralNameList::fromStored(fl);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list.node(1).alias);
    EXPECT_EQ(list.node(1).name, "Silbe");
    EXPECT_EQ(list.nameOfMineral(0), "Silbe");
  }
  {
    Bytes fl;
    addStoredRecord(fl, "Gold", 1, false);
    fl.insert(fl.end(), {0x10, 'Q', 'u', 'a'});  // length runs past the end
    const MineralNameList list = MineralNameList::fromStored(fl);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.nameOfMineral(0), "Gold");
  }
  {
    Bytes fl;
    addStoredRecord(fl, "Gold", 1, false);
    addStoredRecord(fl, "Zinn", 2, false);
    fl.pop_back();  // half an id
    EXPECT_EQ(MineralNameList::fromStored(fl).size(), 1u);
  }
  {
    Bytes fl;
    addStoredRecord(fl, "Albit", 0, false);  // id 0: no number
    addStoredRecord(fl, "Baryt", 9, false);  // id above N
    addStoredRecord(fl, "Calcit", 2, false);
    const MineralNameList list = MineralNameList::fromStored(fl);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.nameOfMineral(0), "");
    EXPECT_EQ(list.nameOfMineral(1), "Calcit");
    EXPECT_EQ(list.nameOfMineral(2), "");
    EXPECT_EQ(list.nameOfMineral(8), "");
    EXPECT_EQ(list.findMineralByPrefix("Ba"), 9u);  // the name stays in the list
  }
  EXPECT_TRUE(MineralNameList::fromStored(Bytes{}).empty());
  EXPECT_TRUE(MineralNameList::fromStored(Bytes{0x7F}).empty());
}

TEST(NameList, UnsortedFileWithAPartialRecordKeepsTheWholeOnes) {
  Bytes na;
  addUnsortedRecord(na, "Quarz", false);
  addUnsortedRecord(na, "Albit", true);
  na.insert(na.end(), {0x00, 'Z', 'i', 'n'});  // 4 bytes of a third record
  const MineralNameList list = MineralNameList::fromUnsorted(na);
  EXPECT_EQ(namesInOrder(list), (std::vector<std::string>{"Albit", "Quarz"}));
  EXPECT_EQ(list.nameOfMineral(2), "");
  EXPECT_TRUE(MineralNameList::fromUnsorted(Bytes(40, 'x')).empty());
}

TEST(NameList, NumberTableExistsUpToTheDatabaseLimit) {
  Bytes fl;
  for (std::uint32_t id = 1; id <= kMaxNameListEntries; ++id) {
    addStoredRecord(fl, "M" + std::to_string(id), static_cast<std::uint16_t>(id), false);
  }
  const MineralNameList full = MineralNameList::fromStored(fl);
  ASSERT_EQ(full.size(), 16535u);
  EXPECT_EQ(full.nameOfMineral(16534), "M16535");
  EXPECT_EQ(full.nameOfMineral(0), "M1");

  addStoredRecord(fl, "M16536", 16536, false);
  const MineralNameList tooMany = MineralNameList::fromStored(fl);
  ASSERT_EQ(tooMany.size(), 16536u);
  EXPECT_EQ(tooMany.nameOfMineral(0), "");  // no number table beyond the limit
  EXPECT_EQ(tooMany.findMineralByPrefix("M16536"), 16536u);  // the list itself is whole
}

TEST(NameList, BuiltFromTheMineralDatabaseLikeFromItsNameFile) {
  MineralFileWriter writer;
  const auto add = [&](const std::string& name, std::uint8_t flags) {
    MineralRecord record;
    record.setFlags(flags);
    record.setName(name);
    ASSERT_TRUE(writer.add(record).has_value());
  };
  add("Quarz", kMineralImaRecognised);
  add("Bergkristall", 0);  // an alias
  add(cp("Äschynit"), kMineralNotImaRecognised);
  add("Aegirin", kMineralDiscredited);
  const auto database = MineralDatabase::fromBytes(writer.indexFile(), writer.recordFile());
  ASSERT_TRUE(database.has_value());

  const MineralNameList list = buildMineralNameList(*database);
  EXPECT_EQ(namesInOrder(list),
            (std::vector<std::string>{"Aegirin", cp("Äschynit"), "Bergkristall", "Quarz"}));
  EXPECT_EQ(idsInOrder(list), (std::vector<std::uint32_t>{4, 3, 2, 1}));
  EXPECT_FALSE(list.node(0).alias);
  EXPECT_TRUE(list.node(2).alias);
  EXPECT_EQ(list.nameOfMineral(1), "Bergkristall");

  // The same entries as "kalvor.na" give the same list and the same "kalvor.fl".
  Bytes na;
  addUnsortedRecord(na, "Quarz", false);
  addUnsortedRecord(na, "Bergkristall", true);
  addUnsortedRecord(na, cp("Äschynit"), false);
  addUnsortedRecord(na, "Aegirin", false);
  EXPECT_EQ(MineralNameList::fromUnsorted(na).storedBytes(), list.storedBytes());
}

}  // namespace
}  // namespace kalvor
