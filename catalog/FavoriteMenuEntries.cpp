#include "FavoriteMenuEntries.h"

#include "CLeftView.h"
#include "favorites/ui/CFavoriteCommands.h"

#include <QMenu>
#include <QPointer>
#include <QTreeWidgetItem>

void FavoriteMenuEntries::AddTo(QMenu& menu, CLeftView& view, const QTreeWidgetItem* item)
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
                       [&store, tree = QPointer<CLeftView>(&view), name, url] {
                           FavoriteRecord added;
                           if (CFavoriteCommands::Add(store, name, url, &added) && tree)
                               tree->RevealFavorite(added);
                       });
        return;
    }
    const FavoriteRef ref{view.FavoriteOrdinal(item), {name, url}};
    menu.addAction(QStringLiteral("&Edit\u2026"), &menu,
                   [&store, ref] { CFavoriteCommands::Edit(store, ref); });
    menu.addAction(QStringLiteral("&Delete\u2026"), &menu,
                   [&store, ref] { CFavoriteCommands::Delete(store, {ref}); });
}
