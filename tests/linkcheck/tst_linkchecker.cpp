// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "linkcheck/LinkChecker.h"
#include "support/ScriptedHttpServer.h"
#include "support/TestMain.h"

#include <QFile>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QSslConfiguration>

namespace {
using Response = ScriptedHttpServer::Response;
using Kind = HostScope::Kind;

// Fictitious names get the kind the test gives them; literal addresses are judged as the
// program judges them. Nothing is looked up.
HostScope::Classifier fixedClassifier(std::function<Kind(const QString& host)> kindOf,
                                      QStringList* asked = nullptr)
{
    return [kindOf, asked](const QString& host, QObject*, HostScope::Done done) {
        if (asked)
            asked->append(host);
        done(kindOf(host));
    };
}

// Collects what a run reports and waits for its end.
struct Run
{
    explicit Run(LinkChecker& checker)
    {
        QObject::connect(
            &checker, &LinkChecker::resultReady, &checker,
            [this](const QString& url, const LinkResult& result) { results.insert(url, result); });
        QObject::connect(&checker, &LinkChecker::finished, &checker,
                         [this](LinkChecker::Outcome value) {
                             outcome = value;
                             ++finishedCount;
                         });
    }
    bool waitForEnd(int timeoutMs = 30000)
    {
        return QTest::qWaitFor([this] { return finishedCount > 0; }, timeoutMs);
    }

    QHash<QString, LinkResult> results;
    LinkChecker::Outcome outcome = LinkChecker::Outcome::Cancelled;
    int finishedCount = 0;
};

QSslCertificate testCertificate()
{
    QFile file(qEnvironmentVariable("KESTRIN_TEST_DATA") + QStringLiteral("/tls/localhost.crt"));
    return file.open(QIODevice::ReadOnly) ? QSslCertificate(&file, QSsl::Pem) : QSslCertificate();
}

QSslKey testKey()
{
    QFile file(qEnvironmentVariable("KESTRIN_TEST_DATA") + QStringLiteral("/tls/localhost.key"));
    return file.open(QIODevice::ReadOnly) ? QSslKey(&file, QSsl::Rsa) : QSslKey();
}
} // namespace

class LinkCheckerTest : public QObject
{
    Q_OBJECT

private slots:
    void verdicts_data();
    void verdicts();
    void headRefusedFallsBackToGet();
    void serverErrorIsAskedTwiceBeforeDead();
    void httpsOnTheSameSiteIsAlive();
    void untrustedCertificateIsUnsure();
    void silentServerTimesOutAsUnsure();
    void closedPortIsDead();
    void bodiesAreCutOffCookiesNeverSentRedirectsStayOnTheWeb();
    void neverMoreThanTwoAtOnceToOneHost();
    void cancelStopsEveryRequest();
    void offlineChecksOnlyLocalAddresses();
    void unreachablePublicHostsWaitForProofOfNetwork();
    void reachabilityProbesTellDeadFromOffline();
    void prioritizedAddressGoesNext();
    void redirectsOffTheWebAreUnsure_data();
    void redirectsOffTheWebAreUnsure();
    void endlessBodiesAreCutOff();
    void cookiesAreNotSentBack();

private:
    static void useProxy(LinkChecker& checker, const ScriptedHttpServer& server)
    {
        checker.setProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), server.port()));
    }
};

void LinkCheckerTest::verdicts_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<QString>("newUrl");

    const auto alive = static_cast<int>(LinkResult::Status::Alive);
    const auto moved = static_cast<int>(LinkResult::Status::Moved);
    const auto dead = static_cast<int>(LinkResult::Status::Dead);
    const auto unsure = static_cast<int>(LinkResult::Status::Unsure);
    QTest::newRow("200") << QByteArray("/ok") << alive << 200 << QString();
    QTest::newRow("204 counts as a page") << QByteArray("/empty") << alive << 204 << QString();
    QTest::newRow("same-site redirect, relative")
        << QByteArray("/front") << alive << 200 << QString();
    QTest::newRow("301 to another host")
        << QByteArray("/moved-301") << moved << 301 << QStringLiteral("http://paper.example/new");
    QTest::newRow("302 to another host") << QByteArray("/moved-302") << moved << 302
                                         << QStringLiteral("https://owner.example/paper/");
    QTest::newRow("moved after a same-site hop")
        << QByteArray("/hop") << moved << 301 << QStringLiteral("http://paper.example/new");
    QTest::newRow("404") << QByteArray("/gone-404") << dead << 404 << QString();
    QTest::newRow("410") << QByteArray("/gone-410") << dead << 410 << QString();
    QTest::newRow("401") << QByteArray("/login") << unsure << 401 << QString();
    QTest::newRow("403") << QByteArray("/forbidden") << unsure << 403 << QString();
    QTest::newRow("429") << QByteArray("/busy") << unsure << 429 << QString();
    QTest::newRow("418, anything else") << QByteArray("/teapot") << unsure << 418 << QString();
    QTest::newRow("redirect loop") << QByteArray("/loop") << unsure << 302 << QString();
    QTest::newRow("redirect without a target")
        << QByteArray("/nowhere") << unsure << 301 << QString();
}

