// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Two refreshes of papers' headlines, with the user-interface thread ticking every 5 ms (a
// late tick is a stall; goal: none over 50 ms):
// - 200 papers' feeds from a local server that answers each request after 100 ms, with 30
//   items per feed to parse and store. The server runs on a thread of its own and answers
//   as an HTTP proxy on 127.0.0.1 for 100 fictitious hosts of two feeds each, so the
//   per-site limit applies as on the web. Prints the wall time against the ideal (the sum
//   of the answers' delays over the 8 requests allowed in flight; goal: 1.15 times the
//   ideal or less) and the longest stall.
// - 100,000 and 1,000,000 papers never looked up, with no network: the proxy is a port on
//   127.0.0.1 that refuses. Prints the time to the run's end, the longest stall, the most
//   feed searches alive at once and the peak memory.
// Nothing leaves this computer. --offline 100000,1000000 sets the second's sizes (0: none).

#include "BenchmarkSupport.h"
#include "ProxyServerThread.h"
#include "feeds/FeedDiscovery.h"
#include "feeds/FeedRefresher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
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

// Peak resident memory of this process so far, in MiB.
long peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    }
    return -1;
}

// Ticks on the thread under measurement and keeps the longest gap past the interval.
class StallWatch
{
public:
    StallWatch()
    {
        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(kTickMs);
        QObject::connect(&m_ticker, &QTimer::timeout, &m_ticker, [this] {
            const qint64 stall = m_sinceTick.restart() - kTickMs;
            const double cpu = BenchmarkSupport::ThreadCpuMs();
            longestBusyMs = std::max(longestBusyMs, cpu - std::exchange(m_lastCpu, cpu));
            longestMs = std::max(longestMs, stall);
            over50 += stall > 50;
            if (onTick)
                onTick();
        });
    }
    void start()
    {
        m_lastCpu = BenchmarkSupport::ThreadCpuMs();
        m_sinceTick.start();
        m_ticker.start();
    }
    void stop() { m_ticker.stop(); }

    qint64 longestMs = 0;
    int over50 = 0;
    // On a busy machine a tick can be late with this thread idle: the most it worked between
    // two ticks.
    double longestBusyMs = 0;
    std::function<void()> onTick;

private:
    QElapsedTimer m_sinceTick;
    double m_lastCpu = 0;
    QTimer m_ticker;
};

// Runs one refresh to its end; returns its wall time in ms.
qint64 runRefresh(QCoreApplication& app, FeedRefresher& refresher, const QStringList& sites,
                  FeedRefresher::Mode mode, StallWatch& watch, FeedRefresher::Summary& summary)
{
    QElapsedTimer wall;
    const QMetaObject::Connection done = QObject::connect(
        &refresher, &FeedRefresher::finished, &app, [&](const FeedRefresher::Summary& s) {
            summary = s;
            app.quit();
        });
    QTimer::singleShot(0, &app, [&] {
        watch.start();
        wall.start();
        refresher.refresh(sites, mode);
    });
    app.exec();
    const qint64 wallMs = wall.elapsed();
    watch.stop();
    QObject::disconnect(done);
    return wallMs;
}

void feeds(QCoreApplication& app)
{
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

    StallWatch watch;
    FeedRefresher::Summary summary;
    const qint64 wallMs =
        runRefresh(app, refresher, sites, FeedRefresher::Mode::Now, watch, summary);
    const ProxyServerThread::Figures served = server.figures();

    const double idealMs = double(served.servedDelayMs) / NetworkLimits{}.maxInFlight;
    std::printf("papers refreshed:          %d, %d new items (%s)\n", summary.papers,
                summary.newItems, qPrintable(summary.message));
    std::printf("requests answered:         %d (peak %d at once, %d per site)\n", served.requests,
                served.peakOpen, served.peakPerSite);
    std::printf("wall time:                 %.2f s\n", wallMs / 1000.0);
    std::printf("ideal (sum of delays / 8): %.2f s\n", idealMs / 1000.0);
    std::printf("wall / ideal:              %.3f (goal 1.15)\n", wallMs / idealMs);
    std::printf("longest UI stall:          %lld ms (%d over 50 ms; most work between ticks "
                "%.0f ms)\n",
                static_cast<long long>(watch.longestMs), watch.over50, watch.longestBusyMs);
}

void offline(QCoreApplication& app, int count)
{
    QTemporaryDir dir;
    FeedRefresher refresher(dir.filePath(QStringLiteral("headlines.sqlite")));
    refresher.setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"),
                                     ScriptedHttpServer::UnusedPort()));
    QStringList sites;
    sites.reserve(count);
    for (int i = 0; i < count; ++i)
        sites.append(QStringLiteral("http://www.newspaper%1.example.com/").arg(i));

    StallWatch watch;
    qsizetype searches = 0;
    watch.onTick = [&] {
        searches = std::max(
            searches, refresher.findChildren<FeedDiscovery*>(Qt::FindDirectChildrenOnly).size());
    };
    FeedRefresher::Summary summary;
    const qint64 wallMs =
        runRefresh(app, refresher, sites, FeedRefresher::Mode::WhenDue, watch, summary);
    std::printf("%d papers, no network:  %d counted, %s\n", count, summary.papers,
                summary.offline ? "offline" : "NOT offline");
    std::printf("  to the run's end:        %.2f s\n", wallMs / 1000.0);
    std::printf("  longest UI stall:        %lld ms (%d over 50 ms; most work between ticks "
                "%.0f ms)\n",
                static_cast<long long>(watch.longestMs), watch.over50, watch.longestBusyMs);
    std::printf("  feed searches at once:   %lld at most (seen on the ticks)\n",
                static_cast<long long>(searches));
    std::printf("  peak memory so far:      %ld MiB\n", peakMemoryMiB());
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QList<int> counts = {100000, 1000000};
    const QStringList args = app.arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--offline"));
        at >= 0 && at + 1 < args.size()) {
        counts.clear();
        for (const QString& count : args.at(at + 1).split(QLatin1Char(',')))
            if (count.toInt() > 0)
                counts.append(count.toInt());
    }
    feeds(app);
    for (const int count : std::as_const(counts))
        offline(app, count);
    return 0;
}
