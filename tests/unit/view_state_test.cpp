#include <gtest/gtest.h>

#include "tests/unit/view_host_fake.h"
#include "views/view_state.h"

namespace kalvor::views {
namespace {

using testing::FakeHost;
using testing::setOf;
using Log = std::vector<std::string>;
using Calls = std::vector<std::pair<int, int>>;

class ViewStateTest : public ::testing::Test {
 protected:
  ViewState state;
  FakeHost host;
  ViewController views{state, host.ports()};
};

TEST_F(ViewStateTest, ToolbarRefreshSetsTheButtonsInOrder) {
  host.localities = 0;
  host.specimens = 3;
  host.specimenSet = setOf({1, 2, 3});

  views.refreshToolbar(false);
  // Up first, then the Fundort button disabled for lack of localities, print
  // up, Mineral pressed, "Alle Einträge" pressed with no result to offer, and
  // the description window open.
  EXPECT_EQ(host.toolbarCalls, (Calls{{1320, 4}, {1323, 4}, {1322, 4}, {1321, 4}, {1333, 4},
                                      {1322, 16}, {1332, 4}, {1320, 7}, {1325, 7}, {1324, 16},
                                      {1331, 7}, {1330, 4}}));
  EXPECT_EQ(host.take(), (Log{"allLocalities", "allSpecimens"}));

  // The copies exist now: a second refresh builds nothing.
  host.toolbarCalls.clear();
  views.refreshToolbar(false);
  EXPECT_EQ(host.take(), Log{});
  EXPECT_EQ(host.toolbarCalls.size(), 12u);

  // Stufen showing its result, the description window closed.
  state.view = View::Stufen;
  state.specimenResult = setOf({2});
  host.description = false;
  host.toolbarCalls.clear();
  views.refreshToolbar(true);
  EXPECT_EQ(host.toolbarCalls, (Calls{{1320, 4}, {1323, 4}, {1322, 4}, {1321, 4}, {1333, 4},
                                      {1322, 16}, {1332, 4}, {1321, 7}, {1325, 4}, {1324, 7},
                                      {1331, 4}, {1330, 7}}));

  // Fundort without localities: search disabled, yet the view button pressed.
  state.view = View::Fundort;
  host.toolbarCalls.clear();
  views.refreshToolbar(false);
  EXPECT_EQ(host.toolbarCalls, (Calls{{1320, 4}, {1323, 4}, {1322, 4}, {1321, 4}, {1333, 4},
                                      {1322, 16}, {1332, 4}, {1333, 16}, {1322, 7}, {1325, 7},
                                      {1324, 16}, {1331, 4}, {1330, 7}}));

  // Glossar: no result, the description window pressed and the list button disabled.
  state.view = View::Glossar;
  host.description = true;
  host.toolbarCalls.clear();
  views.refreshToolbar(false);
  EXPECT_EQ(host.toolbarCalls, (Calls{{1320, 4}, {1323, 4}, {1322, 4}, {1321, 4}, {1333, 4},
                                      {1322, 16}, {1332, 4}, {1333, 16}, {1323, 7}, {1331, 7},
                                      {1330, 16}, {1332, 16}, {1325, 7}, {1324, 16}}));
}

TEST_F(ViewStateTest, ToolbarRefreshWithoutToolbarDoesNothing) {
  host.toolbar = false;
  views.refreshToolbar(false);
  EXPECT_TRUE(host.toolbarCalls.empty());
  EXPECT_EQ(host.take(), Log{});
  EXPECT_FALSE(state.enablingLocalities.has_value());
}

TEST_F(ViewStateTest, NoSpecimensDisablesTheStufenButtonAndRefusesTheSwitch) {
  host.localities = 2;
  host.localitySet = setOf({1, 2});
  host.specimens = 0;
  views.refreshToolbar(false);
  EXPECT_EQ(host.buttons[1321], kButtonDisabled);
  EXPECT_EQ(host.buttons[1322], kButtonUp);

  // A count that claims specimens while the set is empty also disables.
  host.specimens = 4;
  state.enablingSpecimens.reset();
  views.refreshToolbar(false);
  EXPECT_EQ(host.buttons[1321], kButtonDisabled);
  host.take();

  // The switch itself changes nothing and says nothing.
  views.switchToRecords(View::Stufen);
  EXPECT_EQ(host.take(), (Log{"allSpecimens"}));
  EXPECT_EQ(state.view, View::Mineral);
  EXPECT_TRUE(host.drawing);
}

TEST_F(ViewStateTest, SwitchToStufenAndBackToMineral) {
  host.specimens = 3;
  host.specimenSet = setOf({1, 2, 3});
  host.mineral = 7;

  views.switchToRecords(View::Stufen);
  EXPECT_EQ(host.take(), (Log{"allSpecimens", "destroyDrawing", "title 10098",
                              "rangeList kind=2 first=1 last=3 sel=0 set={1,2,3}",
                              "allLocalities", "allSpecimens"}));
  EXPECT_EQ(state.view, View::Stufen);
  EXPECT_EQ(state.descriptionKind, DescriptionKind::Specimen);
  EXPECT_EQ(host.buttons[1321], kButtonPressed);
  EXPECT_EQ(host.buttons[1320], kButtonUp);

  views.switchToRecords(View::Stufen);
  EXPECT_EQ(host.take(), (Log{"beep"}));

  // Back to Mineral: the drawing window returns beside the open description window.
  views.switchToMineral();
  EXPECT_EQ(host.take(), (Log{"title 10001", "createDrawing", "mineralList all sel=7",
                              "invalidateDescription"}));
  EXPECT_EQ(state.descriptionKind, DescriptionKind::Mineral);
  EXPECT_EQ(host.buttons[1320], kButtonPressed);
  views.switchToMineral();
  EXPECT_EQ(host.take(), (Log{"beep"}));

  // With the description window closed no title is set and no drawing window made.
  views.switchToRecords(View::Stufen);
  host.description = false;
  host.drawing = false;
  host.take();
  views.switchToMineral();
  EXPECT_EQ(host.take(), (Log{"mineralList all sel=7"}));
}

TEST_F(ViewStateTest, SwitchToStufenUsesTheResultWhenItsFlagIsSet) {
  host.specimens = 5;
  host.specimenSet = setOf({1, 2, 3, 4, 5});
  state.specimenResult = setOf({4});
  state.resultFlag(View::Stufen) = true;
  views.switchToRecords(View::Stufen);
  const Log log = host.take();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[3], "rangeList kind=2 first=1 last=5 sel=0 set={4}");
  EXPECT_EQ(host.buttons[1324], kButtonPressed);
}

TEST_F(ViewStateTest, GlossaryKeepsTheDescriptionWindowOpen) {
  views.switchToGlossary();
  EXPECT_EQ(host.take(), (Log{"redraw off", "destroyDrawing", "title 10077", "openGlossary",
                              "rangeList kind=0 first=1 last=120 sel=0 set=none",
                              "allLocalities", "allSpecimens"}));
  EXPECT_EQ(state.view, View::Glossar);
  EXPECT_EQ(state.descriptionKind, DescriptionKind::Glossary);

  // "Ausführliche Liste" leaves the description window open in this view.
  views.detailedList();
  EXPECT_EQ(host.take(), (Log{"focusList"}));
  EXPECT_TRUE(host.description);
  EXPECT_EQ(host.buttons[1331], kButtonPressed);
  EXPECT_EQ(host.buttons[1330], kButtonDisabled);
  EXPECT_EQ(host.buttons[1323], kButtonPressed);

  views.switchToGlossary();
  EXPECT_EQ(host.take(), (Log{"beep"}));

  // "Alle Einträge" and "Suchergebnis" do nothing in the glossary.
  views.showEntries(true);
  views.showEntries(false);
  EXPECT_EQ(host.take(), Log{});

  // Leaving closes the glossary.
  views.switchToMineral();
  EXPECT_EQ(host.take(), (Log{"closeGlossary", "title 10001", "createDrawing",
                              "mineralList all sel=0", "invalidateDescription"}));
}

TEST_F(ViewStateTest, GlossaryOpensAClosedDescriptionWindow) {
  host.description = false;
  host.drawing = false;
  views.switchToGlossary();
  EXPECT_EQ(host.take(), (Log{"redraw off", "createDescription", "linkDescription", "title 10077",
                              "openGlossary", "rangeList kind=0 first=1 last=120 sel=0 set=none",
                              "allLocalities", "allSpecimens"}));
  EXPECT_TRUE(host.description);
}

TEST_F(ViewStateTest, RefusedSwitchFromGlossaryLeavesTheGlossaryOpen) {
  host.specimens = 0;
  host.localities = 1;
  host.localitySet = setOf({1});
  views.switchToGlossary();
  host.take();
  views.switchToRecords(View::Stufen);
  EXPECT_EQ(host.take(), (Log{"allSpecimens"}));
  EXPECT_EQ(state.view, View::Glossar);
  EXPECT_EQ(state.descriptionKind, DescriptionKind::Glossary);

  // A switch that happens closes it first and clears the glossary kind.
  views.switchToRecords(View::Fundort);
  EXPECT_EQ(host.take(), (Log{"allLocalities", "closeGlossary", "title 10097",
                              "rangeList kind=1 first=1 last=1 sel=0 set={1}"}));
  EXPECT_EQ(state.descriptionKind, DescriptionKind::Locality);
}

TEST_F(ViewStateTest, AllEntriesAfterASearchKeepsTheSelectedMineral) {
  state.resultFlag(View::Mineral) = true;
  host.mineralResult = true;
  host.mineral = 42;

  views.showEntries(false);
  EXPECT_EQ(host.take(), (Log{"mineralList all sel=42", "invalidateDescription",
                              "allLocalities", "allSpecimens"}));
  EXPECT_FALSE(state.resultFlag(View::Mineral));
  EXPECT_EQ(host.buttons[1325], kButtonPressed);
  EXPECT_EQ(host.buttons[1324], kButtonUp);  // the result can be shown again

  views.showEntries(false);
  EXPECT_EQ(host.take(), Log{});

  views.showEntries(true);
  EXPECT_EQ(host.take(), (Log{"mineralList result sel=42", "invalidateDescription"}));
  EXPECT_TRUE(state.resultFlag(View::Mineral));
  EXPECT_EQ(host.buttons[1325], kButtonUp);
  EXPECT_EQ(host.buttons[1324], kButtonPressed);

  // A result that has gone makes the list fall back to all minerals.
  host.mineralResult = false;
  views.showMineralList();
  EXPECT_EQ(host.take(), (Log{"mineralList all sel=42", "invalidateDescription"}));
  EXPECT_FALSE(state.resultFlag(View::Mineral));
}

TEST_F(ViewStateTest, FundortResultAndAllEntriesKeepTheCurrentLocality) {
  state.view = View::Fundort;
  host.localities = 6;
  host.localitySet = setOf({1, 2, 3, 4, 5, 6});
  host.record = 5;

  // No search yet: "Suchergebnis" has nothing to show.
  views.showEntries(true);
  EXPECT_EQ(host.take(), Log{});
  EXPECT_FALSE(state.resultFlag(View::Fundort));

  state.localityResult = setOf({2, 5});
  views.showEntries(true);
  EXPECT_EQ(host.take(), (Log{"rangeList kind=1 first=1 last=6 sel=5 set={2,5}",
                              "allLocalities", "allSpecimens"}));

  // "Alle Einträge" rebuilds the set first, so a locality added meanwhile shows.
  host.localities = 7;
  host.localitySet = setOf({1, 2, 3, 4, 5, 6, 7});
  host.record = 2;
  views.showEntries(false);
  EXPECT_EQ(host.take(), (Log{"allLocalities",
                              "rangeList kind=1 first=1 last=7 sel=2 set={1,2,3,4,5,6,7}"}));

  // Stufen never carries the selection over.
  state.view = View::Stufen;
  host.specimens = 2;
  host.specimenSet = setOf({1, 2});
  state.specimenResult = setOf({1});
  views.showEntries(true);
  EXPECT_EQ(host.take(), (Log{"rangeList kind=2 first=1 last=2 sel=0 set={1}"}));
}

TEST_F(ViewStateTest, SideWindowsOpenAndClose) {
  host.description = false;
  host.drawing = false;
  views.openSideWindows();
  EXPECT_EQ(host.take(), (Log{"createDescription", "createDrawing", "linkDescription",
                              "title 10001", "placeList", "focusList", "allLocalities",
                              "allSpecimens"}));
  EXPECT_EQ(host.buttons[1331], kButtonPressed);
  EXPECT_EQ(host.buttons[1330], kButtonUp);

  // Everything open already: only the focus moves.
  views.openSideWindows();
  EXPECT_EQ(host.take(), (Log{"focusList"}));

  views.detailedList();
  EXPECT_EQ(host.take(), (Log{"closeDescription", "focusList"}));
  views.detailedList();
  EXPECT_EQ(host.take(), (Log{"focusList"}));

  // Stufen has no drawing window.
  state.view = View::Stufen;
  views.openSideWindows();
  EXPECT_EQ(host.take(), (Log{"createDescription", "linkDescription", "title 10098",
                              "placeList", "focusList"}));
  EXPECT_FALSE(host.drawing);
}

TEST(ExchangeExtension, AppendedOnlyWhenTheFileNameHasNoDot) {
  EXPECT_EQ(withExchangeExtension("liste"), "liste.ktl");
  EXPECT_EQ(withExchangeExtension("C:\\kalvor\\tausch\\meier"), "C:\\kalvor\\tausch\\meier.ktl");
  // A dot in the folder does not count.
  EXPECT_EQ(withExchangeExtension("C:\\daten.v2\\meier"), "C:\\daten.v2\\meier.ktl");
  EXPECT_EQ(withExchangeExtension("C:/daten.v2/meier"), "C:/daten.v2/meier.ktl");
  EXPECT_EQ(withExchangeExtension("C:\\daten.v2\\meier.ktl"), "C:\\daten.v2\\meier.ktl");
  EXPECT_EQ(withExchangeExtension("C:\\tausch\\meier.alt"), "C:\\tausch\\meier.alt");
}

}  // namespace
}  // namespace kalvor::views
