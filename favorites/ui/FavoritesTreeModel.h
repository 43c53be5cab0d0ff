// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/FavoriteRef.h"
#include "favorites/FavoritesUpdate.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QStringList>

#include <vector>

// My Favorites as the editor shows it: folders holding their favorites and folders, each in
// its place in the file. A favorite's row is numbered by its place among all favorites.
class FavoritesTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column
    {
        Number,
        Name,
        Address,
        ColumnCount
    };

    explicit FavoritesTreeModel(QObject* parent = nullptr);

    // Shows what the file holds now; folderPlaces may be empty (folders then come first).
    void Reset(const FavoritesUpdate& update);

    [[nodiscard]] QModelIndex index(int row, int column,
                                    const QModelIndex& parent = {}) const override;
    [[nodiscard]] QModelIndex parent(const QModelIndex& child) const override;
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    [[nodiscard]] bool isFolder(const QModelIndex& index) const;
    // The favorite on the row, with its place among the records.
    [[nodiscard]] FavoriteRef refAt(const QModelIndex& index) const;
    // The favorite's name or the folder's.
    [[nodiscard]] const QString& titleAt(const QModelIndex& index) const;
    // The folder on the row as its path; empty for a favorite.
    [[nodiscard]] QStringList folderAt(const QModelIndex& index) const;
    // How many favorites the folder on the row holds, at any depth.
    [[nodiscard]] int favoritesIn(const QModelIndex& index) const;
    // Where the row stands in the file among favorites and folders alike.
    [[nodiscard]] qsizetype fileOrderAt(const QModelIndex& index) const;

    [[nodiscard]] QModelIndex indexOfFolder(const QStringList& path) const;
    [[nodiscard]] QModelIndex indexOfRecord(qsizetype ordinal) const;
    [[nodiscard]] QModelIndex indexAtFileOrder(qsizetype fileOrder) const;
    [[nodiscard]] const QList<FavoriteRecord>& records() const { return m_update.records; }

    // For each node, whether its own texts hold text (case aside): a favorite's name or
    // address, a folder's name. Indexed by node(), the root first.
    [[nodiscard]] std::vector<char> Matching(const QString& text) const;
    // Counts the resets: what was worked out from the rows before is stale once it moved.
    [[nodiscard]] quint64 generation() const { return m_generation; }
    // The node behind a row of this model.
    [[nodiscard]] static int node(const QModelIndex& index)
    {
        return index.isValid() ? int(index.internalId()) : 0;
    }

private:
    struct Node
    {
        int parent = -1;
        int row = 0;
        // Index into the records for a favorite, -1 for a folder (and the root).
        qsizetype record = -1;
        // Index into the folders for a folder.
        qsizetype folder = -1;
        qsizetype fileOrder = 0;
        int favorites = 0;
        std::vector<int> children;
    };

    [[nodiscard]] QModelIndex indexOfNode(int id) const;
    int AddNode(int parent, qsizetype record, qsizetype folder);
    void IndexTexts();

    FavoritesUpdate m_update;
    std::vector<Node> m_nodes;
    std::vector<int> m_recordNodes;
    QHash<QStringList, int> m_folderNodes;
    // Every node's texts, case folded, one after another (each ends with a nul), and where
    // each node's start: one fast search over it all finds the matching rows.
    QString m_searchText;
    std::vector<qsizetype> m_searchStarts;
    QIcon m_folderIcon;
    quint64 m_generation = 0;
};
