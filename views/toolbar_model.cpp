#include "views/toolbar_model.h"

#include "resources/resource_ids.h"

namespace kalvor::views {
namespace {

constexpr std::uint8_t kCheckGroup = kTbCheck | kTbGroup;

constexpr ToolbarButton separator() { return ToolbarButton{-1, 0, nullptr, 0, kTbSeparator, {0, 0}}; }
constexpr ToolbarButton plain(int image, int command, const char* text) {
  return ToolbarButton{image, command, text, kTbEnabled, 0, {0, 0}};
}
constexpr ToolbarButton grouped(int image, int command, std::uint8_t state, const char* text) {
  return ToolbarButton{image, command, text, state, kCheckGroup, {0, 0}};
}

bool isGroupButton(const ToolbarButton& b) { return (b.style & kCheckGroup) == kCheckGroup; }
bool isVisible(const ToolbarButton& b) { return (b.state & kTbHidden) == 0; }
int advanceOf(const ToolbarButton& b) { return (b.style & kTbSeparator) ? b.image : kToolbarAdvance; }

}  // namespace

const std::array<ToolbarButton, 16>& programToolbarButtons() {
  static const std::array<ToolbarButton, 16> table = {
      plain(4, CMD_QUIT, "Programm beenden"),
      separator(),
      grouped(1, CMD_TOOLBAR_VIEW_MINERAL, 7, "Ansicht: Minerale"),
      grouped(2, CMD_TOOLBAR_VIEW_SPECIMENS, 4, "Ansicht: Stufen"),
      grouped(6, CMD_TOOLBAR_VIEW_LOCALITIES, 4, "Ansicht: Fundort"),
      grouped(10, CMD_TOOLBAR_VIEW_GLOSSARY, 4, "Ansicht: Glossar"),
      separator(),
      plain(7, CMD_TOOLBAR_SEARCH, "Suchen"),
      separator(),
      grouped(0, CMD_TOOLBAR_VIEW_ALL, 7, "Ansicht: Alle Eintr\xE4ge"),
      grouped(9, CMD_TOOLBAR_VIEW_RESULT, 4, "Ansicht: Suchergebnis"),
      separator(),
      grouped(12, CMD_TOOLBAR_DESCRIPTION, 7, "Ansicht: Beschreibungsfenster"),
      grouped(13, CMD_TOOLBAR_DETAILED_LIST, 4, "Ansicht: Ausf\xFChrliche Liste"),
      separator(),
      plain(11, CMD_TOOLBAR_PRINT, "Druck"),
  };
  return table;
}

int ToolbarModel::indexOf(int command) const {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (!(buttons_[i].style & kTbSeparator) && buttons_[i].command == command) return static_cast<int>(i);
  }
  return -1;
}

void ToolbarModel::insert(int index, const ToolbarButton& button) {
  ToolbarButton b = button;
  if ((b.style & kTbSeparator) && b.image < 1) b.image = kDefaultSeparatorWidth;
  if (index < 0 || index >= count()) {
    buttons_.push_back(b);
    return;
  }
  buttons_.insert(buttons_.begin() + index, b);
  if (captured_ >= index) ++captured_;
}

bool ToolbarModel::remove(int index) {
  if (index < 0 || index >= count()) return false;
  buttons_.erase(buttons_.begin() + index);
  if (captured_ == index)
    captured_ = -1;
  else if (captured_ > index)
    --captured_;
  return true;
}

std::optional<ToolbarButton> ToolbarModel::button(int index) const {
  if (index < 0 || index >= count()) return std::nullopt;
  return buttons_[static_cast<std::size_t>(index)];
}

// A group is the run of adjacent group buttons, as separators delimit it. The
// others lose the pressed bit too: the command layer marks the chosen one 7.
void ToolbarModel::uncheckGroup(int index) {
  for (int i = index - 1; i >= 0 && isGroupButton(buttons_[static_cast<std::size_t>(i)]); --i)
    buttons_[static_cast<std::size_t>(i)].state &= static_cast<std::uint8_t>(~(kTbChecked | kTbPressed));
  for (int i = index + 1; i < count() && isGroupButton(buttons_[static_cast<std::size_t>(i)]); ++i)
    buttons_[static_cast<std::size_t>(i)].state &= static_cast<std::uint8_t>(~(kTbChecked | kTbPressed));
}

