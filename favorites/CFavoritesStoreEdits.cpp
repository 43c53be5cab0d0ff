// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// The store's changes beyond add and delete: edit in place, delete several, new address,
// import.
#include "CFavoritesChange.h"
#include "CFavoritesStore.h"

#include <QSet>

using Code = FavoritesResult::Code;

FavoritesResult CFavoritesStore::Edit(const FavoriteRef& ref, const QString& title,
                                      const QString& url)
{
    const QString strTitle = TrimBlanks(title);
    const QString strURL = TrimBlanks(url);
    if (strTitle.isEmpty() || strURL.isEmpty())
        return FavoritesResult::Of(Code::Blank);

    return Modify([&](CFavoritesChange& change) {
        const long position = change.LocateAll({ref}).constFirst();
        if (position < 0)
            return Code::Gone;
        const long holder = change.Find(strTitle, strURL);
        if (holder == position)
            return Code::Unchanged;
        if (holder >= 0)
            return Code::Taken;
        change.Replace(position, strTitle, strURL);
        return Code::Done;
    });
}

FavoritesResult CFavoritesStore::DeleteRecords(const QList<FavoriteRef>& refs)
{
    return Modify([&](CFavoritesChange& change) {
        QList<long> positions = change.LocateAll(refs);
        positions.removeAll(-1);
        if (positions.isEmpty())
            return Code::Gone;
        change.RemoveAll(positions);
        return Code::Done;
    });
}

FavoritesResult CFavoritesStore::ChangeAddress(const QString& title, const QString& url,
                                               const QString& newUrl)
{
    return Modify([&](CFavoritesChange& change) {
        const long position = change.Find(title, url);
        if (position < 0)
            return Code::Gone;
        if (change.Find(title, newUrl) >= 0)
            return Code::Taken;
        // The favorite keeps its name and its place in the list.
        change.Replace(position, title, newUrl);
        return Code::Done;
    });
}

namespace {
// The folder path as it is stored: trimmed names, none empty.
QStringList StoredPath(const QStringList& names)
{
    QStringList folder;
    for (const QString& name : names) {
        // A folder without a name is known by where it is.
        const QString strName = CFavoritesStore::TrimBlanks(name);
        folder.append(strName.isEmpty() ? QStringLiteral("Unnamed") : strName);
    }
    return folder;
}
} // namespace

FavoritesResult CFavoritesStore::Import(const QList<FavoriteRecord>& links, int notWeb,
                                        ImportSummary& summary, const QString& sourceName,
                                        const QList<QStringList>& folders)
{
    summary = {0, 0, notWeb};
    const FavoritesResult result = Modify(
        [&](CFavoritesChange& change) {
            QSet<QString> known;
            for (const CFavoritesChange::Child& child : change.Children()) {
                if (child.isFavorite())
                    known.insert(child.record.url);
            }
            QList<FavoriteRecord> added;
            for (const FavoriteRecord& link : links) {
                const QString strURL = TrimBlanks(link.url);
                const QString strTitle = TrimBlanks(link.title);
                if (strURL.isEmpty()) {
                    ++summary.notWeb;
                    continue;
                }
                if (known.contains(strURL)) {
                    ++summary.alreadyThere;
                    continue;
                }
                known.insert(strURL);
                // A bookmark without a name is known by its address.
                added.append(
                    {strTitle.isEmpty() ? strURL : strTitle, strURL, StoredPath(link.folder)});
                ++summary.added;
            }
            QList<QStringList> made;
            for (const QStringList& folder : folders) {
                if (change.FindFolder(StoredPath(folder)) < 0)
                    made.append(StoredPath(folder));
            }
            change.AppendAll(added, made);
            return summary.added == 0 && made.isEmpty() ? Code::Unchanged : Code::Done;
        },
        BackupFirst::Always, BackupReason::Of(BackupReason::Kind::Import, sourceName));
    if (!result.succeeded())
        summary = {0, 0, notWeb};
    return result;
}
