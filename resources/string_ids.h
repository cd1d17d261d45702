// Names of the string-table texts (resources/strings.tsv) that the program's
// code asks for by id. Plain #defines, so core, shell and .rc files can share
// them; the value is the id in strings.tsv, the comment its text.
#ifndef KALVOR_RESOURCES_STRING_IDS_H
#define KALVOR_RESOURCES_STRING_IDS_H

#define IDS_TITLE_MINERAL 10001             /* "Mineralbeschreibung" */
#define IDS_INFO_PICTURE_CAPTION 10013      /* "Pyromorphit" */
#define IDS_TITLE_GLOSSARY 10077            /* "Lexikoneintrag" */
#define IDS_DELETE_SPECIMEN_QUESTION 10093  /* "Wollen Sie die angewählte Stufe wirklich löschen?" */
#define IDS_DELETE_SPECIMEN_CAPTION 10094   /* "Stufe löschen" */
#define IDS_TITLE_LOCALITY 10097            /* "Fundortbeschreibung" */
#define IDS_TITLE_SPECIMEN 10098            /* "Stufenbeschreibung" */
#define IDS_EXCHANGE_FILE_FILTER 10103      /* "Kalvor Tauschliste (*.ktl)|*.ktl|" */
#define IDS_SORT_NUMERIC 10113              /* "numerischer Index" */
#define IDS_SORT_STRING 10114               /* "Zeichenketten Index" */
#define IDS_SORT_FIRST_MINERAL 10115        /* "erstes Mineral" */
#define IDS_SORT_COMBINED 10116             /* "kombinierter Index" */
#define IDS_SORT_ENTRY_ORDER 10117          /* "in Eingabereihenfolge" */

#endif
