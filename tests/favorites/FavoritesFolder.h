#pragma once

#include "favorites/FavoriteRecord.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

// A fresh folder for one test: the store's Favorites.xml and the backup's current
// directory point into it while it lives, and back to where they were after.
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

    // "title|url" per record, in order.
    [[nodiscard]] static QStringList rows(const QList<FavoriteRecord>& records);
    // What ReadAll returns now, as rows; "FALSE" when it fails.
    [[nodiscard]] static QStringList readRows();

private:
    QTemporaryDir m_dir;
    QString m_previousAppDir;
    QString m_previousCurrent;
};
