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

// Strings
#define IDS_APP_TITLE 57344
