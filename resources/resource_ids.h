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

/* The description window ("LeerBox"): its scroll bars, the refresh after an
   entry dialog, the hand cursor over a link, the drawing window's restart. */
#define ID_DESC_LOCALITY_SCROLL 1230
#define ID_DESC_TEXT_SCROLL 1231
#define ID_DESC_LIST_SCROLL 1232
#define ID_DESC_MINERAL_SCROLL 1233
#define CMD_DESC_REFRESH 1300
#define IDC_LINK_HAND 3010
#define CMD_DRAWING_RESTART 1159

/* Dialog "Namensuche". */
#define ID_NAME_SEARCH_EDIT 1310
#define ID_NAME_SEARCH_LIST 1311

/* Dialog "Mineralbestimmung" (SUCHEN). */
#define ID_SEARCH_EXACT 1100
#define ID_SEARCH_APPROXIMATE 1101
#define ID_SEARCH_ROUGH 1102
#define ID_SEARCH_PRECISION_FRAME 1103
#define ID_SEARCH_RADIOACTIVE 1104
#define ID_SEARCH_COLOUR 1105
#define ID_SEARCH_HARDNESS 1106
#define ID_SEARCH_FRACTURE 1107
#define ID_SEARCH_CRYSTAL_SYSTEM 1108
#define ID_SEARCH_CLEAVAGE 1109
#define ID_SEARCH_STREAK 1110
#define ID_SEARCH_DENSITY 1111
#define ID_SEARCH_ELEMENTS 1112
#define ID_SEARCH_UV_SHORT 1113
#define ID_SEARCH_UV_LONG 1114
#define ID_SEARCH_LUSTRE 1115
#define ID_SEARCH_SYSTEMATICS 1118
#define ID_SEARCH_LOCALITY 1119
#define ID_SEARCH_IMA 1132
#define ID_SEARCH_NOT_IMA 1133
#define ID_SEARCH_DISCREDITED 1134
#define ID_SEARCH_NEW 1138

/* Dialog "Fundortsuche" (FUNDORTSUCHE). */
#define ID_LOCALITY_SEARCH_MINERALS 1170
#define ID_LOCALITY_SEARCH_NEAREST_PLACE 1171
#define ID_LOCALITY_SEARCH_REGION 1172
#define ID_LOCALITY_SEARCH_COUNTRY 1173
#define ID_LOCALITY_SEARCH_MINERAL_LIST 1174
#define ID_LOCALITY_SEARCH_NEW 1175
#define ID_LOCALITY_SEARCH_ELEMENTS 1176
#define ID_LOCALITY_SEARCH_SYSTEMATICS 1177

/* Dialog "Sammlungsauswertung" (SAMMLUNGSAUSWERTUNG). */
#define ID_SPECIMEN_SEARCH_MINERALS 1200
#define ID_SPECIMEN_SEARCH_LOCALITY 1201
#define ID_SPECIMEN_SEARCH_STORAGE_PLACE 1202
#define ID_SPECIMEN_SEARCH_INDEX 1203
#define ID_SPECIMEN_SEARCH_MINERAL_LIST 1204
#define ID_SPECIMEN_SEARCH_DATE 1205
#define ID_SPECIMEN_SEARCH_COLLECTION_PIECES 1206
#define ID_SPECIMEN_SEARCH_EXCHANGE_PIECES 1207
#define ID_SPECIMEN_SEARCH_BOUGHT 1208
#define ID_SPECIMEN_SEARCH_FOUND 1209
#define ID_SPECIMEN_SEARCH_SWAPPED 1210
#define ID_SPECIMEN_SEARCH_NEW 1211
#define ID_SPECIMEN_SEARCH_ELEMENTS 1212
#define ID_SPECIMEN_SEARCH_SYSTEMATICS 1213

/* The drawing window ("LeerBox"): its buttons (its restart, 1159, is above). */
#define ID_DRAWING_NEXT 1150
#define ID_DRAWING_PREVIOUS 1151
#define ID_DRAWING_SOURCE 1154

#endif
