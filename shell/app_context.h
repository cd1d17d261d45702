// The state of one run of kalvor.exe, owned by WinMain and handed to the
// windows that need it (no globals).
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/startup.h"
#include "platform/held_settings.h"
#include "platform/settings.h"
#include "refdb/glossary.h"
#include "shell/gdi_canvas.h"
#include "views/column_layout.h"
#include "views/view_state.h"

namespace kalvor::shell {

struct AppContext {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  // The class background brush, deleted at shut-down.
  HBRUSH backgroundBrush = nullptr;
  // The toolbar window (control id 3000); null until it exists.
  HWND toolbar = nullptr;
  // The toolbar's button states by command id (4 up, 7 pressed, 16 disabled),
  // kept from the start until "Kalvor beenden" destroys the toolbar.
  std::map<int, int> toolbarStates;
  bool toolbarDestroyed = false;
  // "Hauptmenu" while the exchange bar "Tauschmenu" is installed.
  HMENU savedMenuBar = nullptr;
  // "kalvor.ini" in the working directory; opened before the main window.
  std::unique_ptr<Settings> settings;
  // The same object while it holds back the writes of the data start-up
  // (a failed start leaves the file untouched); released once the data is ready.
  HeldSettings* startupSettings = nullptr;
  // Everything the start-up loaded; null until the first WM_PAINT has run it.
  std::unique_ptr<ReferenceData> data;
  // The program's fonts, made at start and anew after the options dialog.
  DescriptionFontSet fonts;
  // The column layouts of the mineral, locality and specimen lists, read from
  // "kalvor.ini" when the list class is registered; the renderers change widths.
  views::ColumnLayouts listLayouts;
  // Widest mineral name (+ 10/4 average widths) per list font (keyed by its
  // LOGFONT bytes), measured once by the list control; the narrow threshold uses it.
  std::map<std::string, int> widestListNames;
  // Set by the first WM_PAINT, which runs the data start-up.
  bool firstPaintDone = false;
  // The side windows (modeless dialogs); null while closed.
  HWND descriptionWindow = nullptr;
  HWND drawingWindow = nullptr;
  // The main window's outer rectangle at the last resize that did not minimise.
  RECT savedMainRect = {};
  // True while the value index's field table still has entries to load.
  bool backgroundStepPending = false;
  // Width of the arrow 0xAE in the Symbol font, for the description text.
  int arrowWidth = 0;
  // The glossary, open while the Glossar view shows it.
  std::optional<Glossary> glossary;
  // Which view the list shows, result flags, search results; changed only by
  // the command handlers and view switches.
  views::ViewState views;
};

}  // namespace kalvor::shell
