// Label sheets on the measuring canvas: geometry, placing row by row, page
// ends, a change of format in the middle of a row, the fonts, and the
// refusal of formats that cannot be placed.
#include <gtest/gtest.h>

#include <algorithm>

#include "labels/label_geometry.h"
#include "labels/label_sheet.h"
#include "render/measuring_canvas.h"

namespace kalvor {
namespace {

// The printer of the worked example: 4800 × 6600 pixels at 600 dpi.
constexpr PageGeometry kPrinter{4800, 6600, 600, 600, 0, 0};

LabelContent sample() {
  LabelContent c;
  c.mineral = "Quarz";
  c.locality = "Grube Clara, Oberwolfach";
  return c;
}

// The top left corners of the labels drawn: the first line of each label's cut marks.
std::vector<std::pair<int, int>> corners(const MeasuringCanvas& canvas, int perLabel) {
  std::vector<std::pair<int, int>> out;
  for (std::size_t i = 0; i < canvas.lines().size(); i += static_cast<std::size_t>(perLabel))
    out.emplace_back(canvas.lines()[i].x1, canvas.lines()[i].y1);
  return out;
}

TEST(LabelSheet, WorkedExampleHandSpecimenAt600Dpi) {
  const LabelFormat& f = builtInLabelFormats()[3];
  const std::optional<LabelGeometry> g = labelGeometry(f, kPrinter);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->w, 1181);
  EXPECT_EQ(g->h, 1181);
  EXPECT_EQ(g->H, 1181);
  EXPECT_EQ(g->perRow, 4);
  EXPECT_EQ(g->rows, 5);
  EXPECT_EQ(g->perPage, 20);

