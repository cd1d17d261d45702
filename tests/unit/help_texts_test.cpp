// Every control the bubble help can explain has its text, and no other has one.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "refdb/strings.h"

namespace {

std::set<int> idsWithHelp() {
  const std::pair<int, int> ranges[] = {{1050, 1061}, {1070, 1082}, {1084, 1089}, {1100, 1102}, {1104, 1115},
                                        {1118, 1119}, {1132, 1134}, {1138, 1138}, {1150, 1151}, {1154, 1154},
                                        {1170, 1177}, {1180, 1191}, {1193, 1193}, {1195, 1195}, {1200, 1213},
                                        {1260, 1269}, {1280, 1281}, {1290, 1293}, {2000, 2000}};
  std::set<int> ids;
  for (const auto& [first, last] : ranges) {
    for (int id = first; id <= last; ++id) ids.insert(id);
  }
  return ids;
}

}  // namespace

TEST(HelpTexts, ExactlyTheExplainedControlsHaveATextEndingInASentence) {
  const std::set<int> expected = idsWithHelp();
  // The 107 controls of the texts' table and the Fundstelle list of the determination (1119).
  ASSERT_EQ(expected.size(), 108u);
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
