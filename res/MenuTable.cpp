// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "MenuTable.h"

#include "Resource.h"

namespace {
// One entry a line, in table order.
// clang-format off
constexpr MenuEntry kSeparator{nullptr, ID_SEPARATOR};

constexpr MenuEntry kFile[] = {
    {"&Minimize\tCtrl+M", ID_FILE_MINIMIZE},
    kSeparator,
    {"E&xit", ID_APP_EXIT},
};
constexpr MenuEntry kBrowse[] = {
    {"&Home\tCtrl+H", ID_BROWSE_HOME},
    kSeparator,
    {"&Back\tCtrl+B", ID_BROWSE_BACK},
    {"&Forword\tCtrl+F", ID_BROWSE_FORWORD},
    {"&Open in Your Browser", ID_BROWSE_OPEN_EXTERNAL},
    {"F&ind in Page…\tF3", ID_BROWSE_FIND},
    {"&Copy Page Address", ID_BROWSE_COPY_ADDRESS},
};
constexpr MenuEntry kFavorites[] = {
    {"Modify", ID_FAVORITES_MODIFY},
    {"Backup", ID_FAVORITES_BACKUP},
    {"Add Current Page\tCtrl+D", ID_FAVORITES_ADD_CURRENT},
    {"Import Bookmarks…", ID_FAVORITES_IMPORT},
    {"Export Bookmarks…", ID_FAVORITES_EXPORT},
    {"Restore…", ID_FAVORITES_RESTORE},
};
constexpr MenuEntry kHomePage[] = {
    {"Go to", ID_HOMEPAGE_GOTO},
    kSeparator,
    {"Use Blank", ID_HOMEPAGE_BLANK},
    {"Use Default", ID_HOMEPAGE_DEFAULT},
    {"Use Current", ID_HOMEPAGE_CURRENT},
};
constexpr MenuEntry kSkin[] = {
    {"&XP\tCtrl+X", ID_SKIN_XP},
    {"&Mini\tCtrl+M", ID_SKIN_MINI},
    {"&Soft\tCtrl+S", ID_SKIN_SOFT},
    {"&Night", ID_SKIN_NIGHT},
};
constexpr MenuEntry kView[] = {
    {"Status", ID_VIEW_STATUS_BAR},
    {"Toolbar", ID_VIEW_TOOLBAR},
    {"&Headlines\tF9", ID_VIEW_HEADLINES},
    {"&Refresh Headlines", ID_VIEW_REFRESH_HEADLINES},
    {"&Mark All Headlines Read", ID_VIEW_MARK_HEADLINES_READ},
};
constexpr MenuEntry kCatalog[] = {
    {"&Content\tCtrl+C", ID_CATALOG_CONTENT},
    {"&Area\tCtrl+A", ID_CATALOG_AREA},
    {"Check &Links…", ID_CATALOG_CHECK_LINKS},
    {"Link &Report", ID_CATALOG_LINK_REPORT},
    {"&Find\tCtrl+K", ID_CATALOG_FIND},
};
constexpr MenuEntry kHelp[] = {
    {"Content and Index", ID_HELP_CONTENT},
    {"Product Homepage", ID_HELP_PRODUCT},
    {"&About...", ID_APP_ABOUT},
};

constexpr MenuDefinition kMainMenu[] = {
    {"&File", kFile},
    {"&Browse", kBrowse},
    {"Favorites", kFavorites},
    {"HomePage", kHomePage},
    {"&Skin", kSkin},
    {"&View", kView},
    {"&Catalog", kCatalog},
    {"&Help", kHelp},
};
// clang-format on
} // namespace

std::span<const MenuDefinition> MenuTable::MainMenu()
{
    return kMainMenu;
}