void LinkCheckerTest::verdicts()
{
    QFETCH(QByteArray, path);
    QFETCH(int, status);
    QFETCH(int, httpStatus);
    QFETCH(QString, newUrl);

    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const ScriptedHttpServer::Request& request) -> Response {
        const QByteArray& p = request.path;
        if (p == "/ok" || p == "/home")
            return ScriptedHttpServer::Status(200);
        if (p == "/empty")
            return ScriptedHttpServer::Status(204);
        if (p == "/front")
            return ScriptedHttpServer::Redirect(301, "/home");
        if (p == "/moved-301")
            return ScriptedHttpServer::Redirect(301, "http://paper.example/new");
        if (p == "/moved-302")
            return ScriptedHttpServer::Redirect(302, "https://owner.example/paper/");
        if (p == "/hop")
            return ScriptedHttpServer::Redirect(302, "/moved-301");
        if (p == "/gone-404")
            return ScriptedHttpServer::Status(404);
        if (p == "/gone-410")
            return ScriptedHttpServer::Status(410);
        if (p == "/login")
            return ScriptedHttpServer::Status(401);
        if (p == "/forbidden")
            return ScriptedHttpServer::Status(403);
        if (p == "/busy")
            return ScriptedHttpServer::Status(429);
        if (p == "/teapot")
            return ScriptedHttpServer::Status(418);
        if (p == "/loop")
            return ScriptedHttpServer::Redirect(302, "/loop");
        if (p == "/nowhere")
            return ScriptedHttpServer::Status(301);
        return ScriptedHttpServer::Status(500);
    });

    LinkChecker checker;
    Run run(checker);
    const QString url = server.url(QString::fromLatin1(path));
    QVERIFY(checker.start({url}));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.outcome, LinkChecker::Outcome::Completed);
    QVERIFY(run.results.contains(url));
    const LinkResult result = run.results.value(url);
    QCOMPARE(static_cast<int>(result.status), status);
    QCOMPARE(result.httpStatus, httpStatus);
    QCOMPARE(result.newUrl, newUrl);
    QVERIFY(result.checked.isValid());
    // The redirect target on another host is kept, never fetched: only this server was asked.
    for (const ScriptedHttpServer::Request& request : server.requests())
        QCOMPARE(request.host, QByteArray("127.0.0.1"));
}

void LinkCheckerTest::headRefusedFallsBackToGet()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const ScriptedHttpServer::Request& request) {
        return ScriptedHttpServer::Status(request.method == "HEAD" ? 405 : 200);
    });
    LinkChecker checker;
    Run run(checker);
    QVERIFY(checker.start({server.url()}));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.results.value(server.url()).status, LinkResult::Status::Alive);
    QCOMPARE(server.requestCount("HEAD"), 1);
    QCOMPARE(server.requestCount("GET"), 1);
    QCOMPARE(server.requests().first().method, QByteArray("HEAD"));
    // Sites that turn robots away are asked as a browser asks.
    for (const ScriptedHttpServer::Request& request : server.requests())
        QVERIFY(request.userAgent.startsWith("Mozilla/5.0 (X11; Linux x86_64)"));
}

