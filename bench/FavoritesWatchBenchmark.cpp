// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// How long another copy's change of Favorites.xml takes to reach this copy's lists: the
// time from the other copy's save to this store's favoritesChanged, over several adds.
#include "BenchmarkSupport.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <ctime>

namespace {
constexpr int kAdds = 15;
constexpr int kPauseMs = 400;

qint64 wallClockNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The other copy: adds one favorite at a time, printing when each save was done.
int writeAsAnotherCopy(const QString& folder)
{
    CFavoritesStore store(QDir(folder).filePath(QStringLiteral("Favorites.xml")));
    for (int i = 0; i < kAdds; ++i) {
        QThread::msleep(kPauseMs);
        const FavoritesResult result =
            store.Update(CFavoritesStore::Add, QStringLiteral("Other %1").arg(i),
                         QStringLiteral("http://other.example/%1").arg(i));
        if (!result.succeeded())
            return 1;
        std::printf("%d %lld\n", i, static_cast<long long>(wallClockNs()));
        std::fflush(stdout);
    }
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    CXmlDocument::InitializeEngine();
    if (argc == 3 && qstrcmp(argv[1], "--write") == 0)
        return writeAsAnotherCopy(QString::fromLocal8Bit(argv[2]));

    QTemporaryDir directory;
    CFavoritesStore store(QDir(directory.path()).filePath(QStringLiteral("Favorites.xml")));
    if (!directory.isValid() ||
        !BenchmarkSupport::WriteFile(store.GetFavoritesPath(), BenchmarkSupport::FavoritesXml(50)))
        return 1;
    QList<FavoriteRecord> records;
    (void)store.ReadAll(records);
    store.Watch();

    // When the list first held each number of favorites.
    QHash<qsizetype, qint64> arrived;
    QObject::connect(&store, &CFavoritesStore::favoritesChanged, &store,
                     [&arrived](const FavoritesUpdate& update) {
                         if (!arrived.contains(update.records.size()))
                             arrived.insert(update.records.size(), wallClockNs());
                     });
    QProcess writer;
    QByteArray output;
    QObject::connect(&writer, &QProcess::finished, &application, &QCoreApplication::quit);
    writer.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--write"), directory.path()});
    QCoreApplication::exec();
    // The last change may still be on its way.
    QElapsedTimer grace;
    grace.start();
    while (arrived.size() < kAdds && grace.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    output = writer.readAllStandardOutput();

    QList<double> delays;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() != 2)
            continue;
        const qsizetype count = 50 + fields.at(0).toInt() + 1;
        if (arrived.contains(count))
            delays.append(double(arrived.value(count) - fields.at(1).toLongLong()) / 1e6);
    }
    if (delays.size() != kAdds) {
        std::fprintf(stderr, "%lld of %d changes arrived\n", static_cast<long long>(delays.size()),
                     kAdds);
        return 1;
    }
    std::sort(delays.begin(), delays.end());
    std::printf("another copy's add reaches this copy: median %.0f ms, slowest %.0f ms "
                "(%d adds)\n",
                BenchmarkSupport::Median(delays), delays.last(), kAdds);
    return 0;
}
