// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "TestFiles.h"
#include "favorites/FavoriteRecord.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class CFavoritesStore;

// A fresh user folder for one test: a temporary directory that is the working directory
// while it lives, with the test locations of QStandardPaths, and the favorites store of
// its Favorites.xml. Every test that works on favorites starts from one.
class FavoritesFolder
{
public:
    FavoritesFolder();
    ~FavoritesFolder();
    FavoritesFolder(const FavoritesFolder&) = delete;
    FavoritesFolder& operator=(const FavoritesFolder&) = delete;

    [[nodiscard]] bool isValid() const { return m_dir.isValid(); }
    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return m_dir.filePath(name); }
    [[nodiscard]] QString favoritesPath() const;
    // Every name in the folder, hidden ones included, sorted.
    [[nodiscard]] QStringList entries() const;

    [[nodiscard]] CFavoritesStore& store() const { return *m_store; }
    // Favorites.xml holding these records, or these bytes.
    bool writeFavorites(const TestFiles::Records& records) const;
    bool writeFavoritesXml(const QByteArray& xml) const;

    // "title|url" per record, in order.
    [[nodiscard]] static QStringList rows(const QList<FavoriteRecord>& records);
    // What ReadAll returns now, as rows; "FALSE" when it fails.
    [[nodiscard]] QStringList readRows() const;
    // The same for the favorites file at a path.
    [[nodiscard]] static QStringList readRowsOf(const QString& favoritesPath);

private:
    QTemporaryDir m_dir;
    QString m_previousCurrent;
    std::unique_ptr<CFavoritesStore> m_store;
};
