// The main window's life: start-up with and without its derived files, a
// failing start, the views that follow the collection, the layout on
// resizing, the Info dialog and what a normal exit leaves behind. Each case
// runs kalvor.exe in a fresh working folder of its own.
#include <cstdint>
#include <cstdio>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr DWORD kStartTimeoutMs = 120000;


// True when the top-left corner of `window` (where a list draws its header
// and first rows) shows dark pixels on screen. The start-up logo stands in the
// middle of the client area, so a corner in window colours means the list
// has not painted.
bool cornerShowsText(HWND window) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const HDC screen = GetDC(nullptr);
  bool dark = false;
  for (int y = r.top; y < r.top + 60 && y < r.bottom && !dark; ++y) {
    for (int x = r.left; x < r.left + 200 && x < r.right && !dark; ++x) {
      const COLORREF c = GetPixel(screen, x, y);
      dark = c != CLR_INVALID && GetRValue(c) < 96 && GetGValue(c) < 96 && GetBValue(c) < 96;
    }
  }
  ReleaseDC(nullptr, screen);
  return dark;
}

// Waits until `window` has painted its corner (see above); false after `timeoutMs`.
bool waitForCornerText(HWND window, DWORD timeoutMs) {
  const DWORD began = GetTickCount();
  while (!cornerShowsText(window)) {
    if (GetTickCount() - began > timeoutMs) return false;
    settle(50);
  }
  return true;
}