bool ToolbarModel::setBit(int command, std::uint8_t bit, bool on) {
  const int i = indexOf(command);
  if (i < 0) return false;
  ToolbarButton& b = buttons_[static_cast<std::size_t>(i)];
  if (on)
    b.state |= bit;
  else
    b.state &= static_cast<std::uint8_t>(~bit);
  if (on && bit == kTbChecked && isGroupButton(b)) uncheckGroup(i);
  return true;
}

int ToolbarModel::queryBit(int command, std::uint8_t bit) const {
  const int i = indexOf(command);
  if (i < 0) return -1;
  return (buttons_[static_cast<std::size_t>(i)].state & bit) ? 1 : 0;
}

bool ToolbarModel::setState(int command, std::uint8_t state) {
  const int i = indexOf(command);
  if (i < 0) return false;
  buttons_[static_cast<std::size_t>(i)].state = state;
  return true;
}

int ToolbarModel::state(int command) const {
  const int i = indexOf(command);
  return i < 0 ? -1 : buttons_[static_cast<std::size_t>(i)].state;
}

int ToolbarModel::addImages(int n) {
  const int first = images_;
  if (n > 0) images_ += n;
  return first;
}

std::optional<ButtonRect> ToolbarModel::rect(int index, int clientHeight) const {
  if (index < 0 || index >= count()) return std::nullopt;
  int x = kToolbarFirstX;
  for (int i = 0; i < index; ++i) {
    const ToolbarButton& b = buttons_[static_cast<std::size_t>(i)];
    if (isVisible(b)) x += advanceOf(b);
  }
  const ToolbarButton& b = buttons_[static_cast<std::size_t>(index)];
  if (!isVisible(b) || (b.style & kTbSeparator)) return std::nullopt;
  const int top = (clientHeight - kToolbarButtonHeight) / 2;
  return ButtonRect{x, top, x + kToolbarButtonWidth, top + kToolbarButtonHeight};
}

int ToolbarModel::hitTest(int x, int y) const {
  if (x < kToolbarFirstX || y < 2 || y > 23) return -1;
  int rest = x - kToolbarFirstX;
  for (int i = 0; i < count(); ++i) {
    const ToolbarButton& b = buttons_[static_cast<std::size_t>(i)];
    if (!isVisible(b)) continue;
    const int advance = advanceOf(b);
    if (rest < advance) return (b.style & kTbSeparator) ? -1 : i;
    rest -= advance;
  }
  return -1;
}

bool ToolbarModel::press(int index) {
  if (index < 0 || index >= count()) return false;
  captured_ = index;
  ToolbarButton& b = buttons_[static_cast<std::size_t>(index)];
  if (!(b.state & kTbEnabled) || (b.state & kTbIndeterminate)) return false;
  b.state |= kTbPressed;
  return true;
}

bool ToolbarModel::track(bool over) {
  if (captured_ < 0) return false;
  ToolbarButton& b = buttons_[static_cast<std::size_t>(captured_)];
  if (!(b.state & kTbEnabled) || (b.state & kTbIndeterminate)) return false;
  const std::uint8_t before = b.state;
  if (over)
    b.state |= kTbPressed;
  else
    b.state &= static_cast<std::uint8_t>(~kTbPressed);
  return before != b.state;
}

int ToolbarModel::release(bool over) {
  if (captured_ < 0) return 0;
  const int index = captured_;
  captured_ = -1;
  ToolbarButton& b = buttons_[static_cast<std::size_t>(index)];
  b.state &= static_cast<std::uint8_t>(~kTbPressed);
  if (!over || !(b.state & kTbEnabled) || (b.state & kTbIndeterminate)) return 0;
  if (isGroupButton(b)) {
    if (!(b.state & kTbChecked)) {
      b.state |= kTbChecked;
      uncheckGroup(index);
    }
  } else if (b.style & kTbCheck) {
    b.state ^= kTbChecked;
  }
  return b.command;
}

