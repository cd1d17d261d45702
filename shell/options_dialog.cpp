#include "shell/options_dialog.h"

#include "resources/options_dialog_ids.h"
#include "shell/progress_dialog.h"
#include "views/options.h"

namespace kalvor::shell {
namespace {

static_assert(IDC_OPT_MINERAL_LOCALITIES == views::kIdMineralLocalityList);
static_assert(IDC_OPT_ALIAS_LOCALITIES == views::kIdAliasLocalityList);
static_assert(IDC_OPT_ANGLES_WITH_MINUTES == views::kIdAnglesWithMinutes);
static_assert(IDC_OPT_SYSTEMATICS_AS_TEXT == views::kIdSystematicsAsText);
static_assert(IDC_OPT_BUBBLE_HELP == views::kIdBubbleHelp);
static_assert(IDC_OPT_SMALL_FONTS == views::kIdSmallFonts);
static_assert(IDC_OPT_SPECIMEN_SORT == views::kIdSpecimenSort);

// What the dialog procedure works with; lives on runOptionsDialog's stack.
struct OptionsDialogData {
  HWND owner;
  HINSTANCE instance;
  Settings& settings;
  int screenWidth;
  const OptionsDialogHooks& hooks;
};

void check(HWND dlg, int id, bool on) { CheckDlgButton(dlg, id, on ? BST_CHECKED : BST_UNCHECKED); }
bool checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }

void showState(HWND dlg, const OptionsDialogData& data, const views::OptionsDialogState& s) {
  check(dlg, views::kIdMineralLocalityList, s.mineralLocalityList);
  check(dlg, views::kIdAliasLocalityList, s.aliasLocalityList);
  EnableWindow(GetDlgItem(dlg, views::kIdAliasLocalityList), s.aliasLocalityListEnabled);
  check(dlg, views::kIdAnglesWithMinutes, s.anglesWithMinutes);
  check(dlg, views::kIdSystematicsAsText, s.systematicsAsText);
  check(dlg, views::kIdBubbleHelp, s.bubbleHelp);
  check(dlg, views::kIdSmallFonts, s.smallFonts);
  const HWND combo = GetDlgItem(dlg, views::kIdSpecimenSort);
  for (unsigned id : views::kSpecimenSortItemIds) {
    char text[128] = "";
    LoadStringA(data.instance, id, text, sizeof text);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(s.specimenSort), 0);
}

views::OptionsDialogState readState(HWND dlg) {
  views::OptionsDialogState s;
  s.mineralLocalityList = checked(dlg, views::kIdMineralLocalityList);
  s.aliasLocalityList = checked(dlg, views::kIdAliasLocalityList);
  s.aliasLocalityListEnabled = IsWindowEnabled(GetDlgItem(dlg, views::kIdAliasLocalityList)) != 0;
  s.anglesWithMinutes = checked(dlg, views::kIdAnglesWithMinutes);
  s.systematicsAsText = checked(dlg, views::kIdSystematicsAsText);
  s.bubbleHelp = checked(dlg, views::kIdBubbleHelp);
  s.smallFonts = checked(dlg, views::kIdSmallFonts);
  const LRESULT item = SendDlgItemMessageA(dlg, views::kIdSpecimenSort, CB_GETCURSEL, 0, 0);
  s.specimenSort = item == CB_ERR ? 0 : static_cast<int>(item);
  return s;
}

void onOk(HWND dlg, const OptionsDialogData& data) {
  views::OptionsSideEffects effects;
  effects.switchBubbleHelp = data.hooks.switchBubbleHelp;
  effects.recreateFonts = [&data](bool small) {
    if (data.hooks.recreateFonts) data.hooks.recreateFonts(small);
    if (data.owner) InvalidateRect(data.owner, nullptr, TRUE);
  };
  // A key that cannot be written keeps its old value; there is nothing better to offer.
  views::writeOptions(readState(dlg), data.settings, effects);
  EndDialog(dlg, 1);
}

INT_PTR CALLBACK optionsDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* data = reinterpret_cast<OptionsDialogData*>(GetWindowLongPtrA(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      data = reinterpret_cast<OptionsDialogData*>(lParam);
      SetWindowLongPtrA(dlg, DWLP_USER, lParam);
      centreOverClientArea(dlg, data->owner);
      showState(dlg, *data,
                views::fromSettings(data->settings, views::isSmallScreen(data->screenWidth)));
      return TRUE;
    }
    case WM_COMMAND:
      if (!data) break;
      switch (LOWORD(wParam)) {
        case views::kIdMineralLocalityList:
          if (HIWORD(wParam) == BN_CLICKED)
            EnableWindow(GetDlgItem(dlg, views::kIdAliasLocalityList),
                         checked(dlg, views::kIdMineralLocalityList));
          return TRUE;
        case IDOK:
          onOk(dlg, *data);
          return TRUE;
        case IDCANCEL:
          EndDialog(dlg, 0);
          return TRUE;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

int runOptionsDialog(HWND owner, HINSTANCE instance, Settings& settings, int screenWidth,
                     const OptionsDialogHooks& hooks) {
  OptionsDialogData data{owner, instance, settings, screenWidth, hooks};
  const INT_PTR result = DialogBoxParamA(instance, "OptionsDialog", owner, optionsDialogProc,
                                         reinterpret_cast<LPARAM>(&data));
  return result == 1 ? 1 : 0;
}

}  // namespace kalvor::shell