void LinkCheckerTest::serverErrorIsAskedTwiceBeforeDead()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    int gets = 0;
    server.setHandler([&gets](const ScriptedHttpServer::Request& request) {
        if (request.path == "/recovers" && request.method == "GET" && ++gets > 1)
            return ScriptedHttpServer::Status(200);
        return ScriptedHttpServer::Status(request.path == "/unavailable" ? 503 : 500);
    });
    LinkChecker checker;
    LinkChecker::Limits limits;
    limits.retryDelayMs = 50;
    checker.setLimits(limits);
    Run run(checker);
    const QString broken = server.url(QStringLiteral("/broken"));
    const QString unavailable = server.url(QStringLiteral("/unavailable"));
    const QString recovers = server.url(QStringLiteral("/recovers"));
    QVERIFY(checker.start({broken, unavailable, recovers}));
    QVERIFY(run.waitForEnd());

    QCOMPARE(run.results.value(broken).status, LinkResult::Status::Dead);
    QCOMPARE(run.results.value(broken).httpStatus, 500);
    QCOMPARE(run.results.value(unavailable).status, LinkResult::Status::Dead);
    QCOMPARE(run.results.value(unavailable).httpStatus, 503);
    // One failing answer is not enough: the second try decides.
    QCOMPARE(run.results.value(recovers).status, LinkResult::Status::Alive);
    int brokenGets = 0;
    for (const ScriptedHttpServer::Request& request : server.requests())
        brokenGets += request.path == "/broken" && request.method == "GET";
    QCOMPARE(brokenGets, 2);
}

void LinkCheckerTest::httpsOnTheSameSiteIsAlive()
{
    const QSslCertificate certificate = testCertificate();
    QVERIFY(!certificate.isNull());
    const QSslConfiguration previous = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = previous;
    trusting.addCaCertificate(certificate);
    QSslConfiguration::setDefaultConfiguration(trusting);
    auto restore =
        qScopeGuard([&previous] { QSslConfiguration::setDefaultConfiguration(previous); });

    ScriptedHttpServer secure;
    secure.setTls(certificate, testKey());
    QVERIFY(secure.start());
    ScriptedHttpServer plain;
    QVERIFY(plain.start());
    plain.setHandler([&secure](const ScriptedHttpServer::Request&) {
        return ScriptedHttpServer::Redirect(301, secure.url().toUtf8());
    });

    LinkChecker checker;
    Run run(checker);
    QVERIFY(checker.start({plain.url()}));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.results.value(plain.url()).status, LinkResult::Status::Alive);
    QCOMPARE(secure.requestCount("HEAD"), 1);
}

void LinkCheckerTest::untrustedCertificateIsUnsure()
{
    ScriptedHttpServer secure;
    secure.setTls(testCertificate(), testKey());
    QVERIFY(secure.start());
    LinkChecker checker;
    Run run(checker);
    QVERIFY(checker.start({secure.url()}));
    QVERIFY(run.waitForEnd());
    const LinkResult result = run.results.value(secure.url());
    QCOMPARE(result.status, LinkResult::Status::Unsure);
    QCOMPARE(result.httpStatus, 0);
    QVERIFY2(result.error.contains(QLatin1String("secure")), qPrintable(result.error));
}

void LinkCheckerTest::silentServerTimesOutAsUnsure()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const ScriptedHttpServer::Request&) {
        Response response;
        response.never = true;
        return response;
    });
    LinkChecker checker;
    LinkChecker::Limits limits;
    limits.timeoutMs = 300;
    checker.setLimits(limits);
    Run run(checker);
    QVERIFY(checker.start({server.url()}));
    QVERIFY(run.waitForEnd());
    const LinkResult result = run.results.value(server.url());
    QCOMPARE(result.status, LinkResult::Status::Unsure);
    QVERIFY2(result.error.contains(QLatin1String("no answer")), qPrintable(result.error));
    QTRY_COMPARE_WITH_TIMEOUT(server.openConnections(), 0, 10000);
}

void LinkCheckerTest::closedPortIsDead()
{
    const quint16 port = ScriptedHttpServer::UnusedPort();
    const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    LinkChecker checker;
    Run run(checker);
    QVERIFY(checker.start({url}));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.results.value(url).status, LinkResult::Status::Dead);
    QCOMPARE(run.results.value(url).error, QStringLiteral("connection refused"));
}

