#include "FavoritesFolder.h"

#include "app/Globals.h"
#include "favorites/CFavoritesStore.h"

#include <QDir>

FavoritesFolder::FavoritesFolder()
    : m_previousAppDir(g_strAppDir), m_previousCurrent(QDir::currentPath())
{
    g_strAppDir = m_dir.path();
    QDir::setCurrent(m_dir.path());
}

FavoritesFolder::~FavoritesFolder()
{
    g_strAppDir = m_previousAppDir;
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

QStringList FavoritesFolder::rows(const QList<FavoriteRecord>& records)
{
    QStringList result;
    for (const FavoriteRecord& record : records)
        result.append(record.title + QLatin1Char('|') + record.url);
    return result;
}

QStringList FavoritesFolder::readRows()
{
    QList<FavoriteRecord> records;
    return CFavoritesStore::ReadAll(records) ? rows(records) : QStringList{QStringLiteral("FALSE")};
}
