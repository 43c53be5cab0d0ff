#pragma once

#include "FavoriteRecord.h"

#include <QList>
#include <QString>

#include <functional>

class CFavoritesChange;

// The only code that touches Favorites.xml. It keeps nothing between calls: every
// operation loads the whole file afresh, and every change runs under a lock that other
// copies of the program respect.
class CFavoritesStore
{
public:
    enum Operation
    {
        Add = 1,
        Delete = 3
    };

    // What a change function asks Modify to do with the document it changed.
    enum class Decision
    {
        Save,
        // Nothing is written; the function has shown why, when there is a why.
        Discard
    };
    using ChangeFunction = std::function<Decision(CFavoritesChange& change)>;

    // g_strAppDir followed by "/Favorites.xml".
    [[nodiscard]] static QString GetFavoritesPath();
    // The records in file order. False only when no XML document could be created.
    static bool ReadAll(QList<FavoriteRecord>& records);
    // Adds (1) or deletes (3) the trimmed pair. False when a value is empty after trimming,
    // no document could be created, an add is a duplicate, or the file could not be
    // changed; each case but the first has shown its message.
    static bool Update(int nOperation, const QString& title, const QString& url);
    // Copies Favorites.xml to Favorites.xml.bk in the current directory. The backup is
    // complete or not there at all: a failed copy leaves an earlier backup as it was.
    static void Backup();

    // One read-modify-write of Favorites.xml under the lock: loads the file, lets change
    // work on it and, when it asks to, saves it, but only once the bytes to be written read
    // back with exactly the children the change left. True when the file was saved. False
    // when change discarded its work, and after a message when the file could not be
    // locked, read or written, or no document could be created; the file is then as before.
    static bool Modify(const ChangeFunction& change);

    // Removes what an interrupted save or backup left behind; run at start-up.
    static void RemoveLeftovers();
};
