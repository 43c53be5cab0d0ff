// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "feeds/FeedDiscovery.h"
#include "feeds/FeedRefresher.h"
#include "support/CoreTestMain.h"
#include "support/ScriptedHttpServer.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {
using Request = ScriptedHttpServer::Request;
using Response = ScriptedHttpServer::Response;

const QString kHerald = QStringLiteral("http://herald.example/");
const QString kNoFeed = QStringLiteral("http://nofeed.example/");

QStringList papers(int count)
{
    QStringList sites;
    for (int i = 0; i < count; ++i)
        sites.append(QStringLiteral("http://paper%1.example/").arg(i));
    return sites;
}

Response rss(int items, const QByteArray& etag = {})
{
    Response response;
    response.headers.append({QByteArray("Content-Type"), QByteArray("application/rss+xml")});
    if (!etag.isEmpty()) {
        response.headers.append({QByteArray("ETag"), etag});
        response.headers.append(
            {QByteArray("Last-Modified"), QByteArray("Tue, 08 Dec 2026 09:00:00 GMT")});
    }
    response.body = "<rss version=\"2.0\"><channel><title>Herald</title>";
    for (int i = items; i > 0; --i)
        response.body += "<item><title>Story " + QByteArray::number(i) +
                         "</title><link>http://herald.example/" + QByteArray::number(i) +
                         "</link></item>";
    response.body += "</channel></rss>";
    return response;
}

struct Run
{
    explicit Run(FeedRefresher& refresher)
    {
        QObject::connect(&refresher, &FeedRefresher::finished, &m_context,
                         [this](const FeedRefresher::Summary& s) { summary = s; });
        QObject::connect(&refresher, &FeedRefresher::siteRefreshed, &m_context,
                         [this](const QString& site, int added) {
                             refreshed[site] += added;
                             ended.append(site);
                         });
        QObject::connect(
            &refresher, &FeedRefresher::siteLookedUp, &m_context,
            [this](const QString& site, const SiteFeed& feed) { lookedUp[site] = feed; });
        QObject::connect(&refresher, &FeedRefresher::progressChanged, &m_context,
                         [this](int done, int total) {
                             progress.append(QStringLiteral("%1 of %2").arg(done).arg(total));
                         });
    }
    bool wait()
    {
        return QTest::qWaitFor([this] { return summary.has_value(); }, 30000);
    }

    std::optional<FeedRefresher::Summary> summary;
    QHash<QString, int> refreshed;
    QStringList ended; // in the order the sites ended
    QHash<QString, SiteFeed> lookedUp;
    QStringList progress;

private:
    // Its connections go with it.
    QObject m_context;
};
} // namespace

// Refreshing papers' headlines against sites on this computer: what is asked, what is kept,
// and what the frame is told.
class FeedRefresherTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_refresher.reset(); }
    void refreshFindsFeedsAndAsksOnlyWhatChanged();
    void offlineKeepsEverythingAsItWas();
    void failuresAreKeptWithTheFeed();
    void papersSharingAFeedFetchItOnceAndFollowItsMove();
    void lookUpTellsWhatIsKnownAtOnce();
    void aLongListKeepsFewPapersUnderWay();
    void lookUpGoesAheadOfALongList();
    void aLongListOfflineEndsAndCanBeStoppedOrDropped();

private:
    FeedRefresher::Summary refresh(const QStringList& sites,
                                   FeedRefresher::Mode mode = FeedRefresher::Mode::WhenDue,
                                   Run* run = nullptr)
    {
        Run own(*m_refresher);
        Run& watch = run ? *run : own;
        m_refresher->refresh(sites, mode);
        if (!watch.wait())
            return {};
        return *watch.summary;
    }
    [[nodiscard]] QList<Request> requestsFor(const QByteArray& host, const QByteArray& path) const
    {
        QList<Request> found;
        for (const Request& request : m_server->requests()) {
            if (request.host == host && request.path == path)
                found.append(request);
        }
        return found;
    }

    // The papers' sites name their feed; each answer waits so long.
    void servePapers(int delayMs)
    {
        m_handler = [previous = m_handler, delayMs](const Request& request) {
            if (!request.host.startsWith("paper"))
                return previous(request);
            Response response = request.path == "/"
                                    ? ScriptedHttpServer::Page("<link rel=alternate "
                                                               "type=application/rss+xml "
                                                               "href=/feed.xml>")
                                    : rss(1);
            response.delayMs = delayMs;
            return response;
        };
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedHttpServer> m_server;
    std::unique_ptr<FeedRefresher> m_refresher;
    std::function<Response(const Request&)> m_handler;
    int m_items = 2;
};

void FeedRefresherTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<ScriptedHttpServer>();
    QVERIFY(m_server->start());
    m_items = 2;
    m_handler = [this](const Request& request) {
        const QByteArray site = request.host + request.path;
        if (site == "herald.example/")
            return ScriptedHttpServer::Page(
                "<link rel=alternate type=application/rss+xml href=/feed.xml>");
        if (site == "herald.example/feed.xml") {
            if (request.header("if-none-match") == "\"v" + QByteArray::number(m_items) + "\"")
                return ScriptedHttpServer::Status(304);
            return rss(m_items, "\"v" + QByteArray::number(m_items) + "\"");
        }
        if (site == "nofeed.example/")
            return ScriptedHttpServer::Page("");
        return ScriptedHttpServer::Status(404);
    };
    m_server->setHandler([this](const Request& request) { return m_handler(request); });
    m_refresher =
        std::make_unique<FeedRefresher>(m_dir->filePath(QStringLiteral("headlines.sqlite")));
    QVERIFY(m_refresher->problem().isEmpty());
    m_refresher->setProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_server->port()));
}

void FeedRefresherTest::refreshFindsFeedsAndAsksOnlyWhatChanged()
{
    Run run(*m_refresher);
    const FeedRefresher::Summary first =
        refresh({kHerald, kNoFeed}, FeedRefresher::Mode::WhenDue, &run);
    QCOMPARE(first.papers, 2);
    QCOMPARE(first.newItems, 2);
    QCOMPARE(first.message, QStringLiteral("2 new headlines."));
    QCOMPARE(run.progress.last(), QStringLiteral("2 of 2"));
    QCOMPARE(run.refreshed.value(kHerald), 2);
    QCOMPARE(run.lookedUp.value(kHerald).state, SiteFeed::State::Found);
    QCOMPARE(run.lookedUp.value(kHerald).feedAddress,
             QStringLiteral("http://herald.example/feed.xml"));
    QCOMPARE(run.lookedUp.value(kNoFeed).state, SiteFeed::State::None);
    QCOMPARE(run.lookedUp.value(kNoFeed).reason,
             QStringLiteral("the site names no feed, and none was found at the usual addresses"));
    // The read that found the feed was its first fetch.
    QCOMPARE(requestsFor("herald.example", "/feed.xml").size(), 1);
    FeedStore& store = m_refresher->store();
    QCOMPARE(store.items({kHerald}).size(), 2);
    QCOMPARE(store.unreadCounts({kHerald, kNoFeed}), (QHash<QString, int>{{kHerald, 2}}));

    // Within half an hour nothing is asked again, and a site without a feed is not searched.
    const qsizetype asked = m_server->requests().size();
    const FeedRefresher::Summary soon = refresh({kHerald, kNoFeed});
    QCOMPARE(soon.message, QStringLiteral("No new headlines."));
    QCOMPARE(m_server->requests().size(), asked);

    // Asked for, the feed is fetched with its validators, and 304 changes nothing.
    QCOMPARE(refresh({kHerald}, FeedRefresher::Mode::Now).newItems, 0);
    const Request conditional = requestsFor("herald.example", "/feed.xml").last();
    QCOMPARE(conditional.header("if-none-match"), QByteArray("\"v2\""));
    QCOMPARE(conditional.header("if-modified-since"), QByteArray("Tue, 08 Dec 2026 09:00:00 GMT"));
    QCOMPARE(store.items({kHerald}).size(), 2);
    QVERIFY(store.siteFeed(kHerald).error.isEmpty());

    m_items = 3;
    Run later(*m_refresher);
    QCOMPARE(refresh({kHerald}, FeedRefresher::Mode::Now, &later).newItems, 1);
    QCOMPARE(later.refreshed.value(kHerald), 1);
    QCOMPARE(store.items({kHerald}).first().title, QStringLiteral("Story 3"));
}

