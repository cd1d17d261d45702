#include "views/accelerators.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "views/command_table.h"
#include "views/toolbar_model.h"

namespace kalvor::views {
namespace {

const CommandEntry* entryOf(int id) {
  for (const CommandEntry& e : commandTable())
    if (e.id == id) return &e;
  return nullptr;
}

std::set<int> toolbarCommands() {
  std::set<int> commands;
  for (const ToolbarButton& b : programToolbarButtons())
    if (!(b.style & kTbSeparator)) commands.insert(b.command);
  return commands;
}

constexpr View kViews[] = {View::Mineral, View::Stufen, View::Fundort, View::Glossar};

TEST(Accelerators, EveryToolbarCommandHasExactlyOneKeyAndNoKeyTwoCommands) {
  const std::set<int> toolbar = toolbarCommands();
  ASSERT_EQ(toolbar.size(), 11u);
  std::map<int, int> keysPerCommand;
  std::set<std::pair<int, int>> keys;
  for (const Accelerator& a : acceleratorTable()) {
    ++keysPerCommand[a.command];
    EXPECT_TRUE(keys.insert({a.key, a.modifiers}).second) << keyText(a) << " twice";
    EXPECT_TRUE(toolbar.count(a.command)) << a.command << " is no toolbar command";
    EXPECT_NE(entryOf(a.command), nullptr) << a.command << " is not in the command table";
    // Plain keys belong to the list (type-ahead, arrows) and the dialogs.
    EXPECT_NE(a.modifiers & (kKeyCtrl | kKeyAlt), 0) << keyText(a);
  }
  for (int command : toolbar) EXPECT_EQ(keysPerCommand[command], 1) << command;
}

TEST(Accelerators, KeysReadAsTheMenuShowsThem) {
  EXPECT_EQ(keyText({CMD_QUIT, kKeyF4, kKeyAlt}), "Alt+F4");
  EXPECT_EQ(keyText({CMD_TOOLBAR_VIEW_MINERAL, '1', kKeyCtrl}), "Strg+1");
  EXPECT_EQ(keyText({CMD_TOOLBAR_SEARCH, 'F', kKeyCtrl | kKeyShift}), "Strg+Umschalt+F");
  EXPECT_EQ(withKeyText("&Mineral", "Strg+1"), "&Mineral\tStrg+1");
  EXPECT_EQ(withKeyText("&Mineral\tStrg+F", "Strg+1"), "&Mineral\tStrg+1");
  EXPECT_EQ(withKeyText("&Mineral\tStrg+F", ""), "&Mineral");
  EXPECT_EQ(withKeyText("&Mineral", ""), "&Mineral");
}

// The item that shows a key must do there what the key does: the same
// handler, or for "Suchen" and "Druck" the same dialog or print job in that view.
TEST(Accelerators, MenuShowsEachKeyOnceOnTheItemThatDoesTheSame) {
  for (View view : kViews) {
    ViewState state;
    state.view = view;
    std::map<std::string, int> shownOn;
    for (const auto& [item, key] : menuKeyTexts(view)) {
      if (key.empty()) continue;
      EXPECT_TRUE(shownOn.emplace(key, item).second) << key << " on two items";
    }
    for (const Accelerator& a : acceleratorTable()) {
      const std::string key = keyText(a);
      const CommandEntry* command = entryOf(a.command);
      ASSERT_NE(command, nullptr);
      const auto shown = shownOn.find(key);
      const Need need = command->needs(state);
      const bool actsHere = command->handler != nullptr && (a.command != CMD_TOOLBAR_SEARCH || need.dialog) &&
                            (a.command != CMD_TOOLBAR_PRINT || need.print);
      if (!actsHere) {
        // "Suchen" and "Druck" do nothing in the glossary: no item claims their key.
        EXPECT_EQ(shown, shownOn.end()) << key << " in view " << static_cast<int>(view);
        continue;
      }
      ASSERT_NE(shown, shownOn.end()) << key << " in view " << static_cast<int>(view);
      const CommandEntry* item = entryOf(shown->second);
      ASSERT_NE(item, nullptr);
      if (a.command == CMD_TOOLBAR_SEARCH || a.command == CMD_TOOLBAR_PRINT) {
        const Need itemNeed = item->needs(state);
        EXPECT_EQ(itemNeed.dialog, need.dialog) << key << " on " << shown->second;
        EXPECT_EQ(itemNeed.print, need.print) << key << " on " << shown->second;
      } else {
        EXPECT_EQ(item->handler, command->handler) << key << " on " << shown->second;
      }
    }
  }
}

TEST(Accelerators, KeyRunsOnlyWhileItsButtonCouldBeClicked) {
  EXPECT_TRUE(keyMayRun(kButtonUp));
  EXPECT_TRUE(keyMayRun(kButtonPressed));
  EXPECT_FALSE(keyMayRun(kButtonDisabled));
  EXPECT_FALSE(keyMayRun(kTbEnabled | kTbIndeterminate));
  EXPECT_FALSE(keyMayRun(kTbEnabled | kTbHidden));
  EXPECT_FALSE(keyMayRun(0));
  EXPECT_FALSE(keyMayRun(-1));
}

}  // namespace
}  // namespace kalvor::views
