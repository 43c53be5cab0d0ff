// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesTreeModel.h"

#include <QApplication>
#include <QStringMatcher>
#include <QStyle>

#include <algorithm>

namespace {
constexpr const char* kHeadings[] = {"No.", "Newspaper's Name", "Newspaper's URL"};

QString CountText(int favorites)
{
    return favorites == 1 ? QStringLiteral("1 favorite")
                          : QStringLiteral("%1 favorites").arg(favorites);
}
} // namespace

FavoritesTreeModel::FavoritesTreeModel(QObject* parent)
    : QAbstractItemModel(parent), m_nodes(1),
      m_folderIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon))
{}

int FavoritesTreeModel::AddNode(int parent, qsizetype record, qsizetype folder)
{
    const int id = int(m_nodes.size());
    Node node;
    node.parent = parent;
    node.row = int(m_nodes[std::size_t(parent)].children.size());
    node.record = record;
    node.folder = folder;
    node.fileOrder = qsizetype(m_nodes.size()) - 1;
    m_nodes.push_back(std::move(node));
    m_nodes[std::size_t(parent)].children.push_back(id);
    return id;
}

void FavoritesTreeModel::Reset(const FavoritesUpdate& update)
{
    beginResetModel();
    ++m_generation;
    m_update = update;
    m_nodes.assign(1, Node{});
    m_nodes.reserve(std::size_t(update.records.size() + update.folders.size() + 1));
    m_recordNodes.assign(std::size_t(update.records.size()), 0);
    m_folderNodes.clear();
    m_folderNodes.reserve(update.folders.size());

    const QList<FavoriteRecord>& records = m_update.records;
    const QList<QStringList>& folders = m_update.folders;
    const bool placed = m_update.folderPlaces.size() == folders.size();
    // A folder whose parent is not listed (never in a file the store wrote) sits at the top.
    const auto nodeOfFolder = [this](const QStringList& path) {
        return path.isEmpty() ? 0 : m_folderNodes.value(path, 0);
    };
    qsizetype nextFolder = 0;
    const auto addFoldersUpTo = [&](qsizetype favoritesBefore) {
        for (; nextFolder < folders.size(); ++nextFolder) {
            if (placed && m_update.folderPlaces.at(nextFolder) > favoritesBefore)
                return;
            const QStringList& path = folders.at(nextFolder);
            const int parent = nodeOfFolder(path.first(path.size() - 1));
            m_folderNodes.insert(path, AddNode(parent, -1, nextFolder));
        }
    };
    // Favorites of one folder mostly come one after another: its node is looked up once.
    const QStringList* lastPath = nullptr;
    int lastNode = 0;
    for (qsizetype i = 0; i < records.size(); ++i) {
        addFoldersUpTo(i);
        const QStringList& path = records.at(i).folder;
        if (!lastPath || *lastPath != path) {
            lastNode = nodeOfFolder(path);
            lastPath = &path;
        }
        const int id = AddNode(lastNode, i, -1);
        m_recordNodes[std::size_t(i)] = id;
        for (int up = lastNode; up > 0; up = m_nodes[std::size_t(up)].parent)
            ++m_nodes[std::size_t(up)].favorites;
    }
    addFoldersUpTo(records.size());
    IndexTexts();
    endResetModel();
}

void FavoritesTreeModel::IndexTexts()
{
    m_searchText.clear();
    m_searchStarts.assign(1, 0);
    const QChar end(0);
    for (std::size_t id = 1; id < m_nodes.size(); ++id) {
        m_searchStarts.push_back(m_searchText.size());
        const Node& indexed = m_nodes[id];
        if (indexed.record >= 0) {
            const FavoriteRecord& record = m_update.records.at(indexed.record);
            m_searchText += record.title.toCaseFolded();
            m_searchText += end;
            m_searchText += record.url.toCaseFolded();
        } else {
            m_searchText += m_update.folders.at(indexed.folder).constLast().toCaseFolded();
        }
        m_searchText += end;
    }
    m_searchStarts.push_back(m_searchText.size());
}

QModelIndex FavoritesTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount)
        return {};
    const Node& holder = m_nodes[std::size_t(node(parent))];
    if (std::size_t(row) >= holder.children.size())
        return {};
    return createIndex(row, column, quintptr(holder.children[std::size_t(row)]));
}

