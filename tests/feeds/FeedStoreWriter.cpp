// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// One of two programs writing the same headlines database at once, as two copies of the
// program refreshing together do: stores a feed again and again, with a new item each
// round, and marks its share of the items read, one by one.
// Usage: feed_store_writer DATABASE FEED_ID NAME ROUNDS PARITY
#include "feeds/FeedStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 6)
        return 2;
    FeedStore store(args.at(1), FeedDatabase::Check::Full);
    const qint64 feedId = args.at(2).toLongLong();
    const QString name = args.at(3);
    const int rounds = args.at(4).toInt();
    const int parity = args.at(5).toInt();
    const QDateTime now = QDateTime::currentDateTimeUtc();

    QList<qint64> mine;
    for (const StoredItem& item : store.items({QStringLiteral("http://shared.example/")})) {
        if (item.title.startsWith(QLatin1String("Base")) &&
            item.title.section(QLatin1Char(' '), 1, 1).toInt() % 2 == parity)
            mine.append(item.id);
    }
    int failures = 0;
    for (int round = 0; round < rounds; ++round) {
        ParsedFeed feed;
        feed.format = FeedFormat::Rss;
        feed.title = QStringLiteral("Shared");
        for (int i = 0; i < 100; ++i) {
            FeedItem item;
            item.id = QStringLiteral("base-%1").arg(i);
            // Both writers rewrite every base item: the read marks must survive that.
            item.title = QStringLiteral("Base %1 by %2 in round %3").arg(i).arg(name).arg(round);
            item.published = now.addSecs(-i);
            feed.items.append(item);
        }
        FeedItem fresh;
        fresh.id = QStringLiteral("%1-%2").arg(name).arg(round);
        fresh.title = fresh.id;
        fresh.published = now;
        feed.items.append(fresh);
        if (!store.storeFetched(feedId, feed, {}, {}, now).ok)
            ++failures;
        if (!mine.isEmpty() && !store.setRead({mine.takeFirst()}, true))
            ++failures;
    }
    while (!mine.isEmpty()) {
        if (!store.setRead({mine.takeFirst()}, true))
            ++failures;
    }
    if (failures > 0)
        std::fprintf(stderr, "%d writes failed: %s\n", failures, qPrintable(store.lastError()));
    return failures == 0 ? 0 : 1;
}
