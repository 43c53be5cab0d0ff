#pragma once

#include "platform/Profile.h"

#include <QString>

// The section that holds every setting of the program.
inline const QString kSettingsSection = QStringLiteral("Settings_en");

namespace SettingsKeys {
// Show command at start-up: 3 maximized, 5 shown as created.
inline constexpr IntSetting WindowSize{"WindowSize", 5};
// 1 XP, 2 Mini, 3 Soft, 4 Night; anything else: no skin.
inline constexpr IntSetting SkinStyle{"SkinStyle", 2};
// 1 by area, 2 by content.
inline constexpr IntSetting CataView{"CataView", 1};
// 1 blank, 2 the default home page, 3 IndexPageURL.
inline constexpr IntSetting IndexPage{"IndexPage", 2};
inline constexpr StringSetting IndexPageURL{"IndexPageURL", ""};

// The window's restored place and size, kept on every move and resize; WindowSize still
// decides whether it starts maximized. A width of 0: nothing kept yet, the default place.
inline constexpr IntSetting WindowLeft{"WindowLeft", 0};
inline constexpr IntSetting WindowTop{"WindowTop", 0};
inline constexpr IntSetting WindowWidth{"WindowWidth", 0};
inline constexpr IntSetting WindowHeight{"WindowHeight", 0};
// The catalog pane's width in pixels.
inline constexpr IntSetting TreeWidth{"TreeWidth", 250};
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
