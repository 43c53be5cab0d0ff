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
#include <functional>
#include <vector>

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
    // The i-th newspaper of FavoritesXml.
    [[nodiscard]] static QByteArray NewspaperXml(int i)
    {
        return QStringLiteral("<Favorite><title>Newspaper number %1</title>"
                              "<url>http://www.newspaper%1.example.com/</url></Favorite>\n")
            .arg(i)
            .toUtf8();
    }

    // count favorites in 500 folders nested up to 4 deep (20 at the top, then 100, 200 and
    // 180 below them), dealt in turn to My Favorites and each folder; favorite(i) writes the
    // i-th.
    [[nodiscard]] static QByteArray
    FavoritesInFoldersXml(int count, const std::function<QByteArray(int)>& favorite = NewspaperXml)
    {
        constexpr int kFolders = 500;
        const auto parentOf = [](int i) {
            if (i < 20)
                return -1;
            if (i < 120)
                return (i - 20) / 5;
            if (i < 320)
                return 20 + (i - 120) / 2;
            return 120 + (i - 320);
        };
        std::vector<std::vector<int>> subfolders(kFolders + 1);
        std::vector<std::vector<int>> favorites(kFolders + 1);
        for (int i = 0; i < kFolders; ++i)
            subfolders[std::size_t(parentOf(i) + 1)].push_back(i);
        for (int i = 0; i < count; ++i)
            favorites[std::size_t(i % (kFolders + 1))].push_back(i);
        QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Favorites>\n";
        const std::function<void(int)> write = [&](int slot) {
            for (const int i : favorites[std::size_t(slot)])
                xml += favorite(i);
            for (const int folder : subfolders[std::size_t(slot)]) {
                xml += QStringLiteral("<Folder><title>Folder %1</title>\n").arg(folder).toUtf8();
                write(folder + 1);
                xml += "</Folder>\n";
            }
        };
        write(0);
        return xml + "</Favorites>\n";
    }

    // The same on one line, each newspaper in few bytes, so that a million fit under the
    // store's cap; with fillTo, the names are lengthened until the file is just short of it.
    [[nodiscard]] static QByteArray CompactFavoritesXml(int count, qint64 fillTo = 0)
    {
        const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Favorites>";
        const QByteArray tail = "</Favorites>";
        const auto record = [](int i, const QByteArray& fill) {
            const QByteArray name = QByteArray::number(i, 36);
            return "<Favorite><title>" + name + fill + "</title><url>http://" + name +
                   ".be/</url></Favorite>";
        };
        qint64 size = head.size() + tail.size();
        for (int i = 0; i < count; ++i)
            size += record(i, {}).size();
        const qint64 spare = fillTo > size ? fillTo - size : 0;
        const qint64 each = count > 0 ? spare / count : 0;
        const QByteArray fill(each, 'x');
        QByteArray xml;
        xml.reserve(size + each * count);
        xml += head;
        for (int i = 0; i < count; ++i)
            xml += record(i, fill);
        return xml + tail;
    }
    static bool WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(bytes) == bytes.size();
    }
};