  MeasuringCanvas canvas;
  canvas.setGeometry(kPrinter);
  LabelSheet sheet(canvas);
  ASSERT_EQ(sheet.selectFormat(f), LabelFormatProblem::kNone);
  EXPECT_EQ(sheet.rest(), (LabelRest{4, 20}));
  EXPECT_EQ(sheet.printLabels(sample(), 3), 3);
  EXPECT_EQ(sheet.rest(), (LabelRest{1, 17}));
  // Three labels side by side in the first row; eight cut-mark lines each.
  EXPECT_EQ(corners(canvas, 8), (std::vector<std::pair<int, int>>{{0, 0}, {1181, 0}, {2362, 0}}));
  EXPECT_EQ(canvas.pagesBegun(), 1);
  EXPECT_EQ(canvas.pagesEnded(), 0);
  sheet.finish();
  EXPECT_EQ(canvas.pagesEnded(), 1);
}

TEST(LabelSheet, FiveCopiesFillARowAndStartTheNext) {
  MeasuringCanvas canvas;
  canvas.setGeometry(kPrinter);
  LabelSheet sheet(canvas);
  ASSERT_EQ(sheet.selectFormat(builtInLabelFormats()[3]), LabelFormatProblem::kNone);
  EXPECT_EQ(sheet.printLabels(sample(), 5), 5);
  EXPECT_EQ(corners(canvas, 8),
            (std::vector<std::pair<int, int>>{{0, 0}, {1181, 0}, {2362, 0}, {3543, 0}, {0, 1181}}));
  EXPECT_EQ(sheet.rowTop(), 1181);
  EXPECT_EQ(sheet.rest(), (LabelRest{3, 15}));
}

TEST(LabelSheet, AFullPageIsEndedAndTheNextLabelBeginsANewOne) {
  MeasuringCanvas canvas;
  canvas.setGeometry(PageGeometry{4800, 6600, 600, 600, 30, 40});
  LabelSheet sheet(canvas);
  ASSERT_EQ(sheet.selectFormat(builtInLabelFormats()[3]), LabelFormatProblem::kNone);
  EXPECT_EQ(sheet.printLabels(sample(), 20), 0);
  EXPECT_EQ(canvas.pagesEnded(), 1);
  EXPECT_EQ(canvas.pagesBegun(), 1);
  EXPECT_EQ(sheet.rowTop(), 40);
  // The last label of the page sat in the fifth row; the next begins page 2 at the offset.
  EXPECT_EQ(corners(canvas, 8)[19], (std::pair<int, int>{30 + 3 * 1181, 40 + 4 * 1181}));
  sheet.printLabels(sample(), 1);
  EXPECT_EQ(canvas.pagesBegun(), 2);
  EXPECT_EQ(corners(canvas, 8)[20], (std::pair<int, int>{30, 40}));
  EXPECT_EQ(canvas.lines().back().page, 2);
  sheet.finish();
  EXPECT_EQ(canvas.pagesEnded(), 2);
  sheet.finish();  // nothing more to end
  EXPECT_EQ(canvas.pagesEnded(), 2);
}

TEST(LabelSheet, FormatSwitchInTheMiddleOfARowClosesTheRow) {
  MeasuringCanvas canvas;
  canvas.setGeometry(kPrinter);
  LabelSheet sheet(canvas);
  const LabelFormat& small = builtInLabelFormats()[0];  // 24 mm: 566 pixels, 8 × 11
  const LabelFormat& large = builtInLabelFormats()[3];  // 50 mm: 1181 pixels, 4 × 5
  ASSERT_EQ(sheet.selectFormat(small), LabelFormatProblem::kNone);
  EXPECT_EQ(sheet.geometry()->perPage, 88);
  sheet.printLabels(sample(), 3);
  ASSERT_EQ(sheet.selectFormat(large), LabelFormatProblem::kNone);
  // The started row is closed; below it (6600 - 566) div 1181 = 5 rows fit,
  // so no place of the new page count is used.
  EXPECT_EQ(sheet.rowTop(), 566);
  EXPECT_EQ(sheet.placed(), 0);
  EXPECT_EQ(sheet.rest(), (LabelRest{4, 20}));
  canvas.clearRecord();
  sheet.printLabels(sample(), 1);
  EXPECT_EQ(corners(canvas, 8)[0], (std::pair<int, int>{0, 566}));

  // Ten full rows and three labels of the small format leave less than
  // one large label's height: the page ends and the next begins at the top.
  MeasuringCanvas second;
  second.setGeometry(kPrinter);
  LabelSheet full(second);
  ASSERT_EQ(full.selectFormat(small), LabelFormatProblem::kNone);
  full.printLabels(sample(), 83);
  EXPECT_EQ(full.rowTop(), 5660);
  ASSERT_EQ(full.selectFormat(large), LabelFormatProblem::kNone);
  EXPECT_EQ(second.pagesEnded(), 1);
  EXPECT_EQ(full.rowTop(), 0);
  EXPECT_EQ(full.rest(), (LabelRest{4, 20}));

  // Switching after two of five rows counts those rows as used.
  MeasuringCanvas third;
  third.setGeometry(kPrinter);
  LabelSheet part(third);
  ASSERT_EQ(part.selectFormat(large), LabelFormatProblem::kNone);
  part.printLabels(sample(), 9);  // two full rows and one label
  ASSERT_EQ(part.selectFormat(large), LabelFormatProblem::kNone);
  EXPECT_EQ(part.rowTop(), 3 * 1181);
  EXPECT_EQ(part.placed(), 20 - (6600 - 3 * 1181) / 1181 * 4);
  EXPECT_EQ(part.rest(), (LabelRest{4, 8}));
}

TEST(LabelSheet, UsedPlacesAreNeverNegative) {
  // 5905 = 5 × 1181: the rows by the exact size are 4, but 5 whole-pixel
  // rows fit below the top, which would count -4 places as used.
  MeasuringCanvas canvas;
  canvas.setGeometry(PageGeometry{4800, 5905, 600, 600, 0, 0});
  LabelSheet sheet(canvas);
  ASSERT_EQ(sheet.selectFormat(builtInLabelFormats()[3]), LabelFormatProblem::kNone);
  EXPECT_EQ(sheet.geometry()->perPage, 16);
  ASSERT_EQ(sheet.selectFormat(builtInLabelFormats()[3]), LabelFormatProblem::kNone);
  EXPECT_EQ(sheet.placed(), 0);
  EXPECT_EQ(sheet.rest(), (LabelRest{4, 16}));
}

TEST(LabelSheet, FormatsThatCannotBePlacedAreRefused) {
  LabelFormat f = builtInLabelFormats()[3];
  f.width = 0;
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kWidth);
  EXPECT_FALSE(labelGeometry(f, kPrinter));
  f.width = 0.099;
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kWidth);
  f.width = 8.01;  // 4806 pixels on a 4800-pixel page
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kWidth);
  f.width = 8.0;
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kNone);
  EXPECT_EQ(labelGeometry(f, kPrinter)->perRow, 1);
  f.height = 0;
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kHeight);
  f.height = 6;
  f.standHeight = 5.1;  // 11.1 inches with the stand
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kHeight);
  f.standHeight = -1;
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kStandHeight);
  f = builtInLabelFormats()[3];
  f.frameWidth = 1.0;  // frames meeting in the middle
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kFrame);
  f = builtInLabelFormats()[3];
  f.fontSize = 0;
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kFontSize);
  f.fontSize = -10;
  f.indexFontSize = -5000;
  EXPECT_EQ(checkLabelFormat(f, kPrinter), LabelFormatProblem::kIndexFontSize);
  EXPECT_NE(labelFormatProblemText(LabelFormatProblem::kWidth).find("Breite"), std::string::npos);
  // A page without resolution places nothing.
  EXPECT_FALSE(labelGeometry(builtInLabelFormats()[3], PageGeometry{4800, 6600, 0, 0, 0, 0}));

  // The sheet keeps its previous format and draws nothing for a refused one.
  MeasuringCanvas canvas;
  canvas.setGeometry(kPrinter);
  LabelSheet sheet(canvas);
  LabelFormat zero = builtInLabelFormats()[3];
  zero.height = 0;
  EXPECT_EQ(sheet.selectFormat(zero), LabelFormatProblem::kHeight);
  EXPECT_EQ(sheet.printLabels(sample(), 3), 0);
  EXPECT_TRUE(canvas.lines().empty());
  ASSERT_EQ(sheet.selectFormat(builtInLabelFormats()[3]), LabelFormatProblem::kNone);
  EXPECT_EQ(sheet.selectFormat(zero), LabelFormatProblem::kHeight);
  EXPECT_EQ(sheet.geometry()->perPage, 20);
}

