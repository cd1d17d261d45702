#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/view_host_fake.h"
#include "views/menu_rules.h"

namespace kalvor::views {
namespace {

using testing::FakeHost;
using testing::FakeMenu;
using testing::setOf;
using Log = std::vector<std::string>;

class MenuRulesTest : public ::testing::Test {
 protected:
  ViewState state;
  FakeHost host;
  ViewController views{state, host.ports()};
  FakeMenu menu;

  Log prepare(int position) {
    menu.log.clear();
    prepareMenuPopup(position, views, menu);
    return menu.log;
  }
};

TEST_F(MenuRulesTest, MainBarInTheMineralView) {
  host.localities = 0;
  host.specimens = 3;
  host.specimenSet = setOf({1, 2, 3});

  EXPECT_EQ(prepare(0), Log{});  // "&Datei"
  EXPECT_EQ(prepare(1), (Log{"gray 1006", "enable 1007"}));
  EXPECT_EQ(host.take(), (Log{"allLocalities", "allSpecimens"}));
  EXPECT_EQ(prepare(2), (Log{"gray 1003", "gray 1004"}));
  EXPECT_EQ(prepare(3), (Log{"gray 1022", "enable 1021", "uncheck 1020", "uncheck 1022",
                             "uncheck 1021", "uncheck 1027", "check 1020", "uncheck 1025",
                             "uncheck 1026", "enable 1025", "check 1026", "uncheck 1023",
                             "uncheck 1024", "gray 1024", "check 1023"}));
  EXPECT_EQ(prepare(4), (Log{"gray 1030", "gray 1031", "gray 1033", "gray 1035", "enable 1030"}));
  EXPECT_EQ(prepare(5), Log{});
  EXPECT_EQ(prepare(6), Log{});
}

TEST_F(MenuRulesTest, AnsichtFollowsViewResultAndDescriptionWindow) {
  host.localities = 3;
  host.localitySet = setOf({1, 2, 3});
  host.specimens = 2;
  host.specimenSet = setOf({1, 2});
  state.view = View::Stufen;
  state.specimenResult = setOf({2});
  state.resultFlag(View::Stufen) = true;
  host.description = false;

  prepare(3);
  EXPECT_TRUE(menu.enabled[1022]);
  EXPECT_TRUE(menu.enabled[1021]);
  EXPECT_TRUE(menu.checked[1021]);
  EXPECT_FALSE(menu.checked[1020]);
  EXPECT_TRUE(menu.checked[1025]);   // the description window is closed
  EXPECT_FALSE(menu.checked[1026]);
  EXPECT_TRUE(menu.enabled[1024]);
  EXPECT_TRUE(menu.checked[1024]);
  EXPECT_FALSE(menu.checked[1023]);
  EXPECT_EQ(prepare(2), (Log{"enable 1003", "enable 1004"}));
  EXPECT_EQ(prepare(4),
            (Log{"gray 1030", "gray 1031", "gray 1033", "gray 1035", "enable 1033", "enable 1035"}));

  // A mineral result does not enable "Suchergebnis" in the Fundort view.
  state.view = View::Fundort;
  host.mineralResult = true;
  prepare(3);
  EXPECT_FALSE(menu.enabled[1024]);
  EXPECT_TRUE(menu.checked[1023]);
}

TEST_F(MenuRulesTest, GlossaryGraysPrintingAndTheDetailedList) {
  host.specimens = 0;
  state.view = View::Glossar;
  // The glossary keeps the description window open.
  EXPECT_EQ(prepare(4), (Log{"gray 1030", "gray 1031", "gray 1033", "gray 1035"}));
  EXPECT_EQ(menu.enabled.count(1034), 0u);  // "Etiketten (&Direkt)" is never touched
  prepare(3);
  EXPECT_FALSE(menu.enabled[1025]);
  EXPECT_TRUE(menu.checked[1026]);
  EXPECT_TRUE(menu.checked[1027]);
  EXPECT_TRUE(menu.checked[1023]);
  EXPECT_FALSE(menu.enabled[1024]);
  // No specimens: "S&tufen" grayed.
  EXPECT_FALSE(menu.enabled[1021]);
}

TEST_F(MenuRulesTest, ExchangeBarHasNoChangePopup) {
  state.exchangeOpen = true;
  state.view = View::Fundort;
  host.localities = 4;
  host.localitySet = setOf({1, 2, 3, 4});
  state.localityResult = setOf({3});
  state.resultFlag(View::Fundort) = true;

  // Position 2 is "&Ansicht" in "Tauschmenu".
  // Whatever popup opens, the commands that would write to the collection
  // are grayed last (the bar lacks their items, but never enables them).
  const Log writes = {"gray 1003", "gray 1004", "gray 1013", "gray 1014"};
  const Log ansicht = prepare(2);
  EXPECT_EQ(ansicht.front(), "enable 1022");
  EXPECT_TRUE(std::equal(writes.rbegin(), writes.rend(), ansicht.rbegin()));
  EXPECT_EQ(ansicht[ansicht.size() - writes.size() - 1], "check 1024");
  EXPECT_EQ(std::count(ansicht.begin(), ansicht.end(), "enable 1003"), 0);
  EXPECT_EQ(prepare(3), (Log{"gray 1030", "gray 1031", "gray 1033", "gray 1035", "enable 1031", "gray 1003",
                             "gray 1004", "gray 1013", "gray 1014"}));
  EXPECT_EQ(prepare(4), writes);  // "&Optionen"
  EXPECT_EQ(prepare(1),
            (Log{"enable 1006", "gray 1007", "gray 1003", "gray 1004", "gray 1013", "gray 1014"}));
}

TEST_F(MenuRulesTest, PreparationRebuildsTheEnablingSets) {
  host.localities = 1;
  host.localitySet = setOf({1});
  views.refreshToolbar(false);
  EXPECT_EQ(host.buttons[1321], kButtonDisabled);
  // A specimen arrives behind the toolbar's back; opening "&Suchen" sees it.
  host.specimens = 1;
  host.specimenSet = setOf({1});
  host.take();
  EXPECT_EQ(prepare(1), (Log{"enable 1006", "enable 1007"}));
  EXPECT_EQ(host.take(), (Log{"allLocalities", "allSpecimens"}));
  views.refreshToolbar(false);
  EXPECT_EQ(host.buttons[1321], kButtonUp);
}

}  // namespace
}  // namespace kalvor::views
