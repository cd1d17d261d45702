// The state of one run of kalvor.exe, owned by WinMain and handed to the
// windows that need it (no globals). It is made of separate parts with one
// owner each: the window handles (the main window), the settings file (WinMain),
// the loaded data (the first paint's start-up), the display resources (fonts
// and list layouts) and the view state (the command layer).
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "app/startup.h"
#include "controls/list_control.h"
#include "determination/determination_search.h"
#include "determination/number_list.h"
#include "platform/held_settings.h"
#include "platform/settings.h"
#include "refdb/glossary.h"
#include "refdb/picture_cache.h"
#include "shell/bubble_help.h"
#include "shell/dialog.h"
#include "views/column_layout.h"
#include "views/view_state.h"
#include "win32/gdi_canvas.h"
#include "win32/gdi_objects.h"

namespace kalvor::shell {

class DescriptionWindow;
struct DescriptionWindowDeleter {
  void operator()(DescriptionWindow* window) const;
};

class DrawingWindow;
struct DrawingWindowDeleter {
  void operator()(DrawingWindow* window) const;
};

// The handles the platform needs; set by the main window and its children.
struct MainWindows {
  HINSTANCE instance = nullptr;
  HWND main = nullptr;
  // The class background brush, deleted at shut-down.
  win32::GdiBrush backgroundBrush;
  // The toolbar window (control id ID_TOOLBAR); null until it exists.
  HWND toolbar = nullptr;
  // The toolbar's button states by command id (4 up, 7 pressed, 16 disabled),
  // kept from the start until "Kalvor beenden" destroys the toolbar.
  std::map<int, int> toolbarStates;
  bool toolbarDestroyed = false;
  // "Hauptmenu" while the exchange bar "Tauschmenu" is installed.
  HMENU savedMenuBar = nullptr;
  // The keys of the toolbar commands, translated by the message loop.
  HACCEL accelerators = nullptr;
  // The side windows (modeless dialogs); null while closed.
  HWND description = nullptr;
  HWND drawing = nullptr;
  // The list entry (mineral id) whose page the description window shows last
  // and the mineral of that page (for an alias, the one it leads to; -1 none).
  std::int32_t describedEntry = -1;
  std::int32_t describedMineral = -1;
  // The description window's object, made at its first opening and kept for
  // the run (it remembers the window's width between openings).
  std::unique_ptr<DescriptionWindow, DescriptionWindowDeleter> descriptionWindow;
  // The drawing window's object, made at its first opening and kept for the run.
  std::unique_ptr<DrawingWindow, DrawingWindowDeleter> drawingWindow;
  // The main window's outer rectangle at the last resize that did not minimise.
  RECT savedMainRect = {};
  // The open modeless dialogs, whose keyboard messages the message loop hands over.
  ModelessDialogs modelessDialogs;
  // Bubble help over the toolbar and the dialogs; made by WinMain before the main window.
  std::unique_ptr<BubbleHelp> bubbleHelp;
};

// "kalvor.ini" in the working directory; opened by WinMain before the main window.
struct ProgramSettings {
  std::unique_ptr<Settings> ini;
  // The same object while it holds back the writes of the data start-up
  // (a failed start leaves the file untouched); released once the data is ready.
  HeldSettings* heldForStartup = nullptr;
};

// What the start-up loaded and what the views open on demand.
struct LoadedData {
  // Null until the first WM_PAINT has run the start-up.
  std::unique_ptr<ReferenceData> reference;
  // The glossary, open while the Glossar view shows it.
  std::optional<Glossary> glossary;
};

// Fonts and layouts of the screen.
struct DisplayResources {
  // The program's fonts, made at start and anew after the options dialog.
  win32::DescriptionFontSet fonts;
  // The column layouts of the mineral, locality and specimen lists, read from
  // "kalvor.ini" at start; the renderers change widths, shut-down writes them.
  views::ColumnLayouts listLayouts;
  // What every list window is lent: names, fonts, the wide mineral rows.
  controls::ListEnvironment lists;
  // The decoded pictures of the drawing window, the start logo and the Info
  // dialog; released at shut-down and when the system runs short of memory.
  PictureCache pictures;
  // Width of the arrow 0xAE in the Symbol font, for the description text.
  int arrowWidth = 0;
};

// How far the start-up has come.
struct StartupState {
  // Set by the first WM_PAINT, which runs the data start-up.
  bool firstPaintDone = false;
  // True while the value index's field table still has entries to load.
  bool backgroundStepPending = false;
};

// What the search dialogs keep for the whole run.
struct SearchResults {
  // "Mineralbestimmung": the criteria of the last search, shown again at the next opening.
  DeterminationCriteria determination;
  // The minerals of the last successful determination, in name-list order; empty before it.
  SearchResultList minerals;
  // The minerals the locality descriptions mark after a "Fundortsuche".
  OptionalNumberList highlightElements;
  OptionalNumberList highlightSystematics;
};

struct AppContext {
  MainWindows windows;
  ProgramSettings settings;
  LoadedData data;
  DisplayResources display;
  StartupState startup;
  SearchResults search;
  // Which view the list shows, result flags, search results; changed only by
  // the command handlers and view switches.
  views::ViewState views;
};

}  // namespace kalvor::shell
