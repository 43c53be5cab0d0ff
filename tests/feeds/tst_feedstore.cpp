// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "feeds/FeedStore.h"
#include "support/CoreTestMain.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

namespace {
const QDateTime kNow(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC);

FeedItem item(const QString& id, const QDateTime& published, const QString& title = {})
{
    FeedItem result;
    result.id = id;
    result.title = title.isEmpty() ? QStringLiteral("Story ") + id : title;
    result.link = QStringLiteral("http://paper.example/") + id;
    result.published = published;
    return result;
}

ParsedFeed feedOf(const QList<FeedItem>& items)
{
    ParsedFeed feed;
    feed.format = FeedFormat::Rss;
    feed.title = QStringLiteral("Paper");
    feed.items = items;
    return feed;
}

QStringList titlesOf(const QList<StoredItem>& items)
{
    QStringList titles;
    for (const StoredItem& stored : items)
        titles.append(stored.title);
    return titles;
}
} // namespace

// The headlines database: what it keeps of each fetch, what it gives the headline list,
// how long it keeps items, and how it survives damage and a second copy of the program.
class FeedStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void refetchAddsNewItemsAndKeepsReadMarks();
    void itemsComeNewestFirstUnderTheirPapers();
    void oldItemsGoBeyondTheNewest200();
    void sitesRememberTheirFeedOrWhyNone();
    void aMovedFeedJoinsOneItMovedTo();
    void damagedDatabaseIsKeptAsideAndANewOneMade_data();
    void damagedDatabaseIsKeptAsideAndANewOneMade();
    void twoProcessesWritingAtOnceLoseNothing();

