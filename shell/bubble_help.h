// Bubble help: a small rounded box next to the cursor that names a toolbar
// button, and while "Blasenhilfe" is on explains the focused control of a
// dialog. It is its own topmost popup window that never takes the focus, so
// nothing under it is painted over. When it shows and goes is decided by
// views::HoverTracker; this class turns window messages into its calls.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "shell/dialog.h"
#include "views/hover_tracker.h"

namespace kalvor::shell {

inline constexpr char kBubbleClass[] = "KALVOR_BLASE";

class BubbleHelp final : public views::HoverEffects, public DialogMessageObserver {
 public:
  explicit BubbleHelp(HINSTANCE instance);
  ~BubbleHelp() override;
  BubbleHelp(const BubbleHelp&) = delete;
  BubbleHelp& operator=(const BubbleHelp&) = delete;

  // [Optionen] "Blasenhilfe": bubbles over dialog controls (toolbar buttons always).
  void setEnabled(bool on);
  bool enabled() const { return enabled_; }

  // The main window takes part from its creation on.
  void registerMainWindow(HWND main) {
    tracker_.registerWindow(handle(main), views::HoverTracker::Kind::Modal);
  }
  // Every message of the main window, first; true when it was the bubble timer's.
  bool mainWindowMessage(HWND main, UINT msg, WPARAM wParam, LPARAM lParam);
  bool dialogMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, bool modeless) override;

  // views::HoverEffects
  void startTimer(std::uintptr_t window, unsigned id) override;
  void killTimer(std::uintptr_t window, unsigned id) override;
  bool showBubble(std::uintptr_t window) override;
  void hideBubble() override;

 private:
  static std::uintptr_t handle(HWND w) { return reinterpret_cast<std::uintptr_t>(w); }
  bool message(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  // True when the cursor or the focus moved since the window last looked.
  bool moved(HWND window);
  bool show(HWND window, const std::string& text, HFONT font, RECT anchor, POINT cursor);

  struct Seen {
    POINT cursor = {-1, -1};
    HWND focus = nullptr;
  };

  HINSTANCE instance_;
  HWND popup_ = nullptr;
  bool enabled_ = true;
  views::HoverTracker tracker_{*this};
  std::map<HWND, Seen> seen_;
};

}  // namespace kalvor::shell
