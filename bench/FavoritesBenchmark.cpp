// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Times the favorites store on files of growing size and prints the medians.
#include "BenchmarkSupport.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kRuns = 21;
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    CXmlDocument::InitializeEngine();

    QTemporaryDir directory;
    if (!directory.isValid())
        return 1;
    CFavoritesStore store(QDir(directory.path()).filePath(QStringLiteral("Favorites.xml")));

    std::printf("%-10s %14s %14s %14s   (medians of %d runs)\n", "records", "ReadAll ms", "add ms",
                "delete ms", kRuns);
    for (const int count : {10, 1000, 10000}) {
        if (!BenchmarkSupport::WriteFile(store.GetFavoritesPath(),
                                         BenchmarkSupport::FavoritesXml(count)))
            return 1;
        QList<double> reads;
        QList<double> adds;
        QList<double> deletes;
        for (int run = 0; run < kRuns; ++run) {
            QList<FavoriteRecord> records;
            QElapsedTimer timer;
            timer.start();
            const bool read = store.ReadAll(records).succeeded();
            reads.append(BenchmarkSupport::MillisecondsOf(timer));

            // The new record goes last, so both the duplicate check and the delete scan it all.
            const QString title = QStringLiteral("Benchmark run %1").arg(run);
            const QString url = QStringLiteral("http://benchmark.example.com/%1").arg(run);
            timer.restart();
            const bool added = store.Update(CFavoritesStore::Add, title, url).succeeded();
            adds.append(BenchmarkSupport::MillisecondsOf(timer));
            timer.restart();
            const bool deleted = store.Update(CFavoritesStore::Delete, title, url).succeeded();
            deletes.append(BenchmarkSupport::MillisecondsOf(timer));

            if (!read || records.size() != count || !added || !deleted) {
                std::fprintf(stderr, "run %d on %d records failed\n", run, count);
                return 1;
            }
        }
        std::printf("%-10d %14.2f %14.2f %14.2f\n", count, BenchmarkSupport::Median(reads),
                    BenchmarkSupport::Median(adds), BenchmarkSupport::Median(deletes));
    }
    return 0;
}
