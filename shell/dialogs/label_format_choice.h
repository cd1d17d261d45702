// What the direct label dialog and the specimen label dialog share: the list
// of label formats (the ten built-in ones, then the user's), the format
// remembered in "kalvor.ini", taking a format onto the sheet with the
// message for one that cannot be placed, and the rest "%d/%d".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "labels/label_format.h"
#include "labels/label_sheet.h"
#include "platform/settings.h"

namespace kalvor::shell {

// Fills drop-down list `combo` with the format names and selects `selected`.
void fillLabelFormatList(HWND combo, const std::vector<LabelFormat>& userFormats, int selected);
// The selected index of the format list, 0 when none.
int selectedLabelFormat(HWND combo);

// "Letztes Etikettenformat" of section "Edit"; built-in format 0 when it
// lies beyond the list.
int lastLabelFormat(const Settings& settings, const std::vector<LabelFormat>& userFormats);
void rememberLabelFormat(Settings& settings, int index);

// Takes format `index` onto `sheet`. A format that cannot be placed on the
// printer's page is refused with a message over `dialog` naming the field;
// false then, and the sheet keeps its format.
bool takeLabelFormat(HWND dialog, LabelSheet& sheet, const std::vector<LabelFormat>& userFormats, int index);

// Loads the user's formats into `userFormats` and takes the remembered
// format onto `sheet`; one the printer cannot take gives way to the first
// built-in one. Returns the index of the format taken.
int takeRememberedLabelFormat(HWND dialog, LabelSheet& sheet, const Settings& settings,
                              std::vector<LabelFormat>& userFormats);

// "Rest (Zeile/Seite):" as "%d/%d".
std::string labelRestText(const LabelRest& rest);

}  // namespace kalvor::shell
