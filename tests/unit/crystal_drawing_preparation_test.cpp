// Scaling drawing values into the Drawing window's area, and the "i" text.
#include <gtest/gtest.h>

#include "crystal/drawing_preparation.h"

namespace kalvor::crystal {
namespace {

std::uint32_t move(std::uint32_t x, std::uint32_t y, bool hidden = false) {
  return 0x80000000u | (hidden ? 0x8000u : 0) | x | (y << 16);
}
std::uint32_t line(std::uint32_t x, std::uint32_t y) { return x | (y << 16); }

TEST(DrawingPreparation, ValuesAreScaledCentredAndShiftedByTheMargins) {
  // Area 212 x 118 with 8-pixel characters and 16-pixel lines: W = 212 - 12 = 200,
  // H = 118 - 12 = 106; Xm = 32767, Ym = 16383: scale = min(200/32767, 106/16383)
  // = 200/32767; horizontal margin 0, vertical trunc(106 - 99.99...) / 2 = 3;
  // shifts 6 and 6.
  const std::vector<std::uint32_t> values = {move(0, 0), line(32767, 16383), move(16383, 0, true),
                                             line(0, 16383)};
  const auto out = prepareDrawing(values, {212, 118, 8, 16});
  ASSERT_TRUE(out.has_value());
  const double s = 200.0 / 32767;
  EXPECT_EQ((*out)[0], move(6, 9));
  EXPECT_EQ((*out)[1], line(200 + 6, static_cast<std::uint32_t>(16383 * s) + 9));
  EXPECT_EQ((*out)[2], move(static_cast<std::uint32_t>(16383 * s) + 6, 9, true));  // the hidden pen survives
  EXPECT_EQ((*out)[3] & 0x80008000u, 0u);
}

TEST(DrawingPreparation, AnAreaSmallerThanItsMarginsDrawsNothingInsteadOfSpillingIntoTheFlags) {
  const std::vector<std::uint32_t> values = {move(0, 0), line(32767, 32767)};
  EXPECT_FALSE(prepareDrawing(values, {10, 200, 8, 16}).has_value());
  EXPECT_FALSE(prepareDrawing(values, {200, 12, 8, 16}).has_value());
  // A degenerate drawing (all x 0) stays as it is.
  const std::vector<std::uint32_t> flat = {move(0, 0), line(0, 500)};
  EXPECT_EQ(*prepareDrawing(flat, {10, 10, 8, 16}), flat);
  // A huge area clamps to 15 bits instead of carrying into bit 15 or 31.
  const auto big = prepareDrawing(values, {70000, 70000, 8, 16});
  ASSERT_TRUE(big.has_value());
  EXPECT_EQ((*big)[1], line(32767, 32767));
}

TEST(DrawingPreparation, TheInfoTextNamesTheAtlasOnlyForAtlasDrawings) {
  const DrawingSource atlas = DrawingSource::make(3, 12, 7, "Zwilling");
  EXPECT_EQ(
      drawingSourceText(atlas, std::nullopt),
      "Die angezeigte Zeichnung wurde entnommen aus:\nBrantholm, Atlas der Krystallformen, Band 3, Tafel 12, "
      "Figur 7\nZwilling");
  const DrawingSource computed = DrawingSource::make(0, 0, 1, "Berechnet: {100}");
  const std::string plain = drawingSourceText(computed, std::nullopt);
  EXPECT_EQ(plain.find("Atlas"), std::string::npos);
  EXPECT_NE(plain.find("berechnet"), std::string::npos);
  MineralForms forms;
  forms.set.forms = {{{1, 0, 0}, 1}};
  const std::string withForms = drawingSourceText(computed, forms);
  EXPECT_EQ(withForms.find("Atlas"), std::string::npos);
  EXPECT_NE(withForms.find("{100}"), std::string::npos);
}

}  // namespace
}  // namespace kalvor::crystal
