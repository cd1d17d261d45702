// One label on the measuring canvas: cut marks, the wrapped lists, the
// formula line, the free line, the halves of standing cards and the QR code.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/cp1252.h"
#include "labels/label_layout.h"
#include "labels/qr_code.h"
#include "render/measuring_canvas.h"

namespace kalvor {
namespace {

constexpr PageGeometry kPrinter{4800, 6600, 600, 600, 0, 0};

struct Drawn {
  MeasuringCanvas canvas;
  LabelGeometry geometry;
  LabelFontMetrics metrics;
};

void drawOne(Drawn& d, const LabelFormat& f, const LabelContent& content, int x, int y,
             const PageGeometry& page = kPrinter) {
  d.canvas.setGeometry(page);
  d.geometry = *labelGeometry(f, page);
  d.metrics = setLabelFonts(d.canvas, f);
  drawLabel(d.canvas, f, d.geometry, d.metrics, content, x, y);
}

LabelContent card() {
  LabelContent c;
  c.mineral = "Cornwallit, Malachit";
  c.accompanying = "Baryt";
  c.locality = "Grube Clara, Oberwolfach";
  c.freeLine = "A12";
  c.formula = "SiO_2";
  return c;
}

TEST(LabelLayout, WrappedListBreaksBeforeAnItemThatWouldCrossTheEdge) {
  MeasuringCanvas c;  // text font: 8 per character, 13 + 3 high
  EXPECT_EQ(drawWrappedList(c, "Cornwallit, Malachit/Agardit-(Ce)", 0, 200, 0), 32);
  ASSERT_EQ(c.texts().size(), 3u);
  EXPECT_EQ(c.texts()[0].text, "Cornwallit,");
  EXPECT_EQ(c.texts()[0].x, 0);
  EXPECT_EQ(c.texts()[0].baseline, 13);
  // The next item follows after the width of ", ".
  EXPECT_EQ(c.texts()[1].text, "Malachit,");
  EXPECT_EQ(c.texts()[1].x, 96);
  EXPECT_EQ(c.texts()[2].text, "Agardit-(Ce)");
  EXPECT_EQ(c.texts()[2].x, 0);
  EXPECT_EQ(c.texts()[2].baseline, 29);

  c.clearRecord();
  EXPECT_EQ(drawWrappedList(c, "", 0, 200, 50), 50);
  EXPECT_TRUE(c.texts().empty());
  EXPECT_EQ(drawWrappedList(c, " Quarz ,, /", 10, 200, 50), 66);
  ASSERT_EQ(c.texts().size(), 1u);
  EXPECT_EQ(c.texts()[0].text, "Quarz");
  EXPECT_EQ(c.texts()[0].x, 10);
  // An item wider than the line gets a line of its own and is not cut.
  c.clearRecord();
  EXPECT_EQ(drawWrappedList(c, "Ab, Cornwallit", 0, 40, 0), 32);
  EXPECT_EQ(c.texts()[1].text, "Cornwallit");
}

TEST(LabelLayout, FlatLabelHasCutMarksTextsAndTheFreeLineAtTheBottom) {
  Drawn d;
  const LabelFormat& f = builtInLabelFormats()[3];
  drawOne(d, f, card(), 100, 200);
  const LabelGeometry& g = d.geometry;
  // Eight cut marks of a fifth of each edge, no frame and no fold line.
  ASSERT_EQ(d.canvas.lines().size(), 8u);
  for (const DrawnLine& l : d.canvas.lines()) {
    EXPECT_FALSE(l.dotted);
    const int length = std::abs(l.x2 - l.x1) + std::abs(l.y2 - l.y1);
    EXPECT_EQ(length, l.y1 == l.y2 ? g.w / 5 : g.H / 5);
  }
  // Main font 82 high: char width 41, line height 82 + 20.
  EXPECT_EQ(d.metrics.charWidth, 41);
  EXPECT_EQ(d.metrics.lineHeight, 102);
  const int padX = 41 * 5 / 4, padY = 102 * 4 / 8;
  std::vector<std::string> texts;
  for (const DrawnText& t : d.canvas.texts()) {
    texts.push_back(t.text);
    EXPECT_FALSE(t.turned);
    EXPECT_GE(t.x, 100 + padX);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"Cornwallit,", "Malachit", "SiO", "2", "Baryt", "Grube Clara,",
                                             "Oberwolfach", "A12"}));
  // The first line starts a quarter line above the padding.
  const DrawnText& first = d.canvas.texts().front();
  EXPECT_EQ(first.baseline, 200 + padY - 102 * 2 / 8 + 82);
  // The formula's baseline lies one and a quarter lines below the gap after the minerals.
  const DrawnText& formula = d.canvas.texts()[2];
  EXPECT_EQ(formula.baseline, 200 + padY - 102 * 2 / 8 + 102 + 102 * 2 / 8 + 102 * 5 / 4);
  // The free line in the index font ends at the text area's bottom.
  const DrawnText& free = d.canvas.texts().back();
  EXPECT_EQ(free.font, FontSlot::kSmall);
  const int small = 57;  // (-7 × 600 + 71) div 72
  EXPECT_EQ(free.baseline, 200 + g.H - padY - (small + small / 4) + small);

