// Column layouts: the built-in tables, the "Feld%d" keys of kalvor.ini and
// the placement of the cells in a row.
#include <gtest/gtest.h>

#include "platform/settings.h"
#include "tests/unit/test_files.h"
#include "views/column_layout.h"

namespace kalvor::views {
namespace {

using testing::cp;
using testing::ScratchDir;

std::vector<std::string> namesInDrawingOrder(const ColumnLayout& layout) {
  std::vector<std::string> out;
  for (const ColumnCell& c : placeColumns(layout, 0, 0, 10, 1000, 8))
    out.push_back(layout.columns[c.column].name);
  return out;
}

TEST(ColumnLayout, DefaultTablesAndTheirDrawingOrder) {
  const ColumnLayout m = defaultMineralLayout();
  EXPECT_EQ(m.section, "Mineralliste");
  EXPECT_EQ(m.linesPerRecord, 1);
  EXPECT_EQ(m.continuationIndent, 5);
  ASSERT_EQ(m.columns.size(), 11u);
  EXPECT_EQ(m.columns[2].name, cp("Härte"));
  EXPECT_EQ(m.columns[4], (ColumnEntry{0, 2, 150, "Farbe", false}));
  EXPECT_EQ(m.columns[10], (ColumnEntry{2, 1, 55, "Systematik", false}));
  EXPECT_EQ(namesInDrawingOrder(m),
            (std::vector<std::string>{"Mineralname", "Systematik", "Formel"}));

  const ColumnLayout l = defaultLocalityLayout();
  EXPECT_EQ(l.section, "Fundortliste");
  EXPECT_EQ(l.linesPerRecord, 2);
  EXPECT_EQ(l.continuationIndent, 10);
  ASSERT_EQ(l.columns.size(), 10u);
  EXPECT_EQ(l.columns[2].name, cp("nächster Ort"));
  EXPECT_EQ(l.columns[5], (ColumnEntry{0, 2, -1, "Minerale auf Stufen", false}));
  EXPECT_EQ(namesInDrawingOrder(l),
            (std::vector<std::string>{"Fundstellennummer", "Fundortname", cp("nächster Ort"),
                                      "Region", "Land", "alle Minerale"}));

  const ColumnLayout s = defaultSpecimenLayout();
  EXPECT_EQ(s.section, "Stufenliste");
  EXPECT_EQ(s.linesPerRecord, 2);
  ASSERT_EQ(s.columns.size(), 8u);
  EXPECT_EQ(s.columns[6], (ColumnEntry{0, 3, 100, "Preis", false}));
  EXPECT_EQ(namesInDrawingOrder(s), (std::vector<std::string>{"Sammlungsindex", "Minerale",
                                                              "Begleitminerale", "Fundort"}));
}

TEST(ColumnLayout, SettingsValuesAreTakenOnlyWhenWellFormed) {
  EXPECT_EQ(parseColumnValue("3,2,120", 10), (ColumnEntry{3, 2, 120, "", false}));
  EXPECT_EQ(parseColumnValue(" 0 , 1 , -1 ", 10), (ColumnEntry{0, 1, -1, "", false}));
  EXPECT_EQ(parseColumnValue("10,1,0", 10), (ColumnEntry{10, 1, 0, "", false}));
  for (const char* bad : {"", "abc", "1,2", "1,2,3,4", "1;2;3", "1,2,x", "11,1,80", "-1,1,80",
                          "1,0,80", "1,10,80", "1,1,-2", "1,1,4001", "1,,80", "99999999999,1,1"})
    EXPECT_FALSE(parseColumnValue(bad, 10)) << bad;
  EXPECT_EQ(formatColumnValue(ColumnEntry{4, 1, -1, "Region", true}), "4,1,-1");
}

TEST(ColumnLayout, LoadTakesPresentKeysAndSaveWritesOnlyChangedEntries) {
  ScratchDir dir;
  const std::string ini = dir.file("kalvor.ini");
  ASSERT_TRUE(testing::writeFile(ini, Bytes{}));
  {
    std::unique_ptr<Settings> settings = openIniSettings(ini);
    ASSERT_TRUE(settings->writeString("Fundortliste", "Feld1", "0,1,-1"));  // hide Fundortname
    ASSERT_TRUE(settings->writeString("Fundortliste", "Feld4", ""));        // empty: default
    ASSERT_TRUE(settings->writeString("Fundortliste", "Feld8", "kaputt"));  // malformed: default
    ASSERT_TRUE(settings->writeString("Stufenliste", "Feld0", "5,2,44"));
    ASSERT_TRUE(settings->writeString("Mineralliste", "Feld1", "3,1,90"));
  }
  std::unique_ptr<Settings> settings = openIniSettings(ini);
  ColumnLayouts layouts;
  layouts.load(*settings);
  EXPECT_EQ(layouts.localities.columns[1], (ColumnEntry{0, 1, -1, "Fundortname", false}));
  EXPECT_EQ(layouts.localities.columns[4], defaultLocalityLayout().columns[4]);
  EXPECT_EQ(layouts.localities.columns[8], defaultLocalityLayout().columns[8]);
  EXPECT_EQ(layouts.specimens.columns[0], (ColumnEntry{5, 2, 44, "Stufennummer", false}));
  EXPECT_EQ(layouts.minerals.columns[1].width, 90);
  EXPECT_EQ(namesInDrawingOrder(layouts.localities),
            (std::vector<std::string>{"Fundstellennummer"}))
      << "order 2 is hidden now, so the walk over the orders ends there";

  // Nothing changed: saving leaves the file as it is.
  const Bytes before = testing::readFile(ini);
  ASSERT_TRUE(layouts.save(*settings));
  EXPECT_EQ(testing::readFile(ini), before);

  layouts.specimens.columns[7].width = 200;
  layouts.specimens.columns[7].changed = true;
  ASSERT_TRUE(layouts.save(*settings));
  ColumnLayouts again;
  again.load(*openIniSettings(ini));
  EXPECT_EQ(again.specimens.columns[7].width, 200);
  EXPECT_EQ(settings->getString("Stufenliste", "Feld7", ""), "0,3,200");
  EXPECT_EQ(settings->getString("Stufenliste", "Feld6", "absent"), "absent");
}

TEST(ColumnLayout, CellsFollowLinesIndentAndRowEdge) {
  // Average character width 8: a quarter width is 2 pixels.
  const ColumnLayout s = defaultSpecimenLayout();
  const std::vector<ColumnCell> cells = placeColumns(s, 100, 50, 20, 600, 8);
  ASSERT_EQ(cells.size(), 4u);
  // Sammlungsindex 80 -> 160 px, Minerale 150 -> 300 px, Begleitminerale to the end.
  EXPECT_EQ(cells[0].left, 100);
  EXPECT_EQ(cells[0].right, 260);
  EXPECT_EQ(cells[1].left, 260);
  EXPECT_EQ(cells[1].right, 560);
  EXPECT_EQ(cells[2].left, 560);
  EXPECT_EQ(cells[2].right, 700);
  EXPECT_EQ(cells[2].position, 2);
  // Fundort on line 2: one row lower, indented by 10 quarter widths.
  EXPECT_EQ(cells[3].column, kSpecimenLocalityColumn);
  EXPECT_EQ(cells[3].top, 70);
  EXPECT_EQ(cells[3].bottom, 90);
  EXPECT_EQ(cells[3].left, 120);
  EXPECT_EQ(cells[3].right, 700);
  EXPECT_EQ(cells[3].position, 0);
  EXPECT_EQ(cells[3].line, 2);

  // A narrow row cuts a fixed width at the row's edge; cells past it are empty.
  const std::vector<ColumnCell> tight = placeColumns(s, 0, 0, 20, 200, 8);
  EXPECT_EQ(tight[1].left, 160);
  EXPECT_EQ(tight[1].right, 200);
  EXPECT_EQ(tight[2].left, 200);
  EXPECT_EQ(tight[2].right, 200);
}

TEST(ColumnLayout, ColumnsBeyondTheRecordsLinesMakeTheRecordTaller) {
  ColumnLayout l = defaultLocalityLayout();
  EXPECT_EQ(recordRows(l), 2);
  // "Beschreibung" on line 3 after "alle Minerale" on line 2: a third row.
  l.columns[kLocalityDescriptionColumn].order = 7;
  EXPECT_EQ(recordRows(l), 3);
  const std::vector<ColumnCell> cells = placeColumns(l, 0, 0, 20, 800, 8);
  EXPECT_EQ(cells.back().column, kLocalityDescriptionColumn);
  EXPECT_EQ(cells.back().top, 40);
  EXPECT_EQ(cells.back().left, 20);

  // Hiding every line-2 column keeps the layout's two lines.
  ColumnLayout m = defaultMineralLayout();
  EXPECT_EQ(recordRows(m), 1);
  m.columns[kColourColumn].order = 4;  // Farbe, line 2
  EXPECT_EQ(recordRows(m), 2);
}

}  // namespace
}  // namespace kalvor::views
