// The description window: a modeless "LeerBox" in the left column of the
// main window showing the list's current entry in full: a mineral page with
// its links, a locality, a specimen, or a glossary entry laid out by the
// program itself. It follows the list by repainting (the list invalidates
// it on every selection change).
//   description_window.cpp  creation, sizing, closing, messages
//   description_paint.cpp   painting by kind
//   description_scroll.cpp  the scroll bars and the keyboard
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "determination/description.h"
#include "determination/description_links.h"
#include "determination/laid_out_text.h"
#include "refdb/glossary.h"
#include "shell/app_context.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class DescriptionWindow final : public ModelessDialog {
 public:
  explicit DescriptionWindow(AppContext& app);

  // Creates the window with its painting suppressed until it stands; the
  // main window's handle of it is set. False when it cannot be made.
  bool open();
  // Forgets what was laid out, so the next paint builds the page anew.
  void rebuild();
  // Where the keyboard goes in the window: the scroll bar when there is
  // one, else the window itself.
  HWND focusTarget() const;
  // The link areas of the mineral page as drawn last (client coordinates).
  const std::vector<DescriptionLink>& links() const { return links_; }

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onClose() override;
  bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void onDestroyed() override;

  // description_window.cpp
  void onMinMaxInfo(MINMAXINFO& info) const;
  void onSize();
  // Moves the drawing window, when open, to start at this window's right edge.
  void followWithDrawing();
  void onDestroy();
  bool onSetCursor();
  void onDoubleClick(int x, int y);

  // description_paint.cpp
  void paint();
  void paintInto(HDC dc, const RECT& client);
  // What one pass of a page layout gives: where it ends and its line tops.
  struct PagePass {
    int bottom = 0;
    std::vector<int> lineTops;
  };
  // Draws a page (mineral, locality, specimen) with `layOut` (which lays it
  // out for a right edge, moved up by an offset), keeping its scroll bar.
  void paintPage(HDC dc, const RECT& client, int scrollId, int topMargin,
                 const std::function<PagePass(int right, int offset)>& layOut);
  void paintMineral(HDC dc, const RECT& client);
  void paintGlossary(HDC dc, const RECT& client);
  void paintRecordPage(HDC dc, const RECT& client, views::DescriptionKind kind);
  void paintLaidOutText(HDC dc, const RECT& area);
  // Lays out `text` into `area` with the fit check, placing or removing the
  // text's scroll bar (1231); the area loses the bar's strip when it stays.
  void layOutTextDisplay(HDC dc, RECT& area);
  const Glossary* linkGlossary();

  // description_scroll.cpp
  void onVScroll(WPARAM wParam);
  // Shows the scroll bar `id` with range 0 ... last at `position`, or removes
  // it when `last` is 0 (nothing to scroll). Returns the width it takes.
  int placeScrollBar(int id, int last, int position);
  void removeScrollBar();
  int scrollBarWidth() const;

  AppContext& app_;
  // The client rectangle after the last resize; its width is kept between openings.
  RECT saved_{};
  views::DescriptionKind shown_ = views::DescriptionKind::None;
  bool paintingSuppressed_ = false;
  bool startTextShown_ = false;
  // Set by WM_ERASEBKGND: the client area is the window colour already, so a
  // paint need only copy the rows its content reaches (`contentBottom_`).
  bool erased_ = false;
  int contentBottom_ = 0;

  // A page laid out by the description layout (mineral, locality, specimen):
  // what it shows, the tops of its lines, its end, and the first line shown.
  struct Page {
    views::DescriptionKind kind = views::DescriptionKind::None;
    std::int32_t key = -1;
    int width = 0;
    std::vector<int> lineTops;
    int bottom = 0;
    int first = 0;
    int last = 0;
    bool valid = false;
  };
  Page page_;
  std::vector<DescriptionLink> links_;
  LinkLevels levels_;

  // Laid-out text (glossary entries, the start-up text).
  struct Text {
    std::string text;
    TextLayout layout;
    int width = -1;
    int first = 0;
    int last = 0;
    RECT area{};
  };
  Text text_;
  std::int32_t shownEntry_ = -1;
  std::optional<Glossary> ownGlossary_;
  // The widest mineral name in the list font; measured at the first resize.
  mutable int widestName_ = -1;
  bool ownGlossaryTried_ = false;

  HWND scrollBar_ = nullptr;
  int scrollBarId_ = 0;
};

// Tab and F6 lead from the list into the description window and back;
// true when the key was taken.
bool switchPaneByKey(AppContext& app, const MSG& msg);

}  // namespace kalvor::shell
