#pragma once

#include "FavoriteRecord.h"
#include "FavoriteRef.h"

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

    // When a change copies the file into the automatic backups before replacing it.
    enum class BackupFirst
    {
        // Before the first change this run makes to the file.
        FirstChangeOfRun,
        // Before this change too: it replaces much at once (an import).
        Always
    };

    // What an import did: links added, links whose address is a favorite already (or came
    // earlier in the same file), links that are not web addresses.
    struct ImportSummary
    {
        int added = 0;
        int alreadyThere = 0;
        int notWeb = 0;
    };

    // The text without the leading and trailing blanks (space, tab, CR, LF, VT, FF) that
    // every value stored by a change loses.
    [[nodiscard]] static QString TrimBlanks(const QString& text);

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

    // Replaces the favorite ref names with the trimmed pair, in its place. False when a
    // value is empty after trimming, and after a message when another favorite already
    // holds the pair, the favorite is no longer in the file or the file could not be changed.
    static bool Edit(const FavoriteRef& ref, const QString& title, const QString& url);
    // Deletes every favorite listed in one change. Those no longer in the file are passed
    // over. False after a message when the file could not be changed.
    static bool DeleteRecords(const QList<FavoriteRef>& refs);
    // Appends, in order, every link whose address no favorite has; links that are not web
    // addresses are counted only. False after a message when the file could not be changed.
    static bool Import(const QList<FavoriteRecord>& links, int notWeb, ImportSummary& summary);
    // Replaces Favorites.xml with the bytes of a backup that holds a favorites list, after
    // backing up the current file. False after a message when it could not. The backup
    // may stand in for a missing Favorites.xml.
    static bool Restore(const QString& backupPath);
    // The records in file order, or false with the reason when the file cannot be read or
    // holds no favorites list.
    static bool ReadChecked(QList<FavoriteRecord>& records, QString& error);

    // The folder of the automatic backups and the copy Favorites > Backup makes.
    [[nodiscard]] static QString AutomaticBackupFolder();
    [[nodiscard]] static QString ManualBackupPath();

    // One read-modify-write of Favorites.xml under the lock: loads the file, lets change
    // work on it and, when it asks to, saves it, but only once the bytes to be written read
    // back with exactly the children the change left, and once the file as it was is in the
    // automatic backups (see BackupFirst). True when the file was saved. False
    // when change discarded its work, and after a message when the file could not be
    // locked, read or written, or no document could be created; the file is then as before.
    static bool Modify(const ChangeFunction& change,
                       BackupFirst backup = BackupFirst::FirstChangeOfRun);

    // Removes what an interrupted save or backup left behind; run at start-up.
    static void RemoveLeftovers();
};
