// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FavoritesFolder.h"
#include "TestProfile.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

class CatalogContextMenu;
class CKestrinNewsReaderDoc;
class CLeftView;
class QTreeWidgetItem;

// A catalog tree with its document and no browser pane: what it asks the pane to show is
// recorded. It works in a fresh user folder, whose favorites store it shows.
class TreeFixture
{
public:
    TreeFixture();
    ~TreeFixture();

    TreeFixture(const TreeFixture&) = delete;
    TreeFixture& operator=(const TreeFixture&) = delete;

    // Writes the Favorites.xml that the next rebuild reads.
    [[nodiscard]] bool writeFavorites(const QByteArray& xml) const;

    [[nodiscard]] CKestrinNewsReaderDoc* document() const { return m_doc.get(); }
    [[nodiscard]] FavoritesFolder& folder() { return m_folder; }
    [[nodiscard]] CFavoritesStore& store() const { return m_folder.store(); }
    [[nodiscard]] CLeftView* tree() const { return m_tree; }
    [[nodiscard]] Profile& profile() const { return *m_profile; }
    // Every address the tree asked the browser pane to show.
    [[nodiscard]] QSignalSpy* navigations() const { return m_navigations.get(); }

    // Builds the tree, shows it and gives it the favorites' right-click entries, as the main
    // frame puts them together; nullptr when the tree never showed.
    [[nodiscard]] std::unique_ptr<CatalogContextMenu> showWithFavoritesMenu() const;
    // The first child of parent with the text; nullptr when there is none.
    [[nodiscard]] static QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& text);

private:
    FavoritesFolder m_folder;
    TestProfile m_profileFile;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<CKestrinNewsReaderDoc> m_doc;
    // Owned here until a pane takes it in.
    QPointer<CLeftView> m_tree;
    std::unique_ptr<QSignalSpy> m_navigations;
};
