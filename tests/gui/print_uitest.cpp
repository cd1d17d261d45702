// Printing from the "&Drucken" menu on the default printer: a private CUPS
// server whose default queue writes PDF files (tests/print/cups_env.sh, which
// also runs these cases and compares the PDF files with kalvor-cli's).
// "print": the three reports reach the printer, and a long specimen list is
// cancelled from "Druckstatus" while the program's windows refuse input.
// "printnone": without a default printer the program says so in German.
// "printrefused": a queue that takes no job ends the print with a message.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr int kListId = 1000;
constexpr WORD kPrintProfile = 1030;
constexpr WORD kPrintLocality = 1031;
constexpr WORD kPrintSpecimenList = 1033;
constexpr WORD kViewSpecimens = 1021;
constexpr WORD kViewLocalities = 1022;
constexpr int kStatusLine = 1252;
constexpr int kCancelButton = 1250;
// Failure guards only: every wait ends as soon as its condition holds.
constexpr DWORD kPrintTimeoutMs = 300000;
constexpr DWORD kWindowTimeoutMs = 60000;

// The folder where the cups-pdf queue puts its files, as a Windows path
// (Wine shows the Unix root as drive Z:).
std::string outFolder() {
  const char* unix = std::getenv("KALVOR_CUPS_OUT");
  if (!unix || !*unix) return {};
  std::string path = std::string("Z:") + unix;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The first PDF file in the out folder whose name holds `title`; empty when none.
std::string findPdf(const std::string& out, const std::string& title) {
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((out + "\\*" + title + "*.pdf").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return {};
  FindClose(find);
  return out + "\\" + data.cFileName;
}

// A PDF is complete when its trailer is written: it ends with "%%EOF".
bool complete(const std::string& path) {
  const std::string text = readFile(path);
  const std::size_t end = text.find_last_not_of("\r\n");
  return end != std::string::npos && text.compare(0, 5, "%PDF-") == 0 && end >= 4 &&
         text.compare(end - 4, 5, "%%EOF") == 0;
}

// Waits until the queue has written the complete PDF of the document `title`
// and moves it to `target`; false on time-out.
bool takePrintedPdf(const std::string& title, const std::string& target) {
  const std::string out = outFolder();
  if (out.empty()) return false;
  const DWORD start = GetTickCount();
  for (;;) {
    const std::string pdf = findPdf(out, title);
    if (!pdf.empty() && complete(pdf))
      return MoveFileExA(pdf.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
    if (GetTickCount() - start > kPrintTimeoutMs) return false;
    Sleep(100);  // poll interval only: the finished file decides, the time-out only ends a hang
  }
}

// Selects the mineral `name` through "Namensuche" as a user would: its name
// typed into the name field, then "OK". False when the list does not select it.
bool selectMineral(HWND main, DWORD processId, const std::vector<StoredName>& names,
                   const std::string& name) {
  long id = 0;
  for (const StoredName& n : names)
    if (n.name == name) id = static_cast<long>(n.id);
  if (id == 0) return false;
  sendCommand(main, 1015);
  const HWND dialog = waitForDialog(processId, "Namensuche", kWindowTimeoutMs);
  if (!dialog) return false;
  for (char c : name) PostMessageA(GetDlgItem(dialog, 1310), WM_CHAR, static_cast<WPARAM>(c), 1);
  const DWORD start = GetTickCount();
  while (listQuery(GetDlgItem(dialog, 1311), kListQuerySelected) != id &&
         GetTickCount() - start < kWindowTimeoutMs)
    Sleep(50);  // poll interval only: the selected name decides
  clickButton(dialog, IDOK);
  if (!waitUntilClosed(dialog)) return false;
  return waitForListSelection(main, kListId, id, kWindowTimeoutMs);
}

// The text of the status window's progress line, asked of the program's own
// thread (a text read from outside may catch a line half replaced).
std::string progressLine(HWND status) {
  char text[128] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(GetDlgItem(status, kStatusLine), WM_GETTEXT, sizeof text,
                      reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kWindowTimeoutMs, &length);
  return std::string(text, std::min<std::size_t>(length, sizeof text - 1));
}

// The number of the entry in "Bearbeite Stufe 12/2001"; 0 for another text.
int progressNumber(const std::string& line) {
  int done = 0, all = 0;
  return std::sscanf(line.c_str(), "Bearbeite Stufe %d/%d", &done, &all) == 2 ? done : 0;
}

// Switches the view and waits until "&Ansicht" marks it.
bool switchView(HWND main, WORD command) {
  sendCommand(main, command);
  const DWORD start = GetTickCount();
  while (!(preparedItemState(main, 3, command).value_or(0) & MF_CHECKED)) {
    if (GetTickCount() - start > kWindowTimeoutMs) return false;
    Sleep(50);  // poll interval only: the menu mark decides
  }
  return waitUntilResponsive(main, kWindowTimeoutMs);
}

bool run(const std::string& folder, const std::string& arguments) {
  return runToEnd(folder + "\\kalvor-cli.exe " + arguments, folder, 120000).value_or(99) == 0;
}

struct StatusSearch {
  DWORD processId;
  int count;
};

BOOL CALLBACK countStatusWindow(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<StatusSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  if (pid == s->processId && IsWindowVisible(window) && std::string(title) == "Druckstatus") ++s->count;
  return TRUE;
}

int statusWindows(DWORD processId) {
  StatusSearch s{processId, 0};
  EnumWindows(countStatusWindow, reinterpret_cast<LPARAM>(&s));
  return s.count;
}

// Waits until the program's main window takes input again; false on time-out.
bool waitUntilEnabled(HWND window) {
  const DWORD start = GetTickCount();
  while (!IsWindowEnabled(window)) {
    if (GetTickCount() - start > kPrintTimeoutMs) return false;
    Sleep(50);  // poll interval only: the window's state decides
  }
  return true;
}

// Many specimens at once through the CSV import: the first specimen's row
// again and again with a running index (L10001, L10002, ...).
bool addSpecimens(const std::string& folder, int count) {
  if (!run(folder, "export stufen vorlage.csv")) return false;
  std::istringstream lines(readFile(folder + "\\vorlage.csv"));
  std::string header, row;
  std::getline(lines, header);
  std::getline(lines, row);
  if (header.empty() || row.empty()) return false;
  if (!row.empty() && row.back() == '\r') row.pop_back();
  if (!header.empty() && header.back() == '\r') header.pop_back();
  // A row is "Nr;Index;...": an empty number makes a new specimen.
  const std::size_t number = row.find(';');
  const std::size_t index = number == std::string::npos ? number : row.find(';', number + 1);
  if (index == std::string::npos) return false;
  std::ofstream csv(folder + "\\viele.csv", std::ios::binary);
  csv << header << "\r\n";
  for (int n = 1; n <= count; ++n) csv << ";L" << 10000 + n << row.substr(index) << "\r\n";
  csv.close();
  return run(folder, "import stufen viele.csv");
}

}  // namespace

UI_CASE(print, reportsReachTheDefaultPrinterAndALongListCanBeCancelled) {
  const std::string folder = prepareCaseFolder("print");
  UI_CHECK(!folder.empty());
  UI_CHECK(!outFolder().empty());
  // A locality with nine minerals and a description, a second one, and
  // specimens of fluorite from both: every report has something to say.
  UI_CHECK(run(folder,
               "fundort neu --name \"Grube Clara\" --ort Oberwolfach --region Schwarzwald "
               "--land Deutschland --karte \"TK25 7615\" "
               "--minerale \"Fluorit, Baryt, Quarz, Calcit, Galenit, Chalkopyrit, Pyrit, Malachit, Azurit\" "
               "--beschreibung \"Schwerspat- und Flussspatgrube im Rankachtal, seit 1898 in Betrieb.\""));
  UI_CHECK(run(folder,
               "fundort neu --name \"Halde Brandenberg\" --ort Freiberg --region Erzgebirge "
               "--land Deutschland --minerale \"Fluorit, Galenit, Sphalerit\""));
  UI_CHECK(run(folder,
               "stufe neu --minerale \"Fluorit, Quarz\" --begleitminerale Baryt --fundort 1 "
               "--index F-017 --datum 12.08.1995 --erwerb gefunden --standort \"Schrank 2, Fach 3\" "
               "--beschreibung \"Violette Fluoritwuerfel bis 2 cm auf Quarz, etwas Baryt.\""));
  UI_CHECK(run(
      folder,
      "stufe neu --minerale Fluorit --begleitminerale \"Galenit, Sphalerit\" --fundort 2 "
      "--index F-023 --art tausch --datum 03.05.2001 --erwerb getauscht --standort \"Schrank 1, Fach 1\""));
  UI_CHECK(run(folder, "stufe neu --minerale Galenit --index G-004 --standort \"Schrank 1, Fach 2\""));
  // Enough fluorites from Grube Clara that the list and the profile run over several pages.
  UI_CHECK(addSpecimens(folder, 60));

  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;

  // "Mineralsteckbrief" of the selected mineral.
  const std::vector<StoredName> names = readStoredNames(folder + "\\kalvor.fl");
  UI_CHECK(selectMineral(main, kalvor.processId(), names, "Fluorit"));
  sendCommand(main, kPrintProfile);
  UI_CHECK(takePrintedPdf("Mineralsteckbrief", folder + "\\druck-steckbrief.pdf"));
  UI_CHECK(waitUntilEnabled(main));

  // "Fundortbeschreibung" of the selected locality (the first one).
  UI_CHECK(switchView(main, kViewLocalities));
  UI_CHECK(waitForListSelection(main, kListId, 1, kWindowTimeoutMs));
  sendCommand(main, kPrintLocality);
  UI_CHECK(takePrintedPdf("Fundortbeschreibung", folder + "\\druck-fundort.pdf"));
  UI_CHECK(waitUntilEnabled(main));

  // "Stufenliste" of every specimen.
  UI_CHECK(switchView(main, kViewSpecimens));
  sendCommand(main, kPrintSpecimenList);
  UI_CHECK(takePrintedPdf("Stufenliste", folder + "\\druck-stufenliste.pdf"));
  UI_CHECK(waitUntilEnabled(main));
  UI_CHECK(closeKalvor(kalvor, main).value_or(0) == 1u);
}

UI_CASE(print, aLongListIsCancelledWhileTheWindowsRefuseInput) {
  const std::string folder = prepareCaseFolder("printcancel");
  UI_CHECK(!folder.empty());
  UI_CHECK(run(folder, "fundort neu --name \"Grube Clara\" --ort Oberwolfach --minerale \"Fluorit, Baryt\""));
  UI_CHECK(run(folder,
               "stufe neu --minerale \"Fluorit, Baryt\" --fundort 1 --standort \"Schrank 2\" "
               "--beschreibung \"Gelbe Fluoritwuerfel auf Baryt.\""));
  // 2,000 specimens more: a list long enough to be cancelled while it prints.
  UI_CHECK(addSpecimens(folder, 2000));
  Program again;
  const HWND main2 = startKalvor(again, folder);
  UI_CHECK(main2 != nullptr);
  if (!main2) return;
  UI_CHECK(switchView(main2, kViewSpecimens));
  // Found after the switch: the drawing window closes when the Mineral view is left.
  const HWND description2 = descriptionOf(main2);
  UI_CHECK(description2 != nullptr);
  sendCommand(main2, kPrintSpecimenList);
  const HWND status = waitForDialog(again.processId(), "Druckstatus", kWindowTimeoutMs);
  UI_CHECK(status != nullptr);
  if (!status) {
    // What stands in front instead, for the failure report.
    const HWND front = GetForegroundWindow();
    std::printf("  in front: \"%s\"\n", windowText(front).c_str());
    for (const std::string& text : childTexts(front)) std::printf("    \"%s\"\n", text.c_str());
  }
  if (status) {
    // The job reports its progress and its window answers while it prints.
    const DWORD began = GetTickCount();
    while (progressLine(status).rfind("Bearbeite Stufe ", 0) != 0 &&
           GetTickCount() - began < kWindowTimeoutMs)
      Sleep(50);  // poll interval only: the progress line decides
    UI_CHECK(progressLine(status).rfind("Bearbeite Stufe ", 0) == 0);
    UI_CHECK(waitUntilResponsive(status, kWindowTimeoutMs));
    UI_CHECK(saveScreenshot(status, "screenshots/druckstatus.png"));
    // Meanwhile the main and the description window take no input, and a
    // second job is refused: still one status window.
    UI_CHECK(!IsWindowEnabled(main2));
    if (description2) UI_CHECK(!IsWindowEnabled(description2));
    sendCommand(main2, kPrintSpecimenList);
    UI_CHECK(waitUntilResponsive(status, kWindowTimeoutMs));
    UI_CHECK(waitUntilResponsive(main2, kWindowTimeoutMs));
    UI_CHECK_EQ(statusWindows(again.processId()), 1);
    const std::string before = progressLine(status);
    UI_CHECK(clickButton(status, kCancelButton));
    UI_CHECK(waitUntilClosed(status));
    UI_CHECK(waitUntilEnabled(main2));
    if (description2) UI_CHECK(IsWindowEnabled(description2));
    // It stopped on the way: the last progress was not the last of the 2,001 specimens.
    int done = 0, all = 0;
    UI_CHECK(std::sscanf(before.c_str(), "Bearbeite Stufe %d/%d", &done, &all) == 2);
    UI_CHECK_EQ(all, 2001);
    UI_CHECK(done >= 1 && done < all);
  }
  // The aborted document never reaches the queue: a locality printed after
  // it comes out alone.
  UI_CHECK(switchView(main2, kViewLocalities));
  UI_CHECK(waitForListSelection(main2, kListId, 1, kWindowTimeoutMs));
  sendCommand(main2, kPrintLocality);
  UI_CHECK(takePrintedPdf("Fundortbeschreibung", folder + "\\druck-fundort-2.pdf"));
  UI_CHECK(findPdf(outFolder(), "Stufenliste").empty());

  // Closing the program while it prints waits for the end of the job: the
  // job goes on, and once it is cancelled the program ends as asked.
  UI_CHECK(switchView(main2, kViewSpecimens));
  sendCommand(main2, kPrintSpecimenList);
  const HWND status2 = waitForDialog(again.processId(), "Druckstatus", kWindowTimeoutMs);
  UI_CHECK(status2 != nullptr);
  if (!status2) {
    again.kill();
    return;
  }
  PostMessageA(main2, WM_CLOSE, 0, 0);
  // Two entries later the job has taken every message posted before.
  const int posted = progressNumber(progressLine(status2));
  const DWORD began2 = GetTickCount();
  while (IsWindow(status2) && progressNumber(progressLine(status2)) < posted + 2 &&
         GetTickCount() - began2 < kWindowTimeoutMs)
    Sleep(20);  // poll interval only: the progress decides
  UI_CHECK(IsWindow(main2) && IsWindow(status2));
  UI_CHECK(progressNumber(progressLine(status2)) >= posted + 2);
  UI_CHECK(!again.waitForExit(0).has_value());
  UI_CHECK(clickButton(status2, kCancelButton));
  UI_CHECK_EQ(again.waitForExit(kWindowTimeoutMs).value_or(0), 1u);
  UI_CHECK(findPdf(outFolder(), "Stufenliste").empty());
}

namespace {

// Prints a locality sheet and expects the printer error box with a message
// starting with `message`; the program works on afterwards and ends normally.
void expectPrinterError(const std::string& name, const std::string& message, const char* screenshot) {
  const std::string folder = prepareCaseFolder(name);
  UI_CHECK(!folder.empty());
  UI_CHECK(run(folder, "fundort neu --name \"Grube Clara\" --ort Oberwolfach --minerale Fluorit"));
  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  UI_CHECK(switchView(main, kViewLocalities));
  UI_CHECK(waitForListSelection(main, kListId, 1, kWindowTimeoutMs));
  sendCommand(main, kPrintLocality);
  const HWND box = waitForDialog(kalvor.processId(), "Fehler in Druckerkontrolle", kWindowTimeoutMs);
  UI_CHECK(box != nullptr);
  if (box) {
    bool said = false;
    for (const std::string& text : childTexts(box)) said = said || text.rfind(message, 0) == 0;
    UI_CHECK(said);
    if (screenshot) UI_CHECK(saveScreenshot(box, screenshot));
    UI_CHECK(clickButton(box, IDOK));
    UI_CHECK(waitUntilClosed(box));
  }
  UI_CHECK(waitUntilEnabled(main));
  UI_CHECK(closeKalvor(kalvor, main).value_or(0) == 1u);
}

}  // namespace

UI_CASE(printnone, noDefaultPrinterIsSaidInGerman) {
  expectPrinterError("printnone", "Bitte installieren Sie einen Drucker als Standarddrucker!",
                     "screenshots/kein-drucker.png");
}

// The queue refuses every job: the spooler's "no" at the end of the document
// is said, never taken for a finished print.
UI_CASE(printrefused, aRefusedDocumentIsNeverReportedAsPrinted) {
  expectPrinterError("printrefused",
                     "Der Drucker hat das Dokument nicht angenommen; der Druck wurde abgebrochen.", nullptr);
}
