// No command may be enabled while the program has nothing that acts on it:
// the command table is walked in every view, with and without an exchange
// list, against the dialogs and print jobs kalvor.exe has today.
#include <gtest/gtest.h>

#include <string>

#include "shell/host/available.h"
#include "tests/unit/view_host_fake.h"
#include "views/command_table.h"
#include "views/menu_rules.h"

namespace kalvor::views {
namespace {

using testing::FakeHost;
using testing::FakeMenu;
using testing::setOf;

constexpr View kViews[] = {View::Mineral, View::Stufen, View::Fundort, View::Glossar};
constexpr DialogKind kAllDialogs[] = {
    DialogKind::MineralSearch, DialogKind::LocalitySearch, DialogKind::SpecimenSearch,
    DialogKind::NewLocality,   DialogKind::ChangeLocality, DialogKind::DeleteLocality,
    DialogKind::NewSpecimen,   DialogKind::ChangeSpecimen, DialogKind::NameSearch,
    DialogKind::DirectLabels,  DialogKind::Info,           DialogKind::Options};
constexpr PrintJob kAllJobs[] = {PrintJob::MineralProfile, PrintJob::Locality, PrintJob::SpecimenList,
                                 PrintJob::SpecimenLabels};

// A collection with records, a list with a current entry, and the host's
// dialogs and print jobs as kalvor.exe has them (or all of them).
void setUp(FakeHost& host, ViewState& state, View view, bool exchange, bool everything) {
  host.localities = 2;
  host.localitySet = setOf({1, 2});
  host.specimens = 2;
  host.specimenSet = setOf({1, 2});
  host.mineral = 11;
  host.record = 1;
  host.mineralResult = true;
  host.chosenFile = "tausch";
  host.answerYes = true;
  for (DialogKind d : kAllDialogs) {
    if (!everything && !shell::available(d)) host.missingDialogs.insert(d);
  }
  for (PrintJob j : kAllJobs) {
    if (!everything && !shell::available(j)) host.missingJobs.insert(j);
  }
  state.view = view;
  state.exchangeOpen = exchange;
  state.localityResult = setOf({2});
  state.specimenResult = setOf({1});
}

// Whether the user can choose `id` in that state: its menu item after every
// popup was prepared, or its toolbar button after the refresh.
std::map<int, bool> choosable(View view, bool exchange, bool everything) {
  FakeHost host;
  ViewState state;
  setUp(host, state, view, exchange, everything);
  ViewController views(state, host.ports());
  FakeMenu menu;
  for (int position = 0; position < 7; ++position) prepareMenuPopup(position, views, menu);
  views.refreshToolbar();
  std::map<int, bool> result;
  for (const CommandEntry& entry : commandTable()) {
    if (entry.id >= CMD_TOOLBAR_VIEW_MINERAL) {
      const auto it = host.buttons.find(entry.id);
      result[entry.id] = it == host.buttons.end() || it->second != kButtonDisabled;
    } else {
      const auto it = menu.enabled.find(entry.id);
      result[entry.id] = it == menu.enabled.end() || it->second;
    }
  }
  return result;
}

TEST(CommandAvailabilityTest, NoCommandIsChoosableWithoutSomethingThatActsOnIt) {
  int checked = 0;
  for (const bool exchange : {false, true}) {
    for (const View view : kViews) {
      const std::map<int, bool> canChoose = choosable(view, exchange, false);
      for (const CommandEntry& entry : commandTable()) {
        if (!canChoose.at(entry.id)) continue;
        FakeHost host;
        ViewState state;
        setUp(host, state, view, exchange, false);
        ViewController views(state, host.ports());
        const std::string where = "command " + std::to_string(entry.id) + " in view " +
                                  std::to_string(static_cast<int>(view)) + (exchange ? " (exchange)" : "");
        EXPECT_TRUE(commandAvailable(views, entry.id)) << where;
        runCommand(views, entry.id);
        EXPECT_EQ(host.callsToMissing, std::vector<std::string>{}) << where;
        ++checked;
      }
    }
  }
  // The walk really ran over choosable commands.
  EXPECT_GT(checked, 100);
}

TEST(CommandAvailabilityTest, MissingDialogsGrayTheirCommandsAndNothingElse) {
  const std::map<int, bool> today = choosable(View::Mineral, false, false);
  const std::map<int, bool> complete = choosable(View::Mineral, false, true);
  // "Suchen" / "Mineral" and its toolbar button have their dialog, as have
  // "Namensuche", the locality form and the printed reports.
  EXPECT_TRUE(today.at(CMD_SEARCH_MINERAL));
  EXPECT_TRUE(today.at(CMD_TOOLBAR_SEARCH));
  EXPECT_TRUE(today.at(CMD_TOOLBAR_PRINT));
  EXPECT_TRUE(today.at(CMD_PRINT_PROFILE));
  EXPECT_TRUE(today.at(CMD_ADD_LOCALITY));
  EXPECT_TRUE(today.at(CMD_SEARCH_NAME));
  EXPECT_TRUE(today.at(CMD_INFO));
  EXPECT_TRUE(today.at(CMD_OPTIONS));
  // With every dialog and print job the same items are enabled by the menu rules alone.
  EXPECT_TRUE(complete.at(CMD_SEARCH_MINERAL));
  EXPECT_TRUE(complete.at(CMD_TOOLBAR_SEARCH));
  EXPECT_TRUE(complete.at(CMD_TOOLBAR_PRINT));
  EXPECT_TRUE(complete.at(CMD_PRINT_PROFILE));
  EXPECT_TRUE(complete.at(CMD_ADD_LOCALITY));
  for (const auto& [id, on] : today) {
    EXPECT_TRUE(!on || complete.at(id)) << id;
  }
}

TEST(CommandAvailabilityTest, ChangeAndDeleteFollowTheDialogOfTheView) {
  FakeHost host;
  ViewState state;
  setUp(host, state, View::Fundort, false, false);
  host.missingDialogs = {DialogKind::ChangeLocality, DialogKind::DeleteLocality};
  ViewController views(state, host.ports());
  EXPECT_FALSE(commandAvailable(views, CMD_CHANGE));
  EXPECT_FALSE(commandAvailable(views, CMD_DELETE));
  // A command that arrives anyway is refused audibly, without touching the dialog.
  host.take();
  runCommand(views, CMD_DELETE);
  EXPECT_EQ(host.take(), std::vector<std::string>{"beep"});
  EXPECT_TRUE(host.callsToMissing.empty());
  // Deleting a specimen only asks: it needs no dialog of its own.
  state.view = View::Stufen;
  EXPECT_TRUE(commandAvailable(views, CMD_DELETE));
  host.missingDialogs.insert(DialogKind::ChangeSpecimen);
  EXPECT_FALSE(commandAvailable(views, CMD_CHANGE));
  host.missingDialogs.clear();
  EXPECT_TRUE(commandAvailable(views, CMD_CHANGE));
}

}  // namespace
}  // namespace kalvor::views

