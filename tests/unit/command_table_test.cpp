#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/unit/view_host_fake.h"
#include "views/command_table.h"

namespace kalvor::views {
namespace {

using testing::FakeHost;
using testing::setOf;
using Log = std::vector<std::string>;

class CommandTableTest : public ::testing::Test {
 protected:
  ViewState state;
  FakeHost host;
  ViewController views{state, host.ports()};

  Log run(int id) {
    host.take();
    EXPECT_TRUE(runCommand(views, id)) << id;
    return host.take();
  }
  // Builds the toolbar's copies of the sets now, so later logs show only what a command rebuilds.
  void prebuildEnablingSets() {
    views.rebuildEnablingSets();
    host.take();
  }
};

TEST_F(CommandTableTest, TableHoldsEveryMenuAndToolbarCommand) {
  std::set<int> ids;
  for (const auto& entry : commandTable()) {
    EXPECT_TRUE(ids.insert(entry.id).second) << "twice: " << entry.id;
    EXPECT_NE(entry.handler, nullptr);
  }
  const std::set<int> expected = {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010,
                                  1013, 1014, 1015, 1020, 1021, 1022, 1023, 1024, 1025, 1026,
                                  1027, 1030, 1031, 1033, 1034, 1035, 1040, 1041, 1320, 1321,
                                  1322, 1323, 1324, 1325, 1330, 1331, 1332, 1333};
  EXPECT_EQ(ids, expected);
  // "Tausch&assistent" has no command; unknown ids get default processing.
  EXPECT_FALSE(runCommand(views, 1028));
  EXPECT_FALSE(runCommand(views, 1300));
  EXPECT_FALSE(runCommand(views, 0));
  EXPECT_EQ(host.take(), Log{});
}

// Each toolbar button does what its menu item does, from the same state.
TEST(CommandTable, ToolbarButtonsMatchTheirMenuItems) {
  const std::pair<int, int> pairs[] = {{1020, 1320}, {1021, 1321}, {1022, 1322}, {1027, 1323},
                                       {1024, 1324}, {1023, 1325}, {1025, 1330}, {1026, 1331}};
  for (const auto& [menuId, buttonId] : pairs) {
    for (View view : {View::Mineral, View::Stufen, View::Fundort}) {
      for (bool flag : {false, true}) {
        Log logs[2];
        int n = 0;
        for (int id : {menuId, buttonId}) {
          ViewState state;
          state.view = view;
          state.resultFlag(view) = flag;
          state.localityResult = setOf({2});
          state.specimenResult = setOf({1});
          FakeHost host;
          host.localities = 2;
          host.localitySet = setOf({1, 2});
          host.specimens = 1;
          host.specimenSet = setOf({1});
          host.mineralResult = true;
          host.mineral = 11;
          ViewController views(state, host.ports());
          runCommand(views, id);
          logs[n++] = host.take();
        }
        EXPECT_EQ(logs[0], logs[1]) << menuId << " vs " << buttonId;
      }
    }
  }
}

TEST_F(CommandTableTest, QuitDestroysTheToolbarThenClosesTheMainWindow) {
  EXPECT_EQ(run(1001), (Log{"destroyToolbar", "closeMainWindow"}));
  EXPECT_FALSE(host.toolbar);
}

TEST_F(CommandTableTest, MineralSearch) {
  // Cancelled, or ended without a result: the list redraws again, nothing else.
  EXPECT_EQ(run(1002), (Log{"redraw off", "dialog Suchen rec=0", "redraw on"}));
  host.outcomes[DialogKind::MineralSearch].code = 1;
  EXPECT_EQ(run(1002), (Log{"redraw off", "dialog Suchen rec=0", "redraw on"}));
  EXPECT_FALSE(state.resultFlag(View::Mineral));

  // A result found from the Stufen view: the view switches to Mineral first
  // (already over the result), then the list is made anew without selection.
  prebuildEnablingSets();
  state.view = View::Stufen;
  state.rememberedMineral = 5;
  host.drawing = false;
  host.mineral = 9;
  host.duringDialog = [&](DialogKind) { host.mineralResult = true; };
  EXPECT_EQ(run(1002),
            (Log{"redraw off", "dialog Suchen rec=0", "title 10001", "createDrawing",
                 "mineralList result sel=9", "invalidateDescription", "mineralList result sel=0"}));
  EXPECT_EQ(state.view, View::Mineral);
  EXPECT_TRUE(state.resultFlag(View::Mineral));
  EXPECT_EQ(state.rememberedMineral, -1);
  EXPECT_EQ(host.buttons[1324], kButtonPressed);
  EXPECT_EQ(host.buttons[1325], kButtonUp);
}

TEST_F(CommandTableTest, ChangeActsOnTheCurrentRecord) {
  EXPECT_EQ(run(1003), (Log{"beep"}));
  state.view = View::Glossar;
  EXPECT_EQ(run(1003), (Log{"beep"}));
  EXPECT_EQ(run(1004), (Log{"beep"}));

  state.view = View::Fundort;
  host.localities = 4;
  host.localitySet = setOf({1, 2, 4});
  host.record = 4;
  host.outcomes[DialogKind::ChangeLocality].code = 1;
  // A changed name may move the locality: the list is made anew with it selected.
  EXPECT_EQ(run(1003), (Log{"dialog FundortErfassung-aendern rec=4", "allLocalities",
                            "rangeList kind=1 first=1 last=4 sel=4 set={1,2,4}", "rebuildDescription"}));
  host.description = false;
  EXPECT_EQ(run(1003), (Log{"dialog FundortErfassung-aendern rec=4", "allLocalities",
                            "rangeList kind=1 first=1 last=4 sel=4 set={1,2,4}"}));
  host.outcomes[DialogKind::ChangeLocality].code = 0;
  EXPECT_EQ(run(1003), (Log{"dialog FundortErfassung-aendern rec=4"}));  // cancelled

  state.view = View::Stufen;
  host.description = true;
  EXPECT_EQ(run(1003), (Log{"dialog StufenErfassung-aendern rec=4"}));  // cancelled
  // Stored: the list is made anew with the changed specimen still selected.
  host.outcomes[DialogKind::ChangeSpecimen].code = 1;
  EXPECT_EQ(run(1003), (Log{"dialog StufenErfassung-aendern rec=4", "allSpecimens",
                            "rangeList kind=2 first=1 last=0 sel=4 set={}", "rebuildDescription"}));
  host.outcomes[DialogKind::ChangeSpecimen].code = 0;
  host.record = 0;
  EXPECT_EQ(run(1003), Log{});
}

TEST_F(CommandTableTest, RepairBuildsTheListsAnewAndForgetsTheResults) {
  state.view = View::Stufen;
  host.specimens = 3;
  host.specimenSet = setOf({1, 2, 3});
  state.specimenResult = setOf({2, 3});
  state.resultFlag(View::Stufen) = true;
  // Declined (or not possible): nothing else happens.
  host.repairSucceeds = false;
  EXPECT_EQ(run(1010), (Log{"repairCollection"}));
  EXPECT_EQ(state.specimenResult, setOf({2, 3}));
  host.repairSucceeds = true;
  const Log log = run(1010);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "repairCollection");
  // Record numbers of the old result may name other records now.
  EXPECT_FALSE(state.resultFlag(View::Stufen));
  EXPECT_FALSE(state.specimenResult.has_value());
  EXPECT_NE(std::find(log.begin(), log.end(), "rangeList kind=2 first=1 last=3 sel=0 set={1,2,3}"), log.end())
      << ::testing::PrintToString(log);
  // Not while an exchange list is open: its records are not the collection's.
  state.exchangeOpen = true;
  EXPECT_EQ(run(1010), Log{});
}

TEST_F(CommandTableTest, DeleteAsksAndClearsTheResultBit) {
  state.view = View::Stufen;
  host.specimens = 3;
  host.specimenSet = setOf({1, 2, 3});
  host.record = 2;
  state.specimenResult = setOf({2, 3});
  state.resultFlag(View::Stufen) = true;

  EXPECT_EQ(run(1004), (Log{"ask 10093/10094"}));
  EXPECT_EQ(state.specimenResult, setOf({2, 3}));
  host.answerYes = true;
  // A delete that fails leaves the specimen in the result.
  host.deleteSucceeds = false;
  EXPECT_EQ(run(1004),
            (Log{"ask 10093/10094", "deleteSpecimen 2", "rangeList kind=2 first=1 last=3 sel=0 set={2,3}"}));
  EXPECT_EQ(state.specimenResult, setOf({2, 3}));
  host.deleteSucceeds = true;
  EXPECT_EQ(run(1004),
            (Log{"ask 10093/10094", "deleteSpecimen 2", "rangeList kind=2 first=1 last=3 sel=0 set={3}"}));

  state.view = View::Fundort;
  host.record = 3;
  host.localities = 3;
  host.localitySet = setOf({1, 2, 4});
  state.localityResult = setOf({3, 4});
  EXPECT_EQ(run(1004), (Log{"dialog FundstelleLoeschen rec=3"}));  // refused
  EXPECT_EQ(state.localityResult, setOf({3, 4}));
  host.outcomes[DialogKind::DeleteLocality].code = 1;
  EXPECT_EQ(run(1004), (Log{"dialog FundstelleLoeschen rec=3", "allLocalities",
                            "rangeList kind=1 first=1 last=3 sel=0 set={1,2,4}"}));
  EXPECT_EQ(state.localityResult, setOf({4}));
}

TEST_F(CommandTableTest, ExchangeListImportExportAndLeave) {
  // No file chosen: only the redrawing goes off and on again.
  EXPECT_EQ(run(1008), (Log{"redraw off", "chooseFile open", "redraw on"}));

  // A name without extension in a folder with a dot.
  host.chosenFile = "C:\\daten.v2\\meier";
  host.exchangeOpens = false;
  EXPECT_EQ(run(1008),
            (Log{"redraw off", "chooseFile open", "openExchange C:\\daten.v2\\meier.ktl", "redraw on"}));
  EXPECT_FALSE(state.exchangeOpen);

  host.exchangeOpens = true;
  prebuildEnablingSets();
  EXPECT_EQ(run(1008), (Log{"redraw off", "chooseFile open", "openExchange C:\\daten.v2\\meier.ktl",
                            "installExchangeMenu", "redraw on"}));
  EXPECT_TRUE(state.exchangeOpen);
  // The enabling copies described the own collection; they are built anew.
  EXPECT_FALSE(state.enablingLocalities.has_value());

  // Leaving from the Fundort view returns to Mineral.
  state.view = View::Fundort;
  host.drawing = false;
  EXPECT_EQ(run(1005), (Log{"redraw off", "closeExchange", "restoreMainMenu", "title 10001", "createDrawing",
                            "mineralList all sel=0", "invalidateDescription", "allLocalities", "allSpecimens",
                            "redraw on"}));
  EXPECT_FALSE(state.exchangeOpen);
  EXPECT_EQ(state.view, View::Mineral);

  // Importing from another view switches to Mineral before the file is opened.
  host.specimens = 1;
  host.specimenSet = setOf({1});
  runCommand(views, 1021);
  host.chosenFile = "liste";
  const Log log = run(1008);
  const auto open = std::find(log.begin(), log.end(), "openExchange liste.ktl");
  const auto list = std::find(log.begin(), log.end(), "mineralList all sel=0");
  ASSERT_NE(open, log.end());
  ASSERT_NE(list, log.end());
  EXPECT_LT(list, open);
  EXPECT_EQ(state.view, View::Mineral);

  host.chosenFile = "C:\\tausch\\an_meier";
  EXPECT_EQ(run(1009), (Log{"chooseFile save", "exportExchange C:\\tausch\\an_meier.ktl"}));
  host.chosenFile.reset();
  EXPECT_EQ(run(1009), (Log{"chooseFile save"}));
}

TEST_F(CommandTableTest, ExchangeModePutsTheOwnSearchResultsAside) {
  // A locality search over the own collection found locality 3.
  host.localities = 4;
  host.localitySet = setOf({1, 2, 3, 4});
  host.specimens = 5;
  host.specimenSet = setOf({1, 2, 3, 4, 5});
  host.outcomes[DialogKind::LocalitySearch] = {.code = 1, .records = setOf({3}), .mineral = 0};
  host.outcomes[DialogKind::SpecimenSearch] = {.code = 1, .records = setOf({2, 5}), .mineral = 0};
  run(1007);
  run(1006);
  ASSERT_TRUE(state.resultFlag(View::Fundort));
  ASSERT_TRUE(state.resultFlag(View::Stufen));

  // In the exchange list, locality 3 is another collector's locality: its
  // "Suchergebnis" must not list it, nor may the Fundort view start with it.
  host.chosenFile = "meier";
  run(1008);
  ASSERT_TRUE(state.exchangeOpen);
  EXPECT_FALSE(state.localityResult.has_value());
  EXPECT_FALSE(state.specimenResult.has_value());
  EXPECT_FALSE(state.resultFlag(View::Fundort));
  EXPECT_FALSE(state.resultFlag(View::Stufen));
  host.localities = 2;
  host.localitySet = setOf({1, 2});
  EXPECT_EQ(run(1022), (Log{"allLocalities", "destroyDrawing", "title 10097",
                            "rangeList kind=1 first=1 last=2 sel=0 set={1,2}",
                            // the toolbar's copies, dropped with the own collection
                            "allLocalities", "allSpecimens"}));
  EXPECT_EQ(host.buttons[1324], kButtonDisabled);
  run(1024);
  EXPECT_FALSE(state.resultFlag(View::Fundort));

  // A search inside the exchange list is that list's own and ends with it.
  host.outcomes[DialogKind::LocalitySearch] = {.code = 1, .records = setOf({2}), .mineral = 0};
  run(1006);
  EXPECT_EQ(state.localityResult, setOf({2}));

  // Back in the own collection, its results and flags are as they were.
  host.localities = 4;
  host.localitySet = setOf({1, 2, 3, 4});
  run(1005);
  EXPECT_FALSE(state.exchangeOpen);
  EXPECT_EQ(state.localityResult, setOf({3}));
  EXPECT_EQ(state.specimenResult, setOf({2, 5}));
  EXPECT_TRUE(state.resultFlag(View::Fundort));
  EXPECT_TRUE(state.resultFlag(View::Stufen));
  EXPECT_EQ(run(1022), (Log{"allLocalities", "destroyDrawing", "title 10097",
                            "rangeList kind=1 first=1 last=4 sel=0 set={3}"}));
}

TEST_F(CommandTableTest, LocalitySearchSwitchesToTheResult) {
  host.localities = 4;
  host.localitySet = setOf({1, 2, 3, 4});
  prebuildEnablingSets();
  host.outcomes[DialogKind::LocalitySearch] = {.code = 1, .records = setOf({3}), .mineral = 0};
  EXPECT_EQ(run(1006), (Log{"dialog Fundortsuche rec=0", "title 10097", "destroyDrawing", "allLocalities",
                            "title 10097", "rangeList kind=1 first=1 last=4 sel=0 set={3}",
                            "rangeList kind=1 first=1 last=4 sel=0 set={3}"}));
  EXPECT_EQ(state.view, View::Fundort);
  EXPECT_TRUE(state.resultFlag(View::Fundort));
  EXPECT_EQ(host.buttons[1322], kButtonPressed);
  EXPECT_EQ(host.buttons[1324], kButtonPressed);

  // The toolbar "Suchen" in the Stufen view runs "Sammlungsauswertung".
  state.view = View::Stufen;
  host.specimens = 3;
  host.outcomes[DialogKind::SpecimenSearch] = {.code = 1, .records = setOf({2}), .mineral = 0};
  EXPECT_EQ(run(1333), (Log{"dialog Sammlungsauswertung rec=0", "title 10098",
                            "rangeList kind=2 first=1 last=3 sel=0 set={2}"}));
  EXPECT_EQ(state.specimenResult, setOf({2}));
}

TEST_F(CommandTableTest, CancelledSearchKeepsTheToolbarOfTheShownView) {
  prebuildEnablingSets();
  state.resultFlag(View::Mineral) = true;
  host.mineralResult = true;
  EXPECT_EQ(run(1006), (Log{"dialog Fundortsuche rec=0"}));
  EXPECT_EQ(state.view, View::Mineral);
  // The mineral list still shows the determination result.
  EXPECT_EQ(host.buttons[1324], kButtonPressed);
  EXPECT_EQ(host.buttons[1325], kButtonUp);
  EXPECT_FALSE(state.resultFlag(View::Fundort));
}

TEST_F(CommandTableTest, AddLocalityAndSpecimen) {
  // The first locality makes the Fundort button usable in the Mineral view.
  views.refreshToolbar(false);
  EXPECT_EQ(host.buttons[1322], kButtonDisabled);
  host.take();
  host.outcomes[DialogKind::NewLocality].code = 1;
  host.duringDialog = [&](DialogKind d) {
    if (d == DialogKind::NewLocality) {
      host.localities = 1;
      host.localitySet = setOf({1});
    }
  };
  EXPECT_EQ(run(1013), (Log{"dialog FundortErfassung-neu rec=0", "allLocalities"}));
  EXPECT_EQ(host.buttons[1322], kButtonUp);

  // In the Fundort view over all localities the list is made anew.
  // The dialog finds the index damaged: the searches are grayed at once.
  state.view = View::Fundort;
  host.duringDialog = [&](DialogKind) {
    host.localities = 2;
    host.localitySet = setOf({1, 2});
    host.damaged = true;
  };
  EXPECT_EQ(run(1013), (Log{"dialog FundortErfassung-neu rec=0", "graySearchItems", "allLocalities",
                            "rangeList kind=1 first=1 last=2 sel=0 set={1,2}", "allLocalities"}));
  EXPECT_TRUE(state.indexDamaged);
  // A rebuild in a later dialog clears it; nothing is grayed then.
  host.duringDialog = [&](DialogKind) { host.damaged = false; };
  EXPECT_EQ(run(1013), (Log{"dialog FundortErfassung-neu rec=0", "allLocalities",
                            "rangeList kind=1 first=1 last=2 sel=0 set={1,2}", "allLocalities"}));
  EXPECT_FALSE(state.indexDamaged);
  host.duringDialog = [&](DialogKind) { host.damaged = true; };
  EXPECT_EQ(run(1014), (Log{"dialog StufenErfassung-neu rec=0", "graySearchItems", "rebuildDescription"}));
  host.damaged = false;

  // A specimen at a known locality in the Fundort view refreshes the description.
  host.outcomes[DialogKind::NewSpecimen].code = 1;
  host.duringDialog = [&](DialogKind) {
    host.specimens = 1;
    host.specimenSet = setOf({1});
  };
  EXPECT_EQ(run(1014), (Log{"dialog StufenErfassung-neu rec=0", "rebuildDescription", "allSpecimens"}));
  EXPECT_EQ(host.buttons[1321], kButtonUp);

  // With a new locality the Fundort list is made anew instead.
  host.duringDialog = [&](DialogKind) {
    host.specimens = 2;
    host.specimenSet = setOf({1, 2});
    host.localities = 3;
    host.localitySet = setOf({1, 2, 3});
  };
  EXPECT_EQ(run(1014),
            (Log{"dialog StufenErfassung-neu rec=0", "allLocalities",
                 "rangeList kind=1 first=1 last=3 sel=0 set={1,2,3}", "allLocalities", "allSpecimens"}));

  // In the Stufen view over all specimens the list follows, even when the
  // dialog was left after a specimen had been stored.
  state.view = View::Stufen;
  host.outcomes[DialogKind::NewSpecimen].code = 0;
  host.duringDialog = [&](DialogKind) {
    host.specimens = 3;
    host.specimenSet = setOf({1, 2, 3});
  };
  EXPECT_EQ(run(1014), (Log{"dialog StufenErfassung-neu rec=0", "allSpecimens",
                            "rangeList kind=2 first=1 last=3 sel=0 set={1,2,3}", "allSpecimens"}));
  // Showing a search result, the list stays.
  state.resultFlag(View::Stufen) = true;
  state.specimenResult = setOf({1});
  host.outcomes[DialogKind::NewSpecimen].code = 1;
  host.duringDialog = nullptr;
  EXPECT_EQ(run(1014), (Log{"dialog StufenErfassung-neu rec=0", "allSpecimens"}));
  EXPECT_EQ(host.buttons[1324], kButtonPressed);
}

TEST_F(CommandTableTest, NameSearchShowsAllMineralsWithTheChosenOne) {
  EXPECT_EQ(run(1015), (Log{"dialog Namensuche rec=0"}));  // cancelled

  prebuildEnablingSets();
  state.view = View::Stufen;
  host.drawing = false;
  state.resultFlag(View::Mineral) = true;
  host.mineralResult = true;
  host.mineral = 3;
  host.outcomes[DialogKind::NameSearch].mineral = 17;
  EXPECT_EQ(run(1015), (Log{"dialog Namensuche rec=0", "title 10001", "createDrawing",
                            "mineralList result sel=3", "invalidateDescription", "mineralList all sel=3",
                            "invalidateDescription", "mineralList all sel=17", "invalidateDescription"}));
  EXPECT_FALSE(state.resultFlag(View::Mineral));
  EXPECT_EQ(host.buttons[1325], kButtonPressed);
}

TEST_F(CommandTableTest, PrintCommandsFollowTheView) {
  host.mineral = 43;
  EXPECT_EQ(run(1030), (Log{"printProfile 42"}));
  EXPECT_EQ(run(1332), (Log{"printProfile 42"}));
  host.mineral = 0;
  EXPECT_EQ(run(1030), Log{});

  state.view = View::Fundort;
  host.record = 5;
  EXPECT_EQ(run(1332), (Log{"printLocality 5"}));

  state.view = View::Stufen;
  host.specimenSet = setOf({1, 2});
  EXPECT_EQ(run(1332), (Log{"allSpecimens", "printSpecimenList {1,2}"}));
  state.resultFlag(View::Stufen) = true;
  state.specimenResult = setOf({2});
  EXPECT_EQ(run(1033), (Log{"printSpecimenList {2}"}));
  // Labels for the result with the selected specimen, or for all specimens without a result.
  host.record = 2;
  EXPECT_EQ(run(1035), (Log{"printSpecimenLabels {2} sel=2"}));
  state.resultFlag(View::Stufen) = false;
  EXPECT_EQ(run(1035), (Log{"allSpecimens", "printSpecimenLabels {1,2} sel=2"}));
  state.resultFlag(View::Stufen) = true;

  state.view = View::Glossar;
  EXPECT_EQ(run(1332), Log{});
  EXPECT_EQ(run(1333), Log{});
  EXPECT_EQ(run(1034), (Log{"dialog DirektMMErfassung rec=0"}));
  EXPECT_EQ(run(1040), (Log{"dialog InfoDialog rec=0"}));
}

TEST_F(CommandTableTest, OptionsResortAndRefont) {
  state.view = View::Stufen;
  host.specimens = 2;
  host.specimenSet = setOf({1, 2});
  EXPECT_EQ(run(1041), (Log{"dialog OptionsDialog rec=0"}));

  host.outcomes[DialogKind::Options].code = 1;
  host.duringDialog = [&](DialogKind) { host.font = 2; };
  EXPECT_EQ(run(1041),
            (Log{"dialog OptionsDialog rec=0", "resortSpecimens", "allSpecimens",
                 "rangeList kind=2 first=1 last=2 sel=0 set={1,2}", "repaintDescription", "applyListFont"}));
}

}  // namespace
}  // namespace kalvor::views
