// Labels printed through the real default printer (a cups-pdf queue of a
// CUPS server of our own, started by tests/print/with_cups.sh): a format
// defined in "Etikettenformat Definition" lands in kalvor.ini in its stored
// form and in the format list; "Direkterfassung Mineraletikett" with
// "&Weitere" twice and "&OK" gives one document with three labels, and
// "&Abbrechen" gives none; "Stufenetiketten" prints one label per specimen
// of the Stufen list. What the PDFs hold (texts, QR codes) is checked by the
// wrapper after the run, from the lines this case writes to
// labels-print-checks.txt.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr WORD kCmdDirectLabels = 1034;
constexpr WORD kCmdPieceLabels = 1035;
constexpr WORD kCmdViewPieces = 1021;
constexpr DWORD kDialogTimeout = 20000;
constexpr DWORD kPrintTimeout = 180000;

const char* const kDirectTitle = "Direkterfassung Mineraletikett";
const char* const kDefinitionTitle = "Etikettenformat Definition";
const char* const kPieceTitle = "Etiketten f\xFCr Stufen";

// The folder where cups-pdf writes, as Wine sees it (drive Z: is the root).
std::string pdfFolder() {
  char value[MAX_PATH] = "";
  if (GetEnvironmentVariableA("KALVOR_CUPS_OUT", value, sizeof value) == 0) return {};
  std::string path = std::string("Z:") + value;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

int countPdfs(const std::string& folder, const std::string& fragment) {
  int n = 0;
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA((folder + "\\*" + fragment + "*.pdf").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do ++n;
  while (FindNextFileA(find, &found));
  FindClose(find);
  return n;
}

// Waits until `count` PDFs whose names hold `fragment` are there (the spooler
// works on its own time; the limit only guards against a hang).
bool waitForPdfs(const std::string& folder, const std::string& fragment, int count) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kPrintTimeout) {
    if (countPdfs(folder, fragment) >= count) return true;
    Sleep(100);  // poll interval only: the files found decide, the limit only ends a hang
  }
  return false;
}

void chooseInCombo(HWND dialog, int id, int index) {
  const HWND combo = GetDlgItem(dialog, id);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int comboCount(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
}

// The text of an item of a drop-down list, read through the selection (item
// texts are not marshalled between processes everywhere, WM_GETTEXT is);
// the selection is put back without a notification.
std::string comboItem(HWND dialog, int id, int index) {
  const HWND combo = GetDlgItem(dialog, id);
  const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const std::string text = windowText(combo);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return text;
}

std::string iniValue(const std::string& folder, const char* section, const char* key) {
  char value[256] = "";
  GetPrivateProfileStringA(section, key, "(fehlt)", value, sizeof value, (folder + "\\kalvor.ini").c_str());
  return value;
}

// One label: its texts typed in, then "&Weitere" or "&OK".
void enterLabel(HWND dialog, const char* mineral, const char* accompanying, int button) {
  UI_CHECK(setControlText(dialog, 1260, mineral));
  UI_CHECK(setControlText(dialog, 1261, accompanying));
  clickButton(dialog, button);
}

}  // namespace

