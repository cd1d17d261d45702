#include "views/hover_tracker.h"

#include <algorithm>

namespace kalvor::views {

int HoverTracker::find(std::uintptr_t window) const {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].window == window) return static_cast<int>(i);
  }
  return -1;
}

void HoverTracker::hide() {
  if (!bubbleOwner_) return;
  bubbleOwner_ = 0;
  effects_.hideBubble();
}

void HoverTracker::quiet(Slot& slot) {
  if (bubbleOwner_ == slot.window) hide();
  slot.armed = false;
  slot.spent = false;
  slot.ticks = 0;
}

void HoverTracker::registerWindow(std::uintptr_t window, Kind kind) {
  if (!window || registered(window)) return;
  // A new window takes the user's attention: no bubble stays over the old one.
  hide();
  Slot slot;
  slot.window = window;
  slot.kind = kind;
  slot.timer = kHoverFirstTimerId + static_cast<unsigned>(slots_.size());
  slots_.push_back(slot);
  effects_.startTimer(window, slot.timer);
}

void HoverTracker::windowDestroyed(std::uintptr_t window) {
  const int i = find(window);
  if (i < 0) return;
  if (bubbleOwner_ == window) hide();
  effects_.killTimer(window, slots_[static_cast<std::size_t>(i)].timer);
  slots_.erase(slots_.begin() + i);
}

bool HoverTracker::follows(std::uintptr_t window) const {
  const int i = find(window);
  if (i < 0) return false;
  for (int j = depth() - 1; j > i; --j) {
    if (slots_[static_cast<std::size_t>(j)].kind == Kind::Modal) return false;
  }
  return true;
}

unsigned HoverTracker::timerId(std::uintptr_t window) const {
  const int i = find(window);
  return i < 0 ? 0 : slots_[static_cast<std::size_t>(i)].timer;
}

void HoverTracker::activity(std::uintptr_t window) {
  if (!follows(window)) return;
  quiet(slots_[static_cast<std::size_t>(find(window))]);
}

void HoverTracker::tick(std::uintptr_t window, unsigned id, bool rested) {
  if (!follows(window)) return;
  Slot& slot = slots_[static_cast<std::size_t>(find(window))];
  if (id != slot.timer) return;
  if (!rested) quiet(slot);
  if (!slot.armed) {
    slot.armed = true;
    return;
  }
  if (slot.spent) return;
  if (bubbleOwner_ == window) {
    if (++slot.ticks >= kHoverBubbleTicks) {
      hide();
      slot.spent = true;
    }
    return;
  }
  // The bubble of another window stays until that window sees activity.
  if (bubbleOwner_) return;
  slot.ticks = 0;
  if (effects_.showBubble(window)) bubbleOwner_ = window;
}

BubblePosition placeBubble(int cursorX, int anchorTop, int anchorBottom, int width, int height,
                           int lineHeight, int screenWidth, int screenHeight) {
  BubblePosition p;
  p.x = cursorX + 1;
  if (p.x + width > screenWidth) p.x = std::max(0, cursorX - width);
  p.y = anchorBottom + 3 * lineHeight / 8;
  if (p.y + height > screenHeight) p.y = std::max(0, anchorTop - 3 * lineHeight / 8 - height);
  return p;
}

}  // namespace kalvor::views
