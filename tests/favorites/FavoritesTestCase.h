// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/CFavoritesStore.h"
#include "support/FavoritesFolder.h"
#include "support/TestFiles.h"

#include <QObject>

#include <memory>

// What the favorites tests set up alike: the engine once, a fresh user folder with its
// store for each test function, and no injected failure left for the next one.
class FavoritesTestCase : public QObject
{
    Q_OBJECT

protected:
    using Code = FavoritesResult::Code;

    [[nodiscard]] FavoritesFolder& folder() const { return *m_dir; }
    [[nodiscard]] CFavoritesStore& store() const { return m_dir->store(); }
    [[nodiscard]] QString path(const QString& name) const { return m_dir->filePath(name); }
    [[nodiscard]] QString favoritesPath() const { return m_dir->favoritesPath(); }
    // Favorites.xml holding these records.
    void writeFavorites(const TestFiles::Records& records) const;
    // What ReadAll returns now, as "title|url" rows.
    [[nodiscard]] QStringList readRows() const { return m_dir->readRows(); }

    // A test that sets up more calls these first.
protected slots:
    void initTestCase();
    void init();
    void cleanup();

private:
    std::unique_ptr<FavoritesFolder> m_dir;
};
