// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CXmlDocument.h"
#include "FavoriteRecord.h"
#include "FavoriteRef.h"
#include "FavoritesResult.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The loaded Favorites.xml that one locked change of the store works on. Positions count
// the element children of the Favorites root, whatever their names, as add and delete
// compare against all of them, and those of every Folder, in document order: a folder
// comes just before what it holds.
class CFavoritesChange
{
public:
    // Folders nest this deep at most; one deeper is left in the file as it is, unread.
    static constexpr int kMaxFolderDepth = 16;
    static inline const QString kFavorite = QStringLiteral("Favorite");

    // One element as the reading rule sees it. A Folder's record holds its title; the
    // record's folder is where the element sits.
    struct Child
    {
        QString name;
        FavoriteRecord record;
        bool operator==(const Child&) const = default;

        [[nodiscard]] bool isFolder() const { return name == QLatin1String("Folder"); }
        [[nodiscard]] bool isFavorite() const { return name == QLatin1String("Favorite"); }
        // A folder's own path: where it sits and its title.
        [[nodiscard]] QStringList path() const { return record.folder + QStringList{record.title}; }
    };

    CFavoritesChange(CXmlDocument document, CXmlNode root);

    // Every element in file order; the Favorite elements among them are the records
    // ReadAll returns.
    [[nodiscard]] QList<Child> Children() const;
    // The position of the first element holding exactly this pair (folders aside), or -1.
    [[nodiscard]] long Find(const QString& title, const QString& url) const;
    // The position of the folder with this path, or -1; the path of My Favorites itself
    // (empty) has none.
    [[nodiscard]] long FindFolder(const QStringList& path) const;
    // The positions of the favorites refs name, in their order: a ref's own place when it
    // still holds the same pair there, else the first element holding the pair that no
    // earlier ref took; -1 for one that is no longer there.
    [[nodiscard]] QList<long> LocateAll(const QList<FavoriteRef>& refs) const;

    // A new Favorite (title, then url) as the last child of My Favorites.
    void Append(const QString& title, const QString& url);
    // The same as the last child of the folder at this path (empty: My Favorites), which
    // must exist.
    void AppendTo(const QStringList& folder, const QString& title, const QString& url);
    // A new, empty folder as the last child of the folder at parent.
    void AddFolder(const QStringList& parent, const QString& title);
    // A new Favorite in place of the element at position, which keeps its place.
    void Replace(long position, const QString& title, const QString& url);
    // The folder at position takes this title; what it holds stays.
    void RenameFolder(long position, const QString& title);
    // The elements at these positions (as they are before the call; a folder with all it
    // holds) become, in order, the last children of the folder at this path.
    void MoveAll(const QList<long>& positions, const QStringList& folder);
    // Appends each record as a Favorite to the folder of its path, making the folders that
    // are not there yet, then makes the folders listed that are still missing; a path
    // deeper than folders nest is cut at the deepest.
    void AppendAll(const QList<FavoriteRecord>& records, const QList<QStringList>& folders = {});
    // Puts what the folder at path holds in the order of less; false when it was in that
    // order already.
    bool SortFolder(const QStringList& path,
                    const std::function<bool(const Child&, const Child&)>& less);
    // Two folders of the same title side by side, written so by hand, show as one folder and
    // every change by path finds the first: each later one gives everything it holds (in
    // order, comments too) to the first and goes, down to folders nested in them. Returns
    // the paths of the folders joined, once each.
    QList<QStringList> JoinTwinFolders();
    void Remove(long position);
    // Removes the elements at all these positions (as they are before the call).
    void RemoveAll(const QList<long>& positions);

    // For changes the operations above do not cover.
    [[nodiscard]] CXmlDocument& Document()
    {
        m_children.reset();
        return m_document;
    }
    [[nodiscard]] CXmlNode& Root()
    {
        m_children.reset();
        return m_root;
    }

    // The elements of a document, or an empty list without a Favorites root.
    [[nodiscard]] static QList<Child> ChildrenOf(const CXmlDocument& document);
    // The record the reading rule takes from one element: the last title and url win.
    [[nodiscard]] static FavoriteRecord ReadRecord(const CXmlNode& node);
    [[nodiscard]] static CXmlNode FindRoot(const CXmlDocument& document);
    // The Favorite records and the folders' paths among children, in order.
    [[nodiscard]] static QList<FavoriteRecord> RecordsOf(const QList<Child>& children);
    [[nodiscard]] static QList<QStringList> FoldersOf(const QList<Child>& children);
    // For each folder among children, how many favorites come before it there.
    [[nodiscard]] static QList<qsizetype> FolderPlacesOf(const QList<Child>& children);
    // Appends what the folder element holds, as Children lists it, to children.
    static void ReadFolder(const CXmlNode& folder, const QStringList& path, QList<Child>& children);
    // Loads bytes into document and appends the favorites of the list (those at the top of
    // the root, then those of each top-level folder, in file order) to records, every
    // folder's path to folders and its place among the favorites to places: NodeFailure
    // when the element at position failAt (counting the top's favorites and folders)
    // cannot be fetched, with what came before; nothing when the bytes do not parse or
    // hold no list. Each favorite and folder of the top is read as soon as it is parsed
    // and leaves the tree then, so the document keeps only the rest.
    static FavoritesResult::Code LoadTopLevel(CXmlDocument& document, const QByteArray& bytes,
                                              const QString& name, long failAt,
                                              QList<FavoriteRecord>& records,
                                              QList<QStringList>& folders,
                                              QList<qsizetype>& places);

private:
    struct Entry
    {
        CXmlNode node;
        CXmlNode parent;
    };
    [[nodiscard]] QList<Entry> Entries() const;
    [[nodiscard]] CXmlNode NewFavorite(const QString& title, const QString& url);
    [[nodiscard]] Entry EntryAt(long position) const;
    [[nodiscard]] CXmlNode FolderNode(const QStringList& path) const;
    // Moves node into its parent's place of old, which leaves the tree.
    void PutInPlaceOf(const Entry& old, const CXmlNode& node);

    CXmlDocument m_document;
    CXmlNode m_root;
    // The children as the operations above left them, once read: an import of thousands
    // of records need not read them all back from the tree to know what it intends.
    mutable std::optional<QList<Child>> m_children;
};