private:
    [[nodiscard]] QString path(const QString& name = QStringLiteral("headlines.sqlite")) const
    {
        return m_dir->filePath(name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void FeedStoreTest::refetchAddsNewItemsAndKeepsReadMarks()
{
    FeedStore store(path());
    QVERIFY2(store.problem().isEmpty(), qPrintable(store.problem()));
    const QString site = QStringLiteral("http://paper.example");
    const qint64 feedId =
        store.setSiteFound(site, QStringLiteral("http://paper.example/rss"), FeedFormat::Rss, kNow);
    QVERIFY(feedId > 0);
    const FeedStore::Stored first =
        store.storeFetched(feedId,
                           feedOf({item("a", kNow.addSecs(-60)), item("b", kNow.addSecs(-120)),
                                   item("a", kNow, QStringLiteral("repeated id"))}),
                           "\"v1\"", "Tue, 08 Dec 2026 11:00:00 GMT", kNow);
    QVERIFY2(first.ok, qPrintable(store.lastError()));
    QCOMPARE(first.added, 2);
    QList<StoredItem> items = store.items({site});
    QCOMPARE(titlesOf(items), QStringList({"Story a", "Story b"}));
    QVERIFY(store.setRead({items.at(0).id}, true));

    // The title of a changes, c is new, b has left the feed but stays in the database.
    const FeedStore::Stored second = store.storeFetched(
        feedId,
        feedOf({item("c", kNow), item("a", kNow.addSecs(-60), QStringLiteral("Story a, fixed"))}),
        "\"v2\"", {}, kNow);
    QVERIFY2(second.ok, qPrintable(store.lastError()));
    QCOMPARE(second.added, 1);
    items = store.items({site});
    QCOMPARE(titlesOf(items), QStringList({"Story c", "Story a, fixed", "Story b"}));
    QCOMPARE(items.at(1).read, true);
    QCOMPARE(items.at(0).read, false);
    QCOMPARE(items.at(0).site, site);
    QCOMPARE(store.unreadCounts({site}), (QHash<QString, int>{{site, 2}}));

    const std::optional<StoredFeed> feed = store.feed(feedId);
    QVERIFY(feed.has_value());
    QCOMPARE(feed->etag, QByteArray("\"v2\""));
    QCOMPARE(feed->title, QStringLiteral("Paper"));
    QCOMPARE(feed->format, QStringLiteral("rss"));
    QVERIFY(store.recordError(feedId, QStringLiteral("the server answered 500"), kNow));
    QCOMPARE(store.siteFeed(site).error, QStringLiteral("the server answered 500"));
    QVERIFY(store.recordNotModified(feedId, kNow.addSecs(60)));
    QVERIFY(store.siteFeed(site).error.isEmpty());
    QCOMPARE(store.siteFeed(site).fetched, kNow.addSecs(60));
}

void FeedStoreTest::itemsComeNewestFirstUnderTheirPapers()
{
    FeedStore store(path());
    const QString herald = QStringLiteral("https://herald.example/");
    const QString heraldAgain = QStringLiteral("https://HERALD.example");
    const QString ledger = QStringLiteral("http://ledger.example/");
    const qint64 heraldFeed =
        store.setSiteFound(herald, herald + QStringLiteral("feed"), FeedFormat::Atom, kNow);
    QCOMPARE(store.setSiteFound(QStringLiteral("https://herald-mirror.example/"),
                                herald + QStringLiteral("feed"), FeedFormat::Atom, kNow),
             heraldFeed);
    const qint64 ledgerFeed =
        store.setSiteFound(ledger, ledger + QStringLiteral("rss"), FeedFormat::Rss, kNow);
    store.storeFetched(heraldFeed,
                       feedOf({item("h1", kNow.addSecs(-10)), item("h2", kNow.addSecs(-30))}), {},
                       {}, kNow);
    FeedItem undated = item("l2", {});
    store.storeFetched(ledgerFeed, feedOf({item("l1", kNow.addSecs(-20)), undated}), {}, {},
                       kNow.addSecs(-3600));

    const QList<StoredItem> all = store.items({herald, ledger});
    // An undated item counts from when it was first seen.
    QCOMPARE(titlesOf(all), QStringList({"Story h1", "Story l1", "Story h2", "Story l2"}));
    QCOMPARE(all.at(1).site, ledger);
    QVERIFY(!all.at(3).published.isValid());
    QCOMPARE(all.at(3).time, kNow.addSecs(-3600));
    QCOMPARE(titlesOf(store.items({ledger, herald}, 2)), QStringList({"Story h1", "Story l1"}));
    // The same paper however its address is written.
    QCOMPARE(titlesOf(store.items({heraldAgain})), QStringList({"Story h1", "Story h2"}));
    QVERIFY(store.items({QStringLiteral("http://unknown.example/")}).isEmpty());

    // Papers sharing a feed each show its count.
    QCOMPARE(store.unreadCounts({herald, QStringLiteral("https://herald-mirror.example/"), ledger}),
             (QHash<QString, int>{
                 {herald, 2}, {QStringLiteral("https://herald-mirror.example/"), 2}, {ledger, 2}}));
    QCOMPARE(store.markAllRead({ledger}), 2);
    QCOMPARE(store.unreadCounts({herald, ledger}), (QHash<QString, int>{{herald, 2}}));
    QVERIFY(store.setRead({all.at(1).id}, false));
    QCOMPARE(store.unreadCounts({ledger}), (QHash<QString, int>{{ledger, 1}}));
}

void FeedStoreTest::oldItemsGoBeyondTheNewest200()
{
    FeedStore store(path());
    const QString site = QStringLiteral("http://busy.example/");
    const qint64 feedId =
        store.setSiteFound(site, site + QStringLiteral("rss"), FeedFormat::Rss, kNow);
    QList<FeedItem> items;
    for (int i = 0; i < 10; ++i)
        items.append(item(QStringLiteral("recent-%1").arg(i), kNow.addDays(-1).addSecs(-i)));
    for (int i = 0; i < 250; ++i)
        items.append(item(QStringLiteral("old-%1").arg(i), kNow.addDays(-40).addSecs(-i)));
    QCOMPARE(store.storeFetched(feedId, feedOf(items), {}, {}, kNow).added, 200);
    // What was dropped is not news the next time the feed names it.
    QCOMPARE(store.storeFetched(feedId, feedOf(items), {}, {}, kNow).added, 0);

    for (int i = 0; i < 195; ++i)
        items.prepend(item(QStringLiteral("new-%1").arg(i), kNow.addSecs(-i)));
    QCOMPARE(store.storeFetched(feedId, feedOf(items), {}, {}, kNow).added, 195);
    const QList<StoredItem> kept = store.items({site});
    QCOMPARE(kept.size(), 205);
    QCOMPARE(kept.last().title, QStringLiteral("Story recent-9"));

    // Within 30 days, nothing goes however many there are.
    QList<FeedItem> fresh;
    for (int i = 0; i < 300; ++i)
        fresh.append(item(QStringLiteral("fresh-%1").arg(i), kNow.addDays(-2).addSecs(-i)));
    QCOMPARE(store.storeFetched(feedId, feedOf(fresh), {}, {}, kNow).added, 300);
    QCOMPARE(store.items({site}).size(), 505);
}

void FeedStoreTest::sitesRememberTheirFeedOrWhyNone()
{
    {
        FeedStore store(path());
        QCOMPARE(store.siteFeed(QStringLiteral("http://a.example/")).state,
                 SiteFeed::State::Unknown);
        QVERIFY(store.setSiteNone(QStringLiteral("http://a.example"),
                                  QStringLiteral("the site names no feed"), kNow));
        store.setSiteFound(QStringLiteral("http://b.example/"),
                           QStringLiteral("http://b.example/rss"), FeedFormat::Rss, kNow);
    }
    FeedStore store(path());
    const SiteFeed none = store.siteFeed(QStringLiteral("HTTP://A.example/#top"));
    QCOMPARE(none.state, SiteFeed::State::None);
    QCOMPARE(none.reason, QStringLiteral("the site names no feed"));
    QCOMPARE(none.lookedUp, kNow);
    const SiteFeed found = store.siteFeed(QStringLiteral("http://b.example/"));
    QCOMPARE(found.state, SiteFeed::State::Found);
    QCOMPARE(found.feedAddress, QStringLiteral("http://b.example/rss"));
    QCOMPARE(found.format, QStringLiteral("rss"));
    QVERIFY(!found.fetched.isValid());

    // The tables carry their version.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
    db.setDatabaseName(path());
    QVERIFY(db.open());
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("PRAGMA user_version")) && query.next());
    QCOMPARE(query.value(0).toInt(), FeedDatabase::kSchemaVersion);
    QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));
    query.finish();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
}

