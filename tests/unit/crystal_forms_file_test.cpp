// "kalvor.kf": the forms file round trip and its exact bytes.
#include <gtest/gtest.h>

#include "crystal/forms_file.h"

namespace kalvor::crystal {
namespace {

TEST(CrystalFormsFile, RoundTripAndGoldenBytes) {
  FormsFileWriter writer(3);
  MineralForms quartz;
  quartz.set.classBit = 19;
  quartz.set.cell = {4.913, 4.913, 5.405, 90, 90, 120};
  quartz.set.forms = {{{1, 0, 0}, 1}, {{1, 0, 1}, 2.4}, {{0, 1, 1}, 2.6}};
  quartz.viewCount = 2;
  quartz.turnDegrees = -50;
  ASSERT_TRUE(writer.set(2, quartz));
  EXPECT_FALSE(writer.set(3, quartz));
  MineralForms tooLarge = quartz;
  tooLarge.set.forms[0].face.h = 200;
  EXPECT_FALSE(writer.set(0, tooLarge));
  const Bytes bytes = writer.build();
  ASSERT_EQ(bytes.size(), 4u + 12 + 56 + 3 * 16);
  EXPECT_EQ(loadU32(bytes.data()), 3u);
  EXPECT_EQ(loadU32(bytes.data() + 4), 0u);
  EXPECT_EQ(loadU32(bytes.data() + 12), 16u);
  const std::uint8_t* b = bytes.data() + 16;
  EXPECT_EQ(b[0], 19);
  EXPECT_EQ(b[1], 1);  // curated
  EXPECT_EQ(b[2], 0);  // absolute distances
  EXPECT_EQ(b[3], 3);
  EXPECT_EQ(b[4], 2);
  EXPECT_EQ(loadI16(b + 6), -50);
  EXPECT_EQ(loadF64(b + 8), 4.913);
  EXPECT_EQ(loadF64(b + 48), 120.0);
  EXPECT_EQ(loadI16(b + 56 + 16), 1);  // second form: h
  EXPECT_EQ(loadI16(b + 56 + 20), 1);  // l
  EXPECT_EQ(loadF64(b + 56 + 24), 2.4);

  const FormsFile file(bytes);
  EXPECT_FALSE(file.formsFor(0).has_value());
  EXPECT_FALSE(file.formsFor(3).has_value());
  ASSERT_TRUE(file.formsFor(2).has_value());
  EXPECT_EQ(*file.formsFor(2), quartz);
  // A block cut short gives nothing rather than reading past the end.
  const FormsFile cut(Bytes(bytes.begin(), bytes.end() - 1));
  EXPECT_FALSE(cut.formsFor(2).has_value());
}

}  // namespace
}  // namespace kalvor::crystal
