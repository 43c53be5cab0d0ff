// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// The folders of My Favorites in the tree: built, laid out, remembered expanded, and
// filled by drag and drop.
#include "CLeftView.h"

#include "CatalogTreeItem.h"
#include "LinkMarkDelegate.h"
#include "UnreadCountMark.h"
#include "app/SettingsKeys.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/ui/FavoritesMessages.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

// A folder is also drawn with its unread sum and may be marked; each needs a role of its own.
static_assert(CLeftView::kFolderRole != UnreadCountMark::kRole &&
              CLeftView::kFolderRole != LinkMarkDelegate::kMovedRole);

bool CLeftView::IsFolder(const QTreeWidgetItem* item) const
{
    return item && item->data(0, kFolderRole).isValid();
}

bool CLeftView::IsFavorite(const QTreeWidgetItem* item) const
{
    if (!item)
        return false;
    const int index = item->data(0, kIndexRole).toInt();
    return index > 0 && !catalogEntryAt(index) && !IsFolder(item);
}

QStringList CLeftView::FolderPath(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, kFolderRole).toStringList() : QStringList();
}

QTreeWidgetItem* CLeftView::FolderItem(const QStringList& path) const
{
    return path.isEmpty() ? m_pFavoritesNode : m_folderItems.value(path);
}

QList<QStringList> CLeftView::FolderPaths() const
{
    QList<QStringList> paths = m_folderItems.keys();
    std::sort(paths.begin(), paths.end(), [this](const QStringList& a, const QStringList& b) {
        for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
            if (const int order = m_collator.compare(a.at(i), b.at(i)); order != 0)
                return order < 0;
        }
        return a.size() < b.size();
    });
    return paths;
}

QList<FavoriteRef> CLeftView::FavoritesUnder(const QTreeWidgetItem* folder) const
{
    QList<FavoriteRef> refs;
    const QStringList path = FolderPath(folder);
    for (qsizetype i = 0; i < m_favoriteItems.size(); ++i) {
        const QTreeWidgetItem* item = m_favoriteItems.at(i);
        const QStringList in = FolderPath(item->parent());
        if (in.size() >= path.size() && in.first(path.size()) == path)
            refs.append({long(i), {item->text(0), urlOf(item), in}});
    }
    return refs;
}

QTreeWidgetItem* CLeftView::EnsureFolder(const QStringList& path)
{
    if (path.isEmpty())
        return m_pFavoritesNode;
    if (QTreeWidgetItem* known = m_folderItems.value(path))
        return known;
    (void)EnsureFolder(path.first(path.size() - 1));
    auto* item = new CatalogTreeItem(path.constLast());
    item->setData(0, kFolderRole, path);
    m_folderItems.insert(path, item);
    return item;
}

void CLeftView::PlaceFolders()
{
    QHash<QTreeWidgetItem*, QList<QTreeWidgetItem*>> byParent;
    for (auto it = m_folderItems.cbegin(); it != m_folderItems.cend(); ++it) {
        if (!it.value()->parent())
            byParent[FolderItem(it.key().first(it.key().size() - 1))].append(it.value());
    }
    for (auto it = byParent.begin(); it != byParent.end(); ++it) {
        std::sort(it->begin(), it->end(),
                  [this](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                      return m_collator.compare(a->text(0), b->text(0)) < 0;
                  });
        QTreeWidgetItem* parent = it.key();
        if (parent->childCount() == 0 || !IsFolder(parent->child(0))) {
            parent->insertChildren(0, *it);
            continue;
        }
        // Among folders already there, each goes to its place by name.
        for (QTreeWidgetItem* folder : std::as_const(*it)) {
            int at = 0;
            while (at < parent->childCount() && IsFolder(parent->child(at)) &&
                   m_collator.compare(parent->child(at)->text(0), folder->text(0)) < 0)
                ++at;
            parent->insertChild(at, folder);
        }
    }
}

