// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FavoritesFolder.h"

#include "favorites/CFavoritesStore.h"

#include <QDir>
#include <QStandardPaths>

FavoritesFolder::FavoritesFolder() : m_previousCurrent(QDir::currentPath())
{
    QStandardPaths::setTestModeEnabled(true);
    QDir::setCurrent(m_dir.path());
    m_store = std::make_unique<CFavoritesStore>(favoritesPath());
}

FavoritesFolder::~FavoritesFolder()
{
    m_store.reset();
    QDir::setCurrent(m_previousCurrent);
}

QString FavoritesFolder::favoritesPath() const
{
    return m_dir.filePath(QStringLiteral("Favorites.xml"));
}

QStringList FavoritesFolder::entries() const
{
    return QDir(m_dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
}

bool FavoritesFolder::writeFavorites(const TestFiles::Records& records) const
{
    return writeFavoritesXml(TestFiles::FavoritesXml(records));
}

bool FavoritesFolder::writeFavoritesXml(const QByteArray& xml) const
{
    return TestFiles::Write(favoritesPath(), xml);
}

QStringList FavoritesFolder::rows(const QList<FavoriteRecord>& records)
{
    QStringList result;
    for (const FavoriteRecord& record : records)
        result.append(record.title + QLatin1Char('|') + record.url);
    return result;
}

QStringList FavoritesFolder::readRows() const
{
    return readRowsOf(favoritesPath());
}

QStringList FavoritesFolder::readRowsOf(const QString& favoritesPath)
{
    QList<FavoriteRecord> records;
    const CFavoritesStore store(favoritesPath);
    return store.ReadAll(records).is(FavoritesResult::Code::NoParser)
               ? QStringList{QStringLiteral("FALSE")}
               : rows(records);
}
