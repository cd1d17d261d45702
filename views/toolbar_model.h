// The toolbar's buttons as plain data: the button record, its state and style
// bits, the program's button table, the replies to the toolbar messages, the
// layout and hit test, and what a click does. Portable: the Win32 window
// class "KALVOR_MYTB" only unpacks its messages into these calls and paints.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kalvor::views {

// State bits of a button.
inline constexpr std::uint8_t kTbChecked = 1;
inline constexpr std::uint8_t kTbPressed = 2;
inline constexpr std::uint8_t kTbEnabled = 4;
inline constexpr std::uint8_t kTbHidden = 8;
inline constexpr std::uint8_t kTbIndeterminate = 16;  // shown disabled

// Style bits of a button.
inline constexpr std::uint8_t kTbSeparator = 1;
inline constexpr std::uint8_t kTbCheck = 2;
inline constexpr std::uint8_t kTbGroup = 4;  // with kTbCheck: exactly one of the group is checked

// The toolbar's message numbers, those of the platform's common toolbar
// (WM_USER + n); the window checks them against the platform's header.
inline constexpr unsigned kTbEnableButton = 0x401;
inline constexpr unsigned kTbCheckButton = 0x402;
inline constexpr unsigned kTbPressButton = 0x403;
inline constexpr unsigned kTbHideButton = 0x404;
inline constexpr unsigned kTbIndeterminateMsg = 0x405;
inline constexpr unsigned kTbIsButtonEnabled = 0x409;
inline constexpr unsigned kTbIsButtonChecked = 0x40A;
inline constexpr unsigned kTbIsButtonPressed = 0x40B;
inline constexpr unsigned kTbIsButtonHidden = 0x40C;
inline constexpr unsigned kTbIsButtonIndeterminate = 0x40D;
inline constexpr unsigned kTbSetState = 0x411;
inline constexpr unsigned kTbGetState = 0x412;
inline constexpr unsigned kTbAddBitmap = 0x413;
inline constexpr unsigned kTbAddButtons = 0x414;
inline constexpr unsigned kTbInsertButton = 0x415;
inline constexpr unsigned kTbDeleteButton = 0x416;
inline constexpr unsigned kTbGetButton = 0x417;
inline constexpr unsigned kTbButtonCount = 0x418;
inline constexpr unsigned kTbCommandToIndex = 0x419;

// One button or separator. For a separator `image` is its width in pixels.
struct ToolbarButton {
  std::int32_t image = 0;
  std::int32_t command = 0;
  const char* text = nullptr;  // bubble-help text, Windows-1252
  std::uint8_t state = 0;
  std::uint8_t style = 0;
  std::uint8_t reserved[2] = {0, 0};
};

// The bitmap resource of the program's buttons and its number of images.
inline constexpr int kToolbarBitmapId = 3001;
inline constexpr int kToolbarImageCount = 16;
inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

// Layout: buttons start at x 8, advance 23 and are drawn 24 x 22; the bar is 27 high.
inline constexpr int kToolbarFirstX = 8;
inline constexpr int kToolbarAdvance = 23;
inline constexpr int kToolbarButtonWidth = 24;
inline constexpr int kToolbarButtonHeight = 22;
inline constexpr int kToolbarHeight = 27;
inline constexpr int kDefaultSeparatorWidth = 8;

// The program's 16 buttons in order (bitmap 3001).
const std::array<ToolbarButton, 16>& programToolbarButtons();

struct ButtonRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const ButtonRect&) const = default;
};

// What a message asks the window to repaint.
enum class Repaint { None, Button, All };

// The answer to one toolbar message.
struct ToolbarReply {
  bool handled = false;  // false: not a toolbar message of the model
  long long value = 0;   // the message's result
  Repaint repaint = Repaint::None;
  int index = -1;  // the button to repaint with Repaint::Button
};

class ToolbarModel {
 public:
  const std::vector<ToolbarButton>& buttons() const { return buttons_; }
  int count() const { return static_cast<int>(buttons_.size()); }
  // Index of the button with that command, -1 when there is none.
  int indexOf(int command) const;

  // Appends (index < 0 or past the end) or inserts before `index`; separator widths below 1 become 8.
  void insert(int index, const ToolbarButton& button);
  bool remove(int index);
  std::optional<ToolbarButton> button(int index) const;

  // Sets or clears a state bit of the button with `command`; checking a group
  // button unchecks the rest of its group. False for an unknown command.
  bool setBit(int command, std::uint8_t bit, bool on);
  // 1 / 0 for the bit, -1 for an unknown command.
  int queryBit(int command, std::uint8_t bit) const;
  bool setState(int command, std::uint8_t state);
  int state(int command) const;

  // Images added so far (TB_ADDBITMAP answers the index of the first new one).
  int addImages(int count);
  int imageCount() const { return images_; }

  // Rectangle of a visible, non-separator button in a bar `clientHeight` high.
  std::optional<ButtonRect> rect(int index, int clientHeight) const;
  // The button under (x, y), or -1 (left margin, outside 2..23, separators, nothing).
  int hitTest(int x, int y) const;

  // Mouse: press on a button (returns whether it was enabled and is now
  // pressed), move while captured (whether the cursor is over it), release.
  // Release returns the command to send, 0 when nothing is sent.
  bool press(int index);
  bool track(bool over);
  int release(bool over);
  int captured() const { return captured_; }

 private:
  void uncheckGroup(int index);
  std::vector<ToolbarButton> buttons_;
  int images_ = 0;
  int captured_ = -1;
};

// The reply to toolbar message `msg` (one of the kTb numbers) with its two
// parameters; TB_ADDBUTTONS, TB_INSERTBUTTON and TB_GETBUTTON read or write
// ToolbarButton records through `lParam` as the platform's toolbar does.
ToolbarReply toolbarReply(ToolbarModel& model, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace kalvor::views
