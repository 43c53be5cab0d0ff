#pragma once

class CLeftView;
class QMenu;
class QTreeWidgetItem;

// The tree's right-click entries for My Favorites: "Add to My Favorites" on a site of the
// catalog, "Edit…" and "Delete…" on a favorite. Each runs the command it is named after,
// as the favorites editor and Favorites > Add Current Page do; like them, it leaves the
// tree as it is until its next build.
class FavoriteMenuEntries
{
public:
    // Adds the entries that fit item; none for the root and the folders.
    static void AddTo(QMenu& menu, const CLeftView& view, const QTreeWidgetItem* item);
};
