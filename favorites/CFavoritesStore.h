// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "BackupReason.h"
#include "CFavoritesChange.h"
#include "FavoriteRecord.h"
#include "FavoriteRef.h"
#include "FavoritesResult.h"
#include "FavoritesUpdate.h"
#include "FavoritesWatch.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// The only code that touches Favorites.xml, given the file's path. Every operation loads
// the whole file afresh, every change runs under a lock that other copies of the program
// respect, and each reports what it came to as a value: the store shows nothing to the user.
// After every change it emits favoritesChanged with the list as the file now holds it; once
// asked to watch, it does the same when another program changes the file.
class CFavoritesStore : public QObject
{
    Q_OBJECT

public:
    enum Operation
    {
        Add = 1,
        Delete = 3
    };

    // A change function works on the loaded file and says what came of it: Done saves the
    // file, Unchanged leaves it as it was and counts as success, any other code refuses.
    using ChangeFunction = std::function<FavoritesResult::Code(CFavoritesChange& change)>;

    // When a change copies the file into the automatic backups before replacing it.
    enum class BackupFirst
    {
        // Before the first change this store makes to the file.
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

    explicit CFavoritesStore(QString path, QObject* parent = nullptr);
    ~CFavoritesStore() override;

    // The text without the leading and trailing blanks (space, tab, CR, LF, VT, FF) that
    // every value stored by a change loses.
    [[nodiscard]] static QString TrimBlanks(const QString& text);

    [[nodiscard]] QString GetFavoritesPath() const { return m_strPath; }
    // The records in file order. NoParser (and no records) when no XML document could be
    // created, NodeFailure (with the records before it) when a record could not be fetched;
    // a missing or unreadable file is Done with no records.
    FavoritesResult ReadAll(QList<FavoriteRecord>& records) const;
    // The same, with every folder's path in file order and, when asked, each folder's place
    // among the favorites (see FavoritesUpdate::folderPlaces).
    FavoritesResult ReadAll(QList<FavoriteRecord>& records, QList<QStringList>& folders,
                            QList<qsizetype>* folderPlaces = nullptr) const;
    // The list as this store last read it or told its listeners of it; read now when it
    // has not read the file yet. What starts from the list the window shows need not read
    // a long list again.
    [[nodiscard]] FavoritesUpdate Known() const;
    // Adds (1) or deletes (3) the trimmed pair. Blank when a value is empty after trimming,
    // Duplicate for an add of a stored pair, Gone for a delete of a pair no longer stored.
    FavoritesResult Update(int nOperation, const QString& title, const QString& url);
    // Copies Favorites.xml to Favorites.xml.bk beside it. The backup is complete or not
    // there at all: a failed copy leaves an earlier backup as it was.
    FavoritesResult Backup();

    // Replaces the favorite ref names with the trimmed pair, in its place: Gone when it is no
    // longer in the file, Taken when another favorite already holds the pair, Unchanged when
    // it holds it already.
    FavoritesResult Edit(const FavoriteRef& ref, const QString& title, const QString& url);
    // Deletes every favorite listed in one change; those no longer in the file are passed
    // over. Gone when none of them is there any more.
    FavoritesResult DeleteRecords(const QList<FavoriteRef>& refs);
    // Points the favorite with this name and address at a new address, in its place: Gone
    // when it is no longer there, Taken when one with the name already has the new address.
    FavoritesResult ChangeAddress(const QString& title, const QString& url, const QString& newUrl);
    // Appends, in order, every link whose address no favorite has, each into the folder of
    // its path (made when there is none of that path yet); links that are not web
    // addresses are counted only; the folders listed are made too, when not there.
    // Unchanged when nothing was new. The backup made first names sourceName.
    FavoritesResult Import(const QList<FavoriteRecord>& links, int notWeb, ImportSummary& summary,
                           const QString& sourceName = {}, const QList<QStringList>& folders = {});
    // Replaces Favorites.xml with the bytes of a backup that holds a favorites list, after
    // backing up the current file. The backup may stand in for a missing Favorites.xml.
    FavoritesResult Restore(const QString& backupPath);
    // The records in file order, or Failed (NoParser) with the reason when the file cannot be
    // read or holds no favorites list.
    // children, when given, receives every element (folders among them) in file order.
    FavoritesResult ReadChecked(QList<FavoriteRecord>& records,
                                QList<CFavoritesChange::Child>* children = nullptr) const;

    // Folders. A path names a folder by the titles from the top of My Favorites down; the
    // empty path is My Favorites itself. Two folders side by side never share a title.
    // Each change reports Gone when a folder it names is no longer there.

    // Adds the trimmed pair as the last favorite of the folder: Blank and Duplicate as
    // Update, the same pair anywhere in the file being a duplicate.
    FavoritesResult AddTo(const QStringList& folder, const QString& title, const QString& url);
    // The folder AddTo last added a favorite to in this run; empty before the first.
    [[nodiscard]] QStringList LastFolderAddedTo() const { return m_lastFolder; }
    // A new, empty folder as the last child of parent: Blank for an empty title,
    // FolderTaken when parent holds one of that title, TooDeep beyond the deepest nesting.
    FavoritesResult CreateFolder(const QStringList& parent, const QString& title);
    FavoritesResult RenameFolder(const QStringList& path, const QString& title);
    // Deletes the folder with everything it holds.
    FavoritesResult DeleteFolder(const QStringList& path);
    // Moves the favorites to the end of the folder, in one change: Gone when none of them
    // is there any more, Unchanged when all of them were there already.
    FavoritesResult MoveRecords(const QList<FavoriteRef>& refs, const QStringList& folder);
    // Moves the folder with what it holds to the end of parent: IntoItself for a parent
    // inside it, FolderTaken, TooDeep.
    FavoritesResult MoveFolder(const QStringList& path, const QStringList& parent);
    // Orders what the folder holds by name, folders first, in the file.
    FavoritesResult SortFolder(const QStringList& path);

    // The folder of the automatic backups and the copy Favorites > Backup makes.
    [[nodiscard]] QString AutomaticBackupFolder() const;
    [[nodiscard]] QString ManualBackupPath() const;

    // One read-modify-write of Favorites.xml under the lock: loads the file, lets change
    // work on it and, when it says Done, saves it, but only once the bytes to be written read
    // back with exactly the children the change left, and once the file as it was is in the
    // automatic backups (see BackupFirst), noted as made for reason (by default, the first
    // change of the session). When the file could not be locked, read or written, or no
    // document could be created, the file is as before.
    FavoritesResult Modify(const ChangeFunction& change,
                           BackupFirst backup = BackupFirst::FirstChangeOfRun,
                           const BackupReason& reason = {});

    // Removes what an interrupted save or backup left behind; run at start-up.
    void RemoveLeftovers();

    // From now on, a change that another program makes to the file is reported too, a
    // moment after it happened.
    void Watch();

signals:
    void favoritesChanged(const FavoritesUpdate& update);

private:
    // Tells the listeners, when the records differ from those they were told of last.
    void Announce(FavoritesUpdate::Origin origin, const QList<CFavoritesChange::Child>& children);
    // The list a change left, and the file it wrote, are what the listeners know now.
    void ChangedHere(const QList<CFavoritesChange::Child>& children);
    void OnFileSettled();
    [[nodiscard]] QString BackupPath() const;

    QString m_strPath;
    bool m_bBackedUpThisRun = false;
    QStringList m_lastFolder;
    // What the listeners were told of last, and the file it was read from.
    mutable std::optional<FavoritesUpdate> m_known;
    mutable std::optional<FavoritesWatch::Identity> m_knownIdentity;
    FavoritesWatch m_watch;
};
