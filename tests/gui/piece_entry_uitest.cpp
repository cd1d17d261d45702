// The specimen form "Stufenbeschreibung" driven as a collector would, on a
// collection made with kalvor-cli in the case's own folder: fields that take
// no more than the record stores, prices and dates the form refuses without
// writing a byte, the long description, three specimens through "&weitere
// Stufe" (one at a locality entered in the nested locality form, one whose
// "unbekannt" question is answered "Ja"), a change of a specimen's minerals
// that its locality's mineral list follows; every time the Stufen list shows
// the order "kalvor-cli stufe liste" prints, the files hold what was entered
// and "index pruefe" finds the index in agreement.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/gui/list_driver.h"
#include "tests/gui/ui_driver.h"
#include "tests/gui/uitest.h"

using namespace kalvor::uitest;

namespace {

constexpr int kMainMinerals = 1070, kAccompanying = 1071, kLocalities = 1073, kSize = 1074, kCount = 1075,
              kDate = 1076, kIndex = 1077, kCollection = 1078, kBought = 1080, kFound = 1081,
              kLocalityLine = 1083, kStoragePlace = 1084, kValue = 1085, kPrice = 1086, kBack = 1087,
              kDescription = 1088, kMore = 1089;

std::string itemText(HWND dlg, int id) { return windowText(GetDlgItem(dlg, id)); }
bool isChecked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
bool isEnabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }

// A dialog of the process with that title (any when null), control and
// owner; null on time-out. The description window has the same title as
// the form, so the form is told by its "weitere Stufe" button.
HWND waitForForm(DWORD pid, const char* title, int marker, HWND owner = nullptr) {
  return waitForDialogWhere(pid, {.title = title, .owner = owner, .control = marker}, 20000);
}

// The texts of a message box joined, then the box closed with `button`.
std::string answerBox(HWND box, int button) {
  std::string all;
  for (const std::string& t : childTexts(box)) all += t + "\n";
  PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
  UI_CHECK(waitUntilClosed(box));
  return all;
}

