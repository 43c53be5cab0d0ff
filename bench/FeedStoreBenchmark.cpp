// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Stores 20,000 new items: 200 feeds of 100 items each, one fetch per feed, into a new
// headlines database, as the first refresh of 200 papers does (goal: 200 ms or less). Also
// prints what reading them back costs the headline list: opening the database (with its
// check), all items newest first, one paper's items, and the unread counts.

#include "BenchmarkSupport.h"
#include "feeds/FeedStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kFeeds = 200;
constexpr int kItems = 100;

QString siteOf(int feed)
{
    return QStringLiteral("https://paper%1.example/").arg(feed);
}

QList<ParsedFeed> feeds(const QDateTime& now)
{
    QList<ParsedFeed> result;
    for (int f = 0; f < kFeeds; ++f) {
        ParsedFeed feed;
        feed.format = FeedFormat::Rss;
        feed.title = QStringLiteral("Paper %1").arg(f);
        for (int i = 0; i < kItems; ++i) {
            FeedItem item;
            item.id = QStringLiteral("paper%1-story%2").arg(f).arg(i);
            item.title = QStringLiteral("Story %1 of paper %2, with a headline of usual length")
                             .arg(i)
                             .arg(f);
            item.link = siteOf(f) + QStringLiteral("2026/12/08/story-%1.html").arg(i);
            item.summary = QString(300, QLatin1Char('s'));
            item.published = now.addSecs(-60 * (i * kFeeds + f));
            feed.items.append(item);
        }
        result.append(feed);
    }
    return result;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QList<ParsedFeed> parsed = feeds(now);
    QStringList sites;
    for (int f = 0; f < kFeeds; ++f)
        sites.append(siteOf(f));

    QList<double> storing;
    QList<double> storingCpu;
    QList<double> opening;
    QList<double> all;
    QList<double> one;
    QList<double> counts;
    int added = 0;
    for (int run = 0; run < 5; ++run) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("headlines.sqlite"));
        {
            FeedStore store(path);
            QList<qint64> ids;
            for (int f = 0; f < kFeeds; ++f)
                ids.append(store.setSiteFound(sites.at(f), sites.at(f) + QStringLiteral("feed"),
                                              FeedFormat::Rss, now));
            QElapsedTimer timer;
            timer.start();
            const double cpu = BenchmarkSupport::ThreadCpuMs();
            added = 0;
            for (int f = 0; f < kFeeds; ++f)
                added += store.storeFetched(ids.at(f), parsed.at(f), "\"e\"", {}, now).added;
            storing.append(BenchmarkSupport::MillisecondsOf(timer));
            storingCpu.append(BenchmarkSupport::ThreadCpuMs() - cpu);
        }
        QElapsedTimer timer;
        timer.start();
        FeedStore store(path);
        opening.append(BenchmarkSupport::MillisecondsOf(timer));
        timer.restart();
        const qsizetype listed = store.items(sites).size();
        all.append(BenchmarkSupport::MillisecondsOf(timer));
        timer.restart();
        const qsizetype ofOne = store.items({sites.at(17)}).size();
        one.append(BenchmarkSupport::MillisecondsOf(timer));
        timer.restart();
        const qsizetype counted = store.unreadCounts(sites).size();
        counts.append(BenchmarkSupport::MillisecondsOf(timer));
        if (listed != kFeeds * kItems || ofOne != kItems || counted != kFeeds)
            qFatal("the database does not hold what was stored");
    }
    std::printf("new items stored:          %d in %d feeds\n", added, kFeeds);
    std::printf("store (median of 5):       %.1f ms (goal 200 ms), %.1f ms of CPU\n",
                BenchmarkSupport::Median(storing), BenchmarkSupport::Median(storingCpu));
    std::printf("open and check:            %.1f ms\n", BenchmarkSupport::Median(opening));
    std::printf("all items, newest first:   %.1f ms\n", BenchmarkSupport::Median(all));
    std::printf("one paper's items:         %.1f ms\n", BenchmarkSupport::Median(one));
    std::printf("unread counts of 200:      %.1f ms\n", BenchmarkSupport::Median(counts));
    return 0;
}