void LinkCheckerTest::bodiesAreCutOffCookiesNeverSentRedirectsStayOnTheWeb()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const ScriptedHttpServer::Request& request) {
        if (request.path == "/script")
            return ScriptedHttpServer::Redirect(301, "javascript:alert(1)");
        // An error page whose body never ends, with a cookie.
        Response response;
        response.status = 404;
        response.endless = true;
        response.headers.append({QByteArray("Set-Cookie"), QByteArray("seen=1")});
        return response;
    });
    LinkChecker checker;
    Run run(checker);
    const QString endless = server.url(QStringLiteral("/endless"));
    const QString again = server.url(QStringLiteral("/again"));
    const QString script = server.url(QStringLiteral("/script"));
    QVERIFY(checker.start({endless, again, script}));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.results.value(endless).status, LinkResult::Status::Dead);
    QCOMPARE(run.results.value(endless).httpStatus, 404);
    // The rest of the body was never read: the server could not send much of it.
    QVERIFY2(server.streamedBytes() < 16 * 1024 * 1024,
             qPrintable(QString::number(server.streamedBytes())));
    for (const ScriptedHttpServer::Request& request : server.requests())
        QVERIFY(request.header("cookie").isEmpty());
    // Only a web address can be a paper's new home.
    QCOMPARE(run.results.value(script).status, LinkResult::Status::Unsure);
    QVERIFY(run.results.value(script).newUrl.isEmpty());
    QCOMPARE(run.results.value(script).error,
             QStringLiteral("redirected to an address that is not on the web"));
}

void LinkCheckerTest::neverMoreThanTwoAtOnceToOneHost()
{
    ScriptedHttpServer proxy;
    QVERIFY(proxy.start());
    proxy.setHandler(
        [](const ScriptedHttpServer::Request&) { return ScriptedHttpServer::Status(200, 300); });
    LinkChecker checker;
    useProxy(checker, proxy);
    checker.setClassifier(fixedClassifier([](const QString&) { return Kind::Public; }));
    QStringList urls;
    // One crowded site (its www and bare forms are one site) and a dozen small ones.
    for (int i = 0; i < 8; ++i)
        urls << QStringLiteral("http://crowded.test/paper%1").arg(i)
             << QStringLiteral("http://www.crowded.test/paper%1").arg(i);
    for (int i = 0; i < 12; ++i)
        urls << QStringLiteral("http://site%1.test/").arg(i);
    Run run(checker);
    QVERIFY(checker.start(urls));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.results.size(), urls.size());
    QCOMPARE(proxy.requestCount(), urls.size());

    // The server counts per site, so the two names of the crowded one count together.
    const int peakCrowded = proxy.peakOpenRequestsPerSite();
    QVERIFY2(peakCrowded <= 2, qPrintable(QString::number(peakCrowded)));
    QVERIFY2(proxy.peakOpenRequests() <= 8, qPrintable(QString::number(proxy.peakOpenRequests())));
    // Many sites at once: the limits do not serialise the whole run.
    QVERIFY2(proxy.peakOpenRequests() > 2, qPrintable(QString::number(proxy.peakOpenRequests())));
}

void LinkCheckerTest::cancelStopsEveryRequest()
{
    ScriptedHttpServer proxy;
    QVERIFY(proxy.start());
    proxy.setHandler([](const ScriptedHttpServer::Request&) {
        Response response;
        response.never = true;
        return response;
    });
    LinkChecker checker;
    useProxy(checker, proxy);
    checker.setClassifier(fixedClassifier([](const QString&) { return Kind::Public; }));
    QStringList urls;
    for (int i = 0; i < 30; ++i)
        urls << QStringLiteral("http://paper%1.test/").arg(i);
    Run run(checker);
    QVERIFY(checker.start(urls));
    QTRY_COMPARE_WITH_TIMEOUT(proxy.openRequests(), 8, 20000);

    checker.cancel();
    QCOMPARE(run.finishedCount, 1);
    QCOMPARE(run.outcome, LinkChecker::Outcome::Cancelled);
    QVERIFY(!checker.isRunning());
    QTRY_COMPARE_WITH_TIMEOUT(proxy.openConnections(), 0, 20000);
    QTest::qWait(300);
    QCOMPARE(proxy.requestCount(), 8);
    QVERIFY(run.results.isEmpty());
}