std::string fileBytes(const std::string& path) {
  std::string bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

// Every file of the collection, to see that a refused input wrote nothing.
std::string collectionBytes(const std::string& folder) {
  std::string all;
  for (const char* name : {"kalvor.st", "kalvor.sts", "kalvor.fs", "kalvor.fss", "kalvor.vi"})
    all += std::string(name) + ":" + fileBytes(folder + "\\" + name) + "\n";
  return all;
}

// The lines kalvor-cli prints for `args` in `folder` (UTF-8).
std::vector<std::string> cliLines(const std::string& folder, const std::string& args) {
  return runForLines(folder + "\\kalvor-cli.exe " + args, folder);
}

bool anyLineHas(const std::vector<std::string>& lines, const std::string& part) {
  for (const std::string& l : lines)
    if (l.find(part) != std::string::npos) return true;
  return false;
}

// The record numbers of "stufe liste", in its order.
std::vector<long> listedPieces(const std::string& folder) {
  std::vector<long> numbers;
  for (const std::string& line : cliLines(folder, "stufe liste"))
    if (line.find(':') != std::string::npos) numbers.push_back(std::strtol(line.c_str(), nullptr, 10));
  return numbers;
}

// Waits until the main list shows `rows` (it is made anew after a save).
bool waitForRows(HWND main, const std::vector<long>& rows) {
  for (int i = 0; i < 800; ++i) {
    if (mainListRows(main) == rows) return true;
    settle(25);
  }
  return false;
}

// The item data of the selected locality entry, -1 for none.
long selectedLocalityItem(HWND dlg) {
  const LRESULT i = SendDlgItemMessageA(dlg, kLocalities, LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<long>(SendDlgItemMessageA(dlg, kLocalities, LB_GETITEMDATA, i, 0));
}

// Types `text` into a control key by key, as the keyboard would.
void typeInto(HWND dlg, int id, const std::string& text) {
  const HWND control = GetDlgItem(dlg, id);
  for (char c : text) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// "index pruefe" finds the value index in agreement with the records.
bool indexAgrees(const std::string& folder) {
  return runToEnd(folder + "\\kalvor-cli.exe index pruefe", folder, 60000).value_or(99) == 0;
}

// Selects specimen `record` in the Stufen list by stepping down from the top
// in the order `order` ("stufe liste").
bool selectPiece(HWND main, const std::vector<long>& order, long record) {
  const HWND list = GetDlgItem(main, 1000);
  PostMessageA(list, WM_KEYDOWN, VK_HOME, 1);
  for (long row : order) {
    if (row == record) break;
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
  }
  return waitForListSelection(main, 1000, record, 10000);
}

// The mineral entries of the locality form's list of known minerals.
std::vector<long> knownMinerals(HWND form) {
  std::vector<long> values;
  const LRESULT n = SendDlgItemMessageA(form, 1052, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i)
    values.push_back(
        static_cast<long>(SendDlgItemMessageA(form, 1052, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
  return values;
}

// A value of kalvor.ini, "?" when there is none.
std::string iniValue(const std::string& folder, const char* section, const char* key) {
  char value[256] = "";
  GetPrivateProfileStringA(section, key, "?", value, sizeof value, (folder + "\\kalvor.ini").c_str());
  return value;
}

}  // namespace

UI_CASE(entry_piece, enterAndChange) {
  const std::string folder = prepareCaseFolder("stufenerfassung");
  UI_CHECK(!folder.empty());
  const std::string cli = folder + "\\kalvor-cli.exe ";
  for (const char* args :
       {"fundort neu --name \"Grube Clara\" --ort Oberwolfach --region Schwarzwald --land Deutschland "
        "--minerale \"Fluorit, Baryt\"",
        "fundort neu --name \"Steinbruch Hartkoppe\" --ort Sailauf --region Spessart --land Deutschland "
        "--minerale \"Quarz\"",
        "stufe neu --minerale Quarz --fundort 2 --index A-1",
        "stufe neu --minerale Baryt --fundort 1 --index C-1"})
    UI_CHECK_EQ(runToEnd(cli + args, folder, 60000).value_or(99), 0u);

  Program kalvor;
  const HWND main = startKalvor(kalvor, folder);
  UI_CHECK(main != nullptr);
  if (!main) return;
  sendCommand(main, 1021);  // "S&tufen"
  UI_CHECK(waitForRows(main, listedPieces(folder)));

  sendCommand(main, 1014);  // "&Stufenbeschreibung hinzu"
  HWND dlg = waitForForm(kalvor.processId(), "Stufenbeschreibung", kMore);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  // A new specimen: collection piece, found, count 1.
  UI_CHECK(isChecked(dlg, kCollection) && isChecked(dlg, kFound) && !isChecked(dlg, kBought));
  UI_CHECK_EQ(itemText(dlg, kCount), std::string("1"));
  // The index the last new specimen had (kalvor-cli stored "C-1").
  const std::string lastIndex = iniValue(folder, "Sammlung", "Index");
  UI_CHECK_EQ(lastIndex, std::string("C-1"));
  UI_CHECK_EQ(itemText(dlg, kIndex), lastIndex);
  UI_CHECK(!isEnabled(dlg, kPrice) && isEnabled(dlg, kMore));
  UI_CHECK_EQ(SendDlgItemMessageA(dlg, kLocalities, LB_GETCOUNT, 0, 0), LRESULT{4});
  // The locality the last specimen was given (kalvor-cli: Grube Clara, number 1 + 1).
  UI_CHECK_EQ(iniValue(folder, "Edit", "Fundort"), std::string("2"));
  UI_CHECK_EQ(selectedLocalityItem(dlg), 2L);

  // What the record cannot hold cannot be typed.
  typeInto(dlg, kIndex, std::string(60, 'x'));
  UI_CHECK_EQ(itemText(dlg, kIndex).size(), std::size_t{39});
  typeInto(dlg, kSize, std::string(30, 'y'));
  UI_CHECK_EQ(itemText(dlg, kSize).size(), std::size_t{19});
  typeInto(dlg, kStoragePlace, std::string(100, 'z'));
  UI_CHECK_EQ(itemText(dlg, kStoragePlace).size(), std::size_t{79});

  // A typed letter in the locality list jumps to the first locality with it.
  SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, kLocalities)), TRUE);
  typeInto(dlg, kLocalities, "s");
  UI_CHECK_EQ(selectedLocalityItem(dlg), 3L);  // Steinbruch Hartkoppe (2) + 1
  typeInto(dlg, kLocalities, "G");
  UI_CHECK_EQ(selectedLocalityItem(dlg), 2L);  // Grube Clara (1) + 1

  setControlText(dlg, kMainMinerals, "Fluorit");
  setControlText(dlg, kAccompanying, "Baryt");
  setControlText(dlg, kIndex, "B-7");
  setControlText(dlg, kSize, "4 x 3 cm");
  setControlText(dlg, kStoragePlace, "Vitrine 2");
  setControlText(dlg, kValue, "30");
  clickButton(dlg, kBought);
  settle(200);
  UI_CHECK(isEnabled(dlg, kPrice));

  // Refused: an unreadable price, then a day the month does not have. Nothing is written.
  const std::string before = collectionBytes(folder);
  setControlText(dlg, kPrice, "abc");
  clickButton(dlg, IDOK);
  HWND box = waitForForm(kalvor.processId(), nullptr, 0, dlg);
  UI_CHECK(box != nullptr);
  if (box) {
    const std::string text = answerBox(box, IDOK);
    UI_CHECK(text.find("Kaufpreis") != std::string::npos && text.find("abc") != std::string::npos);
  }
  setControlText(dlg, kPrice, "12,50");
  setControlText(dlg, kDate, "31.02.1999");
  clickButton(dlg, IDOK);
  box = waitForForm(kalvor.processId(), nullptr, 0, dlg);
  UI_CHECK(box != nullptr);
  if (box)
    UI_CHECK(answerBox(box, IDOK).find("Der im Datum angegebene Monat hat nicht so viele Tage.") !=
             std::string::npos);
  // Nothing may be left over after the year.
  setControlText(dlg, kDate, "31.2.1999x");
  clickButton(dlg, IDOK);
  box = waitForForm(kalvor.processId(), nullptr, 0, dlg);
  UI_CHECK(box != nullptr);
  if (box) UI_CHECK(answerBox(box, IDOK).find("Datum") != std::string::npos);
  UI_CHECK(IsWindow(dlg));
  UI_CHECK(collectionBytes(folder) == before);
  UI_CHECK_EQ(iniValue(folder, "Sammlung", "Index"), lastIndex);
  setControlText(dlg, kDate, "12.08.1995");

  // The long description, under the lines it describes.
  clickButton(dlg, kDescription);
  HWND text = waitForForm(kalvor.processId(), "Ausf\xFChrliche Stufenbeschreibung", kBack);
  UI_CHECK(text != nullptr);
  if (text) {
    UI_CHECK_EQ(itemText(text, kMainMinerals), std::string("Fluorit"));
    UI_CHECK_EQ(itemText(text, kLocalityLine),
                std::string("Grube Clara, Oberwolfach, Schwarzwald, Deutschland"));
    UI_CHECK_EQ(SendDlgItemMessageA(text, kDescription, EM_GETLIMITTEXT, 0, 0), LRESULT{32766});
    setControlText(text, kDescription, "Violette W\xFCrfel bis 2 cm auf Baryt.");
    settle(200);
    UI_CHECK(saveScreenshot(text, "screenshots/stufenbeschreibung-text.png"));
    clickButton(text, kBack);
    UI_CHECK(waitUntilClosed(text));
  }
  settle(200);
  UI_CHECK(saveScreenshot(dlg, "screenshots/stufenerfassung.png"));

  // "weitere Stufe": stored, and the form stands ready with the next index.
  clickButton(dlg, kMore);
  for (int i = 0; i < 400 && itemText(dlg, kMainMinerals) != ""; ++i) settle(25);
  UI_CHECK_EQ(itemText(dlg, kMainMinerals), std::string());
  UI_CHECK_EQ(itemText(dlg, kIndex), std::string("B-7"));
  UI_CHECK_EQ(iniValue(folder, "Sammlung", "Index"), std::string("B-7"));
  UI_CHECK_EQ(selectedLocalityItem(dlg), 2L);
  UI_CHECK(isChecked(dlg, kFound) && !isEnabled(dlg, kPrice));
  const std::vector<std::string> shown = cliLines(folder, "stufe zeige 3");
  UI_CHECK(anyLineHas(shown, "Fluorit") && anyLineHas(shown, "Baryt") && anyLineHas(shown, "12.50"));
  UI_CHECK(anyLineHas(shown, "30.00") && anyLineHas(shown, "Vitrine 2") && anyLineHas(shown, "Grube Clara"));
  UI_CHECK(anyLineHas(shown, "Violette"));
  UI_CHECK(indexAgrees(folder));

  // "neue Fundstelle" without a new locality asks about "unbekannt"; "Nein" keeps the form.
  setControlText(dlg, kMainMinerals, "Quarz");
  setControlText(dlg, kIndex, "A-0");
  SendDlgItemMessageA(dlg, kLocalities, LB_SETCURSEL, 1, 0);
  UI_CHECK_EQ(selectedLocalityItem(dlg), 1L);
  const std::string beforeQuestion = collectionBytes(folder);
  clickButton(dlg, kMore);
  HWND asked = waitForForm(kalvor.processId(), nullptr, 0, dlg);
  UI_CHECK(asked != nullptr);
  if (asked && GetDlgItem(asked, 1053)) {
    // The locality form, nested: left with "Abbrechen".
    PostMessageA(asked, WM_COMMAND, IDCANCEL, 0);
    UI_CHECK(waitUntilClosed(asked));
    asked = waitForForm(kalvor.processId(), nullptr, 0, dlg);
  }
  if (asked) {
    UI_CHECK_EQ(windowText(asked), std::string("Unvollst\xE4ndige Eingabe"));
    UI_CHECK(answerBox(asked, IDNO).find("'unbekannt'") != std::string::npos);
  }
  UI_CHECK(IsWindow(dlg));
  UI_CHECK(collectionBytes(folder) == beforeQuestion);
  // "neue Fundstelle" again, and this time the nested locality form stores
  // one: it starts with the specimen's mineral, and the specimen is saved there.
  SendDlgItemMessageA(dlg, kLocalities, LB_SETCURSEL, 1, 0);
  clickButton(dlg, kMore);
  HWND nested = waitForForm(kalvor.processId(), "Fundortbeschreibung", 1053, dlg);
  UI_CHECK(nested != nullptr);
  if (nested) {
    UI_CHECK_EQ(SendDlgItemMessageA(nested, 1052, LB_GETCOUNT, 0, 0), LRESULT{1});  // Quarz
    setControlText(nested, 1053, "Hartkoppe Nord");
    clickButton(nested, IDOK);
    UI_CHECK(waitUntilClosed(nested));
  }
  // Stored: the form stands ready for the next one, at the new locality.
  for (int i = 0; i < 400 && itemText(dlg, kMainMinerals) != ""; ++i) settle(25);
  UI_CHECK_EQ(itemText(dlg, kMainMinerals), std::string());
  UI_CHECK_EQ(itemText(dlg, kIndex), std::string("A-0"));
  UI_CHECK_EQ(selectedLocalityItem(dlg), 4L);
  UI_CHECK(anyLineHas(cliLines(folder, "stufe liste"), "4: A-0 | Quarz | Hartkoppe Nord"));
  const std::vector<std::string> place = cliLines(folder, "fundort zeige 3");
  UI_CHECK(anyLineHas(place, "Hartkoppe Nord") && anyLineHas(place, "\xE2\x9C\x93 Quarz"));
  UI_CHECK_EQ(iniValue(folder, "Edit", "Fundort"), std::string("4"));
  UI_CHECK(indexAgrees(folder));

  // Another one at "neue Fundstelle": the nested form is left, the question
  // answered "Ja", and the specimen is stored with its locality unknown.
  setControlText(dlg, kMainMinerals, "Calcit");
  setControlText(dlg, kIndex, "D-1");
  SendDlgItemMessageA(dlg, kLocalities, LB_SETCURSEL, 1, 0);
  clickButton(dlg, kMore);
  nested = waitForForm(kalvor.processId(), "Fundortbeschreibung", 1053, dlg);
  UI_CHECK(nested != nullptr);
  if (nested) {
    PostMessageA(nested, WM_COMMAND, IDCANCEL, 0);
    UI_CHECK(waitUntilClosed(nested));
  }
  asked = waitForForm(kalvor.processId(), "Unvollst\xE4ndige Eingabe", 0, dlg);
  UI_CHECK(asked != nullptr);
  if (asked) answerBox(asked, IDYES);
  for (int i = 0; i < 400 && itemText(dlg, kMainMinerals) != ""; ++i) settle(25);
  UI_CHECK_EQ(itemText(dlg, kMainMinerals), std::string());
  UI_CHECK_EQ(itemText(dlg, kIndex), std::string("D-1"));
  const std::vector<std::string> unknown = cliLines(folder, "stufe zeige 5");
  UI_CHECK(anyLineHas(unknown, "Minerale:           Calcit"));
  UI_CHECK(anyLineHas(unknown, "Fundort:            unbekannt"));
  UI_CHECK(anyLineHas(cliLines(folder, "stufe liste"), "5: D-1 | Calcit"));
  UI_CHECK(!anyLineHas(unknown, "Hartkoppe") && !anyLineHas(unknown, "Grube Clara"));
  UI_CHECK_EQ(cliLines(folder, "fundort liste").size(), std::size_t{3});  // no locality was made
  UI_CHECK(indexAgrees(folder));

  // A refused date is told before any new locality is asked for: a locality
  // entered for a specimen that is then not stored would keep the specimen's
  // minerals as if they were on one of its specimens.
  const std::string beforeRefusal = collectionBytes(folder);
  setControlText(dlg, kMainMinerals, "Baryt");
  setControlText(dlg, kDate, "31.2.1999x");
  SendDlgItemMessageA(dlg, kLocalities, LB_SETCURSEL, 1, 0);
  clickButton(dlg, kMore);
  asked = waitForForm(kalvor.processId(), nullptr, 0, dlg);
  // The date's message, not the locality form.
  UI_CHECK(asked != nullptr && GetDlgItem(asked, 1053) == nullptr);
  if (asked && GetDlgItem(asked, 1053)) {
    setControlText(asked, 1053, "Irrtum");
    clickButton(asked, IDOK);
    UI_CHECK(waitUntilClosed(asked));
    asked = waitForForm(kalvor.processId(), nullptr, 0, dlg);
  }
  if (asked) UI_CHECK(answerBox(asked, IDOK).find("Datum") != std::string::npos);
  UI_CHECK(collectionBytes(folder) == beforeRefusal);
  // Leaving the form: the list shows what it stored.
  PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
  UI_CHECK(waitUntilClosed(dlg));
  std::vector<long> order = listedPieces(folder);
  UI_CHECK_EQ(order.size(), std::size_t{5});
  UI_CHECK(waitForRows(main, order));
  settle(300);
  UI_CHECK(saveScreenshot(main, "screenshots/stufen-nach-erfassung.png"));

  // Changing specimen 3: its values are in the form; a new index moves it in the list.
  UI_CHECK(selectPiece(main, order, 3));
  sendCommand(main, 1003);  // "&Ändern"
  dlg = waitForForm(kalvor.processId(), "Stufenbeschreibung", kMore);
  UI_CHECK(dlg != nullptr);
  if (!dlg) {
    kalvor.kill();
    return;
  }
  UI_CHECK_EQ(itemText(dlg, kMainMinerals), std::string("Fluorit"));
  UI_CHECK_EQ(itemText(dlg, kAccompanying), std::string("Baryt"));
  UI_CHECK_EQ(itemText(dlg, kDate), std::string("12.8.1995"));
  UI_CHECK_EQ(itemText(dlg, kPrice), std::string("  12.50"));
  UI_CHECK(isChecked(dlg, kBought) && isEnabled(dlg, kPrice) && !isEnabled(dlg, kMore));
  UI_CHECK_EQ(selectedLocalityItem(dlg), 2L);
  setControlText(dlg, kIndex, "0-1");
  setControlText(dlg, kAccompanying, "Baryt, Quarz");
  clickButton(dlg, IDOK);
  UI_CHECK(waitUntilClosed(dlg));
  order = listedPieces(folder);
  UI_CHECK(order != std::vector<long>{});
  UI_CHECK(waitForRows(main, order));
  UI_CHECK(anyLineHas(cliLines(folder, "stufe liste"), "3: 0-1 | Fluorit | Grube Clara"));
  UI_CHECK(anyLineHas(cliLines(folder, "stufe zeige 3"), "Baryt, Quarz"));
  UI_CHECK_EQ(listQuery(GetDlgItem(main, 1000), kListQuerySelected), 3L);
  UI_CHECK_EQ(iniValue(folder, "Sammlung", "Index"), std::string("D-1"));  // a change leaves it
  UI_CHECK(indexAgrees(folder));

  // Grube Clara follows: Quarz, now on one of its specimens, is marked as such
  // and cannot be taken from it.
  const std::vector<StoredName> names = readStoredNames(folder + "\\kalvor.fl");
  long quartz = -1;
  for (const StoredName& n : names)
    if (n.name == "Quarz") quartz = static_cast<long>(n.id) - 1;
  UI_CHECK(quartz >= 0);
  UI_CHECK(anyLineHas(cliLines(folder, "fundort zeige 1"), "\xE2\x9C\x93 Quarz"));
  auto openGrubeClara = [&]() -> HWND {
    sendCommand(main, 1022);  // "&Fundorte"
    if (!waitForRows(main, {1, 3, 2})) return nullptr;
    typeLetters(GetDlgItem(main, 1000), "G");
    if (!waitForListSelection(main, 1000, 1, 10000)) return nullptr;
    sendCommand(main, 1003);
    return waitForForm(kalvor.processId(), "Fundortbeschreibung", 1053);
  };
  HWND place1 = openGrubeClara();
  UI_CHECK(place1 != nullptr);
  if (place1) {
    const std::vector<long> entries = knownMinerals(place1);
    const auto marked = std::find(entries.begin(), entries.end(), quartz | 0x8000);
    UI_CHECK(marked != entries.end());
    if (marked != entries.end()) {
      SendDlgItemMessageA(place1, 1052, LB_SETCURSEL, static_cast<WPARAM>(marked - entries.begin()), 0);
      PostMessageA(place1, WM_COMMAND, MAKEWPARAM(1052, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(GetDlgItem(place1, 1052)));
      for (int i = 0; i < 400 && isEnabled(place1, 1058); ++i) settle(25);
      UI_CHECK(!isEnabled(place1, 1058));
    }
    PostMessageA(place1, WM_COMMAND, IDCANCEL, 0);
    UI_CHECK(waitUntilClosed(place1));
  }

  // Quarz taken off the specimen again: the mark goes, the mineral stays
  // known at the locality until it is deleted there by hand.
  sendCommand(main, 1021);
  UI_CHECK(waitForRows(main, order));
  UI_CHECK(selectPiece(main, order, 3));
  sendCommand(main, 1003);
  dlg = waitForForm(kalvor.processId(), "Stufenbeschreibung", kMore);
  UI_CHECK(dlg != nullptr);
  if (dlg) {
    UI_CHECK_EQ(itemText(dlg, kAccompanying), std::string("Baryt,Quarz"));
    setControlText(dlg, kAccompanying, "Baryt");
    clickButton(dlg, IDOK);
    UI_CHECK(waitUntilClosed(dlg));
  }
  UI_CHECK(waitForRows(main, order));
  std::vector<std::string> clara = cliLines(folder, "fundort zeige 1");
  UI_CHECK(anyLineHas(clara, "Quarz") && !anyLineHas(clara, "\xE2\x9C\x93 Quarz"));
  UI_CHECK(anyLineHas(clara, "\xE2\x9C\x93 Fluorit") && anyLineHas(clara, "\xE2\x9C\x93 Baryt"));
  UI_CHECK(indexAgrees(folder));
  place1 = openGrubeClara();
  UI_CHECK(place1 != nullptr);
  if (place1) {
    const std::vector<long> entries = knownMinerals(place1);
    const auto plain = std::find(entries.begin(), entries.end(), quartz);
    UI_CHECK(plain != entries.end());
    if (plain != entries.end()) {
      SendDlgItemMessageA(place1, 1052, LB_SETCURSEL, static_cast<WPARAM>(plain - entries.begin()), 0);
      PostMessageA(place1, WM_COMMAND, MAKEWPARAM(1052, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(GetDlgItem(place1, 1052)));
      for (int i = 0; i < 400 && !isEnabled(place1, 1058); ++i) settle(25);
      UI_CHECK(isEnabled(place1, 1058));
      clickButton(place1, 1058);
      for (int i = 0; i < 400 && knownMinerals(place1).size() == entries.size(); ++i) settle(25);
      UI_CHECK_EQ(knownMinerals(place1).size(), entries.size() - 1);
    }
    clickButton(place1, IDOK);
    UI_CHECK(waitUntilClosed(place1));
  }
  UI_CHECK(waitForRows(main, {1, 3, 2}));
  clara = cliLines(folder, "fundort zeige 1");
  UI_CHECK(!anyLineHas(clara, "Quarz"));
  UI_CHECK(anyLineHas(clara, "\xE2\x9C\x93 Fluorit") && anyLineHas(clara, "\xE2\x9C\x93 Baryt"));
  UI_CHECK(indexAgrees(folder));

  // Specimen 4 moved from Hartkoppe Nord to Grube Clara: its Quarz is marked
  // there and no longer at the locality it left.
  sendCommand(main, 1021);
  UI_CHECK(waitForRows(main, order));
  UI_CHECK(selectPiece(main, order, 4));
  sendCommand(main, 1003);
  dlg = waitForForm(kalvor.processId(), "Stufenbeschreibung", kMore);
  UI_CHECK(dlg != nullptr);
  if (dlg) {
    UI_CHECK_EQ(selectedLocalityItem(dlg), 4L);
    SendDlgItemMessageA(dlg, kLocalities, LB_SETCURSEL, 2, 0);  // Grube Clara
    UI_CHECK_EQ(selectedLocalityItem(dlg), 2L);
    clickButton(dlg, IDOK);
    UI_CHECK(waitUntilClosed(dlg));
  }
  UI_CHECK(waitForRows(main, order));
  UI_CHECK(anyLineHas(cliLines(folder, "stufe zeige 4"), "Fundort:            Grube Clara"));
  UI_CHECK(anyLineHas(cliLines(folder, "fundort zeige 1"), "\xE2\x9C\x93 Quarz"));
  const std::vector<std::string> north = cliLines(folder, "fundort zeige 3");
  UI_CHECK(anyLineHas(north, "Quarz") && !anyLineHas(north, "\xE2\x9C\x93 Quarz"));
  UI_CHECK(indexAgrees(folder));

  UI_CHECK_EQ(closeKalvor(kalvor, main).value_or(0), 1u);
  // The index agrees with the records.
  UI_CHECK_EQ(runToEnd(cli + "index pruefe", folder, 60000).value_or(99), 0u);
}
