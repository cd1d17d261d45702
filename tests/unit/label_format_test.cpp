// Label formats: the built-in table, the "Format%d"/"Font%d" entries of
// "kalvor.ini" and their reading with and without conversion.
#include <gtest/gtest.h>

#include "labels/label_format.h"
#include "platform/settings.h"
#include "test_files.h"

namespace kalvor {
namespace {

using testing::cp;
using testing::ScratchDir;

TEST(LabelFormat, BuiltInTableIsInPrintingForm) {
  const auto& f = builtInLabelFormats();
  EXPECT_EQ(f[0].name, cp("Micromount-Döschen, 24x24 mm"));
  EXPECT_EQ(f[3].name, "Handstufe, 50x50 mm");
  EXPECT_DOUBLE_EQ(f[3].width, 5.0 * kInchesPerCentimetre);
  EXPECT_NEAR(f[3].width, 1.9685, 1e-4);
  EXPECT_EQ(f[3].fontSize, -10);
  EXPECT_EQ(f[3].indexFontSize, -7);
  EXPECT_TRUE(f[3].formula());
  EXPECT_FALSE(f[3].bothHalves());
  // The standing card printed on both halves has the stand as high as the face.
  EXPECT_EQ(f[9].name, "Aufsteller, 50x80 mm");
  EXPECT_TRUE(f[9].bothHalves());
  EXPECT_DOUBLE_EQ(f[9].standHeight, f[9].height);
  EXPECT_NEAR(f[4].standHeight, 2.0 * kInchesPerCentimetre, 1e-12);
  EXPECT_NEAR(f[8].frameDistance, 0.15 * kInchesPerCentimetre, 1e-12);
  EXPECT_NEAR(f[8].frameWidth, 0.08 * kInchesPerCentimetre, 1e-12);
  for (const LabelFormat& format : f) {
    EXPECT_FALSE(format.font);
    EXPECT_FALSE(format.qrCode());
  }
}

TEST(LabelFormat, EntryHasTheStoredTextForm) {
  LabelFormat f;
  f.name = "Mein, Form";
  f.width = 5;
  f.height = 3.5;
  f.frameDistance = 0.15;
  f.frameWidth = 0.08;
  f.fontSize = 10;
  f.indexFontSize = 7;
  f.flags = kLabelFormula;
  EXPECT_EQ(labelFormatEntry(f), "10:Mein, Form  5.00, 3.50, 0.00, 0.15, 0.08,10,7,2,");
}

TEST(LabelFormat, NameWithCommasAndBlanksSurvivesSaveAndLoad) {
  ScratchDir dir;
  std::unique_ptr<Settings> ini = openIniSettings(dir.file("kalvor.ini"));
  LabelFormat f;
  f.name = cp("Kästchen, groß , 3,5 cm");
  f.width = 3.6;
  f.height = 3.1;
  f.standHeight = 0;
  f.fontSize = 8;
  f.indexFontSize = 6;
  f.flags = kLabelFormula | kLabelQrCode;
  FontDescription font;
  font.face = "Arial";
  font.height = -13;
  font.weight = 700;
  font.italic = true;
  f.font = font;
  ASSERT_TRUE(saveLabelFormat(*ini, f, 1));
  std::unique_ptr<Settings> again = openIniSettings(dir.file("kalvor.ini"));
  const std::vector<LabelFormat> loaded = loadLabelFormats(*again, false);
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].name, f.name);
  EXPECT_DOUBLE_EQ(loaded[0].width, 3.6);
  EXPECT_DOUBLE_EQ(loaded[0].height, 3.1);
  EXPECT_EQ(loaded[0].fontSize, 8);
  EXPECT_EQ(loaded[0].indexFontSize, 6);
  EXPECT_EQ(loaded[0].flags, kLabelFormula | kLabelQrCode);
  ASSERT_TRUE(loaded[0].font);
  EXPECT_EQ(loaded[0].font->face, "Arial");
  EXPECT_EQ(loaded[0].font->weight, 700);
  EXPECT_TRUE(loaded[0].font->italic);

  // With conversion: inches and negated sizes, the font kept.
  const std::vector<LabelFormat> printing = loadLabelFormats(*again, true);
  ASSERT_EQ(printing.size(), 1u);
  EXPECT_DOUBLE_EQ(printing[0].width, 3.6 * kInchesPerCentimetre);
  EXPECT_EQ(printing[0].fontSize, -8);
  EXPECT_EQ(printing[0].indexFontSize, -6);
  EXPECT_TRUE(printing[0].font);

