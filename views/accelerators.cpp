#include "views/accelerators.h"

#include <array>

#include "views/toolbar_model.h"

namespace kalvor::views {
namespace {

// Ctrl with a digit or letter: no list or dialog of the main window needs
// those (the list's type-ahead takes plain letters, Tab and F6 switch panes,
// the side windows scroll and turn with the arrow and page keys). The view
// digits follow the order of "&Ansicht". "Kalvor beenden" keeps the
// platform's key for closing a program.
constexpr std::array kAccelerators = {
    Accelerator{CMD_QUIT, kKeyF4, kKeyAlt},
    Accelerator{CMD_TOOLBAR_VIEW_MINERAL, '1', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_VIEW_LOCALITIES, '2', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_VIEW_SPECIMENS, '3', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_VIEW_GLOSSARY, '4', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_SEARCH, 'F', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_VIEW_ALL, 'A', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_VIEW_RESULT, 'E', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_DESCRIPTION, 'B', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_DETAILED_LIST, 'L', kKeyCtrl},
    Accelerator{CMD_TOOLBAR_PRINT, 'P', kKeyCtrl},
};

const Accelerator* keyOf(int command) {
  for (const Accelerator& a : kAccelerators)
    if (a.command == command) return &a;
  return nullptr;
}

std::string keyTextOf(int command) {
  const Accelerator* a = keyOf(command);
  return a ? keyText(*a) : std::string();
}

}  // namespace

std::span<const Accelerator> acceleratorTable() { return kAccelerators; }

std::string keyText(const Accelerator& accelerator) {
  std::string text;
  if (accelerator.modifiers & kKeyCtrl) text += "Strg+";
  if (accelerator.modifiers & kKeyAlt) text += "Alt+";
  if (accelerator.modifiers & kKeyShift) text += "Umschalt+";
  if (accelerator.key >= 0x70 && accelerator.key <= 0x87) {
    text += 'F';
    text += std::to_string(accelerator.key - 0x70 + 1);
  } else {
    text += static_cast<char>(accelerator.key);
  }
  return text;
}

std::vector<std::pair<int, std::string>> menuKeyTexts(View view) {
  std::vector<std::pair<int, std::string>> items = {
      {CMD_QUIT, keyTextOf(CMD_QUIT)},
      {CMD_VIEW_MINERAL, keyTextOf(CMD_TOOLBAR_VIEW_MINERAL)},
      {CMD_VIEW_LOCALITIES, keyTextOf(CMD_TOOLBAR_VIEW_LOCALITIES)},
      {CMD_VIEW_SPECIMENS, keyTextOf(CMD_TOOLBAR_VIEW_SPECIMENS)},
      {CMD_VIEW_GLOSSARY, keyTextOf(CMD_TOOLBAR_VIEW_GLOSSARY)},
      {CMD_VIEW_ALL, keyTextOf(CMD_TOOLBAR_VIEW_ALL)},
      {CMD_VIEW_RESULT, keyTextOf(CMD_TOOLBAR_VIEW_RESULT)},
      {CMD_VIEW_DESCRIPTION, keyTextOf(CMD_TOOLBAR_DESCRIPTION)},
      {CMD_VIEW_DETAILED_LIST, keyTextOf(CMD_TOOLBAR_DETAILED_LIST)},
  };
  // The items "Suchen" and "Druck" stand for in each view; none in the glossary.
  const std::string search = keyTextOf(CMD_TOOLBAR_SEARCH);
  const std::string print = keyTextOf(CMD_TOOLBAR_PRINT);
  items.emplace_back(CMD_SEARCH_MINERAL, view == View::Mineral ? search : "");
  items.emplace_back(CMD_SEARCH_LOCALITY, view == View::Fundort ? search : "");
  items.emplace_back(CMD_SEARCH_SPECIMEN, view == View::Stufen ? search : "");
  items.emplace_back(CMD_PRINT_PROFILE, view == View::Mineral ? print : "");
  items.emplace_back(CMD_PRINT_LOCALITY, view == View::Fundort ? print : "");
  items.emplace_back(CMD_PRINT_SPECIMEN_LIST, view == View::Stufen ? print : "");
  return items;
}

bool keyMayRun(int state) {
  return state >= 0 && (state & kTbEnabled) != 0 && (state & (kTbIndeterminate | kTbHidden)) == 0;
}

std::string withKeyText(const std::string& text, const std::string& key) {
  std::string out = text.substr(0, text.find('\t'));
  if (!key.empty()) out += "\t" + key;
  return out;
}

}  // namespace kalvor::views
