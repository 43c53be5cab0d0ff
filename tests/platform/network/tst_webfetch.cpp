// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "platform/network/FetchQueue.h"
#include "platform/network/HostScope.h"
#include "platform/network/HttpFetch.h"
#include "platform/network/NetworkFailure.h"
#include "platform/network/WebAccess.h"
#include "support/CoreTestMain.h"
#include "support/ScriptedHttpServer.h"

#include <QFile>
#include <QNetworkProxy>

namespace {
using Request = ScriptedHttpServer::Request;
using Response = ScriptedHttpServer::Response;

// Runs one fetch to its end.
HttpFetch::Result fetch(WebAccess& web, const QString& url, const HttpFetch::Options& options)
{
    HttpFetch fetch(web, QUrl(url), options);
    std::optional<HttpFetch::Result> result;
    QObject::connect(&fetch, &HttpFetch::finished, &fetch,
                     [&result](const HttpFetch::Result& r) { result = r; });
    fetch.start();
    if (!QTest::qWaitFor([&result] { return result.has_value(); }, 20000))
        return {};
    return result.value_or(HttpFetch::Result{});
}

void useProxy(WebAccess& web, const ScriptedHttpServer& server)
{
    web.setProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), server.port()));
}
} // namespace

// The network layer every background fetch goes through: what it reads, follows, sends
// and keeps.
class WebFetchTest : public QObject
{
    Q_OBJECT

private slots:
    void bodiesAreReadOnlyAsFarAsAllowed();
    void redirectsLeadToWebAddressesOnly_data();
    void redirectsLeadToWebAddressesOnly();
    void noCookieIsKeptOrSent();
    void compressedAnswersArriveDecompressed();
    void silenceEndsAtTheTimeOut();
    void queueKeepsToTheLimits();
    void failuresTellWhetherAServerWasThere();
    void localAddressesAndNames_data();
    void localAddressesAndNames();
};

void WebFetchTest::bodiesAreReadOnlyAsFarAsAllowed()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const Request& request) {
        Response response;
        response.status = request.path == "/missing" ? 404 : 200;
        response.endless = true;
        return response;
    });
    WebAccess web;
    HttpFetch::Options keep;
    keep.maxBytes = 100 * 1024;
    const HttpFetch::Result kept = fetch(web, server.url(QStringLiteral("/endless")), keep);
    QCOMPARE(kept.status, 200);
    QVERIFY(kept.truncated);
    QCOMPARE(kept.body.size(), keep.maxBytes);

    // An error's body is drained only so far; the status is all that counts.
    HttpFetch::Options discard;
    discard.body = HttpFetch::Body::Discard;
    const HttpFetch::Result dropped = fetch(web, server.url(QStringLiteral("/missing")), discard);
    QCOMPARE(dropped.status, 404);
    QVERIFY(dropped.body.isEmpty());
    // A body that never ends was cut off: the server got rid of little of it.
    QVERIFY2(server.streamedBytes() < 16 * 1024 * 1024,
             qPrintable(QString::number(server.streamedBytes())));
}

void WebFetchTest::redirectsLeadToWebAddressesOnly_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("finalPath");
    QTest::addColumn<QString>("movedToPath");
    QTest::addColumn<bool>("failed");
    QTest::newRow("permanent chain") << QByteArray("/p1") << 200 << "/end"
                                     << "/end" << false;
    QTest::newRow("temporary then permanent")
        << QByteArray("/t1") << 200 << "/end" << QString() << false;
    QTest::newRow("permanent then temporary") << QByteArray("/p2") << 200 << "/end"
                                              << "/t2" << false;
    QTest::newRow("ten hops") << QByteArray("/hop/10") << 200 << "/hop/0" << QString() << false;
    QTest::newRow("eleven hops") << QByteArray("/hop/11") << 0 << QString() << QString() << true;
    QTest::newRow("to javascript:") << QByteArray("/js") << 0 << QString() << QString() << true;
    QTest::newRow("to file:") << QByteArray("/file") << 0 << QString() << QString() << true;
}