UI_CASE(labels, defineDirectAndPieceLabels) {
  const std::string pdfs = pdfFolder();
  UI_CHECK(!pdfs.empty());  // the wrapper's CUPS server is running
  const std::string folder = prepareCaseFolder("labels");
  UI_CHECK(!folder.empty());
  if (pdfs.empty() || folder.empty()) return;
  const std::string cli = folder + "\\kalvor-cli.exe ";
  UI_CHECK_EQ(runToEnd(cli + "fundort neu --name \"Grube Clara\" --ort Oberwolfach --region Schwarzwald "
                             "--land Deutschland",
                       folder, 60000)
                  .value_or(99),
              0u);
  const char* const pieces[][3] = {
      {"Fluorit", "Baryt", "K-101"}, {"Baryt", "Quarz", "K-102"}, {"Pyromorphit", "", "K-103"}};
  for (const auto& p : pieces) {
    std::string args = cli + "stufe neu --minerale " + p[0] + " --fundort 1 --index " + p[2];
    if (*p[1]) args += std::string(" --begleitminerale ") + p[1];
    UI_CHECK_EQ(runToEnd(args, folder, 60000).value_or(99), 0u);
  }

  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;

  // --- The direct dialog and a new format defined from it ------------------
  sendCommand(main, kCmdDirectLabels);
  HWND direct = waitForDialog(kalvor.processId(), kDirectTitle, kDialogTimeout);
  UI_CHECK(direct != nullptr);
  if (!direct) {
    kalvor.kill();
    return;
  }
  UI_CHECK_EQ(comboCount(direct, 1268), 10);
  UI_CHECK_EQ(comboItem(direct, 1268, 3), std::string("Handstufe, 50x50 mm"));
  UI_CHECK_EQ(windowText(GetDlgItem(direct, 1263)), std::string("1"));
  // Nothing placed yet: the whole row and page are left.
  const std::string restAtStart = windowText(GetDlgItem(direct, 1264));
  UI_CHECK(!restAtStart.empty() && restAtStart.find('/') != std::string::npos);

  clickButton(direct, 1269);
  HWND definition = waitForDialog(kalvor.processId(), kDefinitionTitle, kDialogTimeout);
  UI_CHECK(definition != nullptr);
  if (definition) {
    // No user format yet: the defaults of a new one.
    UI_CHECK_EQ(windowText(GetDlgItem(definition, 1187)), std::string("Times New Roman"));
    UI_CHECK_EQ(windowText(GetDlgItem(definition, 1191)), std::string("0.08"));
    UI_CHECK_EQ(windowText(GetDlgItem(definition, 1193)), std::string("0.15"));
    UI_CHECK_EQ(windowText(GetDlgItem(definition, 1185)), std::string("10"));
    UI_CHECK_EQ(windowText(GetDlgItem(definition, 1186)), std::string("7"));
    // "&OK" without a name is refused with 10111 and the dialog stays.
    clickButton(definition, IDOK);
    const HWND refusal = waitForDialog(kalvor.processId(), "Unzureichende Angaben", kDialogTimeout);
    UI_CHECK(refusal != nullptr);
    if (refusal) {
      clickButton(refusal, IDOK);
      UI_CHECK(waitUntilClosed(refusal));
    }
    UI_CHECK(IsWindow(definition));
    // A name with a comma and blanks; the sizes typed the German way.
    UI_CHECK(setControlText(definition, 1180, "Meine Dose, 40x30 mm"));
    UI_CHECK(setControlText(definition, 1181, "4,0"));
    UI_CHECK(setControlText(definition, 1182, "3,0"));
    clickButton(definition, 1197);  // "Formel"
    clickButton(definition, 1198);  // "QR-Code"
    settle(300);
    // Labels per page on the printer's page (A4 at least 4 across, 8 down).
    const int perPage = std::atoi(windowText(GetDlgItem(definition, 1184)).c_str());
    UI_CHECK(perPage >= 32);
    UI_CHECK(saveScreenshot(definition, "screenshots/etikettenformat-definition.png"));
    clickButton(definition, IDOK);
    UI_CHECK(waitUntilClosed(definition));
  }
  // Stored with the length of the name before it, in centimetres, flags 2 + 4.
  UI_CHECK_EQ(iniValue(folder, "Etikettenformate", "Format1"),
              std::string("20:Meine Dose, 40x30 mm  4.00, 3.00, 0.00, 0.00, 0.00,10,7,6,"));
  UI_CHECK_EQ(iniValue(folder, "Etikettenformate", "Format2"), std::string("(fehlt)"));
  UI_CHECK_EQ(comboCount(direct, 1268), 11);
  UI_CHECK_EQ(comboItem(direct, 1268, 10), std::string("Meine Dose, 40x30 mm"));

  // --- Three labels in one document ---------------------------------------
  chooseInCombo(direct, 1268, 10);
  settle(200);
  UI_CHECK(IsDlgButtonChecked(direct, 1272) == BST_CHECKED);  // the format prints the formula
  UI_CHECK(SendMessageA(GetDlgItem(direct, 1262), CB_GETCOUNT, 0, 0) >= 1);
  UI_CHECK(setControlText(direct, 1262, "Grube Clara, Oberwolfach"));
  UI_CHECK(setControlText(direct, 1266, "Sammlung Test"));
  enterLabel(direct, "Fluorit", "Baryt", 1267);
  settle(200);
  // "&Weitere" empties the minerals and keeps locality and free line.
  UI_CHECK_EQ(windowText(GetDlgItem(direct, 1260)), std::string());
  UI_CHECK_EQ(windowText(GetDlgItem(direct, 1262)), std::string("Grube Clara, Oberwolfach"));
  const std::string restAfterOne = windowText(GetDlgItem(direct, 1264));
  UI_CHECK(restAfterOne != restAtStart);
  enterLabel(direct, "Quarz", "", 1267);
  settle(200);
  UI_CHECK(setControlText(direct, 1260, "Calcit"));
  settle(200);
  UI_CHECK(saveScreenshot(direct, "screenshots/etiketten-direkterfassung.png"));
  clickButton(direct, IDOK);
  UI_CHECK(waitUntilClosed(direct));
  UI_CHECK(waitForPdfs(pdfs, "Direkterfassung", 1));
  UI_CHECK_EQ(iniValue(folder, "Edit", "Letztes Etikettenformat"), std::string("10"));

  // --- "&Abbrechen" throws the whole document away -------------------------
  sendCommand(main, kCmdDirectLabels);
  direct = waitForDialog(kalvor.processId(), kDirectTitle, kDialogTimeout);
  UI_CHECK(direct != nullptr);
  if (direct) {
    // The format remembered is selected again.
    UI_CHECK_EQ(SendDlgItemMessageA(direct, 1268, CB_GETCURSEL, 0, 0), LRESULT{10});
    enterLabel(direct, "Pyrit", "Markasit", 1267);
    settle(200);
    clickButton(direct, IDCANCEL);
    UI_CHECK(waitUntilClosed(direct));
  }

  // --- Labels for the specimens of the Stufen list ------------------------
  sendCommand(main, kCmdViewPieces);
  UI_CHECK(waitUntilResponsive(main, kDialogTimeout));
  // First in a format with frames, "system-bloc S202, 55x55 mm": its sheet
  // is the older "Stufen" PDF.
  sendCommand(main, kCmdPieceLabels);
  HWND framed = waitForDialog(kalvor.processId(), kPieceTitle, kDialogTimeout);
  UI_CHECK(framed != nullptr);
  if (framed) {
    chooseInCombo(framed, 1350, 7);
    clickButton(framed, 1353);  // every specimen of the list
    settle(200);
    clickButton(framed, IDOK);
    UI_CHECK(waitUntilClosed(framed));
  }
  UI_CHECK(waitForPdfs(pdfs, "Stufen", 1));
  sendCommand(main, kCmdPieceLabels);
  HWND piece = waitForDialog(kalvor.processId(), kPieceTitle, kDialogTimeout);
  UI_CHECK(piece != nullptr);
  if (piece) {
    chooseInCombo(piece, 1350, 3);  // "Handstufe, 50x50 mm"
    if (IsDlgButtonChecked(piece, 1357) != BST_CHECKED) clickButton(piece, 1357);
    clickButton(piece, 1353);  // every specimen of the list
    settle(200);
    UI_CHECK_EQ(windowText(GetDlgItem(piece, 1353)), std::string("alle Stufen der &Liste (3)"));
    UI_CHECK(saveScreenshot(piece, "screenshots/etiketten-stufen.png"));
    clickButton(piece, IDOK);
    UI_CHECK(waitUntilClosed(piece));
  }
  UI_CHECK(waitForPdfs(pdfs, "Stufen", 2));
  UI_CHECK_EQ(iniValue(folder, "Edit", "Letztes Etikettenformat"), std::string("3"));
  // The cancelled document came before the last one: had it been printed, it would be here.
  UI_CHECK_EQ(countPdfs(pdfs, "Direkterfassung"), 1);

  // What the wrapper checks in the PDFs.
  if (FILE* checks = std::fopen("labels-print-checks.txt", "wb")) {
    std::fputs(
        "count Direkterfassung 1\n"
        "text Direkterfassung Fluorit\ntext Direkterfassung Quarz\ntext Direkterfassung Calcit\n"
        "text Direkterfassung Grube Clara\ntext Direkterfassung Sammlung Test\n"
        "absent Direkterfassung Pyrit\n"
        "qr Direkterfassung Fluorit, Baryt\nqr Direkterfassung Quarz\nqr Direkterfassung Calcit\n"
        "count Stufen 2\n"
        "once Stufen K-101\nonce Stufen K-102\nonce Stufen K-103\n"
        "text Stufen Pyromorphit\ntext Stufen Oberwolfach\n"
        "qr Stufen K-101: Fluorit, Baryt\nqr Stufen K-102: Baryt, Quarz\nqr Stufen K-103: Pyromorphit\n"
        "cli Stufen labels --format 3 --stufen 1-3 --qr\n"
        // Cut marks with QR codes, then frames.
        "rects Stufen labels --format 3 --stufen 1-3 --qr\n"
        "cli Stufen@1 labels --format 7 --stufen 1-3\n"
        "rects Stufen@1 labels --format 7 --stufen 1-3\n",
        checks);
    std::fclose(checks);
  }

  UI_CHECK(closeKalvor(kalvor, main).has_value());
}