void FeedRefresherTest::offlineKeepsEverythingAsItWas()
{
    QCOMPARE(refresh({kHerald}).newItems, 2);
    const QList<StoredItem> before = m_refresher->store().items({kHerald});
    m_refresher->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"),
                                        ScriptedHttpServer::UnusedPort()));
    const QString unknown = QStringLiteral("http://unknown.example/");
    const FeedRefresher::Summary summary = refresh({kHerald, unknown}, FeedRefresher::Mode::Now);
    QVERIFY(summary.offline);
    QCOMPARE(summary.message, QStringLiteral("You seem to be offline: no paper's site could be "
                                             "reached. The headlines are as they were."));
    FeedStore& store = m_refresher->store();
    QCOMPARE(store.items({kHerald}).size(), before.size());
    QVERIFY(store.siteFeed(kHerald).error.isEmpty());
    // Not "no feed" for a week: it will be searched again.
    QCOMPARE(store.siteFeed(unknown).state, SiteFeed::State::Unknown);
}

void FeedRefresherTest::failuresAreKeptWithTheFeed()
{
    QCOMPARE(refresh({kHerald}).newItems, 2);
    m_handler = [](const Request& request) {
        return request.path == "/feed.xml" ? ScriptedHttpServer::Status(500)
                                           : ScriptedHttpServer::Status(404);
    };
    const FeedRefresher::Summary broken = refresh({kHerald}, FeedRefresher::Mode::Now);
    QCOMPARE(broken.failed, 1);
    QCOMPARE(broken.message, QStringLiteral("No new headlines; 1 paper could not be refreshed."));
    QCOMPARE(m_refresher->store().siteFeed(kHerald).error,
             QStringLiteral("the server answered 500"));

    m_handler = [](const Request&) { return ScriptedHttpServer::Page(""); };
    refresh({kHerald}, FeedRefresher::Mode::Now);
    QCOMPARE(m_refresher->store().siteFeed(kHerald).error,
             QStringLiteral("not a feed: a web page, not a feed"));
    // What it had stays.
    QCOMPARE(m_refresher->store().items({kHerald}).size(), 2);
}

void FeedRefresherTest::papersSharingAFeedFetchItOnceAndFollowItsMove()
{
    const QString www = QStringLiteral("http://www.herald.example/");
    m_handler = [this, previous = m_handler](const Request& request) {
        if (request.host == "www.herald.example" && request.path == "/")
            return ScriptedHttpServer::Page("<link rel=alternate type=application/rss+xml "
                                            "href=http://herald.example/feed.xml>");
        if (request.path == "/feed.xml" && m_items == 3)
            return ScriptedHttpServer::Redirect(301, "/v2/feed.xml");
        if (request.path == "/v2/feed.xml")
            return rss(3);
        return previous(request);
    };
    refresh({kHerald, www});
    FeedStore& store = m_refresher->store();
    QCOMPARE(store.siteFeed(kHerald).feedId, store.siteFeed(www).feedId);
    QCOMPARE(store.unreadCounts({kHerald, www}), (QHash<QString, int>{{kHerald, 2}, {www, 2}}));

    m_items = 3;
    const qsizetype before = m_server->requests().size();
    Run run(*m_refresher);
    QCOMPARE(refresh({kHerald, www}, FeedRefresher::Mode::Now, &run).newItems, 1);
    QCOMPARE(m_server->requests().size(), before + 2); // the old address, then the new
    QVERIFY(run.refreshed.contains(kHerald) && run.refreshed.contains(www));
    QCOMPARE(store.siteFeed(www).feedAddress, QStringLiteral("http://herald.example/v2/feed.xml"));
}

void FeedRefresherTest::lookUpTellsWhatIsKnownAtOnce()
{
    Run first(*m_refresher);
    m_refresher->lookUp(kNoFeed);
    QVERIFY(first.wait());
    QCOMPARE(first.lookedUp.value(kNoFeed).state, SiteFeed::State::None);

    const qsizetype asked = m_server->requests().size();
    Run again(*m_refresher);
    m_refresher->lookUp(kNoFeed);
    QCOMPARE(again.lookedUp.value(kNoFeed).state, SiteFeed::State::None);
    QVERIFY(again.lookedUp.value(kNoFeed).reason.contains(QLatin1String("names no feed")));
    QVERIFY(again.wait());
    QCOMPARE(m_server->requests().size(), asked);
}

