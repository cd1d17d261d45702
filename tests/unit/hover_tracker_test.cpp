#include "views/hover_tracker.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace kalvor::views;

namespace {

constexpr std::uintptr_t kMain = 10, kModal = 20, kNested = 30, kDescription = 40, kDrawing = 50;

// The window system as the tracker sees it: running timers, the bubble, and
// which window has something under the cursor.
struct FakeScreen : HoverEffects {
  std::set<std::pair<std::uintptr_t, unsigned>> timers;
  std::uintptr_t under = 0;  // the window with a control under the cursor
  std::uintptr_t bubble = 0;
  int shown = 0;
  void startTimer(std::uintptr_t w, unsigned id) override { EXPECT_TRUE(timers.insert({w, id}).second); }
  void killTimer(std::uintptr_t w, unsigned id) override { EXPECT_EQ(timers.erase({w, id}), 1u) << w; }
  bool showBubble(std::uintptr_t w) override {
    if (w != under) return false;
    bubble = w;
    ++shown;
    return true;
  }
  void hideBubble() override {
    EXPECT_NE(bubble, 0u);
    bubble = 0;
  }
};

void rest(HoverTracker& t, std::uintptr_t w, int ticks) {
  for (int i = 0; i < ticks; ++i) t.tick(w, t.timerId(w), true);
}

}  // namespace

TEST(HoverTracker, RestShowsActivityHidesTimeoutEnds) {
  FakeScreen screen;
  HoverTracker t(screen);
  t.registerWindow(kMain, HoverTracker::Kind::Modal);
  EXPECT_EQ(t.timerId(kMain), 1001u);
  EXPECT_TRUE(screen.timers.count({kMain, 1001}));
  screen.under = kMain;
  rest(t, kMain, 1);  // arms
  EXPECT_EQ(screen.bubble, 0u);
  rest(t, kMain, 1);  // shows
  EXPECT_EQ(screen.bubble, kMain);
  // Activity hides at once; the next bubble needs a new rest of two ticks.
  t.activity(kMain);
  EXPECT_EQ(screen.bubble, 0u);
  rest(t, kMain, 1);
  EXPECT_EQ(screen.bubble, 0u);
  rest(t, kMain, 1);
  EXPECT_EQ(screen.bubble, kMain);
  // A moved cursor at a tick hides and re-arms, so the bubble follows one tick later.
  t.tick(kMain, 1001, false);
  EXPECT_EQ(screen.bubble, 0u);
  rest(t, kMain, 1);
  EXPECT_EQ(screen.bubble, kMain);
  // After 20 ticks it goes and does not come back while the mouse rests.
  rest(t, kMain, 19);
  EXPECT_EQ(screen.bubble, kMain);
  rest(t, kMain, 1);
  EXPECT_EQ(screen.bubble, 0u);
  const int shown = screen.shown;
  rest(t, kMain, 30);
  EXPECT_EQ(screen.shown, shown);
  // Nothing under the cursor: nothing shown; a foreign timer id does nothing.
  t.activity(kMain);
  screen.under = 0;
  rest(t, kMain, 3);
  EXPECT_EQ(screen.bubble, 0u);
  screen.under = kMain;
  t.tick(kMain, 900, true);
  t.tick(kMain, 900, true);
  t.tick(kMain, 900, true);
  EXPECT_EQ(screen.bubble, 0u);
}

TEST(HoverTracker, NestedModalDialogs) {
  FakeScreen screen;
  HoverTracker t(screen);
  t.registerWindow(kMain, HoverTracker::Kind::Modal);
  screen.under = kMain;
  rest(t, kMain, 2);
  EXPECT_EQ(screen.bubble, kMain);
  // Opening a dialog removes the bubble and freezes the main window.
  t.registerWindow(kModal, HoverTracker::Kind::Modal);
  EXPECT_EQ(screen.bubble, 0u);
  EXPECT_EQ(t.timerId(kModal), 1002u);
  EXPECT_FALSE(t.follows(kMain));
  rest(t, kMain, 5);
  EXPECT_EQ(screen.bubble, 0u);
  t.registerWindow(kNested, HoverTracker::Kind::Modal);
  EXPECT_EQ(t.timerId(kNested), 1003u);
  EXPECT_FALSE(t.follows(kModal));
  screen.under = kNested;
  rest(t, kNested, 2);
  EXPECT_EQ(screen.bubble, kNested);
  t.windowDestroyed(kNested);
  EXPECT_EQ(screen.bubble, 0u);
  EXPECT_FALSE(screen.timers.count({kNested, 1003}));
  EXPECT_TRUE(t.follows(kModal));
  screen.under = kModal;
  rest(t, kModal, 2);
  EXPECT_EQ(screen.bubble, kModal);
  t.windowDestroyed(kModal);
  EXPECT_EQ(t.depth(), 1);
  // The main window is followed again and shows its bubbles.
  screen.under = kMain;
  rest(t, kMain, 2);
  EXPECT_EQ(screen.bubble, kMain);
  // A window destroyed twice or never registered changes nothing.
  t.windowDestroyed(kModal);
  t.windowDestroyed(12345);
  EXPECT_EQ(t.depth(), 1);
  t.windowDestroyed(kMain);
  EXPECT_EQ(t.depth(), 0);
  EXPECT_TRUE(screen.timers.empty());
  EXPECT_EQ(screen.bubble, 0u);
}

