#pragma once

#include "FavoriteRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Reads the bookmark HTML files that web browsers export (Firefox, Chromium, Edge, Safari
// and their elders): nested <DL>/<DT> folders, <H3> folder names, <A HREF> links with any
// other attributes, separators, in whatever charset the file declares. Folders are not
// kept; links come out in file order.
class CBookmarksReader
{
public:
    struct Result
    {
        // The http and https links: the text of the link as title, HREF as address.
        QList<FavoriteRecord> links;
        // Links to anything else (javascript:, place:, file:, ftp: ...).
        int notWeb = 0;
    };

    // False with the reason, as the end of a sentence, when the file cannot be read or is
    // not a bookmarks file.
    static bool ReadFile(const QString& path, Result& result, QString& error);
    static bool Parse(const QByteArray& bytes, Result& result, QString& error);
};
