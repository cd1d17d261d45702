// The text layout of glossary entries on the measuring canvas (standard
// metrics: text, Arial and italic 8 per character and 16 high, Greek 9 per
// character, average character width 7).
#include <gtest/gtest.h>

#include <string>

#include "determination/description_links.h"
#include "determination/laid_out_text.h"
#include "render/formula_drawing.h"
#include "render/measuring_canvas.h"

namespace kalvor {
namespace {

std::vector<std::string> lineTexts(std::string_view text, const TextLayout& layout) {
  std::vector<std::string> out;
  for (const TextLine& line : layout.lines) out.emplace_back(text.substr(line.start, line.length));
  return out;
}

using Lines = std::vector<std::string>;

TEST(LaidOutText, BreaksAtBlanksAndForcedBreaks) {
  MeasuringCanvas canvas;
  // A forced break whose line fits ends the line there.
  const std::string fits = "aaa bbb~ccc";
  EXPECT_EQ(lineTexts(fits, layOutText(canvas, fits, 100)), (Lines{"aaa bbb", "ccc"}));
  // One whose line is too wide breaks at the last blank instead; the forced
  // break then still ends the next line.
  const std::string tooWide = "aaaa bbbb~cc";
  EXPECT_EQ(lineTexts(tooWide, layOutText(canvas, tooWide, 60)), (Lines{"aaaa", "bbbb", "cc"}));
  // Runs of separators are skipped after a break; a word wider than the
  // width stands on its own line.
  const std::string runs = "  aaaaaaaaaa ~~ b  ";
  EXPECT_EQ(lineTexts(runs, layOutText(canvas, runs, 40)), (Lines{"aaaaaaaaaa", "b  "}));
  // A remainder wider than the width at the end is broken at its last blank.
  const std::string tail = "aaaa bbbb cccc";
  EXPECT_EQ(lineTexts(tail, layOutText(canvas, tail, 80)), (Lines{"aaaa bbbb", "cccc"}));
  const TextLayout heights = layOutText(canvas, tail, 80);
  EXPECT_EQ(heights.lines[0].height, 16);
  EXPECT_EQ(heights.height(), 32);
}

TEST(LaidOutText, MarkupIsNeverABreakPoint) {
  MeasuringCanvas canvas;
  // The blank inside the cross reference does not break it even when the
  // run is wider than the width; the arrow (9) counts to its width.
  const std::string link = "#ab cd# ef";
  EXPECT_EQ(lineTexts(link, layOutText(canvas, link, 30)), (Lines{"#ab cd#", "ef"}));
  // 9 + 40 = 49 fits into 50 with nothing after it.
  EXPECT_EQ(lineTexts(link, layOutText(canvas, link, 50)), (Lines{"#ab cd#", "ef"}));
  EXPECT_EQ(lineTexts(link, layOutText(canvas, link, 73)), (Lines{"#ab cd# ef"}));
  // An emphasis adds a quarter character (7 / 4 = 1) after it: "@abc@ d"
  // is 24 + 1 + 8 + 8 = 41 wide.
  const std::string emphasis = "@abc@ d";
  EXPECT_EQ(lineTexts(emphasis, layOutText(canvas, emphasis, 41)), (Lines{"@abc@ d"}));
  EXPECT_EQ(lineTexts(emphasis, layOutText(canvas, emphasis, 40)), (Lines{"@abc@", "d"}));
  // Blanks and "~" inside a formula are no break points either.
  const std::string formula = "x $Fe ~S_2$ y";
  EXPECT_EQ(lineTexts(formula, layOutText(canvas, formula, 30)), (Lines{"x", "$Fe ~S_2$", "y"}));
}

TEST(LaidOutText, FormulaRaisesThePreviousLine) {
  MeasuringCanvas canvas;
  const FormulaExtent raised = drawFormula(canvas, 0, 0, "SiO^2", FormulaFonts{}, true);
  ASSERT_GT(raised.extraAbove, 0);
  const std::string text = "aa~$SiO^2$~bb";
  const TextLayout layout = layOutText(canvas, text, 200);
  ASSERT_EQ(lineTexts(text, layout), (Lines{"aa", "$SiO^2$", "bb"}));
  EXPECT_EQ(layout.lines[0].height, 16 + raised.extraAbove);
  EXPECT_EQ(layout.lines[1].height, raised.lineHeight);
  EXPECT_EQ(layout.lines[2].height, 16);
}

TEST(LaidOutText, FitCheckStopsOnceTheLinesAreTallerThanTheRectangle) {
  MeasuringCanvas canvas;
  const std::string text = "a~b~c~d~e~f";
  const TextLayout all = layOutText(canvas, text, 100);
  EXPECT_TRUE(all.fits);
  EXPECT_EQ(all.lines.size(), 6u);
  const TextLayout checked = layOutText(canvas, text, 100, 40);
  EXPECT_FALSE(checked.fits);
  EXPECT_EQ(checked.lines.size(), 3u);  // 48 > 40 after the third line
  EXPECT_TRUE(layOutText(canvas, text, 100, 96).fits);
  EXPECT_FALSE(layOutText(canvas, text, 100, 95).fits);
}

TEST(LaidOutText, DrawsFromTheFirstLineAndYieldsLinkAreas) {
  MeasuringCanvas canvas;
  const std::string text = "x #ab# @cd@ y~zweite~dritte";
  const TextLayout layout = layOutText(canvas, text, 500);
  ASSERT_EQ(layout.lines.size(), 3u);
  const std::vector<TextLinkArea> links = drawLaidOutText(canvas, text, layout, 0, 10, 100, 1000, 12);
  ASSERT_EQ(links.size(), 2u);
  // The cross reference's area starts at its arrow: "x " is 16 wide.
  EXPECT_EQ(links[0].left, 26);
  EXPECT_EQ(links[0].right, 26 + 9 + 16);
  EXPECT_EQ(links[0].top, 112 - 13);
  EXPECT_EQ(links[0].bottom, 112 + 3);
  EXPECT_EQ(std::string(links[0].key.data(), 2), "ab");
  EXPECT_EQ(links[0].key[2], '\0');
  EXPECT_EQ(links[0].level, '#');
  EXPECT_EQ(links[1].left, 51 + 8);
  EXPECT_EQ(links[1].right, 59 + 16);
  EXPECT_EQ(links[1].level, '@');
  // The arrow is 0xAE in the Greek (Symbol) slot, the term in Arial.
  bool arrow = false, term = false;
  for (const DrawnText& t : canvas.texts()) {
    if (t.text == "\xAE" && t.font == FontSlot::kGreek && t.x == 26) arrow = true;
    if (t.text == "ab" && t.font == FontSlot::kSecondary && t.x == 35) term = true;
  }
  EXPECT_TRUE(arrow);
  EXPECT_TRUE(term);

  // From line 1 on, into a rectangle that ends after one line: only "zweite".
  MeasuringCanvas second;
  drawLaidOutText(second, text, layout, 1, 0, 0, 16, 12);
  ASSERT_EQ(second.texts().size(), 1u);
  EXPECT_EQ(second.texts()[0].text, "zweite");
  EXPECT_EQ(second.texts()[0].baseline, 12);
}

TEST(LaidOutText, ScrollingStopsAtTheLastFullPage) {
  MeasuringCanvas canvas;
  const std::string text = "1~2~3~4~5~6~7~8~9~10";
  const TextLayout layout = layOutText(canvas, text, 100);
  ASSERT_EQ(layout.lines.size(), 10u);
  // 50 pixels hold three lines: the last page starts at line 7.
  const int last = lastScrollLine(layout, 50);
  EXPECT_EQ(last, 7);
  EXPECT_EQ(clampScrollLine(5 + 5, last), 7);
  EXPECT_EQ(clampScrollLine(2 - 5, last), 0);
  EXPECT_EQ(lastScrollLine(layout, 1000), 0);
  // A window lower than one line still reaches the last line.
  EXPECT_EQ(lastScrollLine(layout, 5), 9);
}

TEST(LaidOutText, GlossaryHeadingSplit) {
  const std::string entry = "#Quarz#~Ein Mineral.";
  const GlossaryPage page = splitGlossaryEntry(entry);
  ASSERT_TRUE(page.heading);
  EXPECT_EQ(*page.heading, "Quarz");
  EXPECT_EQ(entry.substr(page.textStart), "Ein Mineral.");
  const std::string comma = "#Achat,# Abart";
  EXPECT_EQ(*splitGlossaryEntry(comma).heading, "Achat,");
  const std::string kept = "#Achat#, Abart";
  const GlossaryPage keptPage = splitGlossaryEntry(kept);
  EXPECT_EQ(*keptPage.heading, "Achat,");
  EXPECT_EQ(kept.substr(keptPage.textStart), "Abart");
  // An entry that ends with its heading has no text, and no read past its end.
  EXPECT_EQ(splitGlossaryEntry("#Term#").textStart, 6u);
  EXPECT_EQ(splitGlossaryEntry("#Term#,").textStart, 7u);
  EXPECT_FALSE(splitGlossaryEntry("#ohne Ende").heading);
  EXPECT_FALSE(splitGlossaryEntry("Text").heading);
  EXPECT_EQ(splitGlossaryEntry("Text").textStart, 0u);
}

TEST(DescriptionLinks, LevelsOpenOneDeeperAndClearTheRest) {
  std::vector<DescriptionLink> links = {{0, 0, 10, 10, 1, 0},
                                        {20, 0, 30, 10, 2, 1},
                                        {40, 0, 50, 10, 3, 2},
                                        {60, 0, 70, 10, 4, 1},
                                        {80, 0, 90, 10, 5, 7}};
  LinkLevels levels;
  EXPECT_EQ(levels.openableAt(links, 5, 5), 0u);
  EXPECT_FALSE(levels.openableAt(links, 15, 5));
  EXPECT_FALSE(levels.openableAt(links, 85, 5));  // level 7 is outside 0-4
  EXPECT_TRUE(levels.open(0, 0));
  EXPECT_FALSE(levels.openableAt(links, 5, 5));  // open already: no hand, nothing to do
  EXPECT_FALSE(levels.open(0, 0));
  EXPECT_TRUE(levels.open(1, 1));
  EXPECT_TRUE(levels.open(2, 2));
  EXPECT_EQ(levels.opened(links), (std::vector<std::size_t>{0, 1, 2}));
  // Another link of level 1 replaces the open one and closes level 2.
  EXPECT_TRUE(levels.open(3, 1));
  EXPECT_EQ(levels.openAt(1), 4);
  EXPECT_EQ(levels.openAt(2), 0);
  EXPECT_EQ(levels.opened(links), (std::vector<std::size_t>{0, 3}));
  EXPECT_FALSE(levels.open(4, 7));
  levels.clear();
  EXPECT_TRUE(levels.opened(links).empty());
}

}  // namespace
}  // namespace kalvor