QModelIndex FavoritesTreeModel::indexOfNode(int id) const
{
    if (id <= 0)
        return {};
    return createIndex(m_nodes[std::size_t(id)].row, 0, quintptr(id));
}

QModelIndex FavoritesTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return indexOfNode(m_nodes[std::size_t(node(child))].parent);
}

int FavoritesTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(m_nodes[std::size_t(node(parent))].children.size());
}

int FavoritesTreeModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant FavoritesTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node& shown = m_nodes[std::size_t(node(index))];
    if (shown.record >= 0) {
        const FavoriteRecord& record = m_update.records.at(shown.record);
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case Number:
            // At least six digits; a larger number is written in full.
            return QString::asprintf("%06lld", static_cast<long long>(shown.record + 1));
        case Name:
            return record.title;
        case Address:
            return record.url;
        default:
            return {};
        }
    }
    const QString& title = m_update.folders.at(shown.folder).constLast();
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == Name)
            return title;
        if (index.column() == Address)
            return CountText(shown.favorites);
        return {};
    case Qt::DecorationRole:
        return index.column() == Name ? QVariant(m_folderIcon) : QVariant();
    case Qt::AccessibleTextRole:
        if (index.column() == Name)
            return QStringLiteral("Folder %1").arg(title);
        if (index.column() == Address)
            return CountText(shown.favorites);
        return {};
    default:
        return {};
    }
}

QVariant FavoritesTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kHeadings[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags FavoritesTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!isFolder(index))
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

bool FavoritesTreeModel::isFolder(const QModelIndex& index) const
{
    return index.isValid() && m_nodes[std::size_t(node(index))].folder >= 0;
}

FavoriteRef FavoritesTreeModel::refAt(const QModelIndex& index) const
{
    const qsizetype record = index.isValid() ? m_nodes[std::size_t(node(index))].record : -1;
    if (record < 0)
        return {};
    return {long(record), m_update.records.at(record)};
}

const QString& FavoritesTreeModel::titleAt(const QModelIndex& index) const
{
    static const QString none;
    const Node& shown = m_nodes[std::size_t(node(index))];
    if (shown.record >= 0)
        return m_update.records.at(shown.record).title;
    return shown.folder >= 0 ? m_update.folders.at(shown.folder).constLast() : none;
}

QStringList FavoritesTreeModel::folderAt(const QModelIndex& index) const
{
    const qsizetype folder = index.isValid() ? m_nodes[std::size_t(node(index))].folder : -1;
    return folder < 0 ? QStringList() : m_update.folders.at(folder);
}

int FavoritesTreeModel::favoritesIn(const QModelIndex& index) const
{
    return m_nodes[std::size_t(node(index))].favorites;
}

qsizetype FavoritesTreeModel::fileOrderAt(const QModelIndex& index) const
{
    return m_nodes[std::size_t(node(index))].fileOrder;
}

QModelIndex FavoritesTreeModel::indexOfFolder(const QStringList& path) const
{
    return indexOfNode(m_folderNodes.value(path, 0));
}

QModelIndex FavoritesTreeModel::indexOfRecord(qsizetype ordinal) const
{
    if (ordinal < 0 || ordinal >= qsizetype(m_recordNodes.size()))
        return {};
    return indexOfNode(m_recordNodes[std::size_t(ordinal)]);
}

QModelIndex FavoritesTreeModel::indexAtFileOrder(qsizetype fileOrder) const
{
    // Nodes are made in file order, after the root.
    if (fileOrder < 0 || fileOrder + 1 >= qsizetype(m_nodes.size()))
        return {};
    return indexOfNode(int(fileOrder + 1));
}

std::vector<char> FavoritesTreeModel::Matching(const QString& text) const
{
    std::vector<char> matching(m_nodes.size(), 0);
    const QStringMatcher matcher(text.toCaseFolded());
    qsizetype at = matcher.indexIn(m_searchText, 0);
    while (at >= 0) {
        // The node whose texts hold the match; the search goes on after them.
        const auto next = std::upper_bound(m_searchStarts.begin() + 1, m_searchStarts.end(), at);
        const auto id = std::size_t(next - m_searchStarts.begin()) - 1;
        matching[id] = 1;
        at = next == m_searchStarts.end() ? -1 : matcher.indexIn(m_searchText, *next);
    }
    return matching;
}
