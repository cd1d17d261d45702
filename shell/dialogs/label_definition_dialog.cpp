#include "shell/dialogs/label_definition_dialog.h"

#include <commdlg.h>

#include <cstdio>
#include <string>

#include "labels/label_content.h"
#include "labels/label_geometry.h"
#include "labels/label_layout.h"
#include "refdb/strings.h"
#include "resources/label_dialog_ids.h"
#include "win32/gdi_objects.h"
#include "win32/screen_page_canvas.h"

namespace kalvor::shell {
namespace {

void fillSizes(HWND combo, std::optional<int> selected) {
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (int size : kLabelFontSizes)
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(size).c_str()));
  SendMessageA(combo, CB_SETCURSEL, selected ? static_cast<WPARAM>(*selected) : static_cast<WPARAM>(-1), 0);
}

std::optional<int> sizeSelection(HWND combo) {
  const LRESULT i = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (i == CB_ERR) return std::nullopt;
  return static_cast<int>(i);
}

}  // namespace

bool LabelDefinitionDialog::onInit() {
  centreOver(GetWindow(window(), GW_OWNER));
  sendItem(IDC_LFD_NAME, CB_LIMITTEXT, kMaxLabelFormatName);
  formats_ = loadLabelFormats(settings_, false);
  for (const LabelFormat& f : formats_)
    sendItem(IDC_LFD_NAME, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.name.c_str()));
  if (formats_.empty()) {
    selected_.reset();
    show(newLabelFormatFields());
  } else {
    selected_ = 0;
    sendItem(IDC_LFD_NAME, CB_SETCURSEL, 0);
    show(labelFormatFields(formats_.front()));
  }
  return true;
}

void LabelDefinitionDialog::show(const LabelFormatFields& f) {
  setItemText(IDC_LFD_NAME, f.name);
  setItemText(IDC_LFD_WIDTH, f.width);
  setItemText(IDC_LFD_HEIGHT, f.height);
  fillSizes(item(IDC_LFD_FONT_SIZE), f.fontSizeIndex);
  fillSizes(item(IDC_LFD_INDEX_SIZE), f.indexSizeIndex);
  check(IDC_LFD_FRAME, f.frame);
  check(IDC_LFD_STANDING, f.standing);
  check(IDC_LFD_FORMULA, f.formula);
  check(IDC_LFD_QR_CODE, f.qrCode);
  setItemText(IDC_LFD_FRAME_WIDTH, f.frameWidth);
  setItemText(IDC_LFD_FRAME_DISTANCE, f.frameDistance);
  setItemText(IDC_LFD_STAND_HEIGHT, f.standHeight);
  font_ = f.font;
  setItemText(IDC_LFD_FONT_NAME, font_ ? font_->face : std::string("Times New Roman"));
  refresh();
}

LabelFormatFields LabelDefinitionDialog::read() const {
  LabelFormatFields f;
  f.name = itemText(IDC_LFD_NAME);
  f.width = itemText(IDC_LFD_WIDTH);
  f.height = itemText(IDC_LFD_HEIGHT);
  f.fontSizeIndex = sizeSelection(item(IDC_LFD_FONT_SIZE));
  f.indexSizeIndex = sizeSelection(item(IDC_LFD_INDEX_SIZE));
  f.frame = isChecked(IDC_LFD_FRAME);
  f.standing = isChecked(IDC_LFD_STANDING);
  f.formula = isChecked(IDC_LFD_FORMULA);
  f.qrCode = isChecked(IDC_LFD_QR_CODE);
  f.frameWidth = itemText(IDC_LFD_FRAME_WIDTH);
  f.frameDistance = itemText(IDC_LFD_FRAME_DISTANCE);
  f.standHeight = itemText(IDC_LFD_STAND_HEIGHT);
  f.font = font_;
  return f;
}

void LabelDefinitionDialog::refresh() {
  working_ = readLabelFormatFields(read());
  const std::optional<LabelGeometry> g = labelGeometry(toPrintingForm(working_), printerPage_);
  setItemText(IDC_LFD_COUNT, g ? std::to_string(g->perPage) : std::string());
  InvalidateRect(item(IDC_LFD_PREVIEW), nullptr, TRUE);
}

bool LabelDefinitionDialog::onCommand(int id, int code) {
  switch (id) {
    case IDC_LFD_NAME:
      if (code == CBN_SELCHANGE) {
        const LRESULT i = sendItem(IDC_LFD_NAME, CB_GETCURSEL);
        if (i == CB_ERR || i >= static_cast<LRESULT>(formats_.size())) return true;
        selected_ = static_cast<int>(i);
        show(labelFormatFields(formats_[static_cast<std::size_t>(i)]));
      } else if (code == CBN_EDITCHANGE) {
        // A name typed in makes a new format.
        selected_.reset();
        refresh();
      }
      return true;
    case IDC_LFD_WIDTH:
    case IDC_LFD_HEIGHT:
    case IDC_LFD_FRAME_WIDTH:
    case IDC_LFD_FRAME_DISTANCE:
    case IDC_LFD_STAND_HEIGHT:
      if (code == EN_KILLFOCUS) refresh();
      return true;
    case IDC_LFD_FONT_SIZE:
    case IDC_LFD_INDEX_SIZE:
      if (code == CBN_SELCHANGE) refresh();
      return true;
    case IDC_LFD_FRAME:
      if (code == BN_CLICKED) {
        LabelFormatFields f = read();
        setLabelFrame(f, f.frame);
        setItemText(IDC_LFD_FRAME_WIDTH, f.frameWidth);
        setItemText(IDC_LFD_FRAME_DISTANCE, f.frameDistance);
        refresh();
      }
      return true;
    case IDC_LFD_STANDING:
    case IDC_LFD_FORMULA:
    case IDC_LFD_QR_CODE:
      if (code == BN_CLICKED) refresh();
      return true;
    case IDC_LFD_CHOOSE_FONT:
      if (code == BN_CLICKED) chooseFont();
      return true;
    default: return false;
  }
}