void WebFetchTest::redirectsLeadToWebAddressesOnly()
{
    QFETCH(QByteArray, path);
    QFETCH(int, status);
    QFETCH(QString, finalPath);
    QFETCH(QString, movedToPath);
    QFETCH(bool, failed);

    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const Request& request) {
        const QByteArray& p = request.path;
        if (p == "/p1")
            return ScriptedHttpServer::Redirect(301, "/p1b");
        if (p == "/p1b")
            return ScriptedHttpServer::Redirect(308, "/end");
        if (p == "/t1")
            return ScriptedHttpServer::Redirect(302, "/p1b");
        if (p == "/p2")
            return ScriptedHttpServer::Redirect(301, "/t2");
        if (p == "/t2")
            return ScriptedHttpServer::Redirect(307, "/end");
        if (p.startsWith("/hop/") && p != "/hop/0")
            return ScriptedHttpServer::Redirect(302,
                                                "/hop/" + QByteArray::number(p.mid(5).toInt() - 1));
        if (p == "/js")
            return ScriptedHttpServer::Redirect(301, "javascript:alert(1)");
        if (p == "/file")
            return ScriptedHttpServer::Redirect(302, "file:///etc/passwd");
        return ScriptedHttpServer::Status(200);
    });
    WebAccess web;
    const HttpFetch::Result result = fetch(web, server.url(QString::fromLatin1(path)), {});
    QCOMPARE(!result.errorText.isEmpty(), failed);
    if (failed)
        return;
    QCOMPARE(result.status, status);
    QCOMPARE(result.url.path(), finalPath);
    QCOMPARE(result.movedTo.path(), movedToPath);
}

void WebFetchTest::noCookieIsKeptOrSent()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const Request&) {
        Response response = ScriptedHttpServer::Status(200);
        response.headers.append({QByteArray("Set-Cookie"), QByteArray("visitor=42; Path=/")});
        return response;
    });
    WebAccess web;
    fetch(web, server.url(QStringLiteral("/first")), {});
    fetch(web, server.url(QStringLiteral("/second")), {});
    QCOMPARE(server.requests().size(), 2);
    for (const Request& request : server.requests()) {
        QVERIFY(request.header("cookie").isEmpty());
        // Sites that turn robots away are asked as a browser asks.
        QVERIFY(request.userAgent.startsWith("Mozilla/5.0 (X11; Linux x86_64)"));
    }
}

void WebFetchTest::compressedAnswersArriveDecompressed()
{
    QFile packed(qEnvironmentVariable("KESTRIN_TEST_DATA") + QStringLiteral("/feeds/rss2.xml.gz"));
    QFile plain(qEnvironmentVariable("KESTRIN_TEST_DATA") + QStringLiteral("/feeds/rss2.xml"));
    QVERIFY(packed.open(QIODevice::ReadOnly) && plain.open(QIODevice::ReadOnly));
    const QByteArray gzip = packed.readAll();
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([&gzip](const Request&) {
        Response response;
        response.body = gzip;
        response.headers.append({QByteArray("Content-Encoding"), QByteArray("gzip")});
        return response;
    });
    WebAccess web;
    const HttpFetch::Result result = fetch(web, server.url(), {});
    QCOMPARE(result.body, plain.readAll());
    QVERIFY(server.requests().first().header("accept-encoding").contains("gzip"));
}

void WebFetchTest::silenceEndsAtTheTimeOut()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const Request&) {
        Response response;
        response.never = true;
        return response;
    });
    WebAccess web;
    HttpFetch::Options options;
    options.timeoutMs = 300;
    const HttpFetch::Result result = fetch(web, server.url(), options);
    QCOMPARE(result.error, QNetworkReply::TimeoutError);
    QCOMPARE(result.errorText, QStringLiteral("no answer within 1 seconds"));
}

