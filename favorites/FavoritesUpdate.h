// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FavoriteRecord.h"

#include <QList>
#include <QStringList>

// What the favorites file holds after it changed: everything a list that shows the
// favorites needs to follow, so that none of them reads the file again.
struct FavoritesUpdate
{
    enum class Origin
    {
        // A change made through this store.
        ThisCopy,
        // The file was changed by another copy of the program, or any other program.
        Elsewhere
    };

    Origin origin = Origin::ThisCopy;
    // Every favorite, in file order.
    QList<FavoriteRecord> records;
    // Every folder as its path of titles, in file order (empty ones too).
    QList<QStringList> folders;
    // For each folder, how many favorites come before it in the file: with the two lists
    // above it gives back the order of favorites and folders side by side.
    QList<qsizetype> folderPlaces;
};
