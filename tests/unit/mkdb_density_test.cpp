// The compiler's density check: formula weight, cell volume, and the shipped
// sources, whose formula, Z and cell must agree with the measured density.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tools/mkdb/compile.h"
#include "tools/mkdb/density_check.h"
#include "tools/mkdb/mineral_builder.h"

namespace kalvor::mkdb {
namespace {

TEST(MkdbDensity, FormulaWeightsFollowTheMarkup) {
  const auto quartz = formulaWeight("SiO_2");
  ASSERT_TRUE(quartz);
  EXPECT_NEAR(quartz->lightest, 60.08, 0.01);
  EXPECT_NEAR(formulaWeight("Pb_5(AsO_4)_3Cl")->heaviest, 1488.2, 0.5);      // mimetite
  EXPECT_NEAR(formulaWeight("CaSO_4·2H_2O")->lightest, 172.17, 0.05);       // gypsum, UTF-8 dot
  EXPECT_NEAR(formulaWeight("CaSO_4\xB7" "2H_2O")->lightest, 172.17, 0.05); // Windows-1252 dot
  EXPECT_NEAR(formulaWeight("Fe^{2+}_3Al_2(SiO_4)_3")->lightest, 497.75, 0.1);  // charges skipped
  EXPECT_NEAR(formulaWeight("Cu_{12}As_4S_{13}")->lightest, 1479.3, 0.5);       // braced counts
  // A choice counts its lighter and its heavier member.
  const auto olivine = formulaWeight("(Mg,Fe)_2SiO_4");
  ASSERT_TRUE(olivine);
  EXPECT_NEAR(olivine->lightest, 140.69, 0.05);
  EXPECT_NEAR(olivine->heaviest, 203.77, 0.05);
  // Vacancies weigh nothing; variable counts and unknown symbols give no weight.
  EXPECT_NEAR(formulaWeight("(Ca,)_2")->lightest, 0, 1e-9);
  EXPECT_FALSE(formulaWeight("Fe_{1-x}S"));
  EXPECT_FALSE(formulaWeight("U(SiO_4)·nH_2O"));
  EXPECT_FALSE(formulaWeight("REE_2O_3"));
  EXPECT_FALSE(formulaWeight("Ca,Mg"));
}

TEST(MkdbDensity, CellVolumesOfEverySystem) {
  EXPECT_NEAR(cellVolume("m-3m", 5.94, 0, 0, 0, 0, 0), 209.58, 0.01);          // galena
  EXPECT_NEAR(cellVolume("32", 4.913, 0, 5.405, 0, 0, 0), 112.99, 0.05);       // quartz, hexagonal axes
  EXPECT_NEAR(cellVolume("4/mmm", 4.594, 0, 2.959, 0, 0, 0), 62.45, 0.05);     // rutile
  EXPECT_NEAR(cellVolume("mmm", 8.88, 5.45, 7.15, 0, 0, 0), 346.03, 0.05);     // baryte
  EXPECT_NEAR(cellVolume("2/m", 5.68, 15.18, 6.29, 0, 114.1, 0), 495.1, 0.5);  // gypsum (I2/a)
  EXPECT_NEAR(cellVolume("-3m", 6.37, 0, 0, 46.1, 0, 0), 122.6, 0.5);          // calcite, rhombohedral axes
  EXPECT_NEAR(cellVolume("-1", 5.0, 6.0, 7.0, 90, 90, 90), 210.0, 1e-6);
  // A constant the system needs is missing: no volume.
  EXPECT_EQ(cellVolume("2/m", 5.68, 15.18, 6.29, 0, 0, 0), 0);
  EXPECT_EQ(cellVolume("mmm", 8.88, 0, 7.15, 0, 0, 0), 0);
  EXPECT_EQ(cellVolume("m-3m", 0, 0, 0, 0, 0, 0), 0);
  // Galena: 4 PbS in the cell are 7.58 g/cm³.
  EXPECT_NEAR(densityOf(4, formulaWeight("PbS")->lightest, cellVolume("m-3m", 5.936, 0, 0, 0, 0, 0)), 7.60, 0.02);
  EXPECT_EQ(densityGap(2.6, 2.7, 2.65, 2.65), 0);
  EXPECT_NEAR(densityGap(5.0, 5.0, 6.29, 6.29), 0.205, 0.001);
  EXPECT_NEAR(densityGap(11.2, 11.4, 2.74, 3.10), 2.613, 0.001);
}

// Every mineral of data/ whose formula, Z and cell can be weighed agrees with
// its measured density within 10 %, and every cell names what its system needs.
TEST(MkdbDensity, ShippedCellsAgreeWithTheMeasuredDensity) {
  const char* src = std::getenv("KALVOR_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "KALVOR_SOURCE_DIR is not set (run through ctest)";
  Report report;
  buildMineralEntries(std::string(src) + "/data", report);
  ASSERT_FALSE(report.hasErrors()) << report.errorText();
  EXPECT_GE(report.countOf("Dichte aus Formel, Z und Gitter geprüft"), 600u);
  std::string found;
  for (const std::string& w : report.warnings()) {
    if (w.rfind("Dichte aus Formel", 0) == 0 || w.rfind("Gitter unvollst", 0) == 0) found += w + "\n";
  }
  EXPECT_EQ(found, "");
}

}  // namespace
}  // namespace kalvor::mkdb
