// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Favorites in folders at scale: 10,000 favorites in 500 folders nested up to 4 deep,
// against the same 10,000 without folders. Prints medians in milliseconds: the file read,
// the tree built, the tree following a change, a move of 100 favorites (and how many saves
// it took), the filter's keystroke, and the favorites editor opened and searched.

#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "app/SettingsKeys.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogTreeFilter.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"

#include "platform/Profile.h"
#include "res/Resource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {
constexpr int kRuns = 11;
constexpr int kFavorites = 10000;
constexpr int kFolders = 500;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The processor time this thread spent, in milliseconds: on a machine shared with other
// work the wall clock says more of the others than of this.
double threadMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double cpuMedianOf(const std::function<void()>& work, int runs = kRuns)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = threadMs();
        work();
        times.push_back(threadMs() - start);
    }
    return median(times);
}

double medianOf(const std::function<void()>& work, int runs = kRuns)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// The parent of folder i (-1: the top): 20 at the top, then 100, 200 and 180 below them.
int parentOf(int i)
{
    if (i < 20)
        return -1;
    if (i < 120)
        return (i - 20) / 5;
    if (i < 320)
        return 20 + (i - 120) / 2;
    return 120 + (i - 320);
}

void writeFavorites(const QString& path, bool folders)
{
    std::vector<std::vector<int>> subfolders(kFolders + 1);
    std::vector<std::vector<int>> favorites(kFolders + 1);
    for (int i = 0; folders && i < kFolders; ++i)
        subfolders[std::size_t(parentOf(i) + 1)].push_back(i);
    for (int i = 0; i < kFavorites; ++i)
        favorites[folders ? std::size_t(i % (kFolders + 1)) : 0].push_back(i);
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Favorites>\n";
    const std::function<void(int)> write = [&](int slot) {
        for (const int favorite : favorites[std::size_t(slot)])
            xml += QStringLiteral("<Favorite><title>Favorite paper %1</title>"
                                  "<url>https://paper%1.example.com/</url></Favorite>\n")
                       .arg((favorite * 7919) % (kFavorites + 1))
                       .toUtf8();
        for (const int folder : subfolders[std::size_t(slot)]) {
            xml += QStringLiteral("<Folder><title>Folder %1</title>\n").arg(folder).toUtf8();
            write(folder + 1);
            xml += "</Folder>\n";
        }
    };
    write(0);
    xml += "</Favorites>\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size())
        qFatal("cannot write %s", qPrintable(path));
}

void bench(const char* label, bool folders)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Favorites.xml"));
    writeFavorites(path, folders);
    g_strAppDir = dir.path();
    Profile profile(dir.filePath(QStringLiteral("settings.ini")));
    CFavoritesStore store(path);
    CKestrinNewsReaderDoc doc;
    CLeftView view(profile, store);
    view.AttachDocument(&doc);
    view.resize(300, 800);
    view.show();

    QList<FavoriteRecord> records;
    QList<QStringList> paths;
    const double read = medianOf([&] { (void)store.ReadAll(records, paths); });
    view.OnInitialUpdate();
    const double build = medianOf([&] { view.RebuildTree(CatalogView::ByArea); });
    QList<FavoriteRecord> more = records;
    more.append({QStringLiteral("Aardvark Gazette"), QStringLiteral("http://aardvark.example/"),
                 paths.isEmpty() ? QStringList() : paths.constLast()});
    const double follow = medianOf([&] {
                              view.UpdateFavorites(more, paths);
                              view.UpdateFavorites(records, paths);
                          }) /
                          2;

    CatalogTreeFilter filter(&view);
    filter.Prepare();
    int key = 0;
    const double keystroke =
        medianOf([&] { filter.SetText(QStringLiteral("paper %1").arg(++key * 37)); });
    filter.SetText({});

    // The editor opened and filled (until its modal loop runs), and a keystroke in its search
    // until the list is laid out and painted again: a narrow search, and a broad one that
    // opens every folder.
    double editorOpen = 0;
    double openCpu = 0;
    double editorFollow = 0;
    double searchKey = 0;
    double broadKey = 0;
    double searchCpu = 0;
    double broadCpu = 0;
    {
        QElapsedTimer opened;
        opened.start();
        const double openStart = threadMs();
        CEditMyFavoriteDlg editor(store);
        QTimer::singleShot(0, &editor, [&] {
            QCoreApplication::processEvents();
            editorOpen = opened.nsecsElapsed() / 1e6;
            openCpu = threadMs() - openStart;
            auto* search =
                editor.findChild<QLineEdit*>(QStringLiteral("ctl%1").arg(IDC_FAVORITE_SEARCH));
            const auto type = [&](const QString& text) {
                search->setText(text);
                editor.list()->viewport()->repaint();
            };
            // The editor following a change: its tree filled again, the selection kept.
            FavoritesUpdate update;
            (void)store.ReadAll(update.records, update.folders, &update.folderPlaces);
            editorFollow = medianOf([&] {
                editor.ShowUpdate(update);
                editor.list()->viewport()->repaint();
            });
            int typed = 0;
            const auto narrow = [&] { type(QStringLiteral("paper %1").arg(++typed % 50 * 37)); };
            searchKey = medianOf(narrow);
            searchCpu = cpuMedianOf(narrow);
            // Each finds thousands, and not the same ones.
            const QString broadTexts[] = {QStringLiteral("e"), QStringLiteral("1")};
            const auto broad = [&] { type(broadTexts[++typed % 2]); };
            broadKey = medianOf(broad);
            broadCpu = cpuMedianOf(broad);
            editor.reject();
        });
        editor.DoModal();
    }

    // A hundred favorites into one folder and back out: one save each way.
    int saves = 0;
    QObject::connect(&store, &CFavoritesStore::favoritesChanged, &view, [&] { ++saves; });
    QList<FavoriteRef> refs;
    for (int i = 0; i < 100; ++i)
        refs.append({long(i * 50), records.at(i * 50)});
    QElapsedTimer timer;
    timer.start();
    const QStringList target = paths.isEmpty() ? QStringList() : paths.constFirst();
    if (!store.CreateFolder(target, QStringLiteral("Moved here")))
        qFatal("cannot make the folder");
    const int before = saves;
    const double created = timer.nsecsElapsed() / 1e6;
    timer.restart();
    if (!store.MoveRecords(refs, target + QStringList{QStringLiteral("Moved here")}))
        qFatal("cannot move");
    const double move = timer.nsecsElapsed() / 1e6;
    QCoreApplication::processEvents();

    std::printf("%-24s read %6.2f  tree built %6.2f  follow %6.2f  filter key %5.2f  editor "
                "open %6.1f cpu %6.1f  follow %5.1f  search key %5.2f cpu %5.2f (broad %5.2f cpu "
                "%5.2f)  new folder %5.1f  "
                "move 100 %5.1f (%d save)\n",
                label, read, build, follow, keystroke, editorOpen, openCpu, editorFollow, searchKey,
                searchCpu, broadKey, broadCpu, created, move, saves - before);
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CXmlDocument::InitializeEngine();
    bench("10,000 flat", false);
    bench("10,000 in 500 folders", true);
    return 0;
}
