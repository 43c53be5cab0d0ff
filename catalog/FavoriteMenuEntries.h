// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

class CLeftView;
class QMenu;
class QTreeWidgetItem;

// The tree's right-click entries for My Favorites: "Add to My Favorites" on a site of the
// catalog, "Edit…", "Delete…" and "Move to Folder…" on a favorite; "New Folder…" on My
// Favorites and its folders, with "Rename…", "Delete…" and "Sort Folder by Name" on a
// folder. Each runs the command it is named after,
// as the favorites editor and Favorites > Add Current Page do; the tree follows the change,
// and a favorite added here is selected.
class FavoriteMenuEntries
{
public:
    // Adds the entries that fit item; none for the root and the catalog's nodes.
    static void AddTo(QMenu& menu, CLeftView& view, const QTreeWidgetItem* item);
};
