#pragma once

#include "BackupReason.h"
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

class CFavoritesChange;

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
    // Appends, in order, every link whose address no favorite has; links that are not web
    // addresses are counted only. Unchanged when nothing was new. The backup made first
    // names sourceName.
    FavoritesResult Import(const QList<FavoriteRecord>& links, int notWeb, ImportSummary& summary,
                           const QString& sourceName = {});
    // Replaces Favorites.xml with the bytes of a backup that holds a favorites list, after
    // backing up the current file. The backup may stand in for a missing Favorites.xml.
    FavoritesResult Restore(const QString& backupPath);
    // The records in file order, or Failed (NoParser) with the reason when the file cannot be
    // read or holds no favorites list.
    FavoritesResult ReadChecked(QList<FavoriteRecord>& records) const;

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
    void Announce(FavoritesUpdate::Origin origin, QList<FavoriteRecord> records);
    // The list a change left, and the file it wrote, are what the listeners know now.
    void ChangedHere(const QList<FavoriteRecord>& records);
    void OnFileSettled();
    [[nodiscard]] QString BackupPath() const;

    QString m_strPath;
    bool m_bBackedUpThisRun = false;
    // What the listeners were told of last, and the file it was read from.
    mutable std::optional<QList<FavoriteRecord>> m_known;
    mutable std::optional<FavoritesWatch::Identity> m_knownIdentity;
    FavoritesWatch m_watch;
};