void LinkCheckerTest::offlineChecksOnlyLocalAddresses()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const ScriptedHttpServer::Request& request) {
        return ScriptedHttpServer::Status(request.path == "/gone" ? 404 : 200);
    });
    LinkChecker checker;
    QStringList asked;
    // A resolver that finds no public name at all, as on a computer without network.
    checker.setClassifier(fixedClassifier(
        [](const QString& host) {
            return host == QLatin1String("127.0.0.1") ? Kind::Local : Kind::NotFound;
        },
        &asked));
    QStringList urls;
    for (int i = 0; i < 70; ++i)
        urls << QStringLiteral("https://www.paper%1.com/").arg(i);
    const QString local = server.url(QStringLiteral("/front"));
    const QString localGone = server.url(QStringLiteral("/gone"));
    urls << local << localGone;
    Run run(checker);
    QVERIFY(checker.start(urls));
    QVERIFY(run.waitForEnd());

    QCOMPARE(run.outcome, LinkChecker::Outcome::Offline);
    QVERIFY(checker.isOffline());
    QCOMPARE(run.results.size(), 2);
    QCOMPARE(run.results.value(local).status, LinkResult::Status::Alive);
    QCOMPARE(run.results.value(localGone).status, LinkResult::Status::Dead);
    QCOMPARE(checker.progress().notChecked, 70);
    QCOMPARE(checker.progress().done, 72);
    QCOMPARE(checker.progress().dead, 1);
    // After fifty public names failed, the rest were not even looked up.
    QCOMPARE(asked.count() - asked.count(QStringLiteral("127.0.0.1")), 50);
}

void LinkCheckerTest::unreachablePublicHostsWaitForProofOfNetwork()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler(
        [](const ScriptedHttpServer::Request&) { return ScriptedHttpServer::Status(200, 200); });
    const quint16 closedPort = ScriptedHttpServer::UnusedPort();
    LinkChecker checker;
    // Here the test's own server plays a public site that answers.
    checker.setClassifier(fixedClassifier([](const QString& host) {
        return host == QLatin1String("127.0.0.1") ? Kind::Public : Kind::NotFound;
    }));
    const QString missing = QStringLiteral("http://closed-long-ago.example/");
    const QString refused = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort);
    const QString alive = server.url();
    QList<QString> order;
    connect(&checker, &LinkChecker::resultReady, this,
            [&order](const QString& url, const LinkResult&) { order.append(url); });
    Run run(checker);
    QVERIFY(checker.start({missing, refused, alive}));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.outcome, LinkChecker::Outcome::Completed);
    QCOMPARE(run.results.value(missing).status, LinkResult::Status::Dead);
    QCOMPARE(run.results.value(missing).error, QStringLiteral("host name does not exist"));
    QCOMPARE(run.results.value(refused).status, LinkResult::Status::Dead);
    // The failures were held back until a public site had answered.
    QCOMPARE(order.first(), alive);
}

void LinkCheckerTest::reachabilityProbesTellDeadFromOffline()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    const QString missing = QStringLiteral("http://closed-long-ago.example/");
    {
        LinkChecker checker;
        checker.setClassifier(fixedClassifier([](const QString& host) {
            return host == QLatin1String("127.0.0.1") ? Kind::Public : Kind::NotFound;
        }));
        checker.setReachabilityProbes({server.url(QStringLiteral("/probe"))});
        Run run(checker);
        QVERIFY(checker.start({missing}));
        QVERIFY(run.waitForEnd());
        QCOMPARE(run.outcome, LinkChecker::Outcome::Completed);
        QCOMPARE(run.results.size(), 1);
        QCOMPARE(run.results.value(missing).status, LinkResult::Status::Dead);
        QCOMPARE(server.requestCount(), 1);
        QCOMPARE(checker.progress().total, 1);
    }
    {
        LinkChecker checker;
        checker.setClassifier(fixedClassifier([](const QString&) { return Kind::NotFound; }));
        checker.setReachabilityProbes({QStringLiteral("http://big-paper.example/"),
                                       QStringLiteral("http://other-paper.example/")});
        Run run(checker);
        QVERIFY(checker.start({missing}));
        QVERIFY(run.waitForEnd());
        QCOMPARE(run.outcome, LinkChecker::Outcome::Offline);
        QVERIFY(run.results.isEmpty());
        QCOMPARE(checker.progress().notChecked, 1);
    }
}

