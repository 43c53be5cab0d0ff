// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Times a full catalog rebuild with 0, 1,395 and 10,000 favorites against a bare sorted fill
// of a tree widget with the same names. Prints medians in milliseconds.

#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogData.h"
#include "catalog/CatalogLinkMarks.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"
#include "linkcheck/LinkResultStore.h"
#include "linkcheck/LinkTargets.h"
#include "platform/Profile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kRuns = 15;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void writeFavorites(const QString& path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Favorites>\n");
    for (int i = 0; i < count; ++i) {
        file.write(QStringLiteral("<Favorite><title>Favorite paper %1</title>"
                                  "<url>https://paper%1.example.com/</url></Favorite>\n")
                       .arg((i * 7919) % (count + 1))
                       .toUtf8());
    }
    file.write("</Favorites>\n");
}

// The plain way: a tree widget that sorts, each name added where the widget puts it.
double bareSortedFill()
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QTreeWidget tree;
        tree.setSortingEnabled(true);
        tree.sortByColumn(0, Qt::AscendingOrder);
        QElapsedTimer timer;
        timer.start();
        auto* root = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Kestrin News Reader")});
        auto fill = [](QTreeWidgetItem* node, std::span<const CatalogEntry> entries) {
            for (const CatalogEntry& entry : entries)
                new QTreeWidgetItem(node, QStringList{QString::fromUtf8(entry.name)});
        };
        fill(new QTreeWidgetItem(root, QStringList{QStringLiteral("National")}),
             CatalogData::National());
        fill(new QTreeWidgetItem(root, QStringList{QStringLiteral("World")}), CatalogData::World());
        auto* states = new QTreeWidgetItem(root, QStringList{QStringLiteral("American States")});
        for (const CatalogNode& state : CatalogData::States())
            fill(new QTreeWidgetItem(states, QStringList{QString::fromUtf8(state.text)}),
                 state.entries);
        root->setExpanded(true);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}
double medianRebuild(CLeftView& view)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        view.RebuildTree(CatalogView::ByArea);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// My Favorites following a change of the file: one favorite added at the end and deleted
// again, as the store reports it (the file is read once, outside the timing).
double medianFollow(CLeftView& view, CFavoritesStore& store)
{
    QList<FavoriteRecord> records;
    (void)store.ReadAll(records);
    QList<FavoriteRecord> more = records;
    more.append({QStringLiteral("Aardvark Gazette"), QStringLiteral("http://aardvark.example/")});
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        view.UpdateFavorites(more);
        view.UpdateFavorites(records);
        times.push_back(timer.nsecsElapsed() / 2e6);
    }
    return median(times);
}

// What a finished link check adds to every start and rebuild: reading linkcheck.json with a
// finding for every site, and marking the tree (3 % dead, 2 % moved, the rest alive).
void benchLinkMarks(const QTemporaryDir& dir, Profile& profile)
{
    writeFavorites(dir.filePath(QStringLiteral("Favorites.xml")), 0);
    const QString path = dir.filePath(QStringLiteral("linkcheck.json"));
    {
        LinkResultStore store(path);
        int i = 0;
        for (const QString& url : LinkTargets::Addresses(LinkTargets::Collect({}))) {
            LinkResult result;
            result.checked = QDateTime::currentDateTimeUtc();
            result.httpStatus = 200;
            result.status = LinkResult::Status::Alive;
            if (i % 100 < 3) {
                result.status = LinkResult::Status::Dead;
                result.httpStatus = 404;
            } else if (i % 100 < 5) {
                result.status = LinkResult::Status::Moved;
                result.httpStatus = 301;
                result.newUrl = url + QStringLiteral("moved/");
            }
            store.set(url, result);
            ++i;
        }
        store.save();
    }
    std::vector<double> loads;
    LinkResultStore store(path);
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        store.load();
        loads.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("reading linkcheck.json with %lld findings: %.2f ms (median of %d)\n",
                static_cast<long long>(store.results().size()), median(loads), kRuns);

    CKestrinNewsReaderDoc doc;
    CFavoritesStore favorites(QDir(g_strAppDir).filePath(QStringLiteral("Favorites.xml")));
    CLeftView view(profile, favorites);
    view.AttachDocument(&doc);
    CatalogLinkMarks marks(&view, [&store](const QString& url) { return store.find(url); });
    view.OnInitialUpdate();
    std::printf("RebuildTree with every site marked:  %.2f ms (median of %d)\n",
                medianRebuild(view), kRuns);
}
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CXmlDocument::InitializeEngine();
    QTemporaryDir dir;
    g_strAppDir = dir.path();
    Profile profile(dir.filePath(QStringLiteral("settings.ini")));

    std::printf("bare sorted fill of 2700 names: %.2f ms\n", bareSortedFill());
    for (const int favorites : {0, 1395, 10000}) {
        writeFavorites(dir.filePath(QStringLiteral("Favorites.xml")), favorites);
        CKestrinNewsReaderDoc doc;
        CFavoritesStore store(QDir(g_strAppDir).filePath(QStringLiteral("Favorites.xml")));
        CLeftView view(profile, store);
        view.AttachDocument(&doc);
        view.OnInitialUpdate();
        std::printf("RebuildTree with %5d favorites: %.2f ms (median of %d)\n", favorites,
                    medianRebuild(view), kRuns);
        std::printf("  one favorite added, then deleted, without a rebuild: %.2f ms\n",
                    medianFollow(view, store));
    }
    benchLinkMarks(dir, profile);
    return 0;
}
