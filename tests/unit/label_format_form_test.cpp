// The logic of the label definition dialog: size lists, the frame proposal,
// reading the fields and the checks at "&OK".
#include <gtest/gtest.h>

#include "labels/label_format_form.h"
#include "platform/settings.h"
#include "test_files.h"

namespace kalvor {
namespace {

constexpr PageGeometry kScreenPrinter{4800, 6600, 600, 600, 0, 0};

TEST(LabelFormatForm, SizeListPreselectsTheFirstSizeNotBelowTheStoredOne) {
  EXPECT_EQ(kLabelFontSizes[static_cast<std::size_t>(labelFontSizeIndex(10))], 10);
  EXPECT_EQ(kLabelFontSizes[static_cast<std::size_t>(labelFontSizeIndex(13))], 14);
  EXPECT_EQ(labelFontSizeIndex(1), 0);
  EXPECT_EQ(labelFontSizeIndex(28), 15);
  EXPECT_EQ(labelFontSizeIndex(29), 0);  // beyond the list: the first entry
}

TEST(LabelFormatForm, FrameIsProposedWhenTickedAndSavedAsZeroWhenNot) {
  LabelFormatFields f = newLabelFormatFields();
  EXPECT_EQ(f.frameWidth, "0.08");
  EXPECT_EQ(f.frameDistance, "0.15");
  f.name = "Rahmen";
  f.width = "5";
  f.height = "4";
  f.frameWidth = "0.2";
  // Unticked, the frame is saved as 0.00 whatever the fields hold.
  setLabelFrame(f, false);
  EXPECT_EQ(labelFormatEntry(readLabelFormatFields(f)), "6:Rahmen  5.00, 4.00, 0.00, 0.00, 0.00,10,7,0,");
  // Ticking keeps a width typed before and fills a zero distance.
  f.frameDistance = "0.001";
  setLabelFrame(f, true);
  EXPECT_EQ(f.frameWidth, "0.2");
  EXPECT_EQ(f.frameDistance, "0.15");
  f.frameWidth = "";
  setLabelFrame(f, true);
  EXPECT_EQ(f.frameWidth, "0.08");
  EXPECT_EQ(labelFormatEntry(readLabelFormatFields(f)), "6:Rahmen  5.00, 4.00, 0.00, 0.15, 0.08,10,7,0,");
}

TEST(LabelFormatForm, StandingCardTakesTheHeightAsStandHeight) {
  LabelFormatFields f = newLabelFormatFields();
  f.name = "Aufsteller";
  f.width = "5,0";  // a German decimal comma
  f.height = "4";
  f.standHeight = "1.5";
  f.standing = true;
  f.formula = true;
  f.qrCode = true;
  f.fontSizeIndex.reset();  // nothing selected: 10 and 7
  f.indexSizeIndex.reset();
  const LabelFormat format = readLabelFormatFields(f);
  EXPECT_DOUBLE_EQ(format.width, 5.0);
  EXPECT_DOUBLE_EQ(format.standHeight, 4.0);
  EXPECT_EQ(format.fontSize, 10);
  EXPECT_EQ(format.indexFontSize, 7);
  EXPECT_EQ(format.flags, kLabelBothHalves | kLabelFormula | kLabelQrCode);
  f.standing = false;
  EXPECT_DOUBLE_EQ(readLabelFormatFields(f).standHeight, 1.5);
  // Shown again, the format gives the same fields back.
  const LabelFormatFields shown = labelFormatFields(format);
  EXPECT_EQ(shown.width, "5.00");
  EXPECT_TRUE(shown.standing);
  EXPECT_TRUE(shown.qrCode);
  EXPECT_EQ(readLabelFormatFields(shown), format);
}

TEST(LabelFormatForm, OkNeedsANameAndSizesThatFitThePage) {
  LabelFormatFields f = newLabelFormatFields();
  f.width = "5";
  f.height = "5";
  LabelFormatFormCheck check = checkLabelFormatFields(f, kScreenPrinter);
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.stringId, 111u);
  EXPECT_EQ(check.captionId, 112u);
  f.name = "Gut";
  EXPECT_TRUE(checkLabelFormatFields(f, kScreenPrinter).ok);
  f.width = "0";
  check = checkLabelFormatFields(f, kScreenPrinter);
  EXPECT_FALSE(check.ok);
  EXPECT_EQ(check.problem, LabelFormatProblem::kWidth);
  f.width = "abc";
  EXPECT_EQ(checkLabelFormatFields(f, kScreenPrinter).problem, LabelFormatProblem::kWidth);
  f.width = "5";
  f.height = "0,2";  // 0.079 inch
  EXPECT_EQ(checkLabelFormatFields(f, kScreenPrinter).problem, LabelFormatProblem::kHeight);
  f.height = "30";  // taller than the page
  EXPECT_EQ(checkLabelFormatFields(f, kScreenPrinter).problem, LabelFormatProblem::kHeight);
}

TEST(LabelFormatForm, ANewFormatAfterThreeIsSavedAsNumberFour) {
  testing::ScratchDir dir;
  std::unique_ptr<Settings> ini = openIniSettings(dir.file("kalvor.ini"));
  LabelFormatFields f = newLabelFormatFields();
  f.width = "5";
  f.height = "5";
  for (const char* name : {"Eins", "Zwei", "Drei"}) {
    f.name = name;
    const int count = static_cast<int>(loadLabelFormats(*ini, false).size());
    ASSERT_TRUE(saveLabelFormat(*ini, readLabelFormatFields(f), labelFormatNumber(std::nullopt, count)));
  }
  f.name = "Vier";
  EXPECT_EQ(labelFormatNumber(std::nullopt, 3), 4);
  ASSERT_TRUE(saveLabelFormat(*ini, readLabelFormatFields(f), labelFormatNumber(std::nullopt, 3)));
  EXPECT_EQ(ini->getString("Etikettenformate", "Format4", "").substr(0, 7), "4:Vier ");
  // Selecting the second and saving overwrites number 2.
  f.name = "Zwei neu";
  ASSERT_TRUE(saveLabelFormat(*ini, readLabelFormatFields(f), labelFormatNumber(1, 4)));
  const std::vector<LabelFormat> all = loadLabelFormats(*ini, false);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[1].name, "Zwei neu");
}

}  // namespace
}  // namespace kalvor
