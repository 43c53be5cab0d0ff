// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedStore.h"

#include <QSet>
#include <QSqlError>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <vector>

namespace {
QVariant msecsOf(const QDateTime& time)
{
    return time.isValid() ? QVariant(time.toMSecsSinceEpoch())
                          : QVariant(QMetaType(QMetaType::LongLong));
}

QDateTime timeOf(const QVariant& value)
{
    return value.isNull() ? QDateTime()
                          : QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

// Qt binds a null string as NULL; the text columns hold empty strings instead.
QString text(const QString& value)
{
    return value.isNull() ? QString(QLatin1String("")) : value;
}

// What an item is sorted and kept by: when it was published, else updated, else first seen.
qint64 sortTime(const FeedItem& item, qint64 seenAt)
{
    if (item.published.isValid())
        return item.published.toMSecsSinceEpoch();
    if (item.updated.isValid())
        return item.updated.toMSecsSinceEpoch();
    return seenAt;
}

struct Existing
{
    qint64 rowId = 0;
    QString title;
    QString link;
    QString summary;
    QVariant published;
    QVariant updated;
    qint64 seenAt = 0;
    qint64 sortAt = 0;
};

bool differs(const Existing& row, const FeedItem& item)
{
    return row.title != item.title || row.link != item.link || row.summary != item.summary ||
           timeOf(row.published) != item.published || timeOf(row.updated) != item.updated;
}
} // namespace

FeedStore::FeedStore(const QString& path, FeedDatabase::Check check) : m_db(path, check) {}

QString FeedStore::Key(const QString& address)
{
    QUrl url(address.trimmed());
    if (!url.isValid() || url.host().isEmpty())
        return address.trimmed();
    url.setFragment(QString());
    if (url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    return url.toString(QUrl::FullyEncoded);
}

bool FeedStore::fail(const QSqlQuery& query)
{
    m_lastError = query.lastError().text().trimmed();
    return false;
}

QSqlQuery& FeedStore::prepared(Statement which)
{
    std::optional<QSqlQuery>& slot = m_prepared[size_t(which)];
    if (slot)
        return *slot;
    static const char* const kSql[] = {
        // Taking the write lock first means a second copy waits for it (up to the busy
        // time-out) instead of failing half-way through.
        "BEGIN IMMEDIATE", "COMMIT", "ROLLBACK",
        "SELECT id, guid, title, link, summary, published, updated, seen_at, sort_at "
        "FROM items WHERE feed_id = ?",
        // The read mark stays as it is: a corrected title is not news.
        "UPDATE items SET title = ?, link = ?, summary = ?, published = ?, updated = ?, "
        "sort_at = ? WHERE id = ?",
        "DELETE FROM items WHERE feed_id = :feed AND sort_at < :cutoff AND id NOT IN "
        "(SELECT id FROM items WHERE feed_id = :feed ORDER BY sort_at DESC LIMIT :kept)",
        "UPDATE feeds SET format = ?, title = ?, link = ?, etag = ?, last_modified = ?, "
        "fetched_at = ?, error = '', error_at = NULL WHERE id = ?"};
    slot.emplace(m_db.connection());
    slot->setForwardOnly(true);
    slot->prepare(QString::fromLatin1(kSql[size_t(which)]));
    return *slot;
}

const QStringList& FeedStore::InsertNames()
{
    // Named, because Qt spells out a name for every value bound by position.
    static const QStringList names = [] {
        QStringList result;
        for (int i = 0; i < kRowsPerInsert * kInsertColumns; ++i)
            result.append(QStringLiteral(":v%1").arg(i));
        return result;
    }();
    return names;
}

QSqlQuery& FeedStore::insertStatement(int rows)
{
    std::optional<QSqlQuery>& slot = m_inserts[size_t(rows - 1)];
    if (slot)
        return *slot;
    const QStringList& names = InsertNames();
    QString sql = QStringLiteral("INSERT INTO items (feed_id, guid, title, link, summary, "
                                 "published, updated, seen_at, sort_at) VALUES ");
    for (int row = 0; row < rows; ++row) {
        sql += row == 0 ? QStringLiteral("(") : QStringLiteral(", (");
        sql += names.mid(row * kInsertColumns, kInsertColumns).join(QStringLiteral(", "));
        sql += QLatin1Char(')');
    }
    slot.emplace(m_db.connection());
    slot->setForwardOnly(true);
    slot->prepare(sql);
    return *slot;
}

bool FeedStore::begin()
{
    QSqlQuery& query = prepared(Statement::Begin);
    return query.exec() || fail(query);
}

bool FeedStore::commit()
{
    QSqlQuery& query = prepared(Statement::Commit);
    if (query.exec())
        return true;
    fail(query);
    rollback();
    return false;
}

void FeedStore::rollback()
{
    prepared(Statement::Rollback).exec();
}

namespace {
constexpr char kSiteFeedColumns[] =
    "SELECT s.address, s.looked_up_at, s.reason, f.id, f.address, f.format, f.fetched_at, "
    "f.error, f.etag, f.last_modified FROM sites s LEFT JOIN feeds f ON f.id = s.feed_id";

SiteFeed siteFeedOf(const QSqlQuery& query)
{
    SiteFeed result;
    result.lookedUp = timeOf(query.value(1));
    result.reason = query.value(2).toString();
    result.feedId = query.value(3).toLongLong();
    result.state = result.feedId > 0 ? SiteFeed::State::Found : SiteFeed::State::None;
    result.feedAddress = query.value(4).toString();
    result.format = query.value(5).toString();
    result.fetched = timeOf(query.value(6));
    result.error = query.value(7).toString();
    result.etag = query.value(8).toString().toLatin1();
    result.lastModified = query.value(9).toString().toLatin1();
    return result;
}
} // namespace

SiteFeed FeedStore::siteFeed(const QString& site)
{
    QSqlQuery query(m_db.connection());
    query.prepare(QLatin1String(kSiteFeedColumns) + QLatin1String(" WHERE s.address = ?"));
    query.addBindValue(Key(site));
    if (!query.exec()) {
        fail(query);
        return {};
    }
    return query.next() ? siteFeedOf(query) : SiteFeed();
}

QHash<QString, SiteFeed> FeedStore::siteFeeds(const QStringList& keys)
{
    // A statement per few hundred sites: each found through the table's index, never a pass
    // over every site known when only some are asked.
    constexpr qsizetype kPerStatement = 500;
    QHash<QString, SiteFeed> result;
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    for (qsizetype from = 0; from < keys.size(); from += kPerStatement) {
        const qsizetype count = std::min(kPerStatement, keys.size() - from);
        QString marks = QStringLiteral("?");
        marks += QStringLiteral(",?").repeated(count - 1);
        if (!query.prepare(QLatin1String(kSiteFeedColumns) +
                           QStringLiteral(" WHERE s.address IN (%1)").arg(marks)))
            return fail(query), result;
        for (qsizetype i = from; i < from + count; ++i)
            query.addBindValue(keys.at(i));
        if (!query.exec())
            return fail(query), result;
        while (query.next())
            result.insert(query.value(0).toString(), siteFeedOf(query));
    }
    return result;
}

qint64 FeedStore::ensureFeed(const QString& address)
{
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral("INSERT INTO feeds (address) VALUES (?) "
                                 "ON CONFLICT (address) DO NOTHING"));
    query.addBindValue(address);
    if (!query.exec())
        return fail(query), 0;
    query.prepare(QStringLiteral("SELECT id FROM feeds WHERE address = ?"));
    query.addBindValue(address);
    if (!query.exec() || !query.next())
        return fail(query), 0;
    return query.value(0).toLongLong();
}

qint64 FeedStore::setSiteFound(const QString& site, const QString& feedAddress, FeedFormat format,
                               const QDateTime& now)
{
    if (!begin())
        return 0;
    const qint64 feedId = ensureFeed(Key(feedAddress));
    QSqlQuery query(m_db.connection());
    bool ok = feedId > 0;
    if (ok) {
        query.prepare(QStringLiteral("UPDATE feeds SET format = ? WHERE id = ? AND format = ''"));
        query.addBindValue(FeedFormatName(format));
        query.addBindValue(feedId);
        ok = query.exec() || fail(query);
    }
    if (ok) {
        query.prepare(QStringLiteral(
            "INSERT INTO sites (address, feed_id, looked_up_at, reason) VALUES (?, ?, ?, '') "
            "ON CONFLICT (address) DO UPDATE SET feed_id = excluded.feed_id, "
            "looked_up_at = excluded.looked_up_at, reason = ''"));
        query.addBindValue(Key(site));
        query.addBindValue(feedId);
        query.addBindValue(now.toMSecsSinceEpoch());
        ok = query.exec() || fail(query);
    }
    if (!ok) {
        rollback();
        return 0;
    }
    return commit() ? feedId : 0;
}

bool FeedStore::setSiteNone(const QString& site, const QString& reason, const QDateTime& now)
{
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral(
        "INSERT INTO sites (address, feed_id, looked_up_at, reason) VALUES (?, NULL, ?, ?) "
        "ON CONFLICT (address) DO UPDATE SET feed_id = NULL, "
        "looked_up_at = excluded.looked_up_at, reason = excluded.reason"));
    query.addBindValue(Key(site));
    query.addBindValue(now.toMSecsSinceEpoch());
    query.addBindValue(text(reason));
    return query.exec() || fail(query);
}

