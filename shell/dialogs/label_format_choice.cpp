#include "shell/dialogs/label_format_choice.h"

#include "labels/label_geometry.h"
#include "platform/settings_keys.h"

namespace kalvor::shell {

void fillLabelFormatList(HWND combo, const std::vector<LabelFormat>& userFormats, int selected) {
  SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const LabelFormat& f : builtInLabelFormats())
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.name.c_str()));
  for (const LabelFormat& f : userFormats)
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.name.c_str()));
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(combo, nullptr, TRUE);
}

int selectedLabelFormat(HWND combo) {
  const LRESULT i = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  return i == CB_ERR ? 0 : static_cast<int>(i);
}

int lastLabelFormat(const Settings& settings, const std::vector<LabelFormat>& userFormats) {
  const int index = ini::readInt(settings, ini::kLastLabelFormat);
  return labelFormatAt(userFormats, index) ? index : 0;
}

void rememberLabelFormat(Settings& settings, int index) {
  // A file that cannot be written only forgets the choice; the labels are printed.
  (void)ini::writeInt(settings, ini::kLastLabelFormat, index);
}

bool takeLabelFormat(HWND dialog, LabelSheet& sheet, const std::vector<LabelFormat>& userFormats, int index) {
  const std::optional<LabelFormat> format = labelFormatAt(userFormats, index);
  if (!format) return false;
  const LabelFormatProblem problem = sheet.selectFormat(*format);
  if (problem == LabelFormatProblem::kNone) return true;
  const std::string message = "Das Etikettenformat \"" + format->name +
                              "\" passt nicht auf die Seite des Druckers: " + labelFormatProblemText(problem);
  MessageBoxA(dialog, message.c_str(), "Etikettenformat", MB_OK | MB_ICONINFORMATION);
  return false;
}

int takeRememberedLabelFormat(HWND dialog, LabelSheet& sheet, const Settings& settings,
                              std::vector<LabelFormat>& userFormats) {
  userFormats = loadLabelFormats(settings, true);
  const int remembered = lastLabelFormat(settings, userFormats);
  if (takeLabelFormat(dialog, sheet, userFormats, remembered)) return remembered;
  takeLabelFormat(dialog, sheet, userFormats, 0);
  return 0;
}

std::string labelRestText(const LabelRest& rest) {
  return std::to_string(rest.row) + "/" + std::to_string(rest.page);
}

}  // namespace kalvor::shell
