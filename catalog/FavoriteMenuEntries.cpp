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
    // Entries act once the menu has closed, on what it was opened for.
    if (view.catalogEntryAt(index)) {
        menu.addAction(QStringLiteral("Add to My &Favorites"), &menu,
                       [name, url] { CFavoriteCommands::Add(name, url); });
        return;
    }
    // Favorites come first in the tree's table, in file order.
    const FavoriteRef ref{index - 1, {name, url}};
    menu.addAction(QStringLiteral("&Edit\u2026"), &menu, [ref] { CFavoriteCommands::Edit(ref); });
    menu.addAction(QStringLiteral("&Delete\u2026"), &menu,
                   [ref] { CFavoriteCommands::Delete({ref}); });
}