// The drawing window goes on every switch away from the Mineral view while the
// description window, opened before it, stays: both orders of closing.
TEST(HoverTracker, ModelessWindowsClosedInAnyOrder) {
  for (bool drawingFirst : {true, false}) {
    SCOPED_TRACE(drawingFirst ? "drawing closed first" : "description closed first");
    FakeScreen screen;
    HoverTracker t(screen);
    t.registerWindow(kMain, HoverTracker::Kind::Modal);
    t.registerWindow(kDescription, HoverTracker::Kind::Modeless);
    t.registerWindow(kDrawing, HoverTracker::Kind::Modeless);
    t.registerWindow(kDrawing, HoverTracker::Kind::Modeless);  // twice is once
    EXPECT_EQ(t.depth(), 3);
    // All three are followed: the toolbar keeps its bubbles beside open side windows.
    EXPECT_TRUE(t.follows(kMain) && t.follows(kDescription) && t.follows(kDrawing));
    screen.under = kMain;
    rest(t, kMain, 2);
    EXPECT_EQ(screen.bubble, kMain);
    // The side windows' rest does not take the main window's bubble away.
    rest(t, kDrawing, 3);
    EXPECT_EQ(screen.bubble, kMain);
    t.activity(kMain);
    screen.under = kDrawing;
    rest(t, kDrawing, 2);
    EXPECT_EQ(screen.bubble, kDrawing);

    const std::uintptr_t first = drawingFirst ? kDrawing : kDescription;
    const std::uintptr_t second = drawingFirst ? kDescription : kDrawing;
    const unsigned secondTimer = t.timerId(second);
    t.windowDestroyed(first);
    // The other window keeps its timer and slot; no dead slot stays on top.
    EXPECT_TRUE(screen.timers.count({second, secondTimer}));
    EXPECT_FALSE(t.registered(first));
    EXPECT_EQ(t.depth(), 2);
    screen.under = second;
    rest(t, second, 2);
    EXPECT_EQ(screen.bubble, second);
    t.activity(second);
    // The main window is still followed.
    screen.under = kMain;
    rest(t, kMain, 2);
    EXPECT_EQ(screen.bubble, kMain);
    // A modal dialog over everything: only it is followed; its timer id does not clash.
    t.registerWindow(kModal, HoverTracker::Kind::Modal);
    EXPECT_EQ(screen.bubble, 0u);
    EXPECT_FALSE(t.follows(kMain));
    EXPECT_FALSE(t.follows(second));
    EXPECT_TRUE(t.follows(kModal));
    // Closing the side window while the dialog is open, then the dialog.
    t.windowDestroyed(second);
    t.windowDestroyed(kModal);
    EXPECT_TRUE(t.follows(kMain));
    screen.under = kMain;
    rest(t, kMain, 2);
    EXPECT_EQ(screen.bubble, kMain);
    t.windowDestroyed(kMain);
    EXPECT_TRUE(screen.timers.empty());
  }
}

TEST(HoverTracker, BubbleBesideTheCursorAndBelowTheAnchor) {
  // Room on the right and below: right of the cursor, 3/8 line below the anchor.
  EXPECT_EQ(placeBubble(100, 40, 67, 200, 30, 16, 1280, 1024), (BubblePosition{101, 73}));
  // Near the right edge of the screen it opens to the left of the cursor.
  EXPECT_EQ(placeBubble(1200, 40, 67, 200, 30, 16, 1280, 1024), (BubblePosition{1000, 73}));
  EXPECT_EQ(placeBubble(1079, 40, 67, 200, 30, 16, 1280, 1024), (BubblePosition{1080, 73}));
  EXPECT_EQ(placeBubble(1080, 40, 67, 200, 30, 16, 1280, 1024), (BubblePosition{880, 73}));
  // At the bottom it goes above the anchor.
  EXPECT_EQ(placeBubble(100, 980, 1000, 200, 30, 16, 1280, 1024), (BubblePosition{101, 944}));
  // Never off the top-left of the screen, even when it fits nowhere.
  EXPECT_EQ(placeBubble(50, 5, 1000, 2000, 30, 16, 1280, 1024), (BubblePosition{0, 0}));
}

TEST(HoverTracker, DismissHidesAndLetsOtherWindowsShow) {
  FakeScreen screen;
  HoverTracker t(screen);
  t.registerWindow(kMain, HoverTracker::Kind::Modal);
  t.registerWindow(kDescription, HoverTracker::Kind::Modeless);
  screen.under = kMain;
  rest(t, kMain, 2);
  EXPECT_EQ(screen.bubble, kMain);
  t.dismiss();
  EXPECT_EQ(screen.bubble, 0u);
  EXPECT_EQ(t.bubbleOwner(), 0u);
  screen.under = kDescription;
  rest(t, kDescription, 2);
  EXPECT_EQ(screen.bubble, kDescription);
}
