#pragma once

class CLeftView;
class QMenu;
class QTreeWidgetItem;

// The tree's right-click entries for My Favorites: "Add to My Favorites" on a site of the
// catalog, "Edit…" and "Delete…" on a favorite. Each runs the command it is named after,
// as the favorites editor and Favorites > Add Current Page do; the tree follows the change,
// and a favorite added here is selected.
class FavoriteMenuEntries
{
public:
    // Adds the entries that fit item; none for the root and the folders.
    static void AddTo(QMenu& menu, CLeftView& view, const QTreeWidgetItem* item);
};
