// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CFavoritesChange.h"
#include "FavoriteRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes favorites as a bookmark HTML file that web browsers import: the document type and
// charset line every browser writes, then one folder holding every favorite and folder in
// order, folders nested as in My Favorites.
class CBookmarksWriter
{
public:
    // The elements of the favorites file in file order (as CFavoritesChange lists them).
    [[nodiscard]] static QByteArray Format(const QList<CFavoritesChange::Child>& children,
                                           const QString& folderName);
    // Records alone: their folders are written as they first come.
    [[nodiscard]] static QByteArray Format(const QList<FavoriteRecord>& records,
                                           const QString& folderName);
    // Replaces the file at path at once, never leaving half a file; throws xml::_com_error.
    static void Write(const QString& path, const QList<CFavoritesChange::Child>& children,
                      const QString& folderName);
};
