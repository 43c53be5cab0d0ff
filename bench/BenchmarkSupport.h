// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>

#include <time.h>

#include <algorithm>

// What the benchmarks here share: their measures and the favorites files they time.
class BenchmarkSupport
{
public:
    [[nodiscard]] static double Median(QList<double> samples)
    {
        std::sort(samples.begin(), samples.end());
        return samples.at(samples.size() / 2);
    }
    [[nodiscard]] static double MillisecondsOf(const QElapsedTimer& timer)
    {
        return double(timer.nsecsElapsed()) / 1e6;
    }
    // CPU time of the calling thread: on a busy machine, what the work itself cost, and a
    // late tick with little of it was the system's doing, not work on this thread.
    [[nodiscard]] static double ThreadCpuMs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    }

    // A Favorites.xml of count newspapers, as the store writes it.
    [[nodiscard]] static QByteArray FavoritesXml(int count)
    {
        QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Favorites>\n";
        for (int i = 0; i < count; ++i) {
            xml += QStringLiteral("  <Favorite>\n    <title>Newspaper number %1</title>\n"
                                  "    <url>http://www.newspaper%1.example.com/</url>\n"
                                  "  </Favorite>\n")
                       .arg(i)
                       .toUtf8();
        }
        return xml + "</Favorites>\n";
    }
    static bool WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }
};