void FeedRefresherTest::aLongListKeepsFewPapersUnderWay()
{
    servePapers(0);
    NetworkLimits limits;
    limits.maxInFlight = 3;
    m_refresher->setLimits(limits);
    const int room = FeedRefresher::kSitesPerRequest * limits.maxInFlight;
    QStringList sites = papers(60);
    // Written otherwise, the same paper is one.
    sites.append(QStringLiteral("HTTP://Paper7.example"));
    int mostUnderWay = 0;
    qsizetype mostSearches = 0;
    QObject watch;
    connect(m_refresher.get(), &FeedRefresher::siteRefreshed, &watch, [&] {
        mostUnderWay = std::max(mostUnderWay, m_refresher->underWay());
        mostSearches =
            std::max(mostSearches,
                     m_refresher->findChildren<FeedDiscovery*>(Qt::FindDirectChildrenOnly).size());
    });
    Run run(*m_refresher);
    const FeedRefresher::Summary summary = refresh(sites, FeedRefresher::Mode::WhenDue, &run);
    QCOMPARE(summary.papers, 60);
    QCOMPARE(summary.newItems, 60);
    QCOMPARE(run.ended.size(), 60);
    QCOMPARE(run.refreshed.size(), 60);
    // Every paper counted from the start.
    QCOMPARE(run.progress.first(), QStringLiteral("0 of 61"));
    QCOMPARE(run.progress.last(), QStringLiteral("60 of 60"));
    QVERIFY2(mostUnderWay <= room, qPrintable(QString::number(mostUnderWay)));
    // Searches just ended may wait a turn of the events to go.
    QVERIFY2(mostSearches <= 2 * room, qPrintable(QString::number(mostSearches)));
}

void FeedRefresherTest::lookUpGoesAheadOfALongList()
{
    servePapers(10);
    NetworkLimits limits;
    limits.maxInFlight = 2;
    m_refresher->setLimits(limits);
    QStringList sites = papers(40);
    sites.append(kHerald);
    Run run(*m_refresher);
    m_refresher->refresh(sites, FeedRefresher::Mode::WhenDue);
    // One paper of the list, and one the run did not have.
    m_refresher->lookUp(kHerald);
    m_refresher->lookUp(kNoFeed);
    QVERIFY(run.wait());
    QCOMPARE(run.summary->papers, 42);
    QCOMPARE(run.ended.size(), 42);
    QCOMPARE(run.ended.count(kHerald), 1);
    QVERIFY2(run.ended.indexOf(kHerald) < 10, qPrintable(run.ended.join(u' ')));
    QVERIFY2(run.ended.indexOf(kNoFeed) < 10, qPrintable(run.ended.join(u' ')));
    QCOMPARE(run.lookedUp.value(kHerald).state, SiteFeed::State::Found);
}

void FeedRefresherTest::aLongListOfflineEndsAndCanBeStoppedOrDropped()
{
    const QStringList sites = papers(3000);
    m_refresher->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"),
                                        ScriptedHttpServer::UnusedPort()));
    Run offline(*m_refresher);
    QVERIFY(refresh(sites, FeedRefresher::Mode::WhenDue, &offline).offline);
    QCOMPARE(offline.summary->papers, 3000);
    QCOMPARE(offline.ended.size(), 3000);

    // Stopped at once: what was still being gone through does not reach the next run.
    {
        Run stopped(*m_refresher);
        m_refresher->refresh(sites);
        m_refresher->cancel();
        QVERIFY(stopped.summary && stopped.summary->cancelled);
    }
    Run next(*m_refresher);
    QCOMPARE(refresh(sites.mid(0, 100), FeedRefresher::Mode::WhenDue, &next).papers, 100);
    QCOMPARE(next.ended.size(), 100);

    // Dropped with searches under way whose sites never answer.
    m_refresher->setProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_server->port()));
    m_handler = [](const Request&) {
        Response response;
        response.never = true;
        return response;
    };
    m_refresher->refresh(sites);
    QTRY_VERIFY(!m_refresher->findChildren<FeedDiscovery*>().isEmpty());
    QPointer<FeedDiscovery> search = m_refresher->findChildren<FeedDiscovery*>().first();
    m_refresher.reset();
    QVERIFY(search.isNull());
    QTest::qWait(50);
}

KESTRIN_CORE_TEST_MAIN(FeedRefresherTest)
#include "tst_feedrefresher.moc"
