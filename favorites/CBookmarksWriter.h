#pragma once

#include "FavoriteRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes favorites as a bookmark HTML file that web browsers import: the document type and
// charset line every browser writes, then one folder holding every favorite in order.
class CBookmarksWriter
{
public:
    [[nodiscard]] static QByteArray Format(const QList<FavoriteRecord>& records,
                                           const QString& folderName);
    // Replaces the file at path at once, never leaving half a file; throws xml::_com_error.
    static void Write(const QString& path, const QList<FavoriteRecord>& records,
                      const QString& folderName);
};
