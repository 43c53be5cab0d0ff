// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Checks the 2,700 catalog addresses against a local server that answers each request
// after a random 50 to 1,500 ms, with 3 % of the addresses dead (404). Prints the wall time
// against the ideal (the sum of the answers' delays divided by the requests allowed in
// flight), the peak memory, and the longest stall of the user-interface thread.
//
// The server runs on a thread of its own and answers as an HTTP proxy on 127.0.0.1, so the
// checks keep the catalog's real host names and with them the real per-site limit (one
// site holds 41 addresses); nothing leaves this computer. Addresses are asked over plain
// http (a TLS handshake per site would be the server's cost, not the checker's), and every
// name counts as a public host: the resolver is replaced, no name is looked up.
//
// Usage: link_check_benchmark [--scale F]   (F shortens every delay, e.g. 0.1 for a quick run)

#include "BenchmarkSupport.h"
#include "ProxyServerThread.h"
#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogLinkMarks.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"
#include "linkcheck/LinkCheckController.h"
#include "linkcheck/LinkCheckWindow.h"
#include "linkcheck/LinkTargets.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {
constexpr int kMinDelayMs = 50;
constexpr int kMaxDelayMs = 1500;
constexpr int kDeadPercent = 3;
constexpr int kTickMs = 5;

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QString plainWeb(const QString& url)
{
    QUrl parsed(url);
    parsed.setScheme(QStringLiteral("http"));
    return parsed.toString();
}
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    double scale = 1.0;
    const QStringList arguments = QCoreApplication::arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--scale")); at > 0)
        scale = arguments.value(at + 1).toDouble();
    if (scale <= 0)
        scale = 1.0;

    CXmlDocument::InitializeEngine();
    QTemporaryDir dir;
    g_strAppDir = dir.path();
    Profile profile(dir.filePath(QStringLiteral("settings.ini")));

    // The program's tree, marked as results come in.
    CKestrinNewsReaderDoc doc;
    CFavoritesStore favorites(QDir(g_strAppDir).filePath(QStringLiteral("Favorites.xml")));
    CLeftView tree(profile, favorites);
    tree.AttachDocument(&doc);
    tree.OnInitialUpdate();
    LinkCheckController controller(dir.filePath(QStringLiteral("linkcheck.json")));
    CatalogLinkMarks marks(
        &tree, [&controller](const QString& url) { return controller.store().find(url); });
    QObject::connect(&controller, &LinkCheckController::resultChanged, &marks,
                     [&marks](const QString& url) { marks.apply(url); });
    LinkCheckWindow window(controller.checker());

    QStringList addresses;
    for (const QString& url : LinkTargets::Addresses(LinkTargets::Collect({})))
        addresses.append(plainWeb(url));
    QSet<QString> dead;
    QRandomGenerator pick(18);
    while (dead.size() < addresses.size() * kDeadPercent / 100)
        dead.insert(addresses.at(pick.bounded(static_cast<int>(addresses.size()))));

    auto random = std::make_shared<QRandomGenerator>(2716);
    ProxyServerThread server([random, &dead, scale](const ScriptedHttpServer::Request& request) {
        const int delay = static_cast<int>(random->bounded(kMinDelayMs, kMaxDelayMs + 1) * scale);
        const QString url = QStringLiteral("http://") + QString::fromUtf8(request.host) +
                            QString::fromUtf8(request.path);
        return ScriptedHttpServer::Status(dead.contains(url) ? 404 : 200, delay);
    });

    LinkChecker& checker = controller.checker();
    checker.setProxy(server.proxy());
    checker.setClassifier(
        [](const QString&, QObject*, HostScope::Done done) { done(HostScope::Kind::Public); });

    // The user-interface thread ticks every few milliseconds; a late tick is a stall.
    QElapsedTimer sinceTick;
    qint64 longestStallMs = 0;
    double longestStallCpuMs = 0;
    double longestBusyMs = 0;
    qint64 longestStallAtMs = 0;
    int stallsOver50 = 0;
    double lastCpu = 0;
    QElapsedTimer wall;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(kTickMs);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        const qint64 stall = sinceTick.restart() - kTickMs;
        const double cpu = BenchmarkSupport::ThreadCpuMs();
        const double busy = cpu - lastCpu;
        lastCpu = cpu;
        if (stall > longestStallMs) {
            longestStallMs = stall;
            longestStallCpuMs = busy;
            longestStallAtMs = wall.elapsed();
        }
        longestBusyMs = std::max(longestBusyMs, busy);
        stallsOver50 += stall > 50;
    });

    const long rssBefore = peakRssKb();
    QObject::connect(&controller, &LinkCheckController::runFinished, &app, [&] { app.quit(); });
    QTimer::singleShot(0, &app, [&] {
        sinceTick.start();
        lastCpu = BenchmarkSupport::ThreadCpuMs();
        ticker.start();
        wall.start();
        window.begin();
        window.show();
        controller.checkAll(addresses);
    });
    app.exec();
    const qint64 wallMs = wall.elapsed();
    ticker.stop();
    controller.store().waitForSaved();

    const ProxyServerThread::Figures served = server.figures();

    const int inFlight = checker.limits().maxInFlight;
    const double idealMs = static_cast<double>(served.servedDelayMs) / inFlight;
    const LinkChecker::Progress& progress = checker.progress();
    std::printf("addresses checked:        %d (%d alive, %d dead, %d moved, %d unsure)\n",
                progress.done, progress.alive, progress.dead, progress.moved, progress.unsure);
    std::printf("requests answered:        %d (peak %d at once, %d per site)\n", served.requests,
                served.peakOpen, served.peakPerSite);
    std::printf("delay scale:              %.2f\n", scale);
    std::printf("wall time:                %.1f s\n", wallMs / 1000.0);
    std::printf("ideal (sum of delays / %d): %.1f s\n", inFlight, idealMs / 1000.0);
    std::printf("wall / ideal:             %.3f\n", wallMs / idealMs);
    std::printf("peak memory:              %.1f MB (%.1f MB before the run)\n",
                peakRssKb() / 1024.0, rssBefore / 1024.0);
    std::printf(
        "longest UI stall:         %lld ms at %.1f s, %.1f ms of it working (%d over 50 ms)\n",
        static_cast<long long>(longestStallMs), longestStallAtMs / 1000.0, longestStallCpuMs,
        stallsOver50);
    std::printf("longest UI work between two ticks: %.1f ms of CPU\n", longestBusyMs);
    return 0;
}
