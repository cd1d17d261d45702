// The shipped systematics titles (data/systematics.tsv) laid out as "kalvor.sy"
// and read through the core's own loader: every class and the subclasses the
// minerals use must come out as complete German texts, and a group title must
// extend the subclass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "base/cp1252.h"
#include "base/file_io.h"
#include "refdb/systematics.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

// The shipped titles in the form of "kalvor.sy" (Windows-1252, CR LF): the
// Lapis/Strunz lines in table order, an empty line, the Hey lines. Nothing when
// the test runs outside the source tree.
std::optional<std::string> shippedContent() {
  const char* src = std::getenv("KALVOR_SOURCE_DIR");
  if (src == nullptr) return std::nullopt;
  const auto bytes = readWholeFile(std::string(src) + "/data/systematics.tsv");
  if (!bytes) return std::nullopt;
  const auto table = utf8ToCp1252(std::string(bytes->begin(), bytes->end()));
  if (!table) return std::nullopt;
  std::istringstream in(*table);
  std::string line, strunz, hey;
  std::getline(in, line);  // header: section, key, title
  while (std::getline(in, line)) {
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string rest = line.substr(tab + 1) + "\r\n";
    (line.compare(0, tab, "hey") == 0 ? hey : strunz) += rest;
  }
  return strunz + "\r\n" + hey;
}

std::optional<Systematics> shippedSystematics() {
  const auto content = shippedContent();
  if (!content) return std::nullopt;
  return Systematics::fromContent(*content);
}

StrunzNumber strunz(std::uint8_t cls, char letter, std::uint8_t number) {
  StrunzNumber n;
  n.classNumber = cls;
  n.letter = static_cast<std::uint8_t>(letter);
  n.number = number;
  return n;
}

TEST(ShippedSystematics, EveryClassHasItsTitleLineFirst) {
  const auto sy = shippedSystematics();
  if (!sy) GTEST_SKIP() << "KALVOR_SOURCE_DIR not set or data/systematics.txt missing";
  const auto& table = sy->strunzTable();
  ASSERT_EQ(table.classIndex.size(), 9u);
  for (std::uint8_t cls = 1; cls <= 9; ++cls) {
    const auto index = table.classIndex[cls - 1];
    ASSERT_NE(index, StrunzTable::kNoEntry) << int(cls);
    const auto& first = table.entries[index].number;
    EXPECT_EQ(first.classNumber, cls);
    EXPECT_EQ(first.letter, 0) << "class " << int(cls) << " starts with a subclass line";
  }
  // No line was lost to a key the loader could not parse: as many entries as the
  // file has lines before the empty one.
  const auto content = shippedContent();
  ASSERT_TRUE(content.has_value());
  const auto sectionEnd = content->find("\r\n\r\n");
  ASSERT_NE(sectionEnd, std::string::npos);
  const auto lines = static_cast<std::size_t>(
      std::count(content->begin(), content->begin() + sectionEnd + 2, '\n'));
  EXPECT_EQ(table.entries.size(), lines);
}

TEST(ShippedSystematics, GroupTitleExtendsTheSubclassTitle) {
  const auto sy = shippedSystematics();
  if (!sy) GTEST_SKIP() << "KALVOR_SOURCE_DIR not set or data/systematics.txt missing";
  // Galenit, II/C.15: class, subclass and the group in parentheses behind it.
  EXPECT_EQ(sy->strunzText(strunz(2, 'C', 15)),
            cp("Lapis/Strunz-II/C.15: Sulfide und Sulfosalze; Sulfide mit dem Verhältnis "
               "Metall : Schwefel = 1 : 1 (Galenit-Gruppe)"));
  // Quarz, IV/D.1.
  EXPECT_EQ(sy->strunzText(strunz(4, 'D', 1)),
            cp("Lapis/Strunz-IV/D.1: Oxide und Hydroxide; Oxide mit dem Verhältnis "
               "Metall : Sauerstoff = 1 : 2 (Quarz-Gruppe)"));
  // A group without a title line keeps the subclass title alone.
  EXPECT_EQ(sy->strunzText(strunz(8, 'J', 99)),
            cp("Lapis/Strunz-VIII/J.99: Silikate; Gerüstsilikate (Tektosilikate)"));
  // A class-only number.
  EXPECT_EQ(sy->strunzText(strunz(1, 0, 0)), cp("Lapis/Strunz-I/: Elemente"));
}

TEST(ShippedSystematics, HeySectionFollowsTheEmptyLine) {
  const auto sy = shippedSystematics();
  if (!sy) GTEST_SKIP() << "KALVOR_SOURCE_DIR not set or data/systematics.txt missing";
  ASSERT_FALSE(sy->heyTable().empty());
  HeyNumber silicate{14, 3, 0};
  const auto text = sy->heyText(silicate);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, cp("Heys-14.3: Silikate ohne Aluminium"));
}

}  // namespace
}  // namespace kalvor
