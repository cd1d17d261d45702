#include "views/toolbar_model.h"

#include <gtest/gtest.h>

#include "resources/resource_ids.h"

using namespace kalvor::views;

namespace {

ToolbarModel programBar() {
  ToolbarModel m;
  const auto& table = programToolbarButtons();
  toolbarReply(m, kTbAddBitmap, kToolbarImageCount, kToolbarBitmapId);
  toolbarReply(m, kTbAddButtons, table.size(), reinterpret_cast<std::intptr_t>(table.data()));
  return m;
}

}  // namespace

TEST(ToolbarModel, TableLayoutAndHitTest) {
  ToolbarModel m = programBar();
  ASSERT_EQ(m.count(), 16);
  EXPECT_EQ(m.imageCount(), 16);
  // Separators given as -1 wide become 8 wide.
  EXPECT_EQ(m.buttons()[1].image, 8);
  EXPECT_EQ(m.buttons()[1].style, kTbSeparator);
  // Every button has its own image, the images of the 16-image strip.
  std::vector<bool> used(16, false);
  for (const auto& b : m.buttons()) {
    if (b.style & kTbSeparator) continue;
    ASSERT_GE(b.image, 0);
    ASSERT_LT(b.image, 16);
    EXPECT_FALSE(used[static_cast<std::size_t>(b.image)]) << b.image;
    used[static_cast<std::size_t>(b.image)] = true;
    EXPECT_NE(b.text, nullptr);
  }
  // x: 8 quit, 31 separator, 39 Mineral, 62 Stufen, 85 Fundort, 108 Glossar, 131 sep, 139 Suchen.
  EXPECT_EQ(m.rect(0, 27), (ButtonRect{8, 2, 32, 24}));
  EXPECT_EQ(m.rect(2, 27), (ButtonRect{39, 2, 63, 24}));
  EXPECT_EQ(m.rect(7, 27), (ButtonRect{139, 2, 163, 24}));
  EXPECT_FALSE(m.rect(1, 27));
  EXPECT_EQ(m.hitTest(7, 10), -1);
  EXPECT_EQ(m.hitTest(8, 10), 0);
  EXPECT_EQ(m.hitTest(30, 10), 0);
  EXPECT_EQ(m.hitTest(31, 10), -1);  // separator
  EXPECT_EQ(m.hitTest(38, 10), -1);
  EXPECT_EQ(m.hitTest(39, 10), 2);
  EXPECT_EQ(m.hitTest(62, 10), 3);
  EXPECT_EQ(m.hitTest(40, 1), -1);
  EXPECT_EQ(m.hitTest(40, 24), -1);
  EXPECT_EQ(m.hitTest(40, 23), 2);
  EXPECT_EQ(m.hitTest(5000, 10), -1);
  // A hidden button takes no space: the next one moves into its place.
  toolbarReply(m, kTbHideButton, CMD_QUIT, 1);
  EXPECT_EQ(m.hitTest(8, 10), -1);  // now the separator
  EXPECT_EQ(m.hitTest(16, 10), 2);
  EXPECT_EQ(m.rect(2, 27), (ButtonRect{16, 2, 40, 24}));
}