namespace {

// True when a window of the process with that title is there now.
struct TitleSearch {
  DWORD processId;
  const char* title;
  bool found;
};

BOOL CALLBACK findTitled(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TitleSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && windowText(window) == search->title) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

bool windowThere(DWORD processId, const char* title) {
  TitleSearch search{processId, title, false};
  EnumWindows(findTitled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

// Without a default printer both label commands say so (10083 with caption
// 10087), open no dialog and start no document.
UI_CASE(labelsnoprinter, messageAndNoDialog) {
  const std::string folder = prepareCaseFolder("labelsnoprinter");
  UI_CHECK(!folder.empty());
  UI_CHECK_EQ(runToEnd(folder + "\\kalvor-cli.exe stufe neu --minerale Fluorit --index K-1", folder, 60000)
                  .value_or(99),
              0u);
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  sendCommand(main, kCmdDirectLabels);
  HWND message = waitForDialog(kalvor.processId(), "Fehler in Druckerkontrolle", kDialogTimeout);
  UI_CHECK(message != nullptr);
  if (message) {
    const std::vector<std::string> texts = childTexts(message);
    bool named = false;
    for (const std::string& t : texts)
      named = named || t == "Bitte installieren Sie einen Drucker als Standarddrucker!";
    UI_CHECK(named);
    UI_CHECK(saveScreenshot(message, "screenshots/etiketten-kein-drucker.png"));
    clickButton(message, IDOK);
    UI_CHECK(waitUntilClosed(message));
  }
  UI_CHECK(waitUntilResponsive(main, kDialogTimeout));
  UI_CHECK(!windowThere(kalvor.processId(), kDirectTitle));

  sendCommand(main, kCmdViewPieces);
  UI_CHECK(waitUntilResponsive(main, kDialogTimeout));
  sendCommand(main, kCmdPieceLabels);
  message = waitForDialog(kalvor.processId(), "Fehler in Druckerkontrolle", kDialogTimeout);
  UI_CHECK(message != nullptr);
  if (message) {
    clickButton(message, IDOK);
    UI_CHECK(waitUntilClosed(message));
  }
  UI_CHECK(waitUntilResponsive(main, kDialogTimeout));
  UI_CHECK(!windowThere(kalvor.processId(), kPieceTitle));

  if (FILE* checks = std::fopen("labelsnoprinter-print-checks.txt", "wb")) {
    std::fputs("count Etiketten 0\n", checks);
    std::fclose(checks);
  }
  UI_CHECK(closeKalvor(kalvor, main).has_value());
}
