// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/Profile.h"

#include <QString>

// The section that holds every setting of the program.
inline const QString kSettingsSection = QStringLiteral("Settings_en");

// The modes the settings keep, as the numbers they are stored as.
// The show command at start-up; any other show command number is applied as it is.
enum class StartShow
{
    Maximized = 3,
    AsCreated = 5
};
// Any other number: no skin.
enum class Skin
{
    XP = 1,
    Mini = 2,
    Soft = 3,
    Night = 4
};
// Any other number: by area.
enum class CatalogView
{
    ByArea = 1,
    ByContent = 2
};
// What the home page is; any other number: blank.
enum class HomePage
{
    Blank = 1,
    Default = 2,
    // The address kept in IndexPageURL.
    Stored = 3
};

namespace SettingsKeys {
inline constexpr ModeSetting<StartShow> WindowSize{"WindowSize", StartShow::AsCreated};
inline constexpr ModeSetting<Skin> SkinStyle{"SkinStyle", Skin::Mini};
inline constexpr ModeSetting<CatalogView> CataView{"CataView", CatalogView::ByArea};
inline constexpr ModeSetting<HomePage> IndexPage{"IndexPage", HomePage::Default};
inline constexpr StringSetting IndexPageURL{"IndexPageURL", ""};

// The window's restored place and size, kept on every move and resize; WindowSize still
// decides whether it starts maximized. A width of 0: nothing kept yet, the default place.
inline constexpr IntSetting WindowLeft{"WindowLeft", 0};
inline constexpr IntSetting WindowTop{"WindowTop", 0};
inline constexpr IntSetting WindowWidth{"WindowWidth", 0};
inline constexpr IntSetting WindowHeight{"WindowHeight", 0};
// The catalog pane's width in pixels.
inline constexpr IntSetting TreeWidth{"TreeWidth", 250};
// The folders of My Favorites the user left expanded: a JSON array of their paths.
inline constexpr StringSetting ExpandedFavoriteFolders{"ExpandedFavoriteFolders", "[]"};
// The headline list above the page: 1 shown (off at the first start), and its height in
// pixels.
inline constexpr IntSetting HeadlinesShown{"HeadlinesShown", 0};
inline constexpr IntSetting HeadlinesHeight{"HeadlinesHeight", 200};
// Minutes between two refreshes of the headlines in the background.
inline constexpr IntSetting HeadlinesRefreshMinutes{"HeadlinesRefreshMinutes", 30};
} // namespace SettingsKeys

// The browser pane's zoom per site: one value a site, keyed by its host, in percent.
inline const QString kSiteZoomSection = QStringLiteral("SiteZoom");
inline constexpr int kDefaultZoomPercent = 100;

// Where the settings live: the registry key of the original program, mapped onto QSettings.
inline const QString kRegistryKey = QStringLiteral("Local AppWizard-Generated Applications");
