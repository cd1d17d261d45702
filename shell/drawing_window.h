// The drawing window: a modeless "LeerBox" at the top right of the main
// window, beside the description window, showing the crystal drawings of the
// list's current mineral one at a time, then its pictures, with "<<", "i"
// and ">>" below. Computed drawings turn with the arrow keys and the mouse;
// Pos1 brings back the drawing as shipped.
//   drawing_window.cpp  creation, layout, sizing, commands, turning
//   drawing_paint.cpp   painting drawings, pictures and "Keine Zeichnung"
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "crystal/forms_file.h"
#include "crystal/turnable_drawing.h"
#include "refdb/drawing_blocks.h"
#include "refdb/picture_list.h"
#include "shell/app_context.h"
#include "shell/dialog.h"

namespace kalvor::shell {

class DrawingWindow final : public ModelessDialog {
 public:
  explicit DrawingWindow(AppContext& app);

  // Creates the window at the top right; the main window's handle of it is
  // set. False when it cannot be made.
  bool open();

 private:
  bool onInit() override;
  bool onCommand(int id, int code) override;
  bool onClose() override;
  bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void onDestroyed() override;

  // drawing_window.cpp
  void layoutButtons();
  void onSize();
  void onPositionChanging(WINDOWPOS& pos);
  void onMinMaxInfo(MINMAXINFO& info) const;
  void onDestroy();
  void step(int delta);
  void showSource();
  // Reads the drawings and pictures of the list's current mineral when it is
  // another than the shown one (or always with `force`); the index returns to 0.
  void fetch(bool force);
  // The turnable form of the current drawing, made on the first turn; null
  // when the drawing is not a computed one.
  crystal::TurnableDrawing* turnable();
  bool onKey(WPARAM key);
  void turn(double aboutVertical, double aboutHorizontal);

  // drawing_paint.cpp
  void paint();
  void paintInto(HDC dc);
  void paintNothing(HDC dc, const RECT& area);
  void paintDrawing(HDC dc, const RECT& area);
  void paintPicture(HDC dc, const RECT& area, std::size_t picture);
  RECT drawingArea() const;
  int drawingCount() const { return block_ ? static_cast<int>(block_->drawings.size()) : 0; }
  int itemCount() const { return drawingCount() + static_cast<int>(pictureList_.size()); }

  AppContext& app_;
  RECT saved_ = {};
  int index_ = 0;
  // The mineral shown (MineralNumber), -1 before the first fetch.
  std::int32_t shownMineral_ = -1;
  std::optional<DrawingBlock> block_;
  // The values of each drawing scaled into the drawing area, made on first paint.
  std::vector<std::optional<std::vector<std::uint32_t>>> prepared_;
  std::vector<PictureEntry> pictureList_;
  // The forms behind the mineral's computed drawings ("kalvor.kf").
  std::optional<crystal::MineralForms> forms_;
  std::optional<crystal::FormsFile> formsFile_;
  bool formsFileTried_ = false;
  // The current drawing turned away from its shipped view, while it is.
  std::optional<crystal::TurnableDrawing> turned_;
  int turnedIndex_ = -1;
  // Where a drag with the left button last was.
  std::optional<POINT> dragFrom_;
  mutable int widestName_ = -1;
};

}  // namespace kalvor::shell