  // Without the formula flag the formula is left out.
  Drawn plain;
  LabelFormat noFormula = f;
  noFormula.flags = 0;
  drawOne(plain, noFormula, card(), 0, 0);
  for (const DrawnText& t : plain.canvas.texts()) EXPECT_NE(t.text, "SiO");
}

TEST(LabelLayout, FreeLineThatWouldOverlapTheTextIsLeftOut) {
  Drawn d;
  LabelContent c = card();
  c.locality = "Grube Clara, Oberwolfach, Schwarzwald, Baden-Württemberg, Deutschland, Europa, Erde";
  drawOne(d, builtInLabelFormats()[0], c, 0, 0);
  for (const DrawnText& t : d.canvas.texts()) EXPECT_NE(t.text, "A12");
}

TEST(LabelLayout, StandingCardCarriesTheTextOnBothHalvesTheUpperUpsideDown) {
  Drawn d;
  const LabelFormat& f = builtInLabelFormats()[9];
  drawOne(d, f, card(), 100, 200);
  const LabelGeometry& g = d.geometry;
  EXPECT_EQ(g.h, 944);
  EXPECT_EQ(g.H, 1889);
  // The fold line is dotted across the label at the face's bottom.
  const auto fold = std::find_if(d.canvas.lines().begin(), d.canvas.lines().end(),
                                 [](const DrawnLine& l) { return l.dotted; });
  ASSERT_NE(fold, d.canvas.lines().end());
  EXPECT_EQ(fold->y1, 200 + g.h);
  EXPECT_EQ(fold->y2, 200 + g.h);
  EXPECT_EQ(std::abs(fold->x2 - fold->x1), g.w);

  std::vector<DrawnText> lower, upper;
  for (const DrawnText& t : d.canvas.texts()) (t.turned ? upper : lower).push_back(t);
  ASSERT_EQ(lower.size(), 8u);
  ASSERT_EQ(upper.size(), lower.size());
  for (std::size_t i = 0; i < lower.size(); ++i) {
    // Lower half the right way up below the fold; its mirror image about
    // the fold's middle turned on the upper half.
    EXPECT_GT(lower[i].baseline, 200 + g.h);
    EXPECT_EQ(upper[i].text, lower[i].text);
    EXPECT_EQ(upper[i].x, 2 * 100 + g.w - lower[i].x);
    EXPECT_EQ(upper[i].baseline, 2 * (200 + g.h) - lower[i].baseline);
    EXPECT_LT(upper[i].baseline, 200 + g.h);
  }
  // The mineral stands next to the fold on both halves, the free line at the card's edges.
  EXPECT_EQ(upper.front().text, "Cornwallit,");
  EXPECT_EQ(upper.back().text, "A12");
  EXPECT_LT(upper.back().baseline, upper.front().baseline);
}

