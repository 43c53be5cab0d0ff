// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Start-up with many favorites: the real program, started as a returning user whose
// Favorites.xml holds 1, 100,000 and 300,000 favorites, timed from launch to its main window
// on screen and to the home page's caption. Start-up should grow linearly with the list:
// 100,000 favorites within 0.6 s of one, 300,000 within 3.5 times the time for 100,000.
//
//   favorites_startup_benchmark [--runs N] [--counts 1,100000,300000] [--compact]
//
// --compact writes each file on one line with short names, as a list of a million
// favorites must be to fit under the store's cap (--counts 1000000 --compact).
//
// Runs on the display QT_QPA_PLATFORM names (offscreen when unset); under Xvfb, set
// QT_QPA_PLATFORM=xcb and DISPLAY. Prints every run, the medians and both targets.
#include "BenchmarkSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {
struct Times
{
    double mappedMs = 0;
    double captionMs = 0;
};

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// One start of the program in the given user folder, the settings and browser data shared
// by every run; nothing when it did not reach its caption.
std::optional<Times> startOnce(const QString& home, const QString& userFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("KESTRIN_USER_DIR"), userFolder);
    environment.insert(QStringLiteral("KESTRIN_STARTUP_TRACE"), QStringLiteral("exit"));
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home);
    program.setProcessChannelMode(QProcess::SeparateChannels);
    const long long start = nowNs();
    program.start(QStringLiteral(KESTRIN_PROGRAM), {});
    if (!program.waitForFinished(180000)) {
        program.kill();
        program.waitForFinished();
        return std::nullopt;
    }
    const QString trace = QString::fromLocal8Bit(program.readAllStandardError());
    static const QRegularExpression mapped(QStringLiteral("kestrin-startup mapped (\\d+)"));
    static const QRegularExpression caption(QStringLiteral("kestrin-startup caption (\\d+)"));
    const QRegularExpressionMatch m = mapped.match(trace);
    const QRegularExpressionMatch c = caption.match(trace);
    if (!m.hasMatch() || !c.hasMatch()) {
        std::fprintf(stderr, "no trace:\n%s\n", qPrintable(trace.right(2000)));
        return std::nullopt;
    }
    return Times{double(m.captured(1).toLongLong() - start) / 1e6,
                 double(c.captured(1).toLongLong() - start) / 1e6};
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    int runs = 5;
    QList<int> counts{1, 100000, 300000};
    const QStringList arguments = QCoreApplication::arguments();
    bool compact = false;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--compact")) {
            compact = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            break;
        if (arguments[i] == QLatin1String("--runs")) {
            runs = std::max(1, arguments[++i].toInt());
        } else if (arguments[i] == QLatin1String("--counts")) {
            counts.clear();
            for (const QString& count : arguments[++i].split(QLatin1Char(',')))
                counts.append(count.toInt());
        }
    }

    QTemporaryDir home;
    QHash<int, Times> medians;
    for (const int count : std::as_const(counts)) {
        const QString folder = QDir(home.path()).filePath(QStringLiteral("user-%1").arg(count));
        QDir().mkpath(folder);
        if (!BenchmarkSupport::WriteFile(QDir(folder).filePath(QStringLiteral("Favorites.xml")),
                                         compact ? BenchmarkSupport::CompactFavoritesXml(count)
                                                 : BenchmarkSupport::FavoritesXml(count)))
            return 1;
        // The first start fills the user's folder and the browser's data: not counted.
        if (!startOnce(home.path(), folder))
            return 1;
        QList<double> mapped;
        QList<double> caption;
        for (int run = 0; run < runs; ++run) {
            const std::optional<Times> times = startOnce(home.path(), folder);
            if (!times)
                return 1;
            mapped.append(times->mappedMs);
            caption.append(times->captionMs);
            std::printf("%7d favorites, run %d: window %7.0f ms, caption %7.0f ms\n", count,
                        run + 1, times->mappedMs, times->captionMs);
            std::fflush(stdout);
        }
        medians.insert(count,
                       {BenchmarkSupport::Median(mapped), BenchmarkSupport::Median(caption)});
    }

    std::printf("\nmedians of %d runs:\n", runs);
    for (const int count : std::as_const(counts))
        std::printf("%7d favorites: window %7.0f ms, caption %7.0f ms\n", count,
                    medians[count].mappedMs, medians[count].captionMs);
    if (medians.contains(1) && medians.contains(100000)) {
        const double extra = medians[100000].mappedMs - medians[1].mappedMs;
        std::printf("100,000 favorites add %.0f ms to the window (target: at most 600 ms): %s\n",
                    extra, extra <= 600 ? "met" : "MISSED");
    }
    if (medians.contains(100000) && medians.contains(300000)) {
        const double ratio = medians[300000].mappedMs / medians[100000].mappedMs;
        std::printf("300,000 favorites take %.2f times as long as 100,000 (target: at most "
                    "3.5): %s\n",
                    ratio, ratio <= 3.5 ? "met" : "MISSED");
    }
    return 0;
}