TEST(LabelSheet, FontsFollowTheSizeFormula) {
  MeasuringCanvas canvas;
  canvas.setGeometry(kPrinter);
  LabelSheet sheet(canvas);
  ASSERT_EQ(sheet.selectFormat(builtInLabelFormats()[3]), LabelFormatProblem::kNone);
  // (-10 × 600 + 71) div 72 = -82 and (-7 × 600 + 71) div 72 = -57.
  EXPECT_EQ(labelFontHeight(-10, 600), -82);
  ASSERT_TRUE(canvas.fontRequest(FontSlot::kText));
  EXPECT_EQ(canvas.fontRequest(FontSlot::kText)->height, 82);
  EXPECT_EQ(canvas.fontRequest(FontSlot::kText)->face, "Times New Roman");
  EXPECT_EQ(canvas.fontRequest(FontSlot::kSmall)->height, 57);
  EXPECT_EQ(canvas.fontRequest(FontSlot::kGreek)->face, "Symbol");
  EXPECT_TRUE(canvas.fontRequest(FontSlot::kGreek)->symbol);
  EXPECT_EQ(canvas.fontRequest(FontSlot::kGreek)->height, 82);

  // A format's own font gives the face and look; the size stays the format's.
  LabelFormat own = builtInLabelFormats()[2];
  FontDescription font;
  font.face = "Arial";
  font.height = -40;
  font.weight = 700;
  own.font = font;
  ASSERT_EQ(sheet.selectFormat(own), LabelFormatProblem::kNone);
  EXPECT_EQ(canvas.fontRequest(FontSlot::kText)->face, "Arial");
  EXPECT_EQ(canvas.fontRequest(FontSlot::kText)->weight, 700);
  EXPECT_EQ(canvas.fontRequest(FontSlot::kText)->height, -labelFontHeight(-9, 600));
}

TEST(LabelSheet, LabelCopiesAreOneTo999) {
  EXPECT_EQ(parseLabelCopies("1"), 1);
  EXPECT_EQ(parseLabelCopies("999"), 999);
  EXPECT_FALSE(parseLabelCopies("0"));
  EXPECT_FALSE(parseLabelCopies("1000"));
  EXPECT_FALSE(parseLabelCopies("-3"));
  EXPECT_FALSE(parseLabelCopies("5x"));
  EXPECT_FALSE(parseLabelCopies(""));
  EXPECT_FALSE(parseLabelCopies("99999999999"));
}

}  // namespace
}  // namespace kalvor

namespace kalvor {
namespace {

// The "Formel:" box of the direct dialog and the QR choice of the specimen
// labels change what the next labels carry, not where they go.
TEST(LabelSheet, FormulaAndQrCodeSwitchedBetweenLabelsKeepThePlaces) {
  MeasuringCanvas canvas;
  canvas.setGeometry(PageGeometry{2400, 3300, 300, 300, 0, 0});
  LabelSheet sheet(canvas);
  LabelFormat f = builtInLabelFormats()[3];
  f.flags = 0;  // neither formula nor QR code
  ASSERT_EQ(sheet.selectFormat(f), LabelFormatProblem::kNone);
  LabelContent c = sample();
  c.formula = "SiO_2";
  c.qrText = "K-1: Quarz";
  auto drawnTexts = [&canvas] {
    std::vector<std::string> out;
    for (const auto& t : canvas.texts()) out.push_back(t.text);
    return out;
  };
  auto has = [](const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  };
  sheet.printLabels(c, 1);
  EXPECT_FALSE(has(drawnTexts(), "SiO"));
  EXPECT_TRUE(canvas.rects().empty());

  sheet.setFormula(true);
  sheet.setQrCode(true);
  ASSERT_TRUE(sheet.format());
  EXPECT_TRUE(sheet.format()->formula());
  EXPECT_TRUE(sheet.format()->qrCode());
  sheet.printLabels(c, 1);
  EXPECT_TRUE(has(drawnTexts(), "SiO"));
  EXPECT_FALSE(canvas.rects().empty());  // the dark modules
  // The second label went next to the first, as without the switch.
  EXPECT_EQ(sheet.placed(), 2);
  EXPECT_EQ(sheet.rest(), (LabelRest{2, 18}));

  const std::size_t modules = canvas.rects().size();
  sheet.setQrCode(false);
  sheet.setFormula(false);
  EXPECT_FALSE(sheet.format()->formula());
  sheet.printLabels(c, 1);
  EXPECT_EQ(canvas.rects().size(), modules);
  EXPECT_EQ(sheet.placed(), 3);
}

}  // namespace
}  // namespace kalvor
