// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// The headline list as the user meets it, over a catalog tree with 200 favorites whose feeds
// (100 items each, 20,000 in all) come from a local proxy server on a thread of its own;
// nothing leaves this computer. Prints:
// - the refresh of the 200 feeds: wall time and the longest stall of the user-interface
//   thread (goal: none over 50 ms), the tree's counts following without a rebuild;
// - F9 with the 20,000 items: from the command to the list painted (goal: 100 ms or less);
// - selecting one paper: from the selection to its stored items listed (goal: 30 ms or less).

#include "BenchmarkSupport.h"
#include "ProxyServerThread.h"
#include "catalog/CLeftView.h"
#include "catalog/UnreadCountMark.h"
#include "headlines/HeadlineCommands.h"
#include "headlines/HeadlineModel.h"
#include "headlines/HeadlinePane.h"
#include "support/TestMain.h"
#include "support/TreeFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QVBoxLayout>

#include <cstdio>

namespace {
constexpr int kPapers = 200;
constexpr int kItems = 100;
constexpr int kTickMs = 5;

QString siteOf(int paper)
{
    return QStringLiteral("http://paper%1.example/").arg(paper);
}

QByteArray feedBody(const QByteArray& host)
{
    QByteArray xml = "<rss version=\"2.0\"><channel><title>" + host + "</title>";
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < kItems; ++i)
        xml += "<item><title>Story " + QByteArray::number(i) + " from " + host +
               ", with a headline of usual length</title><link>http://" + host + "/" +
               QByteArray::number(i) + "</link><pubDate>" +
               now.addSecs(-60 * i).toString(Qt::RFC2822Date).toLatin1() +
               "</pubDate><description>A paragraph of news that the summary keeps."
               "</description></item>";
    return xml + "</channel></rss>";
}
} // namespace

int main(int argc, char* argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ProxyServerThread server([](const ScriptedHttpServer::Request& request) {
        ScriptedHttpServer::Response response;
        if (request.path == "/") {
            response.body = "<html><head><link rel=alternate type=application/rss+xml "
                            "href=/feed.xml></head></html>";
            return response;
        }
        response.body = feedBody(request.host);
        response.headers.append({QByteArray("Content-Type"), QByteArray("application/rss+xml")});
        return response;
    });

    TreeFixture fixture;
    TestFiles::Records favorites;
    for (int p = 0; p < kPapers; ++p)
        favorites.append({QStringLiteral("Paper %1").arg(p), siteOf(p)});
    if (!fixture.writeFavorites(TestFiles::FavoritesXml(favorites)))
        return 1;
    CLeftView* tree = fixture.tree();
    tree->OnInitialUpdate();
    TestProfile profileFile;
    const std::unique_ptr<Profile> profile = profileFile.open();

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* split = new QSplitter(Qt::Vertical, &window);
    auto* page = new QPlainTextEdit(split);
    split->addWidget(page);
    layout->addWidget(tree);
    layout->addWidget(split);
    window.resize(1000, 800);
    HeadlineCommands::Hooks hooks;
    hooks.open = [](const QString&) {};
    hooks.status = [](const QString&) {};
    hooks.focusPage = [page] { page->setFocus(); };
    HeadlineCommands headlines(*profile, tree, fixture.store(), split,
                               fixture.folder().filePath(QStringLiteral("headlines.sqlite")),
                               hooks);
    headlines.refresher().setProxy(server.proxy());
    window.show();
    QCoreApplication::processEvents();

    // The user-interface thread ticks every few milliseconds; a late tick is a stall.
    QElapsedTimer sinceTick;
    qint64 longestStallMs = 0;
    int stallsOver50 = 0;
    QTimer tick;
    tick.setInterval(kTickMs);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 stall = sinceTick.restart() - kTickMs;
        longestStallMs = std::max(longestStallMs, stall);
        stallsOver50 += stall > 50;
    });
    bool finished = false;
    QObject::connect(&headlines.refresher(), &FeedRefresher::finished, [&] { finished = true; });
    bool loadedAfter = false;
    QObject::connect(&headlines, &HeadlineCommands::loaded, [&] { loadedAfter = finished; });
    QElapsedTimer wall;
    wall.start();
    sinceTick.start();
    tick.start();
    headlines.Start();
    while (!loadedAfter && wall.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    tick.stop();
    const double refreshMs = BenchmarkSupport::MillisecondsOf(wall);
    const int rows = headlines.pane()->model()->rowCount();
    std::printf("papers refreshed:          %d, %d items listed, %d unread on My Favorites\n",
                kPapers, rows, tree->FavoritesNode()->data(0, UnreadCountMark::kRole).toInt());
    std::printf("refresh (discover+fetch):  %.0f ms\n", refreshMs);
    std::printf("longest UI stall:          %lld ms (%d over 50 ms; goal: none)\n",
                static_cast<long long>(longestStallMs), stallsOver50);

    // F9: the list was read in the background already; showing it is a layout and a paint.
    QList<double> showing;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        headlines.OnToggle();
        window.repaint();
        showing.append(BenchmarkSupport::MillisecondsOf(timer));
        headlines.OnToggle(); // the focus is in the list: hides it
        QCoreApplication::processEvents();
    }
    std::printf("F9, %d items (median of 5): %.1f ms (goal 100 ms)\n", rows,
                BenchmarkSupport::Median(showing));

    // Selecting a paper: its stored items read on the reader thread, then listed.
    headlines.OnToggle();
    QList<double> selecting;
    for (int run = 0; run < 5; ++run) {
        QTreeWidgetItem* item = tree->FavoritesNode()->child(run * 7);
        QSignalSpy loaded(&headlines, &HeadlineCommands::loaded);
        QElapsedTimer timer;
        timer.start();
        tree->setCurrentItem(item);
        if (!loaded.wait(10000))
            return 1;
        window.repaint();
        selecting.append(BenchmarkSupport::MillisecondsOf(timer));
    }
    std::printf("one paper's %d items (median of 5): %.1f ms (goal 30 ms)\n",
                headlines.pane()->model()->rowCount(), BenchmarkSupport::Median(selecting));
    return 0;
}