void CLeftView::ArrangeInFolders(const QList<QTreeWidgetItem*>& items,
                                 const QList<FavoriteRecord>& records,
                                 const QList<QStringList>& folders)
{
    m_bArranging = true;
    // Everything comes off, folders and favorites, and goes back where it belongs now.
    (void)m_pFavoritesNode->takeChildren();
    for (QTreeWidgetItem* folder : std::as_const(m_folderItems))
        folder->takeChildren();
    QSet<QStringList> wanted(folders.cbegin(), folders.cend());
    for (const FavoriteRecord& record : records) {
        for (qsizetype depth = 1; depth <= record.folder.size(); ++depth)
            wanted.insert(record.folder.first(depth));
    }
    for (auto it = m_folderItems.begin(); it != m_folderItems.end();) {
        if (wanted.contains(it.key())) {
            ++it;
            continue;
        }
        delete it.value();
        it = m_folderItems.erase(it);
    }
    for (const QStringList& path : std::as_const(wanted))
        (void)EnsureFolder(path);

    QHash<QTreeWidgetItem*, QList<QTreeWidgetItem*>> favoritesOf;
    QHash<const QTreeWidgetItem*, qsizetype> ordinal;
    for (qsizetype i = 0; i < items.size(); ++i) {
        favoritesOf[FolderItem(records.at(i).folder)].append(items.at(i));
        ordinal.insert(items.at(i), i);
    }
    for (auto it = favoritesOf.begin(); it != favoritesOf.end(); ++it) {
        std::stable_sort(it->begin(), it->end(),
                         [&](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                             const int names = m_collator.compare(a->text(0), b->text(0));
                             return names != 0 ? names < 0 : ordinal.value(a) < ordinal.value(b);
                         });
        if (it.key() != m_pFavoritesNode)
            it.key()->addChildren(*it);
    }
    PlaceFolders();
    // My Favorites' own favorites last, in one go.
    m_pFavoritesNode->addChildren(favoritesOf.value(m_pFavoritesNode));
    RestoreExpansion();
    m_bArranging = false;
}

void CLeftView::RestoreExpansion()
{
    const bool arranging = m_bArranging;
    m_bArranging = true;
    for (auto it = m_folderItems.cbegin(); it != m_folderItems.cend(); ++it) {
        if (it.value()->treeWidget())
            it.value()->setExpanded(m_expandedFolders.contains(it.key()));
    }
    m_bArranging = arranging;
}

void CLeftView::RememberExpansion(QTreeWidgetItem* item, bool expanded)
{
    if (m_bArranging || !IsFolder(item))
        return;
    const QStringList path = FolderPath(item);
    if (expanded == m_expandedFolders.contains(path))
        return;
    if (expanded)
        m_expandedFolders.insert(path);
    else
        m_expandedFolders.remove(path);
    m_keepExpansion.start();
}

CLeftView::~CLeftView()
{
    if (m_keepExpansion.isActive())
        KeepExpansion();
}

void CLeftView::KeepExpansion()
{
    m_keepExpansion.stop();
    QJsonArray paths;
    for (const QStringList& folder : std::as_const(m_expandedFolders))
        paths.append(QJsonArray::fromStringList(folder));
    m_profile.Write(kSettingsSection, SettingsKeys::ExpandedFavoriteFolders,
                    QString::fromUtf8(QJsonDocument(paths).toJson(QJsonDocument::Compact)));
}

bool CLeftView::CanDropOn(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target) const
{
    if (!dragged || !target || !(IsFavorite(dragged) || IsFolder(dragged)))
        return false;
    const QTreeWidgetItem* into = IsFolder(target) || IsFavoritesNode(target) ? target
                                  : IsFavorite(target)                        ? target->parent()
                                                                              : nullptr;
    if (!into || into == dragged->parent())
        return false;
    // A folder never goes into itself or a folder it holds.
    for (const QTreeWidgetItem* above = into; above; above = above->parent()) {
        if (above == dragged)
            return false;
    }
    return true;
}

bool CLeftView::DropOn(QTreeWidgetItem* dragged, QTreeWidgetItem* target)
{
    if (!CanDropOn(dragged, target))
        return false;
    const QTreeWidgetItem* into = IsFavorite(target) ? target->parent() : target;
    const QStringList path = FolderPath(into);
    if (IsFolder(dragged))
        return FavoritesMessages::Tell(m_favorites.MoveFolder(FolderPath(dragged), path));
    const FavoriteRef ref{FavoriteOrdinal(dragged),
                          {dragged->text(0), urlOf(dragged), FolderPath(dragged->parent())}};
    return FavoritesMessages::Tell(m_favorites.MoveRecords({ref}, path));
}

void CLeftView::startDrag(Qt::DropActions supportedActions)
{
    // Only favorites and folders move, and only within My Favorites.
    QTreeWidgetItem* item = currentItem();
    if (!IsFavorite(item) && !IsFolder(item))
        return;
    m_pDragged = item;
    QTreeWidget::startDrag(supportedActions);
    m_pDragged = nullptr;
}

void CLeftView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->source() != this || !m_pDragged) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void CLeftView::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidget::dragMoveEvent(event);
    if (event->source() == this && CanDropOn(m_pDragged, itemAt(event->position().toPoint())))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CLeftView::dropEvent(QDropEvent* event)
{
    QTreeWidgetItem* dragged = m_pDragged;
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    // The tree follows the file: nothing is moved here but through the store.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (event->source() == this)
        (void)DropOn(dragged, target);
}