namespace kalvor::views {
namespace {

TEST(CommandAvailabilityTest, AnOpenExchangeListGraysAndRefusesEveryWriteToTheCollection) {
  const int writing[] = {CMD_ADD_LOCALITY, CMD_ADD_SPECIMEN, CMD_CHANGE, CMD_DELETE};
  for (const View view : {View::Fundort, View::Stufen}) {
    // With every dialog present, only the exchange list stands in the way.
    const std::map<int, bool> own = choosable(view, false, true);
    const std::map<int, bool> exchange = choosable(view, true, true);
    for (int id : writing) {
      EXPECT_TRUE(own.at(id)) << id;
      EXPECT_FALSE(exchange.at(id)) << id;
    }
    // Reading the exchange list stays possible.
    EXPECT_TRUE(exchange.at(CMD_SEARCH_LOCALITY));
    EXPECT_TRUE(exchange.at(CMD_LEAVE_EXCHANGE));

    FakeHost host;
    ViewState state;
    setUp(host, state, view, true, true);
    ViewController views(state, host.ports());
    for (int id : writing) {
      EXPECT_FALSE(commandAvailable(views, id)) << id;
      // Sent anyway: a beep, no dialog, no question, no delete.
      host.take();
      EXPECT_TRUE(runCommand(views, id));
      EXPECT_EQ(host.take(), std::vector<std::string>{"beep"}) << id;
    }
  }
}

}  // namespace
}  // namespace kalvor::views
