// Control ids of the options dialog "OptionsDialog". Shared by
// options_dialog.rc and the C++ code, so it holds #defines only.
#ifndef KALVOR_RESOURCES_OPTIONS_DIALOG_IDS_H
#define KALVOR_RESOURCES_OPTIONS_DIALOG_IDS_H

#define IDC_OPT_MINERAL_LOCALITIES 1280
#define IDC_OPT_ALIAS_LOCALITIES 1281
#define IDC_OPT_ANGLES_WITH_MINUTES 1282
#define IDC_OPT_SYSTEMATICS_AS_TEXT 1283
#define IDC_OPT_BUBBLE_HELP 1284
#define IDC_OPT_SMALL_FONTS 1285
#define IDC_OPT_SPECIMEN_SORT 1286

#endif
