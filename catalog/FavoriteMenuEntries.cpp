// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoriteMenuEntries.h"

#include "CLeftView.h"
#include "favorites/ui/CFavoriteCommands.h"
#include "favorites/ui/CFolderCommands.h"

#include <QMenu>
#include <QPointer>
#include <QTreeWidgetItem>

namespace {
void AddFolderEntries(QMenu& menu, CLeftView& view, const QTreeWidgetItem* item)
{
    CFavoritesStore& store = view.favorites();
    const QStringList path = view.FolderPath(item);
    QPointer<CLeftView> tree(&view);
    menu.addAction(QStringLiteral("New &Folder\u2026"), &menu,
                   [&store, path, tree] { CFolderCommands::NewFolder(store, path, tree); });
    if (path.isEmpty())
        return;
    menu.addAction(QStringLiteral("&Rename\u2026"), &menu,
                   [&store, path, tree] { CFolderCommands::Rename(store, path, tree); });
    const qsizetype count = view.FavoritesUnder(item).size();
    menu.addAction(QStringLiteral("&Delete\u2026"), &menu,
                   [&store, path, count] { CFolderCommands::Delete(store, path, count); });
    menu.addAction(QStringLiteral("Sort Folder by &Name"), &menu,
                   [&store, path] { CFolderCommands::SortByName(store, path); });
}
} // namespace

void FavoriteMenuEntries::AddTo(QMenu& menu, CLeftView& view, const QTreeWidgetItem* item)
{
    if (view.IsFolder(item) || view.IsFavoritesNode(item)) {
        AddFolderEntries(menu, view, item);
        return;
    }
    const int index = item ? item->data(0, CLeftView::kIndexRole).toInt() : 0;
    if (index <= 0 || item->childCount() > 0)
        return;
    const QString name = item->text(0);
    const QString url = view.urlAt(index);
    CFavoritesStore& store = view.favorites();
    // Entries act once the menu has closed, on what it was opened for.
    if (view.catalogEntryAt(index)) {
        menu.addAction(QStringLiteral("Add to My &Favorites"), &menu,
                       [&store, tree = QPointer<CLeftView>(&view), name, url] {
                           FavoriteRecord added;
                           if (CFavoriteCommands::Add(store, name, url, &added) && tree)
                               tree->RevealFavorite(added);
                       });
        return;
    }
    const FavoriteRef ref{view.FavoriteOrdinal(item), {name, url, view.FolderPath(item->parent())}};
    menu.addAction(QStringLiteral("&Edit\u2026"), &menu,
                   [&store, ref] { CFavoriteCommands::Edit(store, ref); });
    menu.addAction(QStringLiteral("&Delete\u2026"), &menu,
                   [&store, ref] { CFavoriteCommands::Delete(store, {ref}); });
    menu.addAction(QStringLiteral("&Move to Folder\u2026"), &menu,
                   [&store, ref, tree = QPointer<CLeftView>(&view)] {
                       CFolderCommands::MoveTo(store, {ref}, tree);
                   });
}
