// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// The store's folder changes.
#include "CFavoritesChange.h"
#include "CFavoritesStore.h"

#include <QCollator>

#include <algorithm>

using Code = FavoritesResult::Code;
using Child = CFavoritesChange::Child;

namespace {
// How many levels of folders the folder at position holds below itself.
int HeightBelow(const QList<Child>& children, long position)
{
    const QStringList path = children.at(position).path();
    int height = 0;
    for (qsizetype i = position + 1; i < children.size(); ++i) {
        const Child& child = children.at(i);
        if (child.record.folder.size() < path.size() ||
            child.record.folder.first(path.size()) != path)
            break;
        if (child.isFolder())
            height = std::max(height, int(child.record.folder.size() - path.size()) + 1);
    }
    return height;
}

bool StartsWith(const QStringList& path, const QStringList& prefix)
{
    return path.size() >= prefix.size() && path.first(prefix.size()) == prefix;
}
} // namespace

FavoritesResult CFavoritesStore::AddTo(const QStringList& folder, const QString& title,
                                       const QString& url)
{
    const QString strTitle = TrimBlanks(title);
    const QString strURL = TrimBlanks(url);
    if (strTitle.isEmpty() || strURL.isEmpty())
        return FavoritesResult::Of(Code::Blank);
    const FavoritesResult result = Modify([&](CFavoritesChange& change) {
        if (change.Find(strTitle, strURL) >= 0)
            return Code::Duplicate;
        if (!folder.isEmpty() && change.FindFolder(folder) < 0)
            return Code::Gone;
        change.AppendTo(folder, strTitle, strURL);
        return Code::Done;
    });
    if (result.succeeded())
        m_lastFolder = folder;
    return result;
}

FavoritesResult CFavoritesStore::CreateFolder(const QStringList& parent, const QString& title)
{
    const QString strTitle = TrimBlanks(title);
    if (strTitle.isEmpty())
        return FavoritesResult::Of(Code::Blank);
    if (parent.size() >= CFavoritesChange::kMaxFolderDepth)
        return FavoritesResult::Of(Code::TooDeep);
    return Modify([&](CFavoritesChange& change) {
        if (!parent.isEmpty() && change.FindFolder(parent) < 0)
            return Code::Gone;
        if (change.FindFolder(parent + QStringList{strTitle}) >= 0)
            return Code::FolderTaken;
        change.AddFolder(parent, strTitle);
        return Code::Done;
    });
}

FavoritesResult CFavoritesStore::RenameFolder(const QStringList& path, const QString& title)
{
    const QString strTitle = TrimBlanks(title);
    if (strTitle.isEmpty())
        return FavoritesResult::Of(Code::Blank);
    return Modify([&](CFavoritesChange& change) {
        const long position = change.FindFolder(path);
        if (position < 0)
            return Code::Gone;
        if (strTitle == path.constLast())
            return Code::Unchanged;
        if (change.FindFolder(path.first(path.size() - 1) + QStringList{strTitle}) >= 0)
            return Code::FolderTaken;
        change.RenameFolder(position, strTitle);
        return Code::Done;
    });
}

FavoritesResult CFavoritesStore::DeleteFolder(const QStringList& path)
{
    return Modify([&](CFavoritesChange& change) {
        const long position = change.FindFolder(path);
        if (position < 0)
            return Code::Gone;
        change.Remove(position);
        return Code::Done;
    });
}

FavoritesResult CFavoritesStore::MoveRecords(const QList<FavoriteRef>& refs,
                                             const QStringList& folder)
{
    return Modify([&](CFavoritesChange& change) {
        if (!folder.isEmpty() && change.FindFolder(folder) < 0)
            return Code::Gone;
        const QList<Child> children = change.Children();
        QList<long> found = change.LocateAll(refs);
        found.removeAll(-1);
        if (found.isEmpty())
            return Code::Gone;
        QList<long> moving;
        for (const long position : std::as_const(found)) {
            if (children.at(position).record.folder != folder)
                moving.append(position);
        }
        if (moving.isEmpty())
            return Code::Unchanged;
        // They arrive in the order the file had them.
        std::sort(moving.begin(), moving.end());
        change.MoveAll(moving, folder);
        return Code::Done;
    });
}

FavoritesResult CFavoritesStore::MoveFolder(const QStringList& path, const QStringList& parent)
{
    if (path.isEmpty())
        return FavoritesResult::Of(Code::Gone);
    if (StartsWith(parent, path))
        return FavoritesResult::Of(Code::IntoItself);
    return Modify([&](CFavoritesChange& change) {
        const long position = change.FindFolder(path);
        if (position < 0 || (!parent.isEmpty() && change.FindFolder(parent) < 0))
            return Code::Gone;
        if (path.first(path.size() - 1) == parent)
            return Code::Unchanged;
        if (change.FindFolder(parent + QStringList{path.constLast()}) >= 0)
            return Code::FolderTaken;
        if (parent.size() + 1 + HeightBelow(change.Children(), position) >
            CFavoritesChange::kMaxFolderDepth)
            return Code::TooDeep;
        change.MoveAll({position}, parent);
        return Code::Done;
    });
}

FavoritesResult CFavoritesStore::SortFolder(const QStringList& path)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return Modify([&](CFavoritesChange& change) {
        if (!path.isEmpty() && change.FindFolder(path) < 0)
            return Code::Gone;
        const bool sorted = change.SortFolder(path, [&](const Child& a, const Child& b) {
            if (a.isFolder() != b.isFolder())
                return a.isFolder();
            return collator.compare(a.record.title, b.record.title) < 0;
        });
        return sorted ? Code::Done : Code::Unchanged;
    });
}
