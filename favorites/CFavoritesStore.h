#pragma once

#include "FavoriteRecord.h"

#include <QList>
#include <QString>

// The only code that touches Favorites.xml. It keeps nothing between calls: every
// operation loads the whole file afresh.
class CFavoritesStore
{
public:
    enum Operation
    {
        Add = 1,
        Delete = 3
    };

    // g_strAppDir followed by "/Favorites.xml".
    [[nodiscard]] static QString GetFavoritesPath();
    // The records in file order. False only when no XML document could be created.
    static bool ReadAll(QList<FavoriteRecord>& records);
    // Adds (1) or deletes (3) the trimmed pair. False when a value is empty after trimming,
    // no document could be created, an add is a duplicate, or the file could not be
    // changed; each case but the first has shown its message.
    static bool Update(int nOperation, const QString& title, const QString& url);
    // Copies Favorites.xml to Favorites.xml.bk in the current directory.
    static void Backup();
};
