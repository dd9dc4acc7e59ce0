// Resource ids shared by the .rc files and the code. Plain #defines so that
// windres can read them too.
#ifndef QUORBEL_RESOURCE_IDS_H
#define QUORBEL_RESOURCE_IDS_H

#define IDI_QUORBEL 100
#define IDD_CONFIG 2003
/* The sprite sheet is the bitmap resource named LIFE9DIB. */
/* The About box is the dialog resource named ABOUTDLGBOX. */
/* Dialogs and strings exist in Japanese (1041) and English (1033); Windows
   picks the language of its user interface, else English. */

/* Configuration dialog controls (IDOK 1 and IDCANCEL 2 are the system's). */
#define IDC_SPEED_BAR 101
#define IDC_HELP_BUTTON 110
#define IDC_ABOUT_BUTTON 111
#define IDC_TOVTOV_ON 1003
#define IDC_TOVTOV_OFF 1004
#define IDC_GENERATIONS 1005
#define IDC_TOVTOV_RANDOM 1006
#define IDC_SIZE_BIG 1007
#define IDC_SIZE_SMALL 1008
#define IDC_SIZE_RANDOM 1009
#define IDC_CONNECT_ON 1010
#define IDC_CONNECT_OFF 1011
#define IDC_CONNECT_RANDOM 1012
#define IDC_LIFEGAME_ON 1013
#define IDC_LIFEGAME_OFF 1014
#define IDC_LIFEGAME_RANDOM 1015
#define IDC_SPEED_FIXED 1016
#define IDC_SPEED_RANDOM 1017
#define IDC_SPEED_SLOW_LABEL 1018
#define IDC_SPEED_FAST_LABEL 1019
#define IDC_SHRINK_ON 1020
#define IDC_SHRINK_OFF 1021
#define IDC_SHRINK_RANDOM 1022
#define IDC_SHRINK_GROUP 1023
#define IDC_CONNECT_GROUP 1024
#define IDC_SIZE_MIDDLE 1025
#define IDC_COLORS_ONE 1026
#define IDC_COLORS_THREE 1027
#define IDC_COLORS_RANDOM 1028
#define IDC_COLORS_SIX 1029

/* String table. */
#define IDS_DESCRIPTION 1
#define IDS_PASSWORD_VALUE 1000
#define IDS_CONTROL_INI 1001
#define IDS_SCREEN_SAVER 1002
#define IDS_APP_CLASS 1007
#define IDS_HELP_FAILED 1008
#define IDS_CONTROL_HELP 1009
#define IDS_APP_TITLE 1010
/* The help page is there but nothing opens web pages; its path follows. */
#define IDS_HELP_PAGE_UNOPENED 1016
/* The sprite sheet's two failure messages and their captions. */
#define IDS_SHEET_NOT_256_COLOR 1012
#define IDS_SHEET_ERROR_CAPTION 1013
#define IDS_PALETTE_FAILED 1014
#define IDS_PALETTE_FAILED_CAPTION 1015

#endif
