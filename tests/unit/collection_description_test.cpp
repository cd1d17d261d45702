// Locality and specimen pages on the text canvas (one column per character,
// a check mark two columns wide, average character width 1): labels 16-33
// put the value column behind "Mineral-Abhakliste:" (19) at column 20.
#include <gtest/gtest.h>

#include "pages/collection_description.h"
#include "refdb/names.h"
#include "render/text_canvas.h"
#include "tests/unit/test_files.h"

namespace kalvor {
namespace {

using testing::cp;

class NoSources : public DescriptionSources {
 public:
  MineralRecord mineralRecord(MineralNumber) const override { return {}; }
  std::optional<MineralNumber> findMineral(std::string_view) const override { return {}; }
  std::optional<std::uint16_t> findGlossaryEntry(std::string_view) const override { return {}; }
  std::string colourName(std::uint16_t) const override { return {}; }
  std::optional<std::string> strunzText(const StrunzNumber&) const override { return {}; }
  std::optional<std::string> heyText(const HeyNumber&) const override { return {}; }
  std::vector<MineralLocality> localitiesOfMineral(MineralNumber) const override { return {}; }
};

// Entries 0 Fluorit, 1 Baryt, 2 Quarz, 3 Anglesit.
MineralNameList names() {
  return MineralNameList::build({{false, "Fluorit"}, {false, "Baryt"}, {false, "Quarz"},
                                 {false, "Anglesit"}});
}

Locality clara() {
  Locality l;
  l.number = 1;
  l.name = "Grube Clara";
  l.nearestPlace = "Oberwolfach";
  l.region = "Schwarzwald";
  l.country = "Deutschland";
  l.minerals = {2 | 0x8000, 1, 0, 3};
  return l;
}

TEST(LocalityDescription, AddressLinesThenMineralGridInNameOrder) {
  const MineralNameList list = names();
  const NoSources sources;
  TextCanvas canvas;
  DescriptionLayout layout(canvas, sources, DescriptionOptions{});
  describeLocality(layout, LayoutArea{0, 0, 40, 1000}, clara(), list);
  // Grid: widest name 8 + 1 + check 2 = 11; usable 40 - 10/4 = 38 gives 3
  // columns, widened to 38 / 3 = 12. Names sorted: Anglesit, Baryt, Fluorit, Quarz;
  // Quarz is on a specimen (bit 15) and gets the check mark.
  EXPECT_EQ(canvas.renderText(),
            "Fundort:            Grube Clara\n"
            "N\u00e4chster Ort:       Oberwolfach\n"
            "Region:             Schwarzwald\n"
            "Land:               Deutschland\n"
            "Kartenreferenz:\n"
            "----------------------------------------\n"
            "  Anglesit    Baryt       Fluorit\n"
            "\u2713 Quarz\n");
}

TEST(SpecimenDescription, LinesWithSideLabelsPricesAndLocality) {
  const MineralNameList list = names();
  const NoSources sources;
  Specimen s;
  s.number = 4;
  s.flags = 0x01 | 0x08;  // collection piece, bought
  s.minerals = {3, 1, 2};  // Quarz; with Fluorit, Baryt
  s.mainCount = 1;
  s.size = "8x6 cm";
  s.count = 2;
  s.value = 12.5f;
  s.purchasePrice = 20.0f;
  s.storagePlace = "Schrank 3";
  s.localityValue = 2;
  s.description = cp("Schöne Stufe mit @Fluorit@ auf Quarz");
  TextCanvas canvas;
  DescriptionLayout layout(canvas, sources, DescriptionOptions{});
  describeSpecimen(layout, LayoutArea{0, 0, 60, 1000}, s, list, clara());
  // Side labels start in the middle (30), their value one column behind the label.
  // "%7.2lf" leaves leading blanks, which a labelled line skips.
  EXPECT_EQ(canvas.renderText(),
            "Minerale:           Quarz\n"
            "Begleitminerale:    Fluorit, Baryt\n"
            "Stufengr\u00f6\u00dfe:        8x6 cm    Anzahl: 2\n"
            "Wert:               12.50     Kaufpreis: 20.00\n"
            "Standort:           Schrank 3\n"
            "Fundort:            Grube Clara, Oberwolfach, Schwarzwald, Deutschland\n"
            "Beschreibung:       Sch\u00f6ne Stufe mit Fluorit auf Quarz\n");

  // Found, without locality: no purchase price, "unbekannt".
  s.flags = 0x01 | 0x04;
  s.localityValue = 1;
  s.description.clear();
  TextCanvas plain;
  DescriptionLayout plainLayout(plain, sources, DescriptionOptions{});
  describeSpecimen(plainLayout, LayoutArea{0, 0, 60, 1000}, s, list, std::nullopt);
  const std::string page = plain.renderText();
  EXPECT_NE(page.find("Wert:               12.50\n"), std::string::npos) << page;
  EXPECT_NE(page.find("Fundort:            unbekannt\n"), std::string::npos) << page;
  EXPECT_EQ(page.find("Kaufpreis"), std::string::npos);
  EXPECT_EQ(page.find("Beschreibung"), std::string::npos);
}

}  // namespace
}  // namespace kalvor
