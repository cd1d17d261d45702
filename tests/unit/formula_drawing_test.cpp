// Formula drawing on the measuring canvas (standard metrics: text font 8 per
// character and 16 high, small font 6 per character, Greek font 9; superscripts
// 6 up, subscripts 4 down, 3 extra above and below) and on the text canvas.
#include <gtest/gtest.h>

#include "render/formula_drawing.h"
#include "render/measuring_canvas.h"
#include "render/text_canvas.h"

namespace kalvor {
namespace {

struct Expected {
  int x;
  int baseline;
  FontSlot font;
  const char* text;
};

void expectDrawn(const MeasuringCanvas& c, std::initializer_list<Expected> expected) {
  ASSERT_EQ(c.texts().size(), expected.size());
  std::size_t i = 0;
  for (const Expected& e : expected) {
    const DrawnText& t = c.texts()[i++];
    EXPECT_EQ(t.x, e.x) << e.text;
    EXPECT_EQ(t.baseline, e.baseline) << e.text;
    EXPECT_EQ(t.font, e.font) << e.text;
    EXPECT_EQ(t.text, e.text);
  }
}

TEST(FormulaDrawing, SubscriptsAdvanceByTheSmallFont) {
  MeasuringCanvas c;
  const FormulaExtent e = drawFormula(c, 10, 50, "Cu_2CO_3(OH)_2", FormulaFonts{}, false);
  // Cu 2x8, 2 at 6, CO 16, 3 at 6, (OH) 32, 2 at 6: 10 + 82.
  EXPECT_EQ(e.endX, 92);
  EXPECT_EQ(e.lineHeight, 16 + 3);  // "Ag" plus the room below subscripts
  EXPECT_EQ(e.extraAbove, 0);
  expectDrawn(c, {{10, 50, FontSlot::kText, "Cu"},
                  {26, 54, FontSlot::kSmall, "2"},
                  {32, 50, FontSlot::kText, "CO"},
                  {48, 54, FontSlot::kSmall, "3"},
                  {54, 50, FontSlot::kText, "(OH)"},
                  {86, 54, FontSlot::kSmall, "2"}});
}

TEST(FormulaDrawing, StackedScriptsShareTheirColumnAndTakeTheWiderWidth) {
  MeasuringCanvas c;
  FormulaExtent e = drawFormula(c, 0, 30, "SO_4^{2-}K", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 16 + 12 + 8);  // "2-" (12) is wider than "4" (6)
  EXPECT_EQ(e.extraAbove, 3);
  EXPECT_EQ(e.lineHeight, 19);
  expectDrawn(c, {{0, 30, FontSlot::kText, "SO"},
                  {16, 34, FontSlot::kSmall, "4"},
                  {16, 24, FontSlot::kSmall, "2-"},
                  {28, 30, FontSlot::kText, "K"}});

  // A superscript first with a subscript stacked under it.
  MeasuringCanvas d;
  e = drawFormula(d, 0, 30, "O^{2-}_{12}", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 8 + 12);
  expectDrawn(d, {{0, 30, FontSlot::kText, "O"},
                  {8, 24, FontSlot::kSmall, "2-"},
                  {8, 34, FontSlot::kSmall, "12"}});

  // A superscript alone needs no room below.
  MeasuringCanvas f;
  e = drawFormula(f, 0, 30, "Fe^{3+}", FormulaFonts{}, false);
  EXPECT_EQ(e.lineHeight, 16);
  EXPECT_EQ(e.extraAbove, 3);
}

TEST(FormulaDrawing, GreekNamesAreDrawnAsOneLetterInTheGreekFont) {
  MeasuringCanvas c;
  FormulaExtent e = drawFormula(c, 0, 20, "gammaFe^{3+}O", FormulaFonts{}, false);
  // g 9, Fe 16, "3+" 12, O 8.
  EXPECT_EQ(e.endX, 45);
  expectDrawn(c, {{0, 20, FontSlot::kGreek, "g"},
                  {9, 20, FontSlot::kText, "Fe"},
                  {25, 14, FontSlot::kSmall, "3+"},
                  {37, 20, FontSlot::kText, "O"}});

  // A name between two scripts, and two names in one plain run.
  MeasuringCanvas d;
  e = drawFormula(d, 0, 20, "Ca_2deltaMnbetaepsilon", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 16 + 6 + 9 + 16 + 9 + 9);
  expectDrawn(d, {{0, 20, FontSlot::kText, "Ca"},
                  {16, 24, FontSlot::kSmall, "2"},
                  {22, 20, FontSlot::kGreek, "d"},
                  {31, 20, FontSlot::kText, "Mn"},
                  {47, 20, FontSlot::kGreek, "b"},
                  {56, 20, FontSlot::kGreek, "e"}});
}

TEST(FormulaDrawing, UnterminatedMarkupNeverReadsPastTheText) {
  MeasuringCanvas c;
  // "{" without "}": an empty argument; the rest stays visible as plain text.
  FormulaExtent e = drawFormula(c, 0, 20, "Cu_{2O", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 32);
  expectDrawn(c, {{0, 20, FontSlot::kText, "Cu"}, {16, 20, FontSlot::kText, "2O"}});

  // Markup as the last character.
  MeasuringCanvas d;
  e = drawFormula(d, 0, 20, "Cu^", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 16);
  EXPECT_EQ(e.extraAbove, 3);
  e = drawFormula(d, 0, 20, "H_", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 8);
  e = drawFormula(d, 0, 20, "H_2^", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 14);
  e = drawFormula(d, 0, 20, "", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 0);
  EXPECT_EQ(e.lineHeight, 16);
  // A truncated Greek name is plain text.
  MeasuringCanvas f;
  e = drawFormula(f, 0, 20, "alph", FormulaFonts{}, false);
  EXPECT_EQ(e.endX, 32);
  expectDrawn(f, {{0, 20, FontSlot::kText, "alph"}});
}

TEST(FormulaDrawing, MeasuringDrawsNothingAndKeepsTheFont) {
  MeasuringCanvas c;
  c.selectFont(FontSlot::kHeading);
  const FormulaExtent measured = drawFormula(c, 5, 20, "Ca_5(PO_4)_3Cl^{x}", FormulaFonts{}, true);
  EXPECT_TRUE(c.texts().empty());
  EXPECT_EQ(c.currentFont(), FontSlot::kHeading);
  const FormulaExtent drawn = drawFormula(c, 5, 20, "Ca_5(PO_4)_3Cl^{x}", FormulaFonts{}, false);
  EXPECT_EQ(c.currentFont(), FontSlot::kHeading);
  EXPECT_EQ(measured.endX, drawn.endX);
  EXPECT_EQ(measured.extraAbove, 3);
  EXPECT_EQ(measured.lineHeight, drawn.lineHeight);
  // Ca 16, 5 6, (PO 24, 4 6, ) 8, 3 6, Cl 16, x 6.
  EXPECT_EQ(drawn.endX, 5 + 88);
}

TEST(TextCanvasFormula, ColumnsKeepTheirPlaceWhateverTheDrawingOrder) {
  TextCanvas c;
  c.drawText(6, 4, "Quarz");
  c.drawText(0, 4, "SiO");
  // Left of the page's first column the row begins earlier.
  c.drawText(-2, 8, "ab");
  c.drawText(3, 8, "c");
  // A short bar within the ascent over drawn characters is an overline;
  // one over a gap is a rule of its own.
  c.drawLine(0, 2, 1, 2);
  c.drawLine(1, 10, 4, 10);
  c.drawCheckMark(1, 12);
  EXPECT_EQ(c.renderLines(),
            (std::vector<std::string>{"S\u0305iO   Quarz", "ab   c", " ---", " \u2713"}));
}

TEST(TextCanvasFormula, ScriptsBecomeUnicodeOrMarkup) {
  auto text = [](const char* formula) {
    TextCanvas c;
    drawFormula(c, 0, 4, formula, FormulaFonts{}, false);
    return c.renderText();
  };
  EXPECT_EQ(text("Cu_2CO_3(OH)_2"), "Cu\u2082CO\u2083(OH)\u2082\n");
  EXPECT_EQ(text("Ca_5(PO_4)_3Cl"), "Ca\u2085(PO\u2084)\u2083Cl\n");
  EXPECT_EQ(text("SO_4^{2-}"), "SO\u2084\u00B2\u207B\n");
  EXPECT_EQ(text("gammaFe^{3+}O"), "\u03B3Fe\u00B3\u207AO\n");
  // No subscript "b" in Unicode: the whole run keeps its markup.
  EXPECT_EQ(text("X_{ab}Y"), "X_{ab}Y\n");
  EXPECT_EQ(text("Fe^{IV}"), "Fe^{IV}\n");
}

}  // namespace
}  // namespace kalvor
