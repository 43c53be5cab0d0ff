// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

// Resource and command ids. The numbers are those of the stored resources and of the
// framework's standard commands, so they stay fixed.

// Resources
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_EDIT_MY_FAVORITE = 131;
inline constexpr int IDD_ADD_MODIFY_FAVORITE = 132;

// Dialog controls
inline constexpr int IDC_DELETE = 3;
inline constexpr int IDC_FAVORITE_LIST = 1003;
inline constexpr int IDC_FAVORITE_NAME = 1004;
inline constexpr int IDC_FAVORITE_URL = 1005;
inline constexpr int IDC_EDIT_FAVORITE = 1006;
inline constexpr int IDC_FAVORITE_FOLDER = 1007;
inline constexpr int IDC_FAVORITE_SEARCH = 1008;
inline constexpr int IDC_NEW_FOLDER = 1009;
inline constexpr int IDC_MOVE_FAVORITES = 1010;

// Commands of this program
inline constexpr int ID_FILE_MINIMIZE = 32771;
inline constexpr int ID_BROWSE_HOME = 32772;
inline constexpr int ID_BROWSE_BACK = 32773;
inline constexpr int ID_BROWSE_FORWORD = 32774;
inline constexpr int ID_CATALOG_CONTENT = 32775;
inline constexpr int ID_CATALOG_AREA = 32776;
inline constexpr int ID_SKIN_XP = 32777;
inline constexpr int ID_SKIN_MINI = 32778;
inline constexpr int ID_SKIN_SOFT = 32779;
inline constexpr int ID_HELP_CONTENT = 32780;
inline constexpr int ID_HELP_PRODUCT = 32782;
inline constexpr int ID_FAVORITES_MODIFY = 32783;
inline constexpr int ID_FAVORITES_BACKUP = 32784;
inline constexpr int ID_HOMEPAGE_GOTO = 32785;
inline constexpr int ID_HOMEPAGE_BLANK = 32786;
inline constexpr int ID_HOMEPAGE_DEFAULT = 32787;
inline constexpr int ID_HOMEPAGE_CURRENT = 32788;

// Commands added since: each menu's new entries come after its old ones.
inline constexpr int ID_FAVORITES_ADD_CURRENT = 32789;
inline constexpr int ID_FAVORITES_IMPORT = 32790;
inline constexpr int ID_FAVORITES_EXPORT = 32791;
inline constexpr int ID_FAVORITES_RESTORE = 32792;
inline constexpr int ID_BROWSE_OPEN_EXTERNAL = 32793;
inline constexpr int ID_CATALOG_CHECK_LINKS = 32794;
inline constexpr int ID_CATALOG_LINK_REPORT = 32795;
inline constexpr int ID_CATALOG_FIND = 32796;
inline constexpr int ID_BROWSE_RELOAD = 32797;
inline constexpr int ID_BROWSE_ZOOM_IN = 32798;
inline constexpr int ID_BROWSE_ZOOM_OUT = 32799;
inline constexpr int ID_BROWSE_ZOOM_RESET = 32800;
inline constexpr int ID_BROWSE_FIND = 32801;
inline constexpr int ID_BROWSE_COPY_ADDRESS = 32802;
// Kept apart from the numbers the other menus' new entries take.
inline constexpr int ID_SKIN_NIGHT = 32820;
inline constexpr int ID_VIEW_HEADLINES = 32830;
inline constexpr int ID_VIEW_REFRESH_HEADLINES = 32831;
inline constexpr int ID_VIEW_MARK_HEADLINES_READ = 32832;

// Framework commands
inline constexpr int ID_SEPARATOR = 0;
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int AFX_IDW_STATUS_BAR = 59393;

// Strings
inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr int IDS_DISPLAY_NAME = 61450;