  // Overwritten without a font, the old font key goes.
  f.font.reset();
  ASSERT_TRUE(saveLabelFormat(*again, f, 1));
  EXPECT_FALSE(loadLabelFormats(*openIniSettings(dir.file("kalvor.ini")), false)[0].font);
}

TEST(LabelFormat, KeysOneAndThreeWithoutTwoGiveOneFormat) {
  ScratchDir dir;
  std::unique_ptr<Settings> ini = openIniSettings(dir.file("kalvor.ini"));
  ASSERT_TRUE(
      ini->writeString("Etikettenformate", "Format1", "4:Eins  5.00, 5.00, 0.00, 0.00, 0.00,10,7,2,"));
  ASSERT_TRUE(
      ini->writeString("Etikettenformate", "Format3", "4:Drei  5.00, 5.00, 0.00, 0.00, 0.00,10,7,2,"));
  const std::vector<LabelFormat> loaded = loadLabelFormats(*ini, false);
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].name, "Eins");
  // A fourth format is saved as number 2 by the dialog; it then reads three.
  LabelFormat f = loaded[0];
  f.name = "Zwei";
  ASSERT_TRUE(saveLabelFormat(*ini, f, 2));
  const std::vector<LabelFormat> three = loadLabelFormats(*ini, false);
  ASSERT_EQ(three.size(), 3u);
  EXPECT_EQ(three[2].name, "Drei");
}

TEST(LabelFormat, StoredNameLengthIsClampedToWhatIsThere) {
  // A length beyond the value takes what is there and finds no numbers.
  std::optional<LabelFormat> f = parseLabelFormatEntry("45:Kurz  5.00");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->name, "Kurz  5.00");
  EXPECT_EQ(f->width, 0);
  // A negative length gives an empty name and nothing else.
  f = parseLabelFormatEntry("-3:Name  5.00, 5.00, 0.00, 0.00, 0.00,10,7,2,");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->name, "");
  EXPECT_EQ(f->width, 0);
  EXPECT_EQ(f->fontSize, 0);
  // 40 characters are cut to 39, and the numbers behind them still read.
  const std::string forty(40, 'x');
  f = parseLabelFormatEntry("40:" + forty + "  2.40, 2.40, 0.00, 0.00, 0.00,6,5,2,");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->name, std::string(39, 'x'));
  EXPECT_DOUBLE_EQ(f->width, 2.4);
  EXPECT_EQ(f->indexFontSize, 5);
  EXPECT_EQ(f->flags, 2);
  // No length at all is no entry.
  EXPECT_FALSE(parseLabelFormatEntry("Name 5.00"));
  // Saving never writes more than 39 characters.
  LabelFormat longName;
  longName.name = forty;
  EXPECT_EQ(labelFormatEntry(longName).substr(0, 3), "39:");
}

TEST(LabelFormat, HugeLengthsAreWrittenWhole) {
  // A damaged entry may hold a length of hundreds of digits; writing it back
  // must keep the sizes and flags that follow.
  const std::string digits(250, '4');
  const std::optional<LabelFormat> f = parseLabelFormatEntry("4:Name 3,10,7,3," + digits + ",10,7,3,");
  ASSERT_TRUE(f);
  EXPECT_GT(f->frameWidth, 1e200);
  EXPECT_EQ(f->fontSize, 10);
  const std::string entry = labelFormatEntry(*f);
  EXPECT_GT(entry.size(), 250u);
  const std::optional<LabelFormat> again = parseLabelFormatEntry(entry);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->fontSize, 10);
  EXPECT_EQ(again->indexFontSize, 7);
  EXPECT_EQ(again->flags, 3);
}

TEST(LabelFormat, FormatIndexPicksBuiltInThenUserFormats) {
  LabelFormat user;
  user.name = "Eigen";
  const std::vector<LabelFormat> users{user};
  EXPECT_EQ(labelFormatAt(users, 0)->name, builtInLabelFormats()[0].name);
  EXPECT_EQ(labelFormatAt(users, 10)->name, "Eigen");
  EXPECT_FALSE(labelFormatAt(users, 11));
  EXPECT_FALSE(labelFormatAt(users, -1));
}

}  // namespace
}  // namespace kalvor