void FeedStoreTest::aMovedFeedJoinsOneItMovedTo()
{
    FeedStore store(path());
    const qint64 old =
        store.setSiteFound(QStringLiteral("http://a.example/"),
                           QStringLiteral("http://a.example/rss"), FeedFormat::Rss, kNow);
    store.storeFetched(old, feedOf({item("1", kNow)}), {}, {}, kNow);
    QCOMPARE(store.moveFeed(old, QStringLiteral("https://a.example/feed")), old);
    QCOMPARE(store.siteFeed(QStringLiteral("http://a.example/")).feedAddress,
             QStringLiteral("https://a.example/feed"));

    const qint64 other =
        store.setSiteFound(QStringLiteral("http://b.example/"),
                           QStringLiteral("http://b.example/rss"), FeedFormat::Rss, kNow);
    QCOMPARE(store.moveFeed(other, QStringLiteral("https://a.example/feed")), old);
    QCOMPARE(store.siteFeed(QStringLiteral("http://b.example/")).feedId, old);
    QCOMPARE(titlesOf(store.items({QStringLiteral("http://b.example/")})),
             QStringList({"Story 1"}));
}

void FeedStoreTest::damagedDatabaseIsKeptAsideAndANewOneMade_data()
{
    QTest::addColumn<bool>("wholeFile");
    QTest::newRow("not a database at all") << true;
    QTest::newRow("pages overwritten") << false;
}