void LabelDefinitionDialog::chooseFont() {
  LOGFONTA lf{};
  const FontDescription current = font_.value_or(FontDescription{"Times New Roman", 0, 0, 400, false, false, false, 0x12});
  lstrcpynA(lf.lfFaceName, current.face.c_str(), LF_FACESIZE);
  lf.lfWeight = current.weight;
  lf.lfItalic = current.italic ? TRUE : FALSE;
  lf.lfUnderline = current.underline ? TRUE : FALSE;
  lf.lfStrikeOut = current.strikeOut ? TRUE : FALSE;
  lf.lfPitchAndFamily = current.pitchAndFamily;
  lf.lfHeight = -13;
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = window();
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontA(&cf)) return;
  FontDescription chosen;
  chosen.face = std::string(lf.lfFaceName).substr(0, kMaxFontFaceLength);
  chosen.height = lf.lfHeight;
  chosen.escapement = lf.lfEscapement;
  chosen.weight = lf.lfWeight > 0 ? static_cast<int>(lf.lfWeight) : 400;
  chosen.italic = lf.lfItalic != 0;
  chosen.underline = lf.lfUnderline != 0;
  chosen.strikeOut = lf.lfStrikeOut != 0;
  chosen.pitchAndFamily = lf.lfPitchAndFamily;
  font_ = chosen;
  setItemText(IDC_LFD_FONT_NAME, chosen.face);
  refresh();
}

bool LabelDefinitionDialog::onDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != IDC_LFD_PREVIEW) return false;
  drawPreview(item);
  return true;
}

void LabelDefinitionDialog::drawPreview(const DRAWITEMSTRUCT& item) const {
  const RECT& r = item.rcItem;
  FillRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  // The sample label at its real size on the screen; what does not fit the
  // frame is cut off. The page is the screen's, so that every label the
  // printer takes can be drawn.
  PageGeometry screen;
  screen.dpiX = GetDeviceCaps(item.hDC, LOGPIXELSX);
  screen.dpiY = GetDeviceCaps(item.hDC, LOGPIXELSY);
  screen.width = GetDeviceCaps(item.hDC, HORZRES);
  screen.height = GetDeviceCaps(item.hDC, VERTRES);
  const LabelFormat format = toPrintingForm(working_);
  const std::optional<LabelGeometry> g = labelGeometry(format, screen);
  if (!g) return;
  const int saved = SaveDC(item.hDC);
  IntersectClipRect(item.hDC, r.left, r.top, r.right, r.bottom);
  SetViewportOrgEx(item.hDC, r.left + 2, r.top + 2, nullptr);
  {
    win32::ScreenPageCanvas canvas(item.hDC, screen);
    const LabelFontMetrics metrics = setLabelFonts(canvas, format);
    LabelContent sample;
    sample.mineral = itemText(IDC_LFD_SAMPLE_MINERAL);
    sample.accompanying = itemText(IDC_LFD_SAMPLE_ACCOMPANYING);
    sample.locality = itemText(IDC_LFD_SAMPLE_LOCALITY);
    sample.freeLine = itemText(IDC_LFD_SAMPLE_FREE_LINE);
    if (data_) sample.formula = lookupLabelFormula(data_->names(), data_->database(), sample.mineral);
    sample.qrText = labelQrText(itemText(IDC_LFD_SAMPLE_COUNT), sample.mineral, sample.accompanying);
    drawLabel(canvas, format, *g, metrics, sample, 0, 0);
  }
  RestoreDC(item.hDC, saved);
}

void LabelDefinitionDialog::onOk() {
  const LabelFormatFields fields = read();
  const LabelFormatFormCheck checked = checkLabelFormatFields(fields, printerPage_);
  if (checked.stringId) {
    MessageBeep(0);
    // The only text the check names: a format without a name.
    messageBox(strings::kStrLabelFormatNameMissing, strings::kStrIncompleteInputCaption, MB_OK | MB_ICONINFORMATION);
    focus(IDC_LFD_NAME);
    return;
  }
  if (!checked.ok) {
    // A size the printer cannot take would give no label per row or page.
    MessageBeep(0);
    MessageBoxA(window(), labelFormatProblemText(checked.problem).c_str(),
                text(strings::kStrIncompleteInputCaption).c_str(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  const int number = labelFormatNumber(selected_, static_cast<int>(formats_.size()));
  if (!saveLabelFormat(settings_, readLabelFormatFields(fields), number)) {
    MessageBoxA(window(), "Das Etikettenformat konnte nicht in kalvor.ini gespeichert werden.",
                text(strings::kStrIncompleteInputCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  formats_.clear();
  end(1);
}

}  // namespace kalvor::shell