std::optional<StoredFeed> FeedStore::feed(qint64 id)
{
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral("SELECT address, format, title, link, etag, last_modified, "
                                 "fetched_at, error FROM feeds WHERE id = ?"));
    query.addBindValue(id);
    if (!query.exec() || !query.next()) {
        fail(query);
        return std::nullopt;
    }
    StoredFeed feed;
    feed.id = id;
    feed.address = query.value(0).toString();
    feed.format = query.value(1).toString();
    feed.title = query.value(2).toString();
    feed.link = query.value(3).toString();
    feed.etag = query.value(4).toString().toLatin1();
    feed.lastModified = query.value(5).toString().toLatin1();
    feed.fetched = timeOf(query.value(6));
    feed.error = query.value(7).toString();
    return feed;
}

qint64 FeedStore::moveFeed(qint64 id, const QString& newAddress)
{
    const QString address = Key(newAddress);
    if (!begin())
        return id;
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral("SELECT id FROM feeds WHERE address = ?"));
    query.addBindValue(address);
    bool ok = query.exec() || fail(query);
    const qint64 other = ok && query.next() ? query.value(0).toLongLong() : 0;
    qint64 result = id;
    if (ok && other > 0 && other != id) {
        // Two feeds became one: the sites follow, the old address and its items go.
        query.prepare(QStringLiteral("UPDATE sites SET feed_id = ? WHERE feed_id = ?"));
        query.addBindValue(other);
        query.addBindValue(id);
        ok = query.exec() || fail(query);
        if (ok) {
            query.prepare(QStringLiteral("DELETE FROM feeds WHERE id = ?"));
            query.addBindValue(id);
            ok = query.exec() || fail(query);
        }
        result = other;
    } else if (ok && other == 0) {
        query.prepare(QStringLiteral("UPDATE feeds SET address = ? WHERE id = ?"));
        query.addBindValue(address);
        query.addBindValue(id);
        ok = query.exec() || fail(query);
    }
    if (!ok) {
        rollback();
        return id;
    }
    return commit() ? result : id;
}

