// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/CFavoritesStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Puts one input through the store as Favorites.xml and checks what the store promises:
// nothing from another file ends up in a record, a refused change leaves the file as it was
// and says why, a reported success leaves a file that reads back as exactly the records
// expected, and no temporary or lock file stays behind.
class FavoritesFuzzCheck
{
public:
    // Works in folder, which it owns while it lives.
    explicit FavoritesFuzzCheck(const QString& folder);
    ~FavoritesFuzzCheck();
    FavoritesFuzzCheck(const FavoritesFuzzCheck&) = delete;
    FavoritesFuzzCheck& operator=(const FavoritesFuzzCheck&) = delete;

    // The first promise the store broke on input, or an empty string.
    [[nodiscard]] QString Run(const QByteArray& input);

private:
    struct Step;
    [[nodiscard]] QString Change(int operation, const QString& what, Step& step);
    [[nodiscard]] QString LeftBehind() const;
    [[nodiscard]] QList<FavoriteRecord> ReadRecords(FavoritesResult* result = nullptr) const;

    QString m_strFolder;
    QString m_strPath;
    CFavoritesStore m_store;
};
