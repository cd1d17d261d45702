// Menu preparation: which items of a popup of "Hauptmenu" or "Tauschmenu"
// are enabled and checked, decided from the view state as the popup opens.
#pragma once

#include "views/view_state.h"

namespace kalvor::views {

// The item operations on the popup that is about to open.
class MenuEditor {
 public:
  virtual ~MenuEditor() = default;
  // Enables (true) or grays (false) the item with that command id.
  virtual void enableItem(int id, bool enabled) = 0;
  // Checks or unchecks the item with that command id.
  virtual void checkItem(int id, bool checked) = 0;
};

// Prepares the popup at `position` in the menu bar ("Tauschmenu" while an
// exchange list is open, which lacks "&Ändern"). Unknown positions are left alone.
void prepareMenuPopup(int position, ViewController& views, MenuEditor& menu);

}  // namespace kalvor::views
