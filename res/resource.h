// Resource identifiers: dialog templates, bitmaps, icon, cursor, menu and control ids.
#pragma once

// dialog templates
#define IDD_MAIN 102
#define IDD_INFO 155
#define IDD_HIFI 176
#define IDD_HP 192
#define IDD_ADVANCE 196

// icon, cursor and menu
#define IDI_APP 151
#define IDC_HAND_POINTER 153
#define IDR_TRAY_MENU 175

// tray menu commands
#define ID_TRAY_SHOW 32774
#define ID_TRAY_EXIT 32775
#define ID_LANG_SIMPLIFIED 32780
#define ID_LANG_TRADITIONAL 32781
#define ID_LANG_ENGLISH 32782