TEST(LabelLayout, LabelWithAStandKeepsItsTextOnTheFace) {
  Drawn d;
  const LabelFormat& f = builtInLabelFormats()[4];  // 50 mm face, 20 mm stand
  drawOne(d, f, card(), 0, 0);
  EXPECT_EQ(d.geometry.h, 1181);
  EXPECT_EQ(d.geometry.H, 1653);
  for (const DrawnText& t : d.canvas.texts()) {
    EXPECT_FALSE(t.turned);
    EXPECT_LT(t.baseline, d.geometry.h);
  }
  // The free line ends at the face's bottom itself.
  const DrawnText& free = d.canvas.texts().back();
  EXPECT_EQ(free.text, "A12");
  EXPECT_EQ(free.baseline, d.geometry.h - (57 + 57 / 4) + 57);
}

TEST(LabelLayout, FramedLabelDrawsLinesOfTheFrameWidth) {
  Drawn d;
  const LabelFormat& f = builtInLabelFormats()[5];  // frame 0.15 cm away, 0.08 cm wide
  drawOne(d, f, LabelContent{}, 0, 0);
  const int dx = static_cast<int>(f.frameDistance * 600);
  const int nx = static_cast<int>(f.frameWidth * 600);
  EXPECT_EQ(dx, 35);
  EXPECT_EQ(nx, 18);
  // Cut marks plus (nx + 1) lines on each of the four sides.
  EXPECT_EQ(d.canvas.lines().size(), 8u + 4u * (nx + 1));
  const DrawnLine& firstVertical = d.canvas.lines()[8];
  EXPECT_EQ(firstVertical.x1, dx);
  EXPECT_EQ(firstVertical.y1, dx);
  EXPECT_EQ(firstVertical.y2, d.geometry.H - dx);
}

TEST(LabelLayout, QrCodeSitsInTheLowerRightCornerWhenTheFormatCarriesOne) {
  LabelFormat f = builtInLabelFormats()[3];
  LabelContent c = card();
  c.qrText = "A12: Cornwallit, Malachit, Baryt";
  Drawn without;
  drawOne(without, f, c, 0, 0);
  EXPECT_TRUE(without.canvas.rects().empty());

  f.flags |= kLabelQrCode;
  Drawn d;
  drawOne(d, f, c, 1181, 0);
  const std::optional<QrCode> code = encodeQrCode(cp1252ToUtf8(c.qrText));
  ASSERT_TRUE(code);
  const long dark = std::count(code->modules.begin(), code->modules.end(), 1);
  ASSERT_EQ(static_cast<long>(d.canvas.rects().size()), dark);
  const std::optional<QrPlacement> place = placeLabelQrCode(f, d.geometry, d.metrics, kPrinter, c, 1181, 0);
  ASSERT_TRUE(place);
  for (const DrawnRect& r : d.canvas.rects()) {
    EXPECT_EQ(r.right - r.left, place->moduleSize);
    EXPECT_GE(r.left, 1181 + d.geometry.w / 2);
    EXPECT_LE(r.right, 1181 + d.geometry.w);
    EXPECT_GE(r.top, d.geometry.H / 2);
    EXPECT_LE(r.bottom, d.geometry.H);
  }
  // No text runs into the code.
  for (const DrawnText& t : d.canvas.texts()) {
    const int right =
        t.x + static_cast<int>(t.text.size()) * d.canvas.metrics().fonts[static_cast<int>(t.font)].charWidth;
    if (t.baseline > place->top) {
      EXPECT_LE(right, place->left) << t.text;
    }
  }
  // The micromount box at 300 dpi has no room for modules of a third of a millimetre.
  const PageGeometry laser{2480, 3507, 300, 300, 0, 0};
  LabelFormat tiny = builtInLabelFormats()[0];
  tiny.flags |= kLabelQrCode;
  MeasuringCanvas canvas;
  canvas.setGeometry(laser);
  const LabelFontMetrics m = setLabelFonts(canvas, tiny);
  EXPECT_FALSE(placeLabelQrCode(tiny, *labelGeometry(tiny, laser), m, laser, c, 0, 0));
}

}  // namespace
}  // namespace kalvor
