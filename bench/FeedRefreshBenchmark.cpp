// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Refreshes 200 papers' feeds from a local server that answers each request after 100 ms,
// with 30 items per feed to parse and store. The server runs on a thread of its own and
// answers as an HTTP proxy on 127.0.0.1 for 100 fictitious hosts of two feeds each, so the
// per-site limit applies as on the web; nothing leaves this computer. Prints the wall time
// against the ideal (the sum of the answers' delays over the 8 requests allowed in flight;
// goal: 1.15 times the ideal or less) and the longest stall of the user-interface thread
// (goal: none over 50 ms).

#include "ProxyServerThread.h"
#include "feeds/FeedRefresher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int kFeeds = 200;
constexpr int kDelayMs = 100;
constexpr int kTickMs = 5;

QString siteOf(int feed)
{
    return QStringLiteral("http://paper%1.example/%2/").arg(feed / 2).arg(feed % 2);
}

QByteArray feedBody(const QByteArray& host, const QByteArray& path)
{
    QByteArray xml = "<rss version=\"2.0\"><channel><title>" + host + "</title>";
    for (int i = 0; i < 30; ++i)
        xml += "<item><title>Story " + QByteArray::number(i) + " from " + host +
               "</title><link>http://" + host + path + QByteArray::number(i) +
               "</link><pubDate>Tue, 08 Dec 2026 09:" + QByteArray::number(10 + i) +
               ":00 GMT</pubDate><description>&lt;p&gt;A paragraph of "
               "news that the summary keeps.&lt;/p&gt;</description></item>";
    return xml + "</channel></rss>";
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;

    ProxyServerThread server([](const ScriptedHttpServer::Request& request) {
        ScriptedHttpServer::Response response;
        response.delayMs = kDelayMs;
        response.body = feedBody(request.host, request.path);
        response.headers.append({QByteArray("Content-Type"), QByteArray("application/rss+xml")});
        return response;
    });

    FeedRefresher refresher(dir.filePath(QStringLiteral("headlines.sqlite")));
    refresher.setProxy(server.proxy());
    QStringList sites;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int f = 0; f < kFeeds; ++f) {
        sites.append(siteOf(f));
        refresher.store().setSiteFound(siteOf(f), siteOf(f) + QStringLiteral("feed.xml"),
                                       FeedFormat::Rss, now);
    }

    // The user-interface thread ticks every few milliseconds; a late tick is a stall.
    QElapsedTimer sinceTick;
    qint64 longestStallMs = 0;
    int stallsOver50 = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(kTickMs);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        const qint64 stall = sinceTick.restart() - kTickMs;
        longestStallMs = std::max(longestStallMs, stall);
        stallsOver50 += stall > 50;
    });

    QElapsedTimer wall;
    FeedRefresher::Summary summary;
    QObject::connect(&refresher, &FeedRefresher::finished, &app,
                     [&](const FeedRefresher::Summary& s) {
                         summary = s;
                         app.quit();
                     });
    QTimer::singleShot(0, &app, [&] {
        sinceTick.start();
        ticker.start();
        wall.start();
        refresher.refresh(sites, FeedRefresher::Mode::Now);
    });
    app.exec();
    const qint64 wallMs = wall.elapsed();
    ticker.stop();

    const ProxyServerThread::Figures served = server.figures();

    const double idealMs = double(served.servedDelayMs) / NetworkLimits{}.maxInFlight;
    std::printf("papers refreshed:          %d, %d new items (%s)\n", summary.papers,
                summary.newItems, qPrintable(summary.message));
    std::printf("requests answered:         %d (peak %d at once, %d per site)\n", served.requests,
                served.peakOpen, served.peakPerSite);
    std::printf("wall time:                 %.2f s\n", wallMs / 1000.0);
    std::printf("ideal (sum of delays / 8): %.2f s\n", idealMs / 1000.0);
    std::printf("wall / ideal:              %.3f (goal 1.15)\n", wallMs / idealMs);
    std::printf("longest UI stall:          %lld ms (%d over 50 ms)\n",
                static_cast<long long>(longestStallMs), stallsOver50);
    return 0;
}
