// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>
#include <QStringList>

// One favorite as the store hands it out: the texts exactly as the file holds them, and the
// folders it sits in.
struct FavoriteRecord
{
    QString title;
    QString url;
    // The titles of the folders holding it, outermost first; empty at the top of My
    // Favorites.
    QStringList folder = {};

    bool operator==(const FavoriteRecord&) const = default;
};
