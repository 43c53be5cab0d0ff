// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// My Favorites following the favorites file without a rebuild of the tree.
#include "CLeftView.h"
#include "CatalogTreeItem.h"

#include "favorites/FavoriteMatch.h"

#include <QHash>
#include <QScrollBar>

#include <algorithm>
#include <vector>

namespace {
// More changed favorites than this and the branch is laid out again in one go.
constexpr qsizetype kMovesOneByOne = 64;
} // namespace

QTreeWidgetItem* CLeftView::FavoriteItem(const FavoriteRecord& record) const
{
    for (auto it = m_favoriteItems.crbegin(); it != m_favoriteItems.crend(); ++it) {
        if ((*it)->text(0) == record.title && urlOf(*it) == record.url)
            return *it;
    }
    return nullptr;
}

void CLeftView::RevealFavorite(const FavoriteRecord& record)
{
    QTreeWidgetItem* item = FavoriteItem(record);
    // One the filter hides is not chosen behind the user's back.
    if (!item || item->isHidden())
        return;
    m_bQuietSelection = true;
    setCurrentItem(item);
    m_bQuietSelection = false;
    scrollToItem(item);
}

int CLeftView::FavoriteOrdinal(const QTreeWidgetItem* item) const
{
    return int(m_favoriteItems.indexOf(item));
}

QList<FavoriteRecord> CLeftView::ShownFavorites() const
{
    QList<FavoriteRecord> records;
    records.reserve(m_favoriteItems.size());
    for (const QTreeWidgetItem* item : m_favoriteItems)
        records.append({item->text(0), urlOf(item), FolderPath(item->parent())});
    return records;
}

QTreeWidgetItem* CLeftView::CatalogRowAtTop() const
{
    QTreeWidgetItem* top = itemAt(QPoint(0, 0));
    if (!top || !top->parent())
        return nullptr;
    for (const QTreeWidgetItem* item = top; item; item = item->parent()) {
        if (item == m_pFavoritesNode)
            return nullptr;
    }
    return top;
}

void CLeftView::UpdateFavorites(const QList<FavoriteRecord>& records,
                                const QList<QStringList>& folders)
{
    if (!m_pFavoritesNode)
        return;
    const QList<FavoriteRecord> shown = ShownFavorites();
    const QList<qsizetype> continued = FavoriteMatch::continuations(shown, records);

    // What the user looks at stays where it is: the selection, and a catalog row at the top.
    QTreeWidgetItem* anchor = CatalogRowAtTop();
    const int anchorTop = anchor ? visualItemRect(anchor).top() : 0;
    QTreeWidgetItem* current = currentItem();
    const bool currentSelected = current && current->isSelected();
    m_bQuietSelection = true;

    std::vector<bool> stays(std::size_t(m_favoriteItems.size()), false);
    for (const qsizetype before : continued) {
        if (before >= 0)
            stays[std::size_t(before)] = true;
    }
    for (qsizetype i = 0; i < m_favoriteItems.size(); ++i) {
        if (stays[std::size_t(i)])
            continue;
        QTreeWidgetItem* gone = m_favoriteItems.at(i);
        if (gone == current)
            current = nullptr;
        // Its index leads nowhere any more.
        const int index = gone->data(0, kIndexRole).toInt();
        m_strURLTable[std::size_t(index)].clear();
        delete gone;
    }

    QList<QTreeWidgetItem*> items;
    QList<QTreeWidgetItem*> changed;
    items.reserve(records.size());
    for (qsizetype j = 0; j < records.size(); ++j) {
        const FavoriteRecord& record = records.at(j);
        QTreeWidgetItem* item = nullptr;
        if (continued.at(j) >= 0) {
            item = m_favoriteItems.at(continued.at(j));
            if (shown.at(continued.at(j)) != record) {
                item->setText(0, record.title);
                m_strURLTable[std::size_t(item->data(0, kIndexRole).toInt())] = record.url;
                changed.append(item);
            }
        } else {
            item = new CatalogTreeItem(record.title, TakeSlot(record.url));
            changed.append(item);
        }
        items.append(item);
    }
    m_rowWidths.resize(static_cast<std::size_t>(m_nNextIndex), -1);
    for (QTreeWidgetItem* item : std::as_const(changed))
        m_rowWidths[std::size_t(item->data(0, kIndexRole).toInt())] = -1;

    // Folders now or before: the branch is laid out anew, else only what changed moves.
    const bool inFolders = !folders.isEmpty() || !m_folderItems.isEmpty() ||
                           std::any_of(records.cbegin(), records.cend(),
                                       [](const FavoriteRecord& r) { return !r.folder.isEmpty(); });
    if (inFolders) {
        if (current && IsFolder(current))
            current = nullptr;
        const QStringList currentFolder = FolderPath(currentItem());
        ArrangeInFolders(items, records, folders);
        if (!currentFolder.isEmpty())
            current = FolderItem(currentFolder);
    } else {
        ArrangeFavorites(items, changed);
    }
    m_favoriteItems = items;

    if (current) {
        setCurrentItem(current, 0,
                       currentSelected ? QItemSelectionModel::ClearAndSelect
                                       : QItemSelectionModel::NoUpdate);
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
    m_bQuietSelection = false;
    if (anchor) {
        const int moved = visualItemRect(anchor).top() - anchorTop;
        const int step = verticalScrollMode() == QAbstractItemView::ScrollPerPixel
                             ? 1
                             : std::max(1, visualItemRect(anchor).height());
        verticalScrollBar()->setValue(verticalScrollBar()->value() + moved / step);
    }
    ScheduleColumnFit();
    emit favoritesUpdated(changed);
}

void CLeftView::ArrangeFavorites(const QList<QTreeWidgetItem*>& items,
                                 const QList<QTreeWidgetItem*>& changed)
{
    // The order of a rebuild: by name, favorites of the same name in file order.
    QHash<const QTreeWidgetItem*, qsizetype> ordinal;
    ordinal.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        ordinal.insert(items.at(i), i);
    const auto before = [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        const int names = m_collator.compare(a->text(0), b->text(0));
        return names != 0 ? names < 0 : ordinal.value(a) < ordinal.value(b);
    };
    QTreeWidgetItem* node = m_pFavoritesNode;

    // Few changes: the others stay where they are, and those changed are put in place.
    bool inPlace = changed.size() <= kMovesOneByOne;
    if (inPlace) {
        for (QTreeWidgetItem* item : changed) {
            if (item->parent() == node)
                node->takeChild(node->indexOfChild(item));
        }
        // Unless another program reordered the file: favorites of the same name must
        // still be in file order.
        for (int i = 1; inPlace && i < node->childCount(); ++i) {
            const QTreeWidgetItem* a = node->child(i - 1);
            const QTreeWidgetItem* b = node->child(i);
            inPlace = a->text(0).compare(b->text(0), Qt::CaseInsensitive) != 0 ||
                      ordinal.value(a) < ordinal.value(b);
        }
    }
    if (!inPlace) {
        QList<QTreeWidgetItem*> order = items;
        std::stable_sort(order.begin(), order.end(), before);
        node->takeChildren();
        node->addChildren(order);
        return;
    }
    for (QTreeWidgetItem* item : changed) {
        int low = 0;
        int high = node->childCount();
        while (low < high) {
            const int middle = (low + high) / 2;
            if (before(item, node->child(middle)))
                high = middle;
            else
                low = middle + 1;
        }
        node->insertChild(low, item);
    }
}
