// Resource, command and control ids of Pairmate.
#pragma once

// Icons
#define IDR_MAINFRAME 128        // application icon; also the menu toolbar and its bitmap
#define IDI_ABOUT 131            // icon of the About box

// Bitmaps
#define IDB_MENU_TOOLBAR 128     // images of toolbar resource 128 (menu drawer)
#define IDB_HANDLE 130           // bar handle, application inactive
#define IDB_TILE 131             // bar background tile
#define IDB_TOOLBAR 132          // toolbar button images
#define IDB_HANDLE_ACTIVE 133    // bar handle, application active
// The command pictures drawn again for displays scaled to 125 %, 150 % and
// 200 %: the 100-% picture's id plus 1000, 2000 and 3000 (framework/Dpi.h)
#define IDB_MENU_TOOLBAR_125 1128
#define IDB_MENU_TOOLBAR_150 2128
#define IDB_MENU_TOOLBAR_200 3128
#define IDB_TOOLBAR_125 1132
#define IDB_TOOLBAR_150 2132
#define IDB_TOOLBAR_200 3132
// The bar bitmaps' dark copies, for the dark look: the id plus 4000
// (framework/Look.h)
#define IDB_HANDLE_DARK 4130
#define IDB_TILE_DARK 4131
#define IDB_HANDLE_ACTIVE_DARK 4133

// Toolbar resource (type 241) for the menu drawer
#define IDR_MENU_TOOLBAR 128

// Menus
#define IDR_CONTEXT_MENU 130

// Dialog templates
#define IDD_ABOUTBOX 130
#define IDD_SETTINGS 132
#define IDD_SETUP 134

// Dialog controls
#define IDC_PATH_STATIC 128
#define IDC_BROWSE 1000
#define IDC_AUTOMINIMIZE 1001
#define IDC_CLEAR_HISTORY 1002
#define IDC_FILE_ICON 1003
#define IDC_BIG_ICON 1006
#define IDC_MAIL_LINK 1008
#define IDC_WEB_LINK 1009
#define IDC_HOTKEY 1010          // Settings: the hot key
#define IDC_ARGUMENTS 1011       // Settings: the comparison program's arguments
#define IDC_FOUND_PROGRAMS 1012  // Settings: the menu of the comparison programs found

// Main window controls
#define IDC_TOOLBAR_MAIN 500
#define IDC_TOOLBAR_PATH1 501
#define IDC_TOOLBAR_PATH2 502
#define IDC_PATH1 600
#define IDC_PATH2 601

// Commands
#define ID_APP_SETTINGS 32771
#define ID_PATH1_FILE 32772
#define ID_PATH1_FOLDER 32773
#define ID_PATH2_FILE 32774
#define ID_PATH2_FOLDER 32775
#define ID_COMPARE 32776
#define ID_BAR_MINIMIZE 32777
#define ID_BAR_MAXIMIZE 32787
#define ID_APP_ABOUT_CMD 57664
#define ID_APP_EXIT_CMD 57665

// Strings. The program's name and the link messages are the same in every
// language; every other text is in the Japanese and in the English table.
// The ids of each group fill string-table blocks (sixteen ids each) of their
// own, so that no block mixes the groups.
#define IDS_APP_TITLE 57344

// Messages
#define IDS_NO_WINDIFF_NAME 0x7000       // Compare, and OK in the WinDiff dialogs
#define IDS_WINDIFF_MISSING 0x7001
#define IDS_PATH1_EMPTY 0x7002
#define IDS_PATH1_MISSING 0x7003
#define IDS_PATH2_EMPTY 0x7004
#define IDS_PATH2_MISSING 0x7005
#define IDS_KINDS_DIFFER 0x7006
#define IDS_START_FAILED 0x7007
#define IDS_PATH_NOT_IN_CODE_PAGE 0x7008 // a path the ANSI code page cannot hold
#define IDS_ONE_OR_TWO_PATHS 0x7009      // a command line with more than two paths
#define IDS_FILES_ONLY 0x700A            // Compare: two folders for a program that compares files only
#define IDS_ARGUMENTS_PLACEHOLDERS 0x700B // Settings: arguments without %1 or %2
// The file and folder choosers ("|" separates the parts of a filter), and
// the face of the path boxes' font
#define IDS_CHOOSE_FILE_TITLE 0x7010
#define IDS_ALL_FILES_FILTER 0x7011
#define IDS_CHOOSE_FOLDER_TITLE 0x7012
#define IDS_WINDIFF_FILE_TITLE 0x7013
#define IDS_WINDIFF_FILE_FILTER 0x7014
#define IDS_PATH_FONT_FACE 0x7015
// Tooltips of the Settings and Initial-setup dialogs
#define IDS_TIP_SAVE_AND_CLOSE 0x7020
#define IDS_TIP_CANCEL_SETTINGS 0x7021
#define IDS_TIP_CLEAR_HISTORY 0x7022
#define IDS_TIP_BROWSE_WINDIFF 0x7023
#define IDS_TIP_AUTOMINIMIZE 0x7024
#define IDS_TIP_CANCEL_SETUP 0x7025
// The hot key and the names screen readers give the path boxes
#define IDS_HOTKEY_REFUSED 0x7030        // Settings: a key the system does not give
#define IDS_PATH1_NAME 0x7031
#define IDS_PATH2_NAME 0x7032
#define IDS_HOTKEY_TYPES_CHARACTER 0x7033 // Settings: a key the keyboard layout types with
// The Initial-setup dialog's note when another comparison program was found
#define IDS_FOUND_PROGRAM_NOTE 0x7050
// The hyperlink's messages (English in every language): the line that
// introduces them, the text for an unknown code, then one per known code
#define IDS_LINK_OPEN_FAILED 0x7100
#define IDS_LINK_UNKNOWN_ERROR 0x7101
#define IDS_LINK_ERROR_OOM 0x7102
#define IDS_LINK_ERROR_FNF 0x7103
#define IDS_LINK_ERROR_PNF 0x7104
#define IDS_LINK_ERROR_ACCESSDENIED 0x7105
#define IDS_LINK_ERROR_NOMEMORY 0x7106
#define IDS_LINK_ERROR_BADFORMAT 0x7107
#define IDS_LINK_ERROR_SHARE 0x7108
#define IDS_LINK_ERROR_ASSOCINCOMPLETE 0x7109
#define IDS_LINK_ERROR_DDETIMEOUT 0x710A
#define IDS_LINK_ERROR_DDEFAIL 0x710B
#define IDS_LINK_ERROR_DDEBUSY 0x710C
#define IDS_LINK_ERROR_NOASSOC 0x710D
#define IDS_LINK_ERROR_DLLNOTFOUND 0x710E
