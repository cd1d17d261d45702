// When bubble help appears and goes: the windows that take part (the main
// window and the open dialogs), one one-second timer each, and the rule that
// a bubble shows after the mouse has rested one to two seconds and goes at the
// next activity or after 20 seconds. Portable: the shell turns window messages
// into these calls and carries out the effects.
#pragma once

#include <cstdint>
#include <vector>

namespace kalvor::views {

// What the tracker asks the window system to do.
class HoverEffects {
 public:
  virtual ~HoverEffects() = default;
  virtual void startTimer(std::uintptr_t window, unsigned id) = 0;
  virtual void killTimer(std::uintptr_t window, unsigned id) = 0;
  // Shows a bubble for what lies under the cursor inside `window`; false when there is nothing to show.
  virtual bool showBubble(std::uintptr_t window) = 0;
  virtual void hideBubble() = 0;
};

inline constexpr unsigned kHoverFirstTimerId = 1001;  // NOLINT(id-literal): a timer id, not a command
inline constexpr unsigned kHoverTimerMs = 1000;
inline constexpr int kHoverBubbleTicks = 20;

class HoverTracker {
 public:
  // A modal window (the main window, a dialog box) freezes everything below it;
  // a modeless one lives beside the window it was opened over.
  enum class Kind { Modal, Modeless };

  explicit HoverTracker(HoverEffects& effects) : effects_(effects) {}

  // A window opens: pushed with its own timer (1001 + its depth). Twice is once.
  void registerWindow(std::uintptr_t window, Kind kind);
  // A window is destroyed: its slot goes wherever it is in the stack, with its timer and bubble.
  void windowDestroyed(std::uintptr_t window);
  // The timer `id` of `window` ticked; `rested` is false when the cursor (or
  // the focus) moved since the last tick, which counts as activity first.
  void tick(std::uintptr_t window, unsigned id, bool rested);
  // Mouse, keyboard or command activity in `window`.
  void activity(std::uintptr_t window);

  // True when the messages of `window` are followed: it is registered and not
  // below the topmost modal window.
  bool follows(std::uintptr_t window) const;
  bool registered(std::uintptr_t window) const { return find(window) >= 0; }
  int depth() const { return static_cast<int>(slots_.size()); }
  // The timer id of a registered window, 0 otherwise.
  unsigned timerId(std::uintptr_t window) const;
  // Hides a shown bubble at once (the option was switched).
  void dismiss() { hide(); }
  // The window whose bubble is shown, 0 when none is.
  std::uintptr_t bubbleOwner() const { return bubbleOwner_; }

 private:
  struct Slot {
    std::uintptr_t window = 0;
    Kind kind = Kind::Modal;
    unsigned timer = 0;
    bool armed = false;
    bool spent = false;  // the bubble timed out: quiet until the next activity
    int ticks = 0;
  };
  int find(std::uintptr_t window) const;
  void hide();
  void quiet(Slot& slot);

  HoverEffects& effects_;
  std::vector<Slot> slots_;
  std::uintptr_t bubbleOwner_ = 0;
};

// Where a bubble of `width` x `height` goes on a screen of `screenWidth` x
// `screenHeight`: right of the cursor when it fits, else left of it; below the
// anchor rectangle (top = its bottom + 3/8 line height) when it fits, else above.
struct BubblePosition {
  int x = 0;
  int y = 0;
  bool operator==(const BubblePosition&) const = default;
};
BubblePosition placeBubble(int cursorX, int anchorTop, int anchorBottom, int width, int height,
                           int lineHeight, int screenWidth, int screenHeight);

}  // namespace kalvor::views
