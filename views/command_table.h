// The commands of the menus and the toolbar: one table from command id to
// handler. A command sent by another command runs nested through runCommand.
#pragma once

#include <span>

#include "views/view_state.h"

namespace kalvor::views {

// Handles one command on the current view state.
using CommandHandler = void (*)(ViewController& views);

// One row of the table: a menu or toolbar command id and what it does.
struct CommandEntry {
  int id;
  CommandHandler handler;
};

// Every command the program knows, in ascending id order.
std::span<const CommandEntry> commandTable();

// Runs the command `id`. Returns false when the id is not in the table (the
// caller then gives the message default processing).
bool runCommand(ViewController& views, int id);

}  // namespace kalvor::views
