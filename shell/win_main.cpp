// Entry point of kalvor.exe: start-up in its fixed order, the message loop,
// then the shut-down.
#include <windows.h>

#include "controls/list_control.h"
#include "shell/app_context.h"
#include "shell/description_window.h"
#include "shell/keyboard_win.h"
#include "shell/main_window.h"
#include "shell/running_instance.h"
#include "shell/shutdown.h"
#include "shell/toolbar_window.h"
#include "views/options.h"
#include "win32/font_table.h"

namespace {

using kalvor::shell::AppContext;

// Fonts from the screen and the width of the arrow 0xAE in the Symbol font,
// which the description text needs for its cross references.
void createFonts(AppContext& app) {
  const HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!screen) return;
  app.display.fonts = kalvor::win32::createFontTable(*app.settings.ini);
  const HGDIOBJ previous = SelectObject(screen, app.display.fonts.font(kalvor::FontSlot::kGreek));
  SIZE extent = {};
  if (GetTextExtentPoint32A(screen, "\xAE", 1, &extent)) app.display.arrowWidth = extent.cx;
  SelectObject(screen, previous);
  DeleteDC(screen);
}

// Drains the message queue; the toolbar's keys and the modeless dialogs (the
// side windows among them) get their keyboard handling first.
void runMessageLoop(AppContext& app) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (switchPaneByKey(app, msg)) continue;
    // The toolbar's keys, for the main window and its children only: a
    // dialog's own keys stay with the dialog.
    const HWND main = app.windows.main;
    if (app.windows.accelerators && main && (msg.hwnd == main || IsChild(main, msg.hwnd)) &&
        TranslateAcceleratorA(main, app.windows.accelerators, &msg))
      continue;
    if (app.windows.modelessDialogs.handleMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int show) {
  using namespace kalvor::shell;
  // The previous-instance handle is always null on Win32: a second start on
  // the same folder is told by the folder's named mutex instead.
  const RunningInstance instanceGuard;
  if (instanceGuard.running()) {
    instanceGuard.activateOther();
    return 0;
  }

  AppContext app;
  app.windows.instance = instance;
  // The settings come first: registering the list class reads the column layouts.
  auto settings = std::make_unique<kalvor::HeldSettings>(kalvor::openPlatformSettings("kalvor.ini"));
  app.settings.heldForStartup = settings.get();
  app.settings.ini = std::move(settings);
  app.display.listLayouts.load(*app.settings.ini);
  // The lists draw in the program's fonts; the names join after the data start-up.
  app.display.lists.fonts = &app.display.fonts;
  if (!kalvor::controls::registerListClass(app.windows.instance) ||
      !registerToolbarClass(app.windows.instance) || !registerMainWindowClass(app))
    return -1;
  app.windows.bubbleHelp = std::make_unique<BubbleHelp>(app.windows.instance);
  app.windows.bubbleHelp->setEnabled(kalvor::views::bubbleHelpAtStart(*app.settings.ini));
  app.views.indexDamaged = app.settings.ini->getInt("Status", "Index-Defekt", 0) != 0;
  // The standard streams stay open: today's C runtimes have no small limit of
  // open streams that the data files would compete for, and closing them
  // would only hide diagnostics.

  RECT workArea = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  if (!createMainWindow(app, workArea)) return -1;
  SetWindowTextA(app.windows.main, kMainWindowClass);
  instanceGuard.markMainWindow(app.windows.main);
  createFonts(app);
  ShowWindow(app.windows.main, show);
  UpdateWindow(app.windows.main);

  app.windows.accelerators = createProgramAccelerators();
  runMessageLoop(app);
  if (app.windows.accelerators) DestroyAcceleratorTable(app.windows.accelerators);
  app.windows.accelerators = nullptr;
  shutDown(app);
  app.windows.bubbleHelp.reset();
  return 1;
}