ToolbarReply toolbarReply(ToolbarModel& model, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  ToolbarReply r;
  r.handled = true;
  const int command = static_cast<int>(wParam);
  const bool flag = lParam != 0;
  auto repaintOne = [&](int cmd, bool hiddenChanged) {
    r.index = model.indexOf(cmd);
    r.repaint = r.index < 0 ? Repaint::None : hiddenChanged ? Repaint::All : Repaint::Button;
  };
  // A change of a group button repaints the whole group: the whole bar is simplest.
  auto repaintSet = [&](int cmd, bool hiddenChanged) {
    repaintOne(cmd, hiddenChanged);
    if (r.index >= 0 && (model.buttons()[static_cast<std::size_t>(r.index)].style & kTbGroup))
      r.repaint = Repaint::All;
  };
  switch (msg) {
    case kTbEnableButton:
    case kTbCheckButton:
    case kTbPressButton:
    case kTbHideButton:
    case kTbIndeterminateMsg: {
      static constexpr std::uint8_t bits[] = {kTbEnabled, kTbChecked, kTbPressed, kTbHidden,
                                              kTbIndeterminate};
      const std::uint8_t bit = bits[msg - kTbEnableButton];
      r.value = model.setBit(command, bit, flag) ? 1 : 0;
      if (r.value) repaintSet(command, bit == kTbHidden);
      return r;
    }
    case kTbIsButtonEnabled:
      r.value = model.queryBit(command, kTbEnabled);
      return r;
    case kTbIsButtonChecked:
      r.value = model.queryBit(command, kTbChecked);
      return r;
    case kTbIsButtonPressed:
      r.value = model.queryBit(command, kTbPressed);
      return r;
    case kTbIsButtonHidden:
      r.value = model.queryBit(command, kTbHidden);
      return r;
    case kTbIsButtonIndeterminate:
      r.value = model.queryBit(command, kTbIndeterminate);
      return r;
    case kTbSetState: {
      const int before = model.state(command);
      r.value = model.setState(command, static_cast<std::uint8_t>(lParam & 0xFF)) ? 1 : 0;
      if (r.value) repaintSet(command, ((before ^ static_cast<int>(lParam)) & kTbHidden) != 0);
      return r;
    }
    case kTbGetState:
      r.value = model.state(command);
      return r;
    case kTbAddBitmap:
      r.value = model.addImages(static_cast<int>(wParam));
      return r;
    case kTbAddButtons: {
      const auto* records = reinterpret_cast<const ToolbarButton*>(lParam);
      if (!records) return r;
      for (std::uintptr_t i = 0; i < wParam; ++i) model.insert(-1, records[i]);
      r.value = 1;
      r.repaint = Repaint::All;
      return r;
    }
    case kTbInsertButton: {
      const auto* record = reinterpret_cast<const ToolbarButton*>(lParam);
      if (!record) return r;
      model.insert(static_cast<int>(wParam), *record);
      r.value = 1;
      r.repaint = Repaint::All;
      return r;
    }
    case kTbDeleteButton:
      r.value = model.remove(static_cast<int>(wParam)) ? 1 : 0;
      if (r.value) r.repaint = Repaint::All;
      return r;
    case kTbGetButton: {
      const auto b = model.button(static_cast<int>(wParam));
      auto* out = reinterpret_cast<ToolbarButton*>(lParam);
      if (!b || !out) return r;
      *out = *b;
      r.value = 1;
      return r;
    }
    case kTbButtonCount:
      r.value = model.count();
      return r;
    case kTbCommandToIndex:
      r.value = model.indexOf(command);
      return r;
    default:
      r.handled = false;
      return r;
  }
}

}  // namespace kalvor::views