void WebFetchTest::queueKeepsToTheLimits()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const Request&) { return ScriptedHttpServer::Status(200, 40); });
    WebAccess web;
    useProxy(web, server);
    FetchQueue queue(web);
    NetworkLimits limits;
    limits.maxInFlight = 4;
    queue.setLimits(limits);
    QStringList answered;
    QObject context;
    for (int i = 0; i < 24; ++i) {
        const QString url = QStringLiteral("http://%1site%2.example/%3")
                                .arg(i % 3 == 0 ? QStringLiteral("www.") : QString())
                                .arg(i % 2)
                                .arg(i);
        queue.enqueue(QUrl(url), {}, &context,
                      [&answered, url](const HttpFetch::Result&) { answered.append(url); });
    }
    // A fetch the user waits for goes ahead of the rest.
    queue.enqueue(
        QUrl(QStringLiteral("http://first.example/")), {}, &context,
        [&answered](const HttpFetch::Result&) { answered.append(QStringLiteral("first")); },
        FetchQueue::Priority::First);
    QVERIFY(QTest::qWaitFor([&answered] { return answered.size() == 25; }, 20000));
    QVERIFY(answered.indexOf(QStringLiteral("first")) < 8);
    // www.site0 and site0 are one site.
    QCOMPARE(server.peakOpenRequestsPerSite(), 2);
    QVERIFY(server.peakOpenRequests() <= 4);

    // A callback whose context is gone is never called.
    int late = 0;
    {
        QObject gone;
        queue.enqueue(QUrl(QStringLiteral("http://late.example/")), {}, &gone,
                      [&late](const HttpFetch::Result&) { ++late; });
    }
    QTest::qWait(200);
    QCOMPARE(late, 0);
}

void WebFetchTest::failuresTellWhetherAServerWasThere()
{
    // Only failures that show a server was there prove the network works.
    QVERIFY(NetworkFailure::ReachedServer(QNetworkReply::SslHandshakeFailedError));
    QVERIFY(NetworkFailure::ReachedServer(QNetworkReply::RemoteHostClosedError));
    QVERIFY(!NetworkFailure::ReachedServer(QNetworkReply::HostNotFoundError));
    QVERIFY(!NetworkFailure::ReachedServer(QNetworkReply::ConnectionRefusedError));
    QVERIFY(!NetworkFailure::ReachedServer(QNetworkReply::TimeoutError));
    QVERIFY(!NetworkFailure::ReachedServer(QNetworkReply::ProxyConnectionRefusedError));

    WebAccess web;
    const HttpFetch::Result refused = fetch(
        web, QStringLiteral("http://127.0.0.1:%1/").arg(ScriptedHttpServer::UnusedPort()), {});
    QCOMPARE(refused.error, QNetworkReply::ConnectionRefusedError);
    QVERIFY(!refused.reachedServer);
    QCOMPARE(refused.errorText, QStringLiteral("connection refused"));
}

void WebFetchTest::localAddressesAndNames_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("local");
    QTest::newRow("loopback") << "127.0.0.1" << true;
    QTest::newRow("loopback range") << "127.8.9.10" << true;
    QTest::newRow("IPv6 loopback") << "::1" << true;
    QTest::newRow("10/8") << "10.1.2.3" << true;
    QTest::newRow("172.16/12 low") << "172.16.0.1" << true;
    QTest::newRow("172.16/12 high") << "172.31.255.254" << true;
    QTest::newRow("just past 172.16/12") << "172.32.0.1" << false;
    QTest::newRow("192.168/16") << "192.168.1.1" << true;
    QTest::newRow("link-local") << "169.254.10.10" << true;
    QTest::newRow("IPv6 unique local") << "fd12:3456::1" << true;
    QTest::newRow("IPv6 link-local") << "fe80::1" << true;
    QTest::newRow("mapped private") << "::ffff:192.168.0.1" << true;
    QTest::newRow("public IPv4") << "8.8.8.8" << false;
    QTest::newRow("public IPv6") << "2001:4860::8888" << false;
    QTest::newRow("localhost") << "localhost" << true;
    QTest::newRow("single label") << "intranet" << true;
    QTest::newRow(".local") << "printer.local" << true;
    QTest::newRow(".home.arpa") << "nas.home.arpa" << true;
    QTest::newRow("public name") << "www.paper.com" << false;
    QTest::newRow("local as a word") << "local.paper.com" << false;
}

void WebFetchTest::localAddressesAndNames()
{
    QFETCH(QString, host);
    QFETCH(bool, local);
    QCOMPARE(HostScope::IsLocalName(host), local);
}

KESTRIN_CORE_TEST_MAIN(WebFetchTest)
#include "tst_webfetch.moc"
