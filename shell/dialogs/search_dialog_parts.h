// What the three search dialogs share: the owner-drawn locality list
// ("Fundstelle", "Fundort"), the drop-down lists filled from text lists and
// the failure message that selects the field it names.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "collection/form_fields.h"
#include "collection/locality.h"

namespace kalvor::shell {

// Fills drop-down list `combo` with `texts` (without redrawing meanwhile) and selects `selected`.
void fillChoiceList(HWND combo, const std::vector<std::string>& texts, std::size_t selected);
// The selected index of a drop-down list, 0 when none.
std::size_t choiceListSelection(HWND combo);

// The owner-drawn locality list: one item per choice, its item value the
// locality number; the texts stay with the dialog and are drawn from there.
void fillLocalityList(HWND combo, const std::vector<LocalityChoice>& choices, std::size_t selected);
// The item value (locality number) of the selected item, 0 for "unbekannt" or none.
std::uint32_t selectedLocality(HWND combo);
// The height of a row of an owner-drawn list `control` in its dialog's font.
int listRowHeight(HWND control);
// Sizes the items of the owner-drawn list to the dialog's font.
void sizeLocalityItems(HWND combo);
// Draws one item; `unknown` is the text of an item without index.
void drawLocalityItem(const DRAWITEMSTRUCT& item, const std::vector<LocalityChoice>& choices,
                      const std::string& unknown);

// Shows the failure's message over `dialog` and, when it names a control,
// gives that control the focus with the failure's text range marked. `icon`
// 0 picks the searches' icon (information for "nothing found", else the
// exclamation mark).
void showFormFailure(HWND dialog, const FormFailure& failure, UINT icon = 0);

}  // namespace kalvor::shell
