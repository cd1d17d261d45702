// The keyboard's way to the toolbar: every toolbar command has a key, sent
// to the main window through an accelerator table, and the menu item that
// does the same shows that key after a tab. Plain data in the platform's
// virtual-key numbering ('0'-'9' and 'A'-'Z' are their characters); the
// shell builds the accelerator table from it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "views/view_state.h"

namespace kalvor::views {

// Modifier bits of a key.
inline constexpr std::uint8_t kKeyCtrl = 1;
inline constexpr std::uint8_t kKeyAlt = 2;
inline constexpr std::uint8_t kKeyShift = 4;

// Virtual-key code of F4.
inline constexpr std::uint16_t kKeyF4 = 0x73;

struct Accelerator {
  int command = 0;        // the toolbar command the key sends
  std::uint16_t key = 0;  // virtual-key code
  std::uint8_t modifiers = 0;
  friend bool operator==(const Accelerator&, const Accelerator&) = default;
};

// Every key of the program, one per toolbar command.
std::span<const Accelerator> acceleratorTable();

// The key as the menu shows it after the tab: "Strg+1", "Alt+F4".
std::string keyText(const Accelerator& accelerator);

// The menu items whose text may show a key, each with the key it shows in
// `view` ("" = none): the item that does what the key's toolbar command does
// there. "Suchen" and "Druck" act on the current view, so their key moves
// between the items of "&Suchen" and "&Drucken" with it.
std::vector<std::pair<int, std::string>> menuKeyTexts(View view);

// Whether a key may run its toolbar command now: only while the button could
// be clicked (enabled and not shown disabled), so the keyboard can do no more
// than the mouse. `state` is the button's state byte.
bool keyMayRun(int state);

// `text` with its key part (from the tab on) replaced by `key` ("" removes it).
std::string withKeyText(const std::string& text, const std::string& key);

}  // namespace kalvor::views
