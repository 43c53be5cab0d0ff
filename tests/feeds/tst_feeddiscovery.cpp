// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "feeds/FeedDiscovery.h"
#include "feeds/FeedWorker.h"
#include "platform/network/FetchQueue.h"
#include "platform/network/WebAccess.h"
#include "support/CoreTestMain.h"
#include "support/ScriptedHttpServer.h"

#include <QNetworkProxy>

namespace {
using Request = ScriptedHttpServer::Request;
using Response = ScriptedHttpServer::Response;

Response page(const QByteArray& head)
{
    Response response;
    response.body = "<!DOCTYPE html><html><head><title>Paper</title>" + head +
                    "</head><body><p>News</p></body></html>";
    return response;
}

Response feed(const QByteArray& title, int items = 1)
{
    Response response;
    response.headers.append({QByteArray("Content-Type"), QByteArray("application/rss+xml")});
    response.body = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>" + title +
                    "</title><link>http://paper.example/</link>";
    for (int i = 0; i < items; ++i)
        response.body += "<item><title>Story</title><link>http://paper.example/" +
                         QByteArray::number(i) + "</link></item>";
    response.body += "</channel></rss>";
    return response;
}

// Sites of every shape, all on fictitious hosts this server answers for as a proxy.
Response answer(const Request& request)
{
    const QByteArray site = request.host + request.path;
    if (site == "comments.example/")
        return page(
            "<link rel=\"alternate\" type=\"application/rss+xml\" title=\"Comments\" "
            "href=\"/comments/feed/\"><link rel=\"alternate\" type=\"application/atom+xml\" "
            "title=\"News\" href=\"/feed.xml\"><link rel=\"alternate\" "
            "type=\"application/rss+xml\" title=\"Sports\" href=\"/sports.xml\">");
    if (site == "comments.example/comments/feed/")
        return feed("Comments on the paper");
    if (site == "comments.example/feed.xml" || site == "comments.example/sports.xml")
        return feed("News");
    if (site == "base.example/")
        return page("<BASE HREF=\"http://cdn.base.example/feeds/\"><link title='Main' "
                    "HREF='main.rss' REL='Feed Alternate' TYPE='Application/RSS+XML; "
                    "charset=utf-8'>");
    if (site == "cdn.base.example/feeds/main.rss")
        return feed("Main");
    if (site == "wellknown.example/news/")
        return page("<link rel=\"stylesheet\" href=\"/style.css\">");
    if (site == "wellknown.example/news/feed/")
        return page("");
    if (site == "wellknown.example/rss.xml")
        return feed("Found where feeds usually are");
    if (site == "moved.example/")
        return ScriptedHttpServer::Redirect(301, "http://new.moved.example/home/");
    if (site == "new.moved.example/home/")
        return page("<link rel=alternate type=application/rss+xml href=feed.xml>");
    if (site == "new.moved.example/home/feed.xml")
        return ScriptedHttpServer::Redirect(301, "/feed-v2.xml");
    if (site == "new.moved.example/feed-v2.xml")
        return feed("Moved");
    if (site == "fallback.example/")
        return page("<link rel=alternate type=application/rss+xml href=/gone.xml>"
                    "<link rel=alternate type=application/rss+xml href=/page.xml>"
                    "<link rel=alternate type=application/rss+xml href=/empty.xml>"
                    "<link rel=alternate type=application/rss+xml href=/good.xml>");
    if (site == "fallback.example/page.xml")
        return page("");
    if (site == "fallback.example/empty.xml")
        return feed("Empty", 0);
    if (site == "fallback.example/good.xml")
        return feed("Good");
    if (site == "self.example/rss")
        return feed("Itself");
    if (site == "none.example/")
        return page("");
    return ScriptedHttpServer::Status(404);
}
} // namespace

// Finding a site's feed, on sites of every shape.
class FeedDiscoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_server.setHandler(answer);
        m_web.setProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_server.port()));
    }
    void findsTheMainFeed_data();
    void findsTheMainFeed();
    void usualAddressesUnderTheAddressComeFirst();
    void anUnreachableSiteIsNotANoFeedSite();
    void usualAddresses();

private:
    FeedDiscovery::Result discover(FetchQueue& queue, const QString& site)
    {
        FeedDiscovery discovery(queue, m_worker, site);
        std::optional<FeedDiscovery::Result> result;
        connect(&discovery, &FeedDiscovery::finished, this,
                [&result](const FeedDiscovery::Result& r) { result = r; });
        discovery.start();
        if (!QTest::qWaitFor([&result] { return result.has_value(); }, 30000))
            return {};
        return *result;
    }

    ScriptedHttpServer m_server;
    WebAccess m_web;
    FetchQueue m_queue{m_web};
    FeedWorker m_worker{QString()};
};

