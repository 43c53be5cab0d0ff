// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedStore.h"

#include <QSqlError>
#include <QStringList>

#include <algorithm>

namespace {
QDateTime timeOf(const QVariant& value)
{
    return value.isNull() ? QDateTime()
                          : QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

// Ids are the database's own integers: safe to write into a statement.
QString idList(const QList<qint64>& ids)
{
    QStringList parts;
    parts.reserve(ids.size());
    for (const qint64 id : ids)
        parts.append(QString::number(id));
    return parts.join(QLatin1Char(','));
}
} // namespace

QList<QPair<QString, qint64>> FeedStore::feedIdsOfSites(const QStringList& sites)
{
    QHash<QString, qint64> feedOfKey;
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT address, feed_id FROM sites WHERE feed_id IS NOT NULL"))) {
        fail(query);
        return {};
    }
    while (query.next())
        feedOfKey.insert(query.value(0).toString(), query.value(1).toLongLong());
    QList<QPair<QString, qint64>> result;
    for (const QString& site : sites) {
        if (const qint64 feedId = feedOfKey.value(Key(site)); feedId > 0)
            result.append({site, feedId});
    }
    return result;
}

QHash<qint64, QString> FeedStore::feedsOfSites(const QStringList& sites)
{
    QHash<qint64, QString> result;
    for (const auto& [site, feedId] : feedIdsOfSites(sites)) {
        if (!result.contains(feedId))
            result.insert(feedId, site);
    }
    return result;
}

QList<StoredItem> FeedStore::items(const QStringList& sites, int limit)
{
    const QHash<qint64, QString> feeds = feedsOfSites(sites);
    if (feeds.isEmpty())
        return {};
    QString sql = QStringLiteral("SELECT id, feed_id, title, link, summary, published, updated, "
                                 "sort_at, read FROM items WHERE feed_id IN (%1)")
                      .arg(idList(feeds.keys()));
    // The database sorts whole rows, summaries and all: for every item it is quicker to sort
    // them here, by two numbers.
    if (limit > 0)
        sql += QStringLiteral(" ORDER BY sort_at DESC, id DESC LIMIT %1").arg(limit);
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        fail(query);
        return {};
    }
    QList<StoredItem> result;
    while (query.next()) {
        StoredItem item;
        item.id = query.value(0).toLongLong();
        item.feedId = query.value(1).toLongLong();
        item.site = feeds.value(item.feedId);
        item.title = query.value(2).toString();
        item.link = query.value(3).toString();
        item.summary = query.value(4).toString();
        item.published = timeOf(query.value(5));
        item.updated = timeOf(query.value(6));
        item.time = timeOf(query.value(7));
        item.read = query.value(8).toBool();
        result.append(std::move(item));
    }
    if (limit <= 0) {
        std::sort(result.begin(), result.end(), [](const StoredItem& a, const StoredItem& b) {
            return a.time != b.time ? a.time > b.time : a.id > b.id;
        });
    }
    return result;
}

QHash<QString, int> FeedStore::unreadCounts(const QStringList& sites)
{
    const QHash<qint64, QString> feeds = feedsOfSites(sites);
    if (feeds.isEmpty())
        return {};
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT feed_id, count(*) FROM items WHERE read = 0 AND "
                                   "feed_id IN (%1) GROUP BY feed_id")
                        .arg(idList(feeds.keys())))) {
        fail(query);
        return {};
    }
    QHash<qint64, int> perFeed;
    while (query.next())
        perFeed.insert(query.value(0).toLongLong(), query.value(1).toInt());
    // Every site with the feed shows its count, not only the first.
    QHash<QString, int> result;
    for (const auto& [site, feedId] : feedIdsOfSites(sites)) {
        if (const int count = perFeed.value(feedId); count > 0)
            result.insert(site, count);
    }
    return result;
}

bool FeedStore::setRead(const QList<qint64>& itemIds, bool read)
{
    if (itemIds.isEmpty())
        return true;
    QSqlQuery query(m_db.connection());
    return query.exec(QStringLiteral("UPDATE items SET read = %1 WHERE id IN (%2)")
                          .arg(read ? 1 : 0)
                          .arg(idList(itemIds))) ||
           fail(query);
}

int FeedStore::markAllRead(const QStringList& sites)
{
    const QHash<qint64, QString> feeds = feedsOfSites(sites);
    if (feeds.isEmpty())
        return 0;
    QSqlQuery query(m_db.connection());
    if (!query.exec(QStringLiteral("UPDATE items SET read = 1 WHERE read = 0 AND feed_id IN (%1)")
                        .arg(idList(feeds.keys())))) {
        fail(query);
        return 0;
    }
    return query.numRowsAffected();
}