bool readOnly(const std::string& path) {
  const auto stamp = fileStamp(path);
  return stamp && (stamp->attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

UI_CASE(mainwin, startupBuildsDerivedFilesOnceAndExitLeavesCollectionReadOnly) {
  const std::string folder = prepareCaseFolder("startup");
  UI_CHECK(!folder.empty());
  UI_CHECK(!fileStamp(folder + "\\kalvor.fl") && !fileStamp(folder + "\\kalvor.si"));

  Program first;
  const DWORD firstBegan = GetTickCount();
  UI_CHECK(first.start(folder + "\\kalvor.exe", folder));
  // Without "kalvor.si" the start builds it behind the progress dialog
  // "IndexAufbau". It stands only while the index is built, so the driver
  // looks for it while it waits; whether it catches it depends on timing and
  // is only reported.
  HWND main = nullptr;
  bool progressSeen = false;
  for (;;) {
    if (!progressSeen) {
      if (const HWND progress = waitForDialog(first.processId(), "Suchindex", 0)) {
        progressSeen = true;
        saveScreenshot(progress, "screenshots/mainwin-indexaufbau.png");
      }
    }
    if (!main) main = waitForWindow(first.processId(), "Kalvor", "Kalvor", 0);
    if (main && waitUntilResponsive(main, 20)) break;
    if (GetTickCount() - firstBegan > kStartTimeoutMs) break;
    Sleep(20);
  }
  UI_CHECK(main != nullptr);
  if (!main || !waitUntilResponsive(main, kStartTimeoutMs)) {
    first.kill();
    return;
  }
  std::printf("first start (builds kalvor.fl, kalvor.si): data ready %lu ms, progress dialog %s\n",
              static_cast<unsigned long>(GetTickCount() - firstBegan), progressSeen ? "seen" : "not caught");
  const auto fl = fileStamp(folder + "\\kalvor.fl");
  const auto si = fileStamp(folder + "\\kalvor.si");
  UI_CHECK(fl.has_value() && fl->size > 0);
  UI_CHECK(si.has_value() && si->size > 2);
  UI_CHECK_EQ(closeKalvor(first, main).value_or(0), 1u);

  // A normal exit: the collection files read-only, the flag in the settings file.
  UI_CHECK(readOnly(folder + "\\kalvor.fs"));
  UI_CHECK(readOnly(folder + "\\kalvor.st"));
  const std::string ini = folder + "\\kalvor.ini";
  char flag[32] = {};
  GetPrivateProfileStringA("Status", "Index-Defekt", "fehlt", flag, sizeof flag, ini.c_str());
  UI_CHECK_EQ(std::string(flag), std::string("0"));

  // The second start finds both derived files valid and leaves them untouched;
  // it opens the read-only collection files again (the store clears the mark).
  Sleep(1100);  // file times must be able to differ
  Program second;
  const DWORD began = GetTickCount();
  UI_CHECK(second.start(folder + "\\kalvor.exe", folder));
  main = waitForWindow(second.processId(), "Kalvor", "Kalvor", kStartTimeoutMs);
  const DWORD shown = GetTickCount();
  UI_CHECK(main != nullptr);
  if (!main || !waitUntilResponsive(main, kStartTimeoutMs)) {
    second.kill();
    return;
  }
  const DWORD ready = GetTickCount();
  // The list of all minerals follows from the command the first paint posts.
  HWND list = nullptr;
  long rows = 0;
  for (int i = 0; i < 2000 && rows <= 0; ++i) {
    list = GetDlgItem(main, 1000);
    if (list) rows = listQuery(list, kListQueryCount);
    if (rows <= 0) Sleep(5);
  }
  const DWORD listed = GetTickCount();
  UI_CHECK(list != nullptr);
  UI_CHECK(rows > 0);
  std::printf("start-up with derived files: window %lu ms, data ready %lu ms, mineral list filled (%ld rows) %lu ms\n",
              static_cast<unsigned long>(shown - began), static_cast<unsigned long>(ready - began), rows,
              static_cast<unsigned long>(listed - began));
  // The list exists and answers before it has painted: the picture waits for
  // its rows, and the rows must come without any further input.
  UI_CHECK(waitForCornerText(list, 5000));
  std::printf("mineral list painted %lu ms after start\n", static_cast<unsigned long>(GetTickCount() - began));
  UI_CHECK(saveScreenshot(main, "screenshots/mainwin-mineral.png"));
  UI_CHECK(fileStamp(folder + "\\kalvor.fl") == fl);
  UI_CHECK(fileStamp(folder + "\\kalvor.si") == si);
  UI_CHECK(!readOnly(folder + "\\kalvor.fs"));
  UI_CHECK_EQ(closeKalvor(second, main).value_or(0), 1u);
  UI_CHECK(readOnly(folder + "\\kalvor.st"));
}

UI_CASE(mainwin, missingDatabaseShowsInitialisationProblemAndEndsWithMinusOne) {
  const std::string folder = prepareCaseFolder("nodb");
  UI_CHECK(!folder.empty());
  UI_CHECK(DeleteFileA((folder + "\\kalvor.db").c_str()));
  Program kalvor;
  UI_CHECK(kalvor.start(folder + "\\kalvor.exe", folder));
  const HWND box = waitForDialog(kalvor.processId(), "Initialisierungsproblem", kStartTimeoutMs);
  UI_CHECK(box != nullptr);
  if (!box) {
    kalvor.kill();
    return;
  }
  UI_CHECK(saveScreenshot(box, "screenshots/mainwin-initialisierungsproblem.png"));
  // The message, then the file that failed and why.
  bool textFound = false;
  bool fileNamed = false;
  for (const std::string& text : childTexts(box)) {
    if (text.rfind("Bei der Initialisierung der Datenbank gab es einen Fehler.", 0) == 0) textFound = true;
    if (text.find("Die Datei \"kalvor.db\" fehlt im Datenordner.") != std::string::npos) fileNamed = true;
  }
  UI_CHECK(textFound);
  UI_CHECK(fileNamed);
  UI_CHECK(clickButton(box, IDOK));
  const auto code = kalvor.waitForExit(30000);
  UI_CHECK(code.has_value());
  UI_CHECK_EQ(code.value_or(0), 0xFFFFFFFFu);
  if (!code) kalvor.kill();
  // A failed start writes nothing.
  UI_CHECK(!fileStamp(folder + "\\kalvor.ini"));
}

UI_CASE(mainwin, valueIndexThatCannotOpenFailsTheStartWithoutWritingSettings) {
  // A folder in place of "kalvor.vi": the collection cannot open. The value
  // index records "Index-Defekt" as it fails; a start that ends must not keep it.
  const std::string folder = prepareCaseFolder("novi");
  UI_CHECK(!folder.empty());
  RemoveDirectoryA((folder + "\\kalvor.vi").c_str());
  UI_CHECK(CreateDirectoryA((folder + "\\kalvor.vi").c_str(), nullptr));
  Program kalvor;
  UI_CHECK(kalvor.start(folder + "\\kalvor.exe", folder));
  const HWND box = waitForDialog(kalvor.processId(), "Initialisierungsproblem", kStartTimeoutMs);
  UI_CHECK(box != nullptr);
  if (box) UI_CHECK(clickButton(box, IDOK));
  const auto code = kalvor.waitForExit(30000);
  if (!code) kalvor.kill();
  UI_CHECK_EQ(code.value_or(0), 0xFFFFFFFFu);
  UI_CHECK(!fileStamp(folder + "\\kalvor.ini"));
  RemoveDirectoryA((folder + "\\kalvor.vi").c_str());
}

UI_CASE(mainwin, recordViewsFollowTheCollection) {
  const std::string folder = prepareCaseFolder("views");
  UI_CHECK(!folder.empty());
  Program kalvor;
  HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  // An empty collection: no Fundort or Stufen view, no search over them.
  UI_CHECK(itemGrayed(main, 3, 1022));
  UI_CHECK(itemGrayed(main, 3, 1021));
  UI_CHECK(itemGrayed(main, 1, 1006));
  UI_CHECK(itemGrayed(main, 1, 1007));
  // Mineral view, all entries; no result to show yet.
  UI_CHECK(itemChecked(main, 3, 1020));
  UI_CHECK(itemChecked(main, 3, 1023));
  UI_CHECK(itemGrayed(main, 3, 1024));
  sendCommand(main, 1024);  // "Suchergebnis" without a result changes nothing
  settle(300);
  UI_CHECK(itemChecked(main, 3, 1023));
  UI_CHECK(!itemChecked(main, 3, 1024));
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);

  // One locality and one specimen, entered with the command-line tool.
  UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe fundort neu --name \"Grube Clara\" --ort Oberwolfach "
                                "--region Schwarzwald --land Deutschland",
                       folder, 60000)
                  .value_or(99),
              0u);
  UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe stufe neu --minerale \"Fluorit, Baryt\" --fundort 1 "
                                "--datum 12.08.1995 --erwerb gefunden",
                       folder, 60000)
                  .value_or(99),
              0u);

  Program again;
  main = startKalvor(again, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  UI_CHECK(itemEnabled(main, 3, 1022));
  UI_CHECK(itemEnabled(main, 3, 1021));
  // With records the searches over them are usable.
  UI_CHECK(itemEnabled(main, 1, 1006));
  UI_CHECK(itemEnabled(main, 1, 1007));

  sendCommand(main, 1022);  // "&Fundort"
  settle(500);
  UI_CHECK(itemChecked(main, 3, 1022));
  UI_CHECK(!itemChecked(main, 3, 1020));
  UI_CHECK(itemChecked(main, 3, 1023));
  UI_CHECK(itemGrayed(main, 3, 1024));  // no locality search has run
  // A locality can be changed, deleted and printed from its view.
  UI_CHECK(itemEnabled(main, 2, 1003));
  UI_CHECK(itemEnabled(main, 2, 1004));
  UI_CHECK(itemEnabled(main, 4, 1031));
  UI_CHECK(saveScreenshot(main, "screenshots/mainwin-fundort.png"));

  sendCommand(main, 1021);  // "S&tufen"
  settle(500);
  UI_CHECK(itemChecked(main, 3, 1021));
  UI_CHECK(!itemChecked(main, 3, 1022));
  // Deleting a specimen only asks: "&Löschen" applies to specimens.
  UI_CHECK(itemEnabled(main, 2, 1004));
  UI_CHECK(itemEnabled(main, 4, 1033));  // the specimen list prints
  UI_CHECK(itemGrayed(main, 4, 1031));
  sendCommand(main, 1023);  // already all entries: nothing changes
  settle(300);
  UI_CHECK(itemChecked(main, 3, 1023));
  UI_CHECK(saveScreenshot(main, "screenshots/mainwin-stufen.png"));

  sendCommand(main, 1027);  // "&Glossar"
  settle(500);
  UI_CHECK(itemChecked(main, 3, 1027));
  UI_CHECK(itemGrayed(main, 3, 1024));
  UI_CHECK(saveScreenshot(main, "screenshots/mainwin-glossar.png"));

  sendCommand(main, 1020);
  settle(500);
  UI_CHECK(itemChecked(main, 3, 1020));
  UI_CHECK(itemGrayed(main, 2, 1003));

  // "&Löschen" in the Stufen view asks first; "Nein" is the default answer.
  sendCommand(main, 1021);
  settle(500);
  const char* const deleteCaption = "Stufe l\xF6schen";
  for (const bool yes : {false, true}) {
    sendCommand(main, 1004);
    const HWND box = waitForDialog(again.processId(), deleteCaption, 10000);
    UI_CHECK(box != nullptr);
    if (!box) break;
    bool question = false;
    for (const std::string& text : childTexts(box)) {
      if (text == "Wollen Sie die angew\xE4hlte Stufe wirklich l\xF6schen?") question = true;
    }
    UI_CHECK(question);
    if (yes) {
      UI_CHECK(clickButton(box, IDYES));
    } else {
      // Enter answers with the default button, which is "Nein".
      const HWND no = GetDlgItem(box, IDNO);
      UI_CHECK((GetWindowLongA(no, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
      PostMessageA(no, WM_KEYDOWN, VK_RETURN, 1);
      PostMessageA(no, WM_KEYUP, VK_RETURN, 0xC0000001);
    }
    for (int i = 0; i < 100 && IsWindow(box); ++i) settle(50);
    UI_CHECK(!IsWindow(box));
    settle(300);
    const HWND list = GetDlgItem(main, 1000);
    UI_CHECK_EQ(list ? listQuery(list, kListQueryCount) : -1L, yes ? 0L : 1L);
  }
  // Without specimens the Stufen view and the specimen search are grayed.
  UI_CHECK(itemGrayed(main, 3, 1021));
  UI_CHECK(itemGrayed(main, 1, 1007));
  UI_CHECK_EQ(closeKalvor(again, main).value_or(0), 1u);
}

// A damaged value index, as the settings file records it, grays the
// searches over the collection from the moment the window is made; the
// other search items stay usable.
UI_CASE(mainwin, damagedIndexGraysTheCollectionSearchesAtCreation) {
  const std::string folder = prepareCaseFolder("damaged");
  UI_CHECK(!folder.empty());
  UI_CHECK(WritePrivateProfileStringA("Status", "Index-Defekt", "1", (folder + "\\kalvor.ini").c_str()));
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  UI_CHECK((menuItemState(main, 1006).value_or(0) & MF_GRAYED) != 0);
  UI_CHECK((menuItemState(main, 1007).value_or(0) & MF_GRAYED) != 0);
  UI_CHECK((menuItemState(main, 1015).value_or(MF_GRAYED) & MF_GRAYED) == 0);
  // "&Mineral" searches the reference data: a damaged collection index does not touch it.
  UI_CHECK((menuItemState(main, 1002).value_or(MF_GRAYED) & MF_GRAYED) == 0);
  // The start rebuilt the index before anything could be written: the mark is gone.
  UI_CHECK_EQ(GetPrivateProfileIntA("Status", "Index-Defekt", 9, (folder + "\\kalvor.ini").c_str()), 0u);
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
  UI_CHECK_EQ(GetPrivateProfileIntA("Status", "Index-Defekt", 9, (folder + "\\kalvor.ini").c_str()), 0u);
}

// Every enabled command does something visible: "&Fundort hinzu" opens the
// locality form in front of the main window, and after "Abbrechen" the next
// command ("Namensuche") runs. Commands of the Stufen view stay grayed here.
UI_CASE(mainwin, enabledCommandsOpenTheirDialogs) {
  const std::string folder = prepareCaseFolder("nosilent");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  UI_CHECK(itemEnabled(main, 1, 1002));
  UI_CHECK(itemEnabled(main, 1, 1015));
  UI_CHECK(itemEnabled(main, 2, 1013));  // "&Fundort hinzu"
  UI_CHECK(itemEnabled(main, 2, 1014));  // "&Stufenbeschreibung hinzu"
  UI_CHECK(itemEnabled(main, 4, 1030));  // the mineral profile prints
  UI_CHECK(itemEnabled(main, 4, 1034));  // "Etiketten (&Direkt)" has its dialog
  UI_CHECK(itemGrayed(main, 4, 1035));   // "Stufen&etiketten" only in the Stufen view
  sendCommand(main, 1013);
  const HWND form = waitForDialog(kalvor.processId(), "Fundortbeschreibung", 10000);
  UI_CHECK(form != nullptr);
  if (form) {
    UI_CHECK(GetWindow(form, GW_OWNER) == main);
    UI_CHECK(clickButton(form, IDCANCEL));
    UI_CHECK(waitUntilClosed(form));
  }
  sendCommand(main, 1015);
  const HWND dialog = waitForDialog(kalvor.processId(), "Namensuche", 10000);
  UI_CHECK(dialog != nullptr);
  if (dialog) {
    UI_CHECK_EQ(windowText(dialog), std::string("Namensuche"));
    UI_CHECK(GetWindow(dialog, GW_OWNER) == main);
    UI_CHECK(clickButton(dialog, IDCANCEL));
    UI_CHECK(waitUntilClosed(dialog));
  }
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}

UI_CASE(mainwin, windowCoversWorkAreaAndResizesByTheLayoutRules) {
  const std::string folder = prepareCaseFolder("layout");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT outer = {};
  GetWindowRect(main, &outer);
  UI_CHECK(EqualRect(&outer, &work));

  // "Ausführliche Liste" closes the description window that stands beside the list from the start.
  sendCommand(main, 1025);
  waitUntilResponsive(main, 20000);
  MoveWindow(main, 20, 10, 900, 700, TRUE);
  settle(300);
  GetWindowRect(main, &outer);
  UI_CHECK_EQ(outer.right - outer.left, 900L);
  RECT client = {};
  GetClientRect(main, &client);
  if (const HWND list = GetDlgItem(main, 1000)) {
    // Without side windows the list takes the client area below the toolbar band.
    RECT r = {};
    GetWindowRect(list, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    UI_CHECK_EQ(r.left, 0L);
    UI_CHECK_EQ(r.top, 27L);
    UI_CHECK_EQ(r.right, client.right);
    UI_CHECK_EQ(r.bottom, client.bottom);
  } else {
    std::printf("note: no list window yet, its placement was not checked\n");
  }
  UI_CHECK(saveScreenshot(main, "screenshots/mainwin-resized.png"));

  // Minimised and restored: the window and its list come back as they were.
  ShowWindow(main, SW_MINIMIZE);
  settle(300);
  ShowWindow(main, SW_RESTORE);
  settle(300);
  RECT restored = {};
  GetWindowRect(main, &restored);
  UI_CHECK_EQ(restored.right - restored.left, 900L);
  UI_CHECK_EQ(restored.bottom - restored.top, 700L);
  if (const HWND list = GetDlgItem(main, 1000)) {
    RECT r = {};
    GetWindowRect(list, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    GetClientRect(main, &client);
    UI_CHECK_EQ(r.top, 27L);
    UI_CHECK_EQ(r.right, client.right);
    UI_CHECK_EQ(r.bottom, client.bottom);
  }

  // Not smaller than 200 quarter character widths plus 100, two thirds of the desktop.
  MoveWindow(main, 0, 0, 100, 100, TRUE);
  settle(300);
  GetWindowRect(main, &outer);
  RECT desktop = {};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const LONG minWidth = (LOWORD(GetDialogBaseUnits()) * 200) / 4 + 100;
  const LONG minHeight = ((desktop.bottom - desktop.top) * 2) / 3;
  UI_CHECK_EQ(outer.right - outer.left, minWidth);
  UI_CHECK_EQ(outer.bottom - outer.top, minHeight);
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}

UI_CASE(mainwin, infoDialogOpensOnCommandAndClosesOnOk) {
  const std::string folder = prepareCaseFolder("info");
  UI_CHECK(!folder.empty());
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  sendCommand(main, 1040);
  const HWND info = waitForDialog(kalvor.processId(), "Info", 20000);
  UI_CHECK(info != nullptr);
  if (info) {
    settle(300);
    UI_CHECK(saveScreenshot(info, "screenshots/mainwin-info.png"));
    bool name = false;
    bool licences = false;
    for (const std::string& text : childTexts(info)) {
      if (text == "Kalvor") name = true;
      if (text.find("Wikidata (CC0") != std::string::npos && text.find("CC BY-SA") != std::string::npos &&
          text.find("RRUFF") != std::string::npos && text.find("IMA") != std::string::npos) {
        licences = true;
      }
    }
    UI_CHECK(name);
    UI_CHECK(licences);
    // Centred over the main window's client area.
    RECT client = {};
    RECT own = {};
    GetClientRect(main, &client);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(info, &own);
    const LONG expectedLeft = client.left + ((client.right - client.left) - (own.right - own.left)) / 2;
    UI_CHECK(own.left >= expectedLeft - 1 && own.left <= expectedLeft + 1);
    UI_CHECK(clickButton(info, IDOK));
    for (int i = 0; i < 100 && IsWindow(info); ++i) Sleep(50);
    UI_CHECK(!IsWindow(info));
  }
  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
}

namespace {

// Steps over a name-or-ordinal field of a dialog template (0xFFFF + WORD, or a
// zero-ended wide string) and returns the wide text, empty for an ordinal.
std::wstring readNameOrOrdinal(const WORD*& p) {
  if (*p == 0xFFFF) {
    p += 2;
    return {};
  }
  std::wstring text;
  while (*p) text.push_back(static_cast<wchar_t>(*p++));
  ++p;
  return text;
}

}  // namespace

UI_CASE(mainwin, leerBoxTemplateIsASizableChildWithOneEmptyStatic) {
  const std::string folder = prepareCaseFolder("leerbox");
  UI_CHECK(!folder.empty());
  const HMODULE exe = LoadLibraryExA((folder + "\\kalvor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  UI_CHECK(exe != nullptr);
  if (!exe) return;
  const HRSRC found = FindResourceA(exe, "LEERBOX", MAKEINTRESOURCEA(5));  // RT_DIALOG
  UI_CHECK(found != nullptr);
  const auto* base = found ? static_cast<const BYTE*>(LockResource(LoadResource(exe, found))) : nullptr;
  UI_CHECK(base != nullptr);
  if (base) {
    // DLGTEMPLATEEX: version 1, signature 0xFFFF, help id, extended style, style, item count, x, y, cx, cy.
    const auto word = [base](int at) { return *reinterpret_cast<const WORD*>(base + at); };
    const DWORD style = *reinterpret_cast<const DWORD*>(base + 12);
    UI_CHECK_EQ(word(0), WORD{1});
    UI_CHECK_EQ(word(2), WORD{0xFFFF});
    UI_CHECK((style & WS_CHILD) != 0);
    UI_CHECK((style & WS_POPUP) == 0);
    UI_CHECK((style & WS_CAPTION) == WS_CAPTION);
    UI_CHECK((style & WS_THICKFRAME) != 0);
    UI_CHECK_EQ(word(16), WORD{1});    // one control
    UI_CHECK_EQ(word(22), WORD{200});  // 200 x 200 dialog units
    UI_CHECK_EQ(word(24), WORD{200});
    // After menu, class and caption (and the font when DS_SETFONT) the item
    // follows on a DWORD boundary: help id, extended style, style, x, y, cx,
    // cy, DWORD id, then its class (ordinal 0x0082 = static) and its text.
    const WORD* p = reinterpret_cast<const WORD*>(base + 26);
    readNameOrOrdinal(p);
    readNameOrOrdinal(p);
    readNameOrOrdinal(p);
    if (style & DS_SETFONT) {
      p += 3;  // point size, weight, italic and character set
      readNameOrOrdinal(p);
    }
    const BYTE* item = reinterpret_cast<const BYTE*>(p);
    item += (4 - (reinterpret_cast<std::uintptr_t>(item) - reinterpret_cast<std::uintptr_t>(base)) % 4) % 4;
    const WORD* itemClass = reinterpret_cast<const WORD*>(item + 24);
    UI_CHECK_EQ(itemClass[0], WORD{0xFFFF});
    UI_CHECK_EQ(itemClass[1], WORD{0x0082});
    const WORD* itemText = itemClass + 2;
    UI_CHECK(readNameOrOrdinal(itemText).empty());
  }
  FreeLibrary(exe);
}

// kalvor.exe carries its own icon (group 1, IDI_KALVOR, which the main
// window class uses) with a 32 and a 16 pixel picture. The class itself
// cannot be read from another process under Wine.
UI_CASE(mainwin, programHasItsOwnIcon) {
  const std::string folder = prepareCaseFolder("icon");
  UI_CHECK(!folder.empty());
  const HMODULE exe = LoadLibraryExA((folder + "\\kalvor.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  UI_CHECK(exe != nullptr);
  if (!exe) return;
  const HRSRC group = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  UI_CHECK(group != nullptr);
  if (group) {
    auto* dir = static_cast<BYTE*>(LockResource(LoadResource(exe, group)));
    UI_CHECK(dir != nullptr);
    if (dir) {
      UI_CHECK(LookupIconIdFromDirectoryEx(dir, TRUE, 32, 32, 0) != 0);
      UI_CHECK(LookupIconIdFromDirectoryEx(dir, TRUE, 16, 16, 0) != 0);
      UI_CHECK_EQ(*reinterpret_cast<const WORD*>(dir + 4), WORD{2});  // two pictures
    }
  }
  FreeLibrary(exe);
}
