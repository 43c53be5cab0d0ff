// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "catalog/CatalogSearch.h"

#include <QObject>
#include <QStringList>

#include <vector>

class CLeftView;
class QTreeWidgetItem;

// Shows only the sites and favorites of the tree that match a text, with the folders that
// hold them, expanded; a folder of My Favorites is found by its name too (with the folders
// above it, an empty one as well). Items are hidden, never removed: their data, indices and the URL
// table stay as they are. Without a text the whole tree comes back with the expansion it
// had before, and the folders of the selected paper open, so it stays in sight; a rebuild of
// the tree, or a change of My Favorites, keeps the text and applies it again.
class CatalogTreeFilter : public QObject
{
    Q_OBJECT

public:
    explicit CatalogTreeFilter(CLeftView* tree, QObject* parent = nullptr);

    void SetText(const QString& text);
    [[nodiscard]] QString text() const { return m_text; }
    // Whether the tree shows only matches: the text holds at least one word.
    [[nodiscard]] bool isActive() const { return !m_words.isEmpty(); }
    [[nodiscard]] int matchCount() const { return m_matchCount; }
    // Folders of My Favorites found by name.
    [[nodiscard]] int folderMatchCount() const { return m_folderMatchCount; }
    // Sites and favorites in the tree.
    [[nodiscard]] int entryCount() const { return static_cast<int>(m_entries.size()); }
    // The topmost match, a folder found by name among them; nullptr when there is none or no
    // filter.
    [[nodiscard]] QTreeWidgetItem* firstMatch() const;
    // Reads the tree's texts now, so that the first key typed is as quick as the others.
    void Prepare();

signals:
    // What the tree shows changed: after a new text, a rebuild or a change of My Favorites.
    void changed();

private:
    void OnTreeRebuilt();
    void OnFavoritesUpdated();
    void Index();
    // Shows the matches; toTop scrolls the tree to the first of them.
    void Apply(bool toTop = true);
    void Restore();

    CLeftView* m_tree;
    QString m_text;
    QStringList m_words;
    bool m_indexed = false;
    bool m_filtering = false;
    CatalogSearch m_search;
    // Sites and favorites top to bottom, and the folders (every other item).
    std::vector<QTreeWidgetItem*> m_entries;
    std::vector<QTreeWidgetItem*> m_folders;
    // Where each entry, and each folder of My Favorites, comes top to bottom.
    std::vector<int> m_entryRows;
    // The folders of My Favorites, searched by their paths: their places in m_folders, and
    // where they come top to bottom.
    CatalogSearch m_folderSearch;
    std::vector<std::size_t> m_namedFolders;
    std::vector<int> m_namedFolderRows;
    std::vector<bool> m_folderMatches;
    // What this filter set on each item, so only changes reach the tree.
    std::vector<bool> m_entryHidden;
    std::vector<bool> m_folderHidden;
    // The folders' expansion before the filter took over.
    std::vector<bool> m_expandedBefore;
    std::vector<bool> m_matches;
    int m_matchCount = 0;
    int m_folderMatchCount = 0;
};