void FeedDiscoveryTest::findsTheMainFeed_data()
{
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("verified");
    QTest::addColumn<int>("candidates");
    QTest::newRow("main feed over comments")
        << "http://comments.example/"
        << "http://comments.example/feed.xml" << QStringList{"http://comments.example/feed.xml"}
        << 3;
    QTest::newRow("<base>, any case, any order")
        << "http://base.example/"
        << "http://cdn.base.example/feeds/main.rss"
        << QStringList{"http://cdn.base.example/feeds/main.rss"} << 1;
    QTest::newRow("redirected site, moved feed")
        << "http://moved.example/"
        << "http://new.moved.example/feed-v2.xml"
        << QStringList{"http://new.moved.example/home/feed.xml"} << 1;
    QTest::newRow("dead, HTML and empty candidates passed over")
        << "http://fallback.example/"
        << "http://fallback.example/good.xml" << QStringList{"http://fallback.example/good.xml"}
        << 4;
    QTest::newRow("an address that is a feed")
        << "http://self.example/rss"
        << "http://self.example/rss" << QStringList{"http://self.example/rss"} << 1;
    QTest::newRow("none") << "http://none.example/" << QString() << QStringList() << 10;
}

void FeedDiscoveryTest::findsTheMainFeed()
{
    QFETCH(QString, site);
    QFETCH(QString, chosen);
    QFETCH(QStringList, verified);
    QFETCH(int, candidates);
    const FeedDiscovery::Result result = discover(m_queue, site);
    QCOMPARE(result.site, site);
    QCOMPARE(result.chosen, chosen);
    QVERIFY(result.reachedSite);
    QStringList verifiedUrls;
    for (const FeedCandidate& candidate : result.candidates) {
        if (candidate.verified)
            verifiedUrls.append(candidate.url);
    }
    QCOMPARE(verifiedUrls, verified);
    QCOMPARE(result.candidates.size(), candidates);
    if (chosen.isEmpty()) {
        QCOMPARE(
            result.reason,
            QStringLiteral("the site names no feed, and none was found at the usual addresses"));
        QVERIFY(result.feed.items.isEmpty());
    } else {
        // The read that verified the feed comes along, so it is not fetched twice.
        QVERIFY(result.feed.isFeed());
        QVERIFY(!result.feed.items.isEmpty());
        QVERIFY(result.reason.isEmpty());
    }
}

void FeedDiscoveryTest::usualAddressesUnderTheAddressComeFirst()
{
    const int before = int(m_server.requests().size());
    const FeedDiscovery::Result result =
        discover(m_queue, QStringLiteral("http://wellknown.example/news/"));
    QCOMPARE(result.chosen, QStringLiteral("http://wellknown.example/rss.xml"));
    QStringList asked;
    for (const Request& request : m_server.requests().mid(before))
        asked.append(QString::fromUtf8(request.path));
    QCOMPARE(asked.first(), QStringLiteral("/news/"));
    QCOMPARE(asked.at(1), QStringLiteral("/news/feed"));
    QVERIFY(asked.indexOf(QStringLiteral("/news/index.xml")) <
            asked.indexOf(QStringLiteral("/feed")));
    QCOMPARE(asked.last(), QStringLiteral("/rss.xml"));
    // The page that /news/feed/ answers with is no feed.
    const auto page = std::find_if(
        result.candidates.cbegin(), result.candidates.cend(), [](const FeedCandidate& c) {
            return c.url == QLatin1String("http://wellknown.example/news/feed/");
        });
    QVERIFY(page != result.candidates.cend() && !page->verified);
}

void FeedDiscoveryTest::anUnreachableSiteIsNotANoFeedSite()
{
    WebAccess direct;
    FetchQueue queue(direct);
    const FeedDiscovery::Result result = discover(
        queue, QStringLiteral("http://127.0.0.1:%1/").arg(ScriptedHttpServer::UnusedPort()));
    QVERIFY(result.chosen.isEmpty());
    QVERIFY(!result.reachedSite);
    QCOMPARE(result.reason, QStringLiteral("the site could not be reached: connection refused"));
}

void FeedDiscoveryTest::usualAddresses()
{
    const QStringList addresses = FeedDiscovery::WellKnownAddresses(
        QUrl(QStringLiteral("https://paper.example/news/index.html?x=1")));
    QCOMPARE(addresses.first(), QStringLiteral("https://paper.example/news/feed"));
    QVERIFY(addresses.contains(QStringLiteral("https://paper.example/news/rss.xml")));
    QVERIFY(addresses.contains(QStringLiteral("https://paper.example/atom.xml")));
    QCOMPARE(FeedDiscovery::WellKnownAddresses(QUrl(QStringLiteral("http://paper.example"))).size(),
             addresses.size() / 2);
}

KESTRIN_CORE_TEST_MAIN(FeedDiscoveryTest)
#include "tst_feeddiscovery.moc"
