// Every control the bubble help can explain has its text, and no other has one.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "refdb/strings.h"

namespace {

std::set<int> idsWithHelp() {
  const std::pair<int, int> ranges[] = {{1050, 1061}, {1070, 1089}, {1100, 1102}, {1104, 1115}, {1118, 1119},
                                        {1132, 1134}, {1138, 1138}, {1150, 1151}, {1154, 1154}, {1170, 1177},
                                        {1180, 1191}, {1193, 1193}, {1195, 1195}, {1197, 1198}, {1200, 1213},
                                        {1260, 1270}, {1272, 1272}, {1280, 1281}, {1290, 1293}, {1350, 1355},
                                        {1357, 1357}, {1380, 1382}, {2000, 2000}};
  std::set<int> ids;
  for (const auto& [first, last] : ranges) {
    for (int id = first; id <= last; ++id) ids.insert(id);
  }
  return ids;
}

}  // namespace

TEST(HelpTexts, ExactlyTheExplainedControlsHaveATextEndingInASentence) {
  const std::set<int> expected = idsWithHelp();
  // The 107 controls of the texts' table, the Fundstelle list of the determination (1119), the
  // chosen locality of the specimen description (1083), the label dialogs' formula and
  // QR-code controls (1197, 1198, 1270, 1272), the specimen-label dialog (1350-1355, 1357) and the backups
  // dialog (1380-1382).
  ASSERT_EQ(expected.size(), 123u);
  for (int id = 990; id <= 2010; ++id) {
    const auto text = kalvor::controlHelpText(id);
    if (!expected.count(id)) {
      EXPECT_FALSE(text.has_value()) << id;
      continue;
    }
    ASSERT_TRUE(text.has_value()) << id;
    EXPECT_GE(text->size(), 20u) << id;
    EXPECT_LT(text->size(), 1024u) << id;  // the buffer the texts are copied into
    EXPECT_TRUE(text->back() == '.' || text->back() == ')') << id << ": " << *text;
    EXPECT_EQ(text->find("  "), std::string::npos) << id;
  }
}
