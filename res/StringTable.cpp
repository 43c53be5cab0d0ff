// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "StringTable.h"

#include "Resource.h"

#include <QHash>

namespace {
const QHash<int, QString>& table()
{
    static const QHash<int, QString> strings{
        {IDR_MAINFRAME,
         QStringLiteral("KestrinRadio\n\nKestrinNe\n\n\nKestrinNe.Document\nKestrinNe "
                        "Document")},
        {AFX_IDS_APP_TITLE, QStringLiteral("KestrinNewsReader")},
        {AFX_IDS_IDLEMESSAGE, QStringLiteral("Ready")},
        {IDS_DISPLAY_NAME, QStringLiteral("Kestrin News Reader")},
        {ID_INDICATOR_CAPS, QStringLiteral("CAP")},
        {ID_INDICATOR_NUM, QStringLiteral("NUM")},
        {ID_INDICATOR_SCRL, QStringLiteral("SCRL")},
        {ID_FILE_MINIMIZE, QStringLiteral("Minimize the window")},
        {ID_BROWSE_HOME, QStringLiteral("Go to Homepage")},
        {ID_BROWSE_BACK, QStringLiteral("Browse back page")},
        {ID_BROWSE_FORWORD, QStringLiteral("Browse forword page")},
        {ID_BROWSE_OPEN_EXTERNAL, QStringLiteral("Open the page on show in your own web browser")},
        {ID_BROWSE_FIND, QStringLiteral("Find a word or phrase in the page on show")},
        {ID_BROWSE_COPY_ADDRESS,
         QStringLiteral("Copy the web address of the page on show to the clipboard")},
        {ID_FAVORITES_MODIFY, QStringLiteral("Backup before modify it")},
        {ID_FAVORITES_ADD_CURRENT, QStringLiteral("Add the page on show to My Favorites")},
        {ID_FAVORITES_IMPORT,
         QStringLiteral("Add the sites of a web browser's bookmarks file to My Favorites")},
        {ID_FAVORITES_EXPORT,
         QStringLiteral("Save My Favorites as a bookmarks file for a web browser")},
        {ID_FAVORITES_RESTORE, QStringLiteral("Bring back an earlier state of My Favorites")},
        {ID_SKIN_XP, QStringLiteral("Set skin as XP style")},
        {ID_SKIN_MINI, QStringLiteral("Set skin as mini style")},
        {ID_SKIN_SOFT, QStringLiteral("Set skin as soft style")},
        {ID_SKIN_NIGHT, QStringLiteral("Set skin as night style")},
        {ID_VIEW_STATUS_BAR, QStringLiteral("Show or hide status bar")},
        {ID_VIEW_HEADLINES, QStringLiteral("Show or hide the newest headlines of your papers")},
        {ID_VIEW_REFRESH_HEADLINES, QStringLiteral("Fetch the newest headlines now")},
        {ID_VIEW_MARK_HEADLINES_READ, QStringLiteral("Mark every headline listed as read")},
        {ID_VIEW_TOOLBAR, QStringLiteral("Show or hide toolbar")},
        {ID_CATALOG_CONTENT, QStringLiteral("Catalog by content")},
        {ID_CATALOG_AREA, QStringLiteral("Catalog by area")},
        {ID_CATALOG_FIND, QStringLiteral("Find a newspaper by its name, town, state, kind or "
                                         "web address")},
        {ID_CATALOG_CHECK_LINKS,
         QStringLiteral("Check every catalog site and favorite for dead or moved addresses")},
        {ID_CATALOG_LINK_REPORT,
         QStringLiteral("List the dead, moved and unsure sites the last link check found")},
        {ID_HELP_CONTENT, QStringLiteral("Show help content")},
        {ID_HELP_PRODUCT, QStringLiteral("Show help product")},
        {ID_APP_EXIT, QStringLiteral("Quit the application; prompts to save documents\nExit")},
        {ID_APP_ABOUT,
         QStringLiteral("Display program information, version number and copyright\nAbout")},
    };
    return strings;
}
} // namespace

QString StringTable::Load(int id)
{
    return table().value(id);
}

QString StringTable::Prompt(int id)
{
    return Load(id).section(QLatin1Char('\n'), 0, 0);
}