FeedStore::Stored FeedStore::storeFetched(qint64 feedId, const ParsedFeed& parsed,
                                          const QByteArray& etag, const QByteArray& lastModified,
                                          const QDateTime& now)
{
    Stored stored;
    if (!begin())
        return stored;
    const qint64 nowMs = now.toMSecsSinceEpoch();
    const qint64 cutoff = now.addDays(-kRetentionDays).toMSecsSinceEpoch();
    QHash<QString, Existing> existing;
    QSqlQuery& query = prepared(Statement::SelectItems);
    query.addBindValue(feedId);
    if (!query.exec()) {
        fail(query);
        rollback();
        return stored;
    }
    while (query.next()) {
        Existing row;
        row.rowId = query.value(0).toLongLong();
        row.title = query.value(2).toString();
        row.link = query.value(3).toString();
        row.summary = query.value(4).toString();
        row.published = query.value(5);
        row.updated = query.value(6);
        row.seenAt = query.value(7).toLongLong();
        row.sortAt = query.value(8).toLongLong();
        existing.insert(query.value(1).toString(), row);
    }
    query.finish();

    QList<const FeedItem*> fresh;
    QList<QPair<const Existing*, const FeedItem*>> changed;
    QSet<QString> seen;
    std::vector<qint64> times;
    times.reserve(size_t(existing.size() + parsed.items.size()));
    for (const Existing& row : std::as_const(existing))
        times.push_back(row.sortAt);
    for (const FeedItem& item : parsed.items) {
        if (seen.contains(item.id))
            continue;
        seen.insert(item.id);
        const auto it = existing.constFind(item.id);
        if (it == existing.cend()) {
            fresh.append(&item);
            times.push_back(sortTime(item, nowMs));
        } else if (differs(*it, item)) {
            changed.append({&*it, &item});
        }
    }
    // An old item that would be dropped at once is not added: the next read would find
    // it "new" again.
    qint64 newestKept = std::numeric_limits<qint64>::min();
    if (times.size() > size_t(kKeptPerFeed)) {
        std::nth_element(times.begin(), times.begin() + (kKeptPerFeed - 1), times.end(),
                         std::greater<>());
        newestKept = times[kKeptPerFeed - 1];
    }

    QList<const FeedItem*> kept;
    kept.reserve(fresh.size());
    for (const FeedItem* item : std::as_const(fresh)) {
        const qint64 sortAt = sortTime(*item, nowMs);
        if (sortAt >= cutoff || sortAt >= newestKept)
            kept.append(item);
    }
    bool ok = true;
    // Many rows a statement: each run of a statement costs more than the rows it carries.
    const QStringList& names = InsertNames();
    for (qsizetype first = 0; ok && first < kept.size(); first += kRowsPerInsert) {
        const qsizetype rows = std::min<qsizetype>(kRowsPerInsert, kept.size() - first);
        QSqlQuery& insert = insertStatement(int(rows));
        auto name = names.cbegin();
        for (qsizetype i = first; i < first + rows; ++i) {
            const FeedItem& item = *kept.at(i);
            insert.bindValue(*name++, feedId);
            insert.bindValue(*name++, text(item.id));
            insert.bindValue(*name++, text(item.title));
            insert.bindValue(*name++, text(item.link));
            insert.bindValue(*name++, text(item.summary));
            insert.bindValue(*name++, msecsOf(item.published));
            insert.bindValue(*name++, msecsOf(item.updated));
            insert.bindValue(*name++, nowMs);
            insert.bindValue(*name++, sortTime(item, nowMs));
        }
        ok = insert.exec() || fail(insert);
    }
    if (ok)
        stored.added = int(kept.size());
    if (ok && !changed.isEmpty()) {
        QSqlQuery& update = prepared(Statement::UpdateItem);
        for (const auto& [row, item] : std::as_const(changed)) {
            update.addBindValue(text(item->title));
            update.addBindValue(text(item->link));
            update.addBindValue(text(item->summary));
            update.addBindValue(msecsOf(item->published));
            update.addBindValue(msecsOf(item->updated));
            update.addBindValue(sortTime(*item, row->seenAt));
            update.addBindValue(row->rowId);
            if (!update.exec()) {
                ok = fail(update);
                break;
            }
        }
    }
    if (ok) {
        QSqlQuery& prune = prepared(Statement::PruneItems);
        prune.bindValue(QStringLiteral(":feed"), feedId);
        prune.bindValue(QStringLiteral(":cutoff"), cutoff);
        prune.bindValue(QStringLiteral(":kept"), kKeptPerFeed);
        ok = prune.exec() || fail(prune);
    }
    if (ok) {
        QSqlQuery& feed = prepared(Statement::UpdateFeed);
        feed.addBindValue(FeedFormatName(parsed.format));
        feed.addBindValue(text(parsed.title));
        feed.addBindValue(text(parsed.link));
        feed.addBindValue(text(QString::fromLatin1(etag)));
        feed.addBindValue(text(QString::fromLatin1(lastModified)));
        feed.addBindValue(nowMs);
        feed.addBindValue(feedId);
        ok = feed.exec() || fail(feed);
    }
    if (!ok) {
        rollback();
        return {};
    }
    stored.ok = commit();
    if (!stored.ok)
        stored.added = 0;
    return stored;
}

bool FeedStore::recordNotModified(qint64 feedId, const QDateTime& now)
{
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral(
        "UPDATE feeds SET fetched_at = ?, error = '', error_at = NULL WHERE id = ?"));
    query.addBindValue(now.toMSecsSinceEpoch());
    query.addBindValue(feedId);
    return query.exec() || fail(query);
}

bool FeedStore::recordError(qint64 feedId, const QString& error, const QDateTime& now)
{
    QSqlQuery query(m_db.connection());
    query.prepare(
        QStringLiteral("UPDATE feeds SET fetched_at = ?, error = ?, error_at = ? WHERE id = ?"));
    query.addBindValue(now.toMSecsSinceEpoch());
    query.addBindValue(text(error));
    query.addBindValue(now.toMSecsSinceEpoch());
    query.addBindValue(feedId);
    return query.exec() || fail(query);
}
