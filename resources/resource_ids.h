// Ids of the program's commands, menus and resources. Shared by the .rc
// files and the C++ code of kalvor.exe, so it holds #defines only (the
// command ids are generated from resources/commands.tsv into command_ids.h).
#ifndef KALVOR_RESOURCES_RESOURCE_IDS_H
#define KALVOR_RESOURCES_RESOURCE_IDS_H

#define IDI_KALVOR 1

/* Commands of the menus and the toolbar (CMD_QUIT ... CMD_TOOLBAR_SEARCH). */
#include "command_ids.h"

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

/* The drawing window ("LeerBox"): its buttons, and the restart sent by the
   description window when it shows another mineral. */
#define ID_DRAWING_NEXT 1150
#define ID_DRAWING_PREVIOUS 1151
#define ID_DRAWING_SOURCE 1154
#define CMD_DRAWING_RESTART 1159

#endif