TEST(ToolbarModel, MessageRepliesAndGroups) {
  ToolbarModel m = programBar();
  // Queries: the bits of the initial table, -1 for an unknown command.
  EXPECT_EQ(toolbarReply(m, kTbIsButtonChecked, CMD_TOOLBAR_VIEW_MINERAL, 0).value, 1);
  EXPECT_EQ(toolbarReply(m, kTbIsButtonPressed, CMD_TOOLBAR_VIEW_MINERAL, 0).value, 1);
  EXPECT_EQ(toolbarReply(m, kTbIsButtonEnabled, CMD_TOOLBAR_VIEW_SPECIMENS, 0).value, 1);
  EXPECT_EQ(toolbarReply(m, kTbIsButtonChecked, CMD_TOOLBAR_VIEW_SPECIMENS, 0).value, 0);
  EXPECT_EQ(toolbarReply(m, kTbIsButtonChecked, 4711, 0).value, -1);
  EXPECT_EQ(toolbarReply(m, kTbGetState, 4711, 0).value, -1);
  EXPECT_EQ(toolbarReply(m, kTbGetState, CMD_QUIT, 0).value, 4);
  // A separator's command 0 is no button.
  EXPECT_EQ(toolbarReply(m, kTbCommandToIndex, 0, 0).value, -1);
  EXPECT_EQ(toolbarReply(m, kTbCommandToIndex, CMD_TOOLBAR_PRINT, 0).value, 15);
  EXPECT_EQ(toolbarReply(m, kTbButtonCount, 0, 0).value, 16);
  EXPECT_FALSE(toolbarReply(m, 0x0111, 0, 0).handled);

  // Checking "Stufen" unchecks "Minerale" and leaves the next group alone.
  ToolbarReply r = toolbarReply(m, kTbCheckButton, CMD_TOOLBAR_VIEW_SPECIMENS, 1);
  EXPECT_EQ(r.value, 1);
  EXPECT_EQ(r.repaint, Repaint::All);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_SPECIMENS), 5);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_MINERAL), 4);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_ALL), 7);
  // Clearing a check leaves the others unchecked.
  toolbarReply(m, kTbCheckButton, CMD_TOOLBAR_VIEW_SPECIMENS, 0);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_SPECIMENS), 4);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_MINERAL), 4);

  // TB_SETSTATE replaces the byte: what the command layer sends (4, 7, 16).
  r = toolbarReply(m, kTbSetState, CMD_TOOLBAR_PRINT, 16);
  EXPECT_EQ(r.value, 1);
  EXPECT_EQ(r.repaint, Repaint::Button);
  EXPECT_EQ(r.index, 15);
  EXPECT_EQ(toolbarReply(m, kTbIsButtonEnabled, CMD_TOOLBAR_PRINT, 0).value, 0);
  EXPECT_EQ(toolbarReply(m, kTbIsButtonIndeterminate, CMD_TOOLBAR_PRINT, 0).value, 1);
  r = toolbarReply(m, kTbSetState, CMD_TOOLBAR_PRINT, 4 | kTbHidden);
  EXPECT_EQ(r.repaint, Repaint::All);
  EXPECT_EQ(toolbarReply(m, kTbIsButtonHidden, CMD_TOOLBAR_PRINT, 0).value, 1);
  r = toolbarReply(m, kTbSetState, 4711, 4);
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(r.repaint, Repaint::None);

  // Insert, get and delete records.
  ToolbarButton extra{3, 1099, "Neu", kTbEnabled, 0, {0, 0}};
  toolbarReply(m, kTbInsertButton, 1, reinterpret_cast<std::intptr_t>(&extra));
  EXPECT_EQ(m.indexOf(1099), 1);
  ToolbarButton out;
  EXPECT_EQ(toolbarReply(m, kTbGetButton, 1, reinterpret_cast<std::intptr_t>(&out)).value, 1);
  EXPECT_EQ(out.command, 1099);
  EXPECT_EQ(out.image, 3);
  EXPECT_EQ(toolbarReply(m, kTbGetButton, 99, reinterpret_cast<std::intptr_t>(&out)).value, 0);
  EXPECT_EQ(toolbarReply(m, kTbDeleteButton, 1, 0).value, 1);
  EXPECT_EQ(m.indexOf(1099), -1);
  EXPECT_EQ(m.count(), 16);
  EXPECT_EQ(toolbarReply(m, kTbDeleteButton, 16, 0).value, 0);
}

TEST(ToolbarModel, ClicksOnGroupAndPlainButtons) {
  ToolbarModel m = programBar();
  const int stufen = m.indexOf(CMD_TOOLBAR_VIEW_SPECIMENS);
  // Released outside the button: no command, the group unchanged.
  EXPECT_TRUE(m.press(stufen));
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_SPECIMENS), 6);
  EXPECT_TRUE(m.track(false));
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_SPECIMENS), 4);
  EXPECT_TRUE(m.track(true));
  EXPECT_EQ(m.release(false), 0);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_SPECIMENS), 4);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_MINERAL), 7);
  EXPECT_EQ(m.captured(), -1);
  // Released over it: the command, checked, the other of the group unchecked.
  m.press(stufen);
  EXPECT_EQ(m.release(true), CMD_TOOLBAR_VIEW_SPECIMENS);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_SPECIMENS), 5);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_MINERAL), 4);
  // An already checked group button sends its command but stays checked.
  m.press(stufen);
  EXPECT_EQ(m.release(true), CMD_TOOLBAR_VIEW_SPECIMENS);
  EXPECT_EQ(m.state(CMD_TOOLBAR_VIEW_SPECIMENS), 5);
  // A disabled button neither presses nor sends.
  toolbarReply(m, kTbSetState, CMD_TOOLBAR_PRINT, 16);
  EXPECT_FALSE(m.press(m.indexOf(CMD_TOOLBAR_PRINT)));
  EXPECT_EQ(m.state(CMD_TOOLBAR_PRINT), 16);
  EXPECT_EQ(m.release(true), 0);
  // A plain check button toggles.
  ToolbarButton check{3, 1099, "Umschalter", kTbEnabled, kTbCheck, {0, 0}};
  m.insert(-1, check);
  m.press(m.indexOf(1099));
  EXPECT_EQ(m.release(true), 1099);
  EXPECT_EQ(m.state(1099), 5);
  m.press(m.indexOf(1099));
  EXPECT_EQ(m.release(true), 1099);
  EXPECT_EQ(m.state(1099), 4);
  // A plain button sends and keeps its state.
  m.press(0);
  EXPECT_EQ(m.release(true), CMD_QUIT);
  EXPECT_EQ(m.state(CMD_QUIT), 4);
}
