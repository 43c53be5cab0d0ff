// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Times Favorites > Import Bookmarks on a 10,000-link file and Export Bookmarks of 10,000
// favorites, as the commands run them once the file is chosen, and prints the medians.
#include "BenchmarkSupport.h"
#include "favorites/CBookmarksReader.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"
#include "favorites/ui/CBookmarksTransfer.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kRuns = 21;
constexpr int kLinks = 10000;

// A browser's export: links in folders of 100, with the attributes browsers write.
QByteArray BookmarksFile()
{
    QByteArray html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
                      "CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
                      "<H1>Bookmarks</H1>\n<DL><p>\n";
    for (int i = 0; i < kLinks; ++i) {
        if (i % 100 == 0) {
            if (i > 0)
                html += "    </DL><p>\n";
            html +=
                QStringLiteral("    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000000\">"
                               "Folder %1</H3>\n    <DL><p>\n")
                    .arg(i / 100)
                    .toUtf8();
        }
        html += QStringLiteral("        <DT><A HREF=\"https://www.newspaper%1.example.com/news/"
                               "today?edition=%1&amp;lang=en\" ADD_DATE=\"1700000001\" "
                               "ICON=\"data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAABAAAAAQ\">"
                               "Newspaper number %1 – Today's edition</A>\n")
                    .arg(i)
                    .toUtf8();
    }
    return html + "    </DL><p>\n</DL><p>\n";
}

} // namespace

int main(int argc, char* argv[])
{
    // The commands show the wait cursor, which needs a (headless) window system.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // Messages are the commands' summaries; a failure shows as a wrong count below.
    MessageBox::SetHook([](const MessageBox::Request&) { return int(IDOK); });
    CXmlDocument::InitializeEngine();

    QTemporaryDir directory;
    if (!directory.isValid())
        return 1;
    CFavoritesStore store(QDir(directory.path()).filePath(QStringLiteral("Favorites.xml")));
    const QString favorites = store.GetFavoritesPath();
    const QString bookmarks = QDir(directory.path()).filePath(QStringLiteral("bookmarks.html"));
    const QString exported = QDir(directory.path()).filePath(QStringLiteral("exported.html"));
    if (!BenchmarkSupport::WriteFile(bookmarks, BookmarksFile()))
        return 1;
    const QByteArray full = BenchmarkSupport::FavoritesXml(kLinks);

    QList<double> parses;
    QList<double> imports;
    QList<double> exports;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        CBookmarksReader::Result result;
        QString error;
        timer.start();
        const bool parsed = CBookmarksReader::ReadFile(bookmarks, result, error);
        parses.append(BenchmarkSupport::MillisecondsOf(timer));

        // Into an empty list, as a new user moving from a browser does.
        if (!BenchmarkSupport::WriteFile(favorites, BenchmarkSupport::FavoritesXml(0)))
            return 1;
        timer.restart();
        const bool imported = CBookmarksTransfer::Import(store, bookmarks);
        imports.append(BenchmarkSupport::MillisecondsOf(timer));
        QList<FavoriteRecord> records;
        (void)store.ReadAll(records);

        if (!BenchmarkSupport::WriteFile(favorites, full))
            return 1;
        timer.restart();
        const bool wrote = CBookmarksTransfer::Export(store, exported);
        exports.append(BenchmarkSupport::MillisecondsOf(timer));

        if (!parsed || result.links.size() != kLinks || !imported || records.size() != kLinks ||
            !wrote) {
            std::fprintf(stderr, "run %d failed: %s\n", run, qPrintable(error));
            return 1;
        }
        // Each run starts as a new one would: the first change makes its backup again.
        QDir(QDir(directory.path()).filePath(QStringLiteral("backups"))).removeRecursively();
    }
    std::printf("%d links / favorites, medians of %d runs\n", kLinks, kRuns);
    std::printf("  import (read, parse, add, save with read-back and backup) %8.2f ms\n",
                BenchmarkSupport::Median(imports));
    std::printf("    of which reading and parsing the bookmarks file     %8.2f ms\n",
                BenchmarkSupport::Median(parses));
    std::printf("  export (read the favorites, write the bookmarks file)  %8.2f ms\n",
                BenchmarkSupport::Median(exports));
    return 0;
}
