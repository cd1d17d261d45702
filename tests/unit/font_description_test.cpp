#include "render/font_description.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kalvor {
namespace {

TEST(FontText, WritesTheStoredForm) {
  FontDescription bold{"Arial", -13, 0, 700, true, false, false, 34};
  EXPECT_EQ(fontDescriptionToText(bold), "Arial,-13,0,7,1,0,0,34");
  FontDescription plain{"Times New Roman", 20, 900, 400, false, true, true, 18};
  EXPECT_EQ(fontDescriptionToText(plain), "Times New Roman,20,900,4,0,1,1,18");
  plain.weight = 550;  // hundreds only
  EXPECT_EQ(fontDescriptionToText(plain), "Times New Roman,20,900,5,0,1,1,18");
  plain.face = std::string(40, 'x');  // no more than a LOGFONT holds
  EXPECT_EQ(fontDescriptionToText(plain), std::string(31, 'x') + ",20,900,5,0,1,1,18");
}

TEST(FontText, ReadsAndRoundTrips) {
  for (const FontDescription& f : {FontDescription{"Arial", -13, 0, 700, true, false, false, 34},
                                   FontDescription{"Courier New", 16, 2700, 400, false, true, true, 49},
                                   FontDescription{"Gr\xFCn", 0, 0, 100, false, false, false, 0}}) {
    const std::optional<FontDescription> back = textToFontDescription(fontDescriptionToText(f));
    ASSERT_TRUE(back.has_value()) << f.face;
    EXPECT_EQ(*back, f) << fontDescriptionToText(f);
  }
  // Weight 0 is the normal weight; others are hundreds.
  EXPECT_EQ(textToFontDescription("Arial,-13,0,0,0,0,0,0")->weight, 400);
  EXPECT_EQ(textToFontDescription("Arial,-13,0,9,0,0,0,0")->weight, 900);
  // A pitch and family of 255 or more is ignored.
  EXPECT_EQ(textToFontDescription("Arial,-13,0,4,0,0,0,255")->pitchAndFamily, 0);
  EXPECT_EQ(textToFontDescription("Arial,-13,0,4,0,0,0,254")->pitchAndFamily, 254);
  // Blanks before a number are read as by "%d".
  EXPECT_EQ(*textToFontDescription("Arial, -13, 0, 7, 1, 0, 0, 34"),
            (FontDescription{"Arial", -13, 0, 700, true, false, false, 34}));
}

TEST(FontText, MalformedTextsAreSafe) {
  EXPECT_FALSE(textToFontDescription("").has_value());
  EXPECT_FALSE(textToFontDescription(",-13,0,7,0,0,0,0").has_value());
  // Only a face: every number keeps its default.
  EXPECT_EQ(*textToFontDescription("Arial"), (FontDescription{"Arial", 0, 0, 400, false, false, false, 0}));
  EXPECT_EQ(*textToFontDescription("Arial,"), (FontDescription{"Arial", 0, 0, 400, false, false, false, 0}));
  // Reading stops at the first field that does not match.
  EXPECT_EQ(*textToFontDescription("Arial,-13,x,7,1,1,1,34"),
            (FontDescription{"Arial", -13, 0, 400, false, false, false, 0}));
  EXPECT_EQ(*textToFontDescription("Arial,-13 ,0,7"),
            (FontDescription{"Arial", -13, 0, 400, false, false, false, 0}));
  EXPECT_EQ(*textToFontDescription("Arial,-13;0;7"),
            (FontDescription{"Arial", -13, 0, 400, false, false, false, 0}));
  // A number beyond an int is no number.
  EXPECT_EQ(textToFontDescription("Arial,99999999999,5")->height, 0);
  EXPECT_EQ(textToFontDescription("Arial,-2147483648,5")->height, -2147483647 - 1);
  // Weights out of range stay within what a font can have.
  EXPECT_EQ(textToFontDescription("Arial,-13,0,12")->weight, 1000);
  EXPECT_EQ(textToFontDescription("Arial,-13,0,2147483647")->weight, 1000);
  EXPECT_EQ(textToFontDescription("Arial,-13,0,-3")->weight, 400);
  EXPECT_EQ(textToFontDescription("Arial,-13,0,4,0,0,0,-1")->pitchAndFamily, 0);
  EXPECT_EQ(textToFontDescription("Arial,-13,0,4,0,0,0,99999")->pitchAndFamily, 0);
  // An over-long face name is cut to what a LOGFONT holds.
  const std::optional<FontDescription> longFace = textToFontDescription(std::string(300, 'F') + ",-13");
  ASSERT_TRUE(longFace.has_value());
  EXPECT_EQ(longFace->face, std::string(31, 'F'));
  EXPECT_EQ(longFace->height, -13);
  EXPECT_EQ(textToFontDescription(std::string(300, 'F'))->face.size(), 31u);
}

}  // namespace
}  // namespace kalvor
