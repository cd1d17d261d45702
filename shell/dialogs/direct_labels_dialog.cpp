#include "shell/dialogs/direct_labels_dialog.h"

#include "collection/locality.h"
#include "labels/label_content.h"
#include "labels/label_geometry.h"
#include "render/formula_drawing.h"
#include "resources/label_dialog_ids.h"
#include "shell/dialogs/label_definition_dialog.h"
#include "shell/dialogs/label_format_choice.h"

namespace kalvor::shell {
namespace {

// The lengths of the fields: what fits a label and more.
constexpr WPARAM kFieldLength = 255;

}  // namespace

bool DirectLabelsDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  format_ = takeRememberedLabelFormat(window(), job_.sheet(), settings_, userFormats_);
  showRest();
  check(IDC_DL_FORMULA, job_.sheet().format() && job_.sheet().format()->formula());
  for (int id : {IDC_DL_MINERAL, IDC_DL_ACCOMPANYING, IDC_DL_FREE_LINE}) sendItem(id, EM_LIMITTEXT, kFieldLength);
  sendItem(IDC_DL_LOCALITY, CB_LIMITTEXT, kFieldLength);
  sendItem(IDC_DL_COUNT, EM_LIMITTEXT, 3);
  for (const LocalityChoice& choice : localityChoices(data_.collection(), false)) {
    if (choice.itemData == 0) continue;  // "unbekannt" is no text for a label
    sendItem(IDC_DL_LOCALITY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.text.c_str()));
  }
  setItemText(IDC_DL_COUNT, "1");
  fillLabelFormatList(item(IDC_DL_FORMAT), userFormats_, format_);
  sendItem(IDC_DL_MINERAL_LIST, controls::kListSetEnvironment, 0, reinterpret_cast<LPARAM>(&lists_));
  sendItem(IDC_DL_MINERAL_LIST, controls::kListWatchEdit, IDC_DL_MINERAL);
  sendItem(IDC_DL_MINERAL_LIST, controls::kListWatchEdit, IDC_DL_ACCOMPANYING);
  focus(IDC_DL_MINERAL);
  return false;
}

void DirectLabelsDialog::showRest() { setItemText(IDC_DL_REST, labelRestText(job_.sheet().rest())); }

std::string DirectLabelsDialog::formula() const {
  if (!isChecked(IDC_DL_FORMULA)) return {};
  return lookupLabelFormula(data_.names(), data_.database(), itemText(IDC_DL_MINERAL));
}

bool DirectLabelsDialog::printEntry() {
  const std::optional<int> copies = parseLabelCopies(itemText(IDC_DL_COUNT));
  if (!copies) {
    MessageBeep(0);
    MessageBoxA(window(), "Die Anzahl Etiketten muss zwischen 1 und 999 liegen.", "Anzahl Etiketten",
                MB_OK | MB_ICONINFORMATION);
    focus(IDC_DL_COUNT);
    sendItem(IDC_DL_COUNT, EM_SETSEL, 0, -1);
    return false;
  }
  LabelContent content;
  content.mineral = itemText(IDC_DL_MINERAL);
  content.accompanying = itemText(IDC_DL_ACCOMPANYING);
  content.locality = itemText(IDC_DL_LOCALITY);
  content.freeLine = itemText(IDC_DL_FREE_LINE);
  content.formula = formula();
  content.qrText = labelQrText("", content.mineral, content.accompanying);
  job_.sheet().setFormula(isChecked(IDC_DL_FORMULA));
  // "&OK" after the last "&Weitere" finds the mineral fields empty: no blank label.
  if (!content.mineral.empty() || !content.accompanying.empty()) job_.print(content, *copies);
  showRest();
  return true;
}

bool DirectLabelsDialog::onCommand(int id, int code) {
  switch (id) {
    case IDC_DL_MORE:
      if (code == BN_CLICKED && printEntry()) {
        setItemText(IDC_DL_MINERAL, "");
        setItemText(IDC_DL_ACCOMPANYING, "");
        setItemText(IDC_DL_COUNT, "1");
        focus(IDC_DL_MINERAL);
      }
      return true;
    case IDC_DL_FORMAT:
      if (code == CBN_SELCHANGE) formatChosen();
      return true;
    case IDC_DL_NEW_FORMAT:
      if (code == BN_CLICKED) newFormat();
      return true;
    case IDC_DL_MINERAL:
      if (code == EN_CHANGE) InvalidateRect(item(IDC_DL_FORMULA_DISPLAY), nullptr, TRUE);
      return false;
    case IDC_DL_FORMULA:
      if (code == BN_CLICKED) InvalidateRect(item(IDC_DL_FORMULA_DISPLAY), nullptr, TRUE);
      return true;
    default: return false;
  }
}

void DirectLabelsDialog::formatChosen() {
  const int chosen = selectedLabelFormat(item(IDC_DL_FORMAT));
  if (takeLabelFormat(window(), job_.sheet(), userFormats_, chosen)) {
    format_ = chosen;
    check(IDC_DL_FORMULA, job_.sheet().format()->formula());
    InvalidateRect(item(IDC_DL_FORMULA_DISPLAY), nullptr, TRUE);
  } else {
    sendItem(IDC_DL_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(format_));
  }
  showRest();
}

void DirectLabelsDialog::newFormat() {
  LabelDefinitionDialog definition(instance(), settings_, job_.page(), &data_);
  definition.run(window());
  userFormats_ = loadLabelFormats(settings_, true);
  const bool beyond = !labelFormatAt(userFormats_, format_);
  if (beyond) format_ = 0;
  fillLabelFormatList(item(IDC_DL_FORMAT), userFormats_, format_);
  // A user format may have changed under its number: it is taken over anew.
  if (beyond || format_ >= kBuiltInLabelFormatCount) formatChosen();
}

bool DirectLabelsDialog::onDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != IDC_DL_FORMULA_DISPLAY) return false;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
  const std::string markup = formula();
  if (markup.empty()) return true;
  const int saved = SaveDC(item.hDC);
  IntersectClipRect(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
  {
    win32::GdiCanvas canvas(item.hDC, fonts_);
    canvas.setTextColour(Rgb{static_cast<std::uint8_t>(GetRValue(GetSysColor(COLOR_WINDOWTEXT))),
                             static_cast<std::uint8_t>(GetGValue(GetSysColor(COLOR_WINDOWTEXT))),
                             static_cast<std::uint8_t>(GetBValue(GetSysColor(COLOR_WINDOWTEXT)))});
    canvas.selectFont(FontSlot::kText);
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int baseline = item.rcItem.top + (height + canvas.ascent()) / 2 - 1;
    drawFormula(canvas, item.rcItem.left + 3, baseline, markup, FormulaFonts{}, false);
  }
  RestoreDC(item.hDC, saved);
  return true;
}

void DirectLabelsDialog::onOk() {
  if (!printEntry()) return;
  showRest();
  job_.finish(window());
  rememberLabelFormat(settings_, format_);
  end(1);
}

void DirectLabelsDialog::onCancel() {
  job_.abort();
  end(0);
}

}  // namespace kalvor::shell
