// Ids of the program's commands, menus and resources. Shared by the .rc
// files and the C++ code of kalvor.exe, so it holds #defines only.
#ifndef KALVOR_RESOURCES_RESOURCE_IDS_H
#define KALVOR_RESOURCES_RESOURCE_IDS_H

#define IDI_KALVOR 1

/* Commands of the menus and the toolbar. */
#define CMD_QUIT 1001
#define CMD_SEARCH_MINERAL 1002
#define CMD_CHANGE 1003
#define CMD_DELETE 1004
#define CMD_LEAVE_EXCHANGE 1005
#define CMD_SEARCH_LOCALITY 1006
#define CMD_SEARCH_SPECIMEN 1007
#define CMD_IMPORT_EXCHANGE 1008
#define CMD_EXPORT_EXCHANGE 1009
#define CMD_ADD_LOCALITY 1013
#define CMD_ADD_SPECIMEN 1014
#define CMD_SEARCH_NAME 1015
#define CMD_VIEW_MINERAL 1020
#define CMD_VIEW_SPECIMENS 1021
#define CMD_VIEW_LOCALITIES 1022
#define CMD_VIEW_ALL 1023
#define CMD_VIEW_RESULT 1024
#define CMD_VIEW_DETAILED_LIST 1025
#define CMD_VIEW_DESCRIPTION 1026
#define CMD_VIEW_GLOSSARY 1027
#define CMD_VIEW_EXCHANGE_ASSISTANT 1028
#define CMD_PRINT_PROFILE 1030
#define CMD_PRINT_LOCALITY 1031
#define CMD_PRINT_SPECIMEN_LIST 1033
#define CMD_PRINT_LABELS 1034
#define CMD_INFO 1040
#define CMD_OPTIONS 1041

/* Commands of the toolbar alone. */
#define CMD_TOOLBAR_VIEW_MINERAL 1320
#define CMD_TOOLBAR_VIEW_SPECIMENS 1321
#define CMD_TOOLBAR_VIEW_LOCALITIES 1322
#define CMD_TOOLBAR_VIEW_GLOSSARY 1323
#define CMD_TOOLBAR_VIEW_RESULT 1324
#define CMD_TOOLBAR_VIEW_ALL 1325
#define CMD_TOOLBAR_DETAILED_LIST 1330
#define CMD_TOOLBAR_DESCRIPTION 1331
#define CMD_TOOLBAR_PRINT 1332
#define CMD_TOOLBAR_SEARCH 1333

/* Child windows of the main window. */
#define ID_LIST_WINDOW 1000
#define ID_TOOLBAR 3000

/* Progress dialogs "IndexAufbau", "IndexAufbau1", "TAUSCHLISTEN_AUFBAU": the progress line. */
#define ID_PROGRESS_LINE 101
#define ID_EXPORT_PROGRESS_LINE 1251

/* "InfoDialog": the two picture frames. */
#define ID_INFO_PICTURE 900
#define ID_INFO_CAPTIONED_PICTURE 901

/* Dialog "Namensuche". */
#define ID_NAME_SEARCH_EDIT 1310
#define ID_NAME_SEARCH_LIST 1311

#endif
