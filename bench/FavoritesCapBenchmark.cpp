// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// The largest list the store takes: a one-line Favorites.xml of a million favorites, just
// short of the size the store reads. What the program reads it must be able to change, so
// this reads it, checks it as a change reads it back, adds a favorite and deletes it again,
// and prints how long each took and whether it worked.
//
//   favorites_cap_benchmark [--count N]
#include "BenchmarkSupport.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {
// Room for the favorite the benchmark adds.
constexpr qint64 kSpare = 4096;

bool report(const char* what, const QElapsedTimer& timer, bool ok, const QString& detail = {})
{
    std::printf("%-34s %9.0f ms  %s%s\n", what, BenchmarkSupport::MillisecondsOf(timer),
                ok ? "ok" : "FAILED",
                detail.isEmpty() ? "" : qPrintable(QStringLiteral(": ") + detail));
    std::fflush(stdout);
    return ok;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    CXmlDocument::InitializeEngine();
    int count = 1000000;
    const QStringList arguments = QCoreApplication::arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--count"));
        at >= 0 && at + 1 < arguments.size())
        count = std::max(1, arguments.at(at + 1).toInt());

    QTemporaryDir directory;
    if (!directory.isValid())
        return 1;
    CFavoritesStore store(QDir(directory.path()).filePath(QStringLiteral("Favorites.xml")));
    const QByteArray bytes =
        BenchmarkSupport::CompactFavoritesXml(count, CXmlDocument::kMaxFileSize - kSpare);
    if (!BenchmarkSupport::WriteFile(store.GetFavoritesPath(), bytes))
        return 1;
    std::printf("%d favorites on one line, %lld bytes (the store reads up to %lld)\n", count,
                static_cast<long long>(bytes.size()),
                static_cast<long long>(CXmlDocument::kMaxFileSize));

    bool ok = true;
    QElapsedTimer timer;
    QList<FavoriteRecord> records;
    timer.start();
    FavoritesResult result = store.ReadAll(records);
    ok &= report("read (as the tree does)", timer, result.succeeded() && records.size() == count,
                 QStringLiteral("%1 favorites").arg(records.size()));

    timer.restart();
    result = store.ReadChecked(records);
    ok &= report("read checked (as a change does)", timer,
                 result.succeeded() && records.size() == count, result.reason);

    const QString title = QStringLiteral("Added at the cap");
    const QString url = QStringLiteral("http://cap.example/");
    timer.restart();
    result = store.Update(CFavoritesStore::Add, title, url);
    ok &= report("add one", timer, result.succeeded(), result.reason);
    const qint64 grown = QFileInfo(store.GetFavoritesPath()).size();
    timer.restart();
    (void)store.ReadAll(records);
    ok &= report("  read after it", timer,
                 records.size() == count + 1 && records.constLast().title == title,
                 QStringLiteral("%1 bytes").arg(grown));

    timer.restart();
    result = store.Update(CFavoritesStore::Delete, title, url);
    ok &= report("delete it", timer, result.succeeded(), result.reason);
    timer.restart();
    (void)store.ReadAll(records);
    ok &= report("  read after it", timer, records.size() == count,
                 QStringLiteral("%1 bytes").arg(QFileInfo(store.GetFavoritesPath()).size()));
    return ok ? 0 : 1;
}
