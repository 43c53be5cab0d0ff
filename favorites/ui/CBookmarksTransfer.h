// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/CFavoritesStore.h"

#include <QString>

// Favorites > Import Bookmarks and Export Bookmarks once the user has chosen the file: the
// work, and the message that says what happened.
class CBookmarksTransfer
{
public:
    // Adds the new web links of a browser's bookmarks file in one change and shows the
    // summary. False, after a message, when the file was refused or could not be added.
    static bool Import(CFavoritesStore& store, const QString& path);
    // Writes every favorite, in file order, as a bookmarks file. False after a message
    // when there was nothing to export or it could not be written.
    static bool Export(const CFavoritesStore& store, const QString& path);

    // "42 added, 3 already in My Favorites, 2 skipped: not web addresses"
    [[nodiscard]] static QString Summary(const CFavoritesStore::ImportSummary& summary);
};
