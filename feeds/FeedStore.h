// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FeedDatabase.h"
#include "FeedFormat.h"
#include "ParsedFeed.h"
#include "SiteFeed.h"
#include "StoredFeed.h"
#include "StoredItem.h"

#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The downloaded news: each site's feed (or why it has none), each feed's items with their
// read marks, and each feed's validators and last error. Only news and read marks live
// here, never favorites. Each thread that uses the database has its own store.
class FeedStore
{
public:
    // Items older than this go once a feed holds more than kKeptPerFeed newer ones.
    static constexpr int kRetentionDays = 30;
    static constexpr int kKeptPerFeed = 200;

    explicit FeedStore(const QString& path, FeedDatabase::Check check = FeedDatabase::Check::Full);

    [[nodiscard]] const QString& problem() const { return m_db.problem(); }
    // The file in use: the one asked for, or a stand-in when that could not be used.
    [[nodiscard]] const QString& path() const { return m_db.path(); }
    [[nodiscard]] QString lastError() const { return m_lastError; }

    // The form an address is kept under, so "HTTP://Paper.com" and "http://paper.com/"
    // are one site.
    [[nodiscard]] static QString Key(const QString& address);

    // Sites.
    [[nodiscard]] SiteFeed siteFeed(const QString& site);
    // Many at once, by the sites' keys as Key gives them; sites never looked for are left
    // out.
    [[nodiscard]] QHash<QString, SiteFeed> siteFeeds(const QStringList& keys);
    // Returns the feed's id, 0 on failure.
    qint64 setSiteFound(const QString& site, const QString& feedAddress, FeedFormat format,
                        const QDateTime& now);
    bool setSiteNone(const QString& site, const QString& reason, const QDateTime& now);

    // Feeds.
    [[nodiscard]] std::optional<StoredFeed> feed(qint64 id);
    // The feed's new address after a permanent redirect; when another feed already has
    // it, the sites of this one move over there. Returns the id the sites now use.
    qint64 moveFeed(qint64 id, const QString& newAddress);

    struct Stored
    {
        bool ok = false;
        int added = 0;
    };
    // A fetch that gave this feed: new items added (unread), changed ones updated with
    // their read marks kept, old ones dropped.
    Stored storeFetched(qint64 feedId, const ParsedFeed& parsed, const QByteArray& etag,
                        const QByteArray& lastModified, const QDateTime& now);
    bool recordNotModified(qint64 feedId, const QDateTime& now);
    bool recordError(qint64 feedId, const QString& error, const QDateTime& now);

    // Reading, for the headline list: the items of these sites' feeds, newest first (at
    // most limit, 0 for all), each under the first site listed that has its feed.
    [[nodiscard]] QList<StoredItem> items(const QStringList& sites, int limit = 0);
    // Unread items per site, for sites that have any.
    [[nodiscard]] QHash<QString, int> unreadCounts(const QStringList& sites);
    bool setRead(const QList<qint64>& itemIds, bool read);
    // Marks every item of these sites read; returns how many changed.
    int markAllRead(const QStringList& sites);

private:
    // The statements every fetch runs, prepared once for the store's life.
    enum class Statement
    {
        Begin,
        Commit,
        Rollback,
        SelectItems,
        UpdateItem,
        PruneItems,
        UpdateFeed,
        Count
    };
    [[nodiscard]] QSqlQuery& prepared(Statement which);
    // New items go in this many at most a statement: their values stay far below the 32,766
    // SQLite allows.
    static constexpr int kRowsPerInsert = 64;
    static constexpr int kInsertColumns = 9;
    [[nodiscard]] static const QStringList& InsertNames();
    // The statement that inserts this many rows, prepared once.
    [[nodiscard]] QSqlQuery& insertStatement(int rows);

    // Each site given that has a feed, with it.
    [[nodiscard]] QList<QPair<QString, qint64>> feedIdsOfSites(const QStringList& sites);
    // Each feed of these sites, under the first site listed that has it.
    [[nodiscard]] QHash<qint64, QString> feedsOfSites(const QStringList& sites);
    qint64 ensureFeed(const QString& address);
    bool begin();
    bool commit();
    void rollback();
    bool fail(const QSqlQuery& query);

    FeedDatabase m_db;
    std::array<std::optional<QSqlQuery>, size_t(Statement::Count)> m_prepared;
    std::array<std::optional<QSqlQuery>, size_t(kRowsPerInsert)> m_inserts;
    QString m_lastError;
};