void LinkCheckerTest::prioritizedAddressGoesNext()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler(
        [](const ScriptedHttpServer::Request&) { return ScriptedHttpServer::Status(200, 50); });
    LinkChecker checker;
    QStringList urls;
    for (int i = 0; i < 10; ++i)
        urls << server.url(QStringLiteral("/paper%1").arg(i));
    Run run(checker);
    QVERIFY(checker.start(urls));
    QVERIFY(checker.prioritize(urls.last()));
    QVERIFY(!checker.prioritize(QStringLiteral("http://not-in-the-run.example/")));
    QVERIFY(run.waitForEnd());
    // Two were under way before the request; the prioritized one came right after.
    const qsizetype position =
        std::find_if(server.requests().begin(), server.requests().end(),
                     [](const ScriptedHttpServer::Request& r) { return r.path == "/paper9"; }) -
        server.requests().begin();
    QVERIFY2(position <= 2, qPrintable(QString::number(position)));
}

void LinkCheckerTest::redirectsOffTheWebAreUnsure_data()
{
    QTest::addColumn<QByteArray>("location");
    QTest::newRow("javascript:") << QByteArray("javascript:alert(document.cookie)");
    QTest::newRow("data:") << QByteArray("data:text/html,<script>alert(1)</script>");
    QTest::newRow("file:") << QByteArray("file:///etc/passwd");
    QTest::newRow("ftp:") << QByteArray("ftp://files.example/paper/");
}

void LinkCheckerTest::redirectsOffTheWebAreUnsure()
{
    QFETCH(QByteArray, location);
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([location](const ScriptedHttpServer::Request&) {
        return ScriptedHttpServer::Redirect(301, location);
    });
    LinkChecker checker;
    Run run(checker);
    QVERIFY(checker.start({server.url()}));
    QVERIFY(run.waitForEnd());
    const LinkResult result = run.results.value(server.url());
    // Not a move: Use New Address would store that as the favorite's address.
    QCOMPARE(result.status, LinkResult::Status::Unsure);
    QVERIFY(result.newUrl.isEmpty());
    QVERIFY2(result.error.contains(QStringLiteral("not on the web")), qPrintable(result.error));
}

void LinkCheckerTest::endlessBodiesAreCutOff()
{
    // Error pages that never end: each is read only as far as the verdict needs.
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const ScriptedHttpServer::Request& request) {
        Response response;
        response.status = request.path == "/missing" ? 404 : 500;
        response.body = QByteArray(64 * 1024, 'x');
        response.endless = request.method == "GET";
        return response;
    });
    LinkChecker checker;
    LinkChecker::Limits limits;
    limits.retryDelayMs = 10;
    checker.setLimits(limits);
    Run run(checker);
    const QString missing = server.url(QStringLiteral("/missing"));
    const QString failing = server.url(QStringLiteral("/failing"));
    QVERIFY(checker.start({missing, failing}));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.results.value(missing).status, LinkResult::Status::Dead);
    QCOMPARE(run.results.value(missing).httpStatus, 404);
    // Asked twice, both answers cut off: not a time-out.
    QCOMPARE(run.results.value(failing).status, LinkResult::Status::Dead);
    QCOMPARE(run.results.value(failing).httpStatus, 500);
    QVERIFY2(server.streamedBytes() < 16 * 1024 * 1024,
             qPrintable(QString::number(server.streamedBytes())));
}

void LinkCheckerTest::cookiesAreNotSentBack()
{
    ScriptedHttpServer server;
    QVERIFY(server.start());
    server.setHandler([](const ScriptedHttpServer::Request& request) {
        Response response = ScriptedHttpServer::Status(request.method == "HEAD" ? 405 : 200);
        response.headers.append({QByteArray("Set-Cookie"), QByteArray("seen=1; Path=/")});
        return response;
    });
    LinkChecker checker;
    Run run(checker);
    QVERIFY(checker.start({server.url(QStringLiteral("/a")), server.url(QStringLiteral("/b")),
                           server.url(QStringLiteral("/c"))}));
    QVERIFY(run.waitForEnd());
    QCOMPARE(server.requests().size(), 6);
    for (const ScriptedHttpServer::Request& request : server.requests())
        QVERIFY2(request.header("cookie").isEmpty(), request.path.constData());
}

KESTRIN_TEST_MAIN(LinkCheckerTest)
#include "tst_linkchecker.moc"
