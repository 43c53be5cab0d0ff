// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FavoriteRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Reads the bookmark HTML files that web browsers export (Firefox, Chromium, Edge, Safari
// and their elders): nested <DL>/<DT> folders, <H3> folder names, <A HREF> links with any
// other attributes, separators, in whatever charset the file declares. Links come out in
// file order, each with the path of the folders holding it.
class CBookmarksReader
{
public:
    struct Result
    {
        // The http and https links: the text of the link as title, HREF as address, the
        // folders' names (<H3>) as folder; a list under a heading other than the generic
        // "Bookmarks" (Firefox's "Bookmarks Menu") is a folder too.
        QList<FavoriteRecord> links;
        // Every folder, empty ones too, as its path, in file order.
        QList<QStringList> folders;
        // Links to anything else (javascript:, place:, file:, ftp: ...).
        int notWeb = 0;
    };

    // False with the reason, as the end of a sentence, when the file cannot be read or is
    // not a bookmarks file.
    static bool ReadFile(const QString& path, Result& result, QString& error);
    static bool Parse(const QByteArray& bytes, Result& result, QString& error);
};