void FeedStoreTest::damagedDatabaseIsKeptAsideAndANewOneMade()
{
    QFETCH(bool, wholeFile);
    const QString file = path(QStringLiteral("damaged/headlines.sqlite"));
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    {
        FeedStore store(file);
        const qint64 feedId =
            store.setSiteFound(QStringLiteral("http://a.example/"),
                               QStringLiteral("http://a.example/rss"), FeedFormat::Rss, kNow);
        QList<FeedItem> items;
        for (int i = 0; i < 500; ++i)
            items.append(
                item(QString::number(i), kNow.addSecs(-i), QString(200, QLatin1Char('x'))));
        QVERIFY(store.storeFetched(feedId, feedOf(items), {}, {}, kNow).ok);
    }
    QFile damaged(file);
    QVERIFY(damaged.open(QIODevice::ReadWrite));
    if (wholeFile) {
        damaged.resize(0);
        damaged.write(QByteArray(20000, 'G'));
    } else {
        damaged.seek(3 * 4096);
        damaged.write(QByteArray(8 * 4096, '\xA5'));
    }
    const QByteArray damagedBytes = [&damaged] {
        damaged.seek(0);
        return damaged.readAll();
    }();
    damaged.close();

    FeedStore store(file);
    const QString kept = QStringLiteral("headlines-damaged-%1.sqlite")
                             .arg(QDate::currentDate().toString(Qt::ISODate));
    QCOMPARE(store.problem(),
             QStringLiteral(
                 "The headlines database was damaged; it was kept as %1 and a new one started.")
                 .arg(kept));
    QFile aside(QFileInfo(file).dir().filePath(kept));
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), damagedBytes);
    // The new one works and starts empty.
    QCOMPARE(store.siteFeed(QStringLiteral("http://a.example/")).state, SiteFeed::State::Unknown);
    QVERIFY(store.setSiteNone(QStringLiteral("http://a.example/"), QStringLiteral("none"), kNow));
    QCOMPARE(FeedStore(file).problem(), QString());
}

void FeedStoreTest::twoProcessesWritingAtOnceLoseNothing()
{
    const QString site = QStringLiteral("http://shared.example/");
    qint64 feedId = 0;
    {
        FeedStore store(path());
        feedId = store.setSiteFound(site, site + QStringLiteral("rss"), FeedFormat::Rss, kNow);
        QList<FeedItem> base;
        for (int i = 0; i < 100; ++i)
            base.append(item(QStringLiteral("base-%1").arg(i), kNow.addSecs(-i),
                             QStringLiteral("Base %1").arg(i)));
        QCOMPARE(store.storeFetched(feedId, feedOf(base), {}, {}, kNow).added, 100);
    }
    constexpr int kRounds = 60;
    QProcess first;
    QProcess second;
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(KESTRIN_FEED_STORE_WRITER),
                {path(), QString::number(feedId), QStringLiteral("first"), QString::number(kRounds),
                 QStringLiteral("0")});
    second.start(QStringLiteral(KESTRIN_FEED_STORE_WRITER),
                 {path(), QString::number(feedId), QStringLiteral("second"),
                  QString::number(kRounds), QStringLiteral("1")});
    QVERIFY(first.waitForFinished(120000));
    QVERIFY(second.waitForFinished(120000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);

    FeedStore store(path());
    const QList<StoredItem> items = store.items({site});
    QCOMPARE(items.size(), 100 + 2 * kRounds);
    int readBase = 0;
    for (const StoredItem& stored : items)
        readBase += stored.title.startsWith(QLatin1String("Base")) && stored.read;
    // Every read mark of both writers survived the other's rewrites.
    QCOMPARE(readBase, 100);
}

KESTRIN_CORE_TEST_MAIN(FeedStoreTest)
#include "tst_feedstore.moc"
