#include "FavoriteMenuEntries.h"

#include "CLeftView.h"
#include "favorites/ui/CFavoriteCommands.h"

#include <QMenu>
#include <QTreeWidgetItem>

void FavoriteMenuEntries::AddTo(QMenu& menu, const CLeftView& view, const QTreeWidgetItem* item)
{
    const int index = item ? item->data(0, CLeftView::kIndexRole).toInt() : 0;
    if (index <= 0 || item->childCount() > 0)
        return;
    const QString name = item->text(0);
    const QString url = view.urlAt(index);
    CFavoritesStore& store = view.favorites();
    // Entries act once the menu has closed, on what it was opened for.
    if (view.catalogEntryAt(index)) {
        menu.addAction(QStringLiteral("Add to My &Favorites"), &menu,
                       [&store, name, url] { CFavoriteCommands::Add(store, name, url); });
        return;
    }
    // Favorites come first in the tree's table, in file order.
    const FavoriteRef ref{index - 1, {name, url}};
    menu.addAction(QStringLiteral("&Edit\u2026"), &menu, [&store, ref] { CFavoriteCommands::Edit(store, ref); });
    menu.addAction(QStringLiteral("&Delete\u2026"), &menu,
                   [&store, ref] { CFavoriteCommands::Delete(store, {ref}); });
}
