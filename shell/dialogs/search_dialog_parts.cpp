#include "shell/dialogs/search_dialog_parts.h"

#include "determination/determination_search.h"

namespace kalvor::shell {

void fillChoiceList(HWND combo, const std::vector<std::string>& texts, std::size_t selected) {
  SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& text : texts)
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(combo, CB_SETCURSEL, selected < texts.size() ? selected : 0, 0);
  SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(combo, nullptr, TRUE);
}

std::size_t choiceListSelection(HWND combo) {
  const LRESULT i = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  return i == CB_ERR ? 0 : static_cast<std::size_t>(i);
}

void fillLocalityList(HWND combo, const std::vector<LocalityChoice>& choices, std::size_t selected) {
  SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  // Without CBS_HASSTRINGS the item is its value: the locality number.
  for (const LocalityChoice& choice : choices) SendMessageA(combo, CB_ADDSTRING, 0, choice.itemData);
  SendMessageA(combo, CB_SETCURSEL, selected < choices.size() ? selected : 0, 0);
  SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(combo, nullptr, TRUE);
}

std::uint32_t selectedLocality(HWND combo) {
  const LRESULT i = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (i == CB_ERR) return 0;
  const LRESULT value = SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
  return value == CB_ERR ? 0 : static_cast<std::uint32_t>(value);
}

int listRowHeight(HWND control) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(control), WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return tm.tmHeight + 2;
}

void sizeLocalityItems(HWND combo) {
  const int height = listRowHeight(combo);
  SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
  SendMessageA(combo, CB_SETITEMHEIGHT, 0, height);
}

void drawLocalityItem(const DRAWITEMSTRUCT& item, const std::vector<LocalityChoice>& choices,
                      const std::string& unknown) {
  const HDC dc = item.hDC;
  RECT r = item.rcItem;
  if (item.itemAction == ODA_FOCUS) {
    DrawFocusRect(dc, &r);
    return;
  }
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  std::string text;
  if (item.itemID == static_cast<UINT>(-1)) {
    text = unknown;
  } else if (item.itemID < choices.size()) {
    text = choices[item.itemID].itemData == 0 ? unknown : choices[item.itemID].text;
  }
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(item.hwndItem), WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  r.left += 2;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

void showFormFailure(HWND dialog, const FormFailure& failure, UINT icon) {
  const std::string text = formFailureText(failure);
  const std::string caption = formFailureCaption(failure);
  // "Nothing found" informs; a field the search cannot read is an input error.
  if (icon == 0) icon = failure.captionId == kMsgSearchFailedCaption ? MB_ICONINFORMATION : MB_ICONEXCLAMATION;
  MessageBoxA(dialog, text.c_str(), caption.c_str(), MB_OK | icon);
  if (failure.controlId == 0) return;
  const HWND control = GetDlgItem(dialog, failure.controlId);
  if (!control) return;
  // WM_NEXTDLGCTL keeps the default button right; an edit then gets its range marked.
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  SendMessageA(control, EM_SETSEL, failure.selectionBegin, static_cast<LPARAM>(failure.selectionEnd));
}

}  // namespace kalvor::shell
