// The commands of the menus and the toolbar: one table from command id to
// handler. A command sent by another command runs nested through runCommand.
// Each command also says which dialog or print job it needs in a view; where
// the host lacks it, the menu item is grayed, the toolbar button disabled
// and the command refused with a beep, so no command does nothing in silence.
#pragma once

#include <optional>
#include <span>

#include "views/menu_rules.h"
#include "views/view_state.h"

namespace kalvor::views {

// Handles one command on the current view state.
using CommandHandler = void (*)(ViewController& views);

// What a command needs of the host beyond windows and data, in the current state.
struct Need {
  std::optional<DialogKind> dialog;
  std::optional<PrintJob> print;
  // The command writes to the collection: refused while an exchange list is open.
  bool writesCollection = false;
};
using CommandNeeds = Need (*)(const ViewState& state);

// One row of the table: a menu or toolbar command id, what it does and what it needs.
struct CommandEntry {
  int id;
  CommandHandler handler;
  CommandNeeds needs;
};

// Every command the program knows, in ascending id order.
std::span<const CommandEntry> commandTable();

// True iff `id` is in the table and the host has what it needs in the current state.
bool commandAvailable(ViewController& views, int id);

// Runs the command `id`; beeps instead when the host lacks its dialog or
// print job, or when it would write to the collection while an exchange list is open. Returns false when the id is not in the table (the caller then
// gives the message default processing).
bool runCommand(ViewController& views, int id);

// Grays every command of the table whose dialog or print job the host lacks
// (ids not in the edited menu are left alone by the menu).
void grayUnavailableCommands(ViewController& views, MenuEditor& menu);

// Disables the toolbar buttons of such commands.
void disableUnavailableButtons(ViewController& views);

}  // namespace kalvor::views
