// Times the favorites store on files of growing size and prints the medians.
#include "app/Globals.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/CXmlDocument.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kRuns = 21;

double Median(QList<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples.at(samples.size() / 2);
}

bool WriteFavorites(const QString& path, int count)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Favorites>\n";
    for (int i = 0; i < count; ++i) {
        xml += QStringLiteral("  <Favorite>\n    <title>Newspaper number %1</title>\n"
                              "    <url>http://www.newspaper%1.example.com/</url>\n"
                              "  </Favorite>\n")
                   .arg(i)
                   .toUtf8();
    }
    xml += "</Favorites>\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(xml) == xml.size();
}

double MillisecondsOf(QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    // A message means an operation failed: print it rather than wait for a click.
    bool failed = false;
    MessageBox::SetHook([&failed](const MessageBox::Request& request) {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        failed = true;
        return int(IDOK);
    });
    CXmlDocument::InitializeEngine();

    QTemporaryDir directory;
    if (!directory.isValid())
        return 1;
    g_strAppDir = directory.path();

    std::printf("%-10s %14s %14s %14s   (medians of %d runs)\n", "records", "ReadAll ms", "add ms",
                "delete ms", kRuns);
    for (const int count : {10, 1000, 10000}) {
        if (!WriteFavorites(CFavoritesStore::GetFavoritesPath(), count))
            return 1;
        QList<double> reads;
        QList<double> adds;
        QList<double> deletes;
        for (int run = 0; run < kRuns; ++run) {
            QList<FavoriteRecord> records;
            QElapsedTimer timer;
            timer.start();
            const bool read = CFavoritesStore::ReadAll(records);
            reads.append(MillisecondsOf(timer));

            // The new record goes last, so both the duplicate check and the delete scan it all.
            const QString title = QStringLiteral("Benchmark run %1").arg(run);
            const QString url = QStringLiteral("http://benchmark.example.com/%1").arg(run);
            timer.restart();
            const bool added = CFavoritesStore::Update(CFavoritesStore::Add, title, url);
            adds.append(MillisecondsOf(timer));
            timer.restart();
            const bool deleted = CFavoritesStore::Update(CFavoritesStore::Delete, title, url);
            deletes.append(MillisecondsOf(timer));

            if (!read || records.size() != count || !added || !deleted) {
                std::fprintf(stderr, "run %d on %d records failed\n", run, count);
                return 1;
            }
        }
        std::printf("%-10d %14.2f %14.2f %14.2f\n", count, Median(reads), Median(adds),
                    Median(deletes));
    }
    return failed ? 1 : 0;
}
