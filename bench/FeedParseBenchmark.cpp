// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// Parses a 1,000-item RSS document of about 2 MiB, as a large paper's feed is: each item with
// a title, link, guid, date and an HTML description. Prints the median of 15 parses (goal:
// 50 ms or less).

#include "BenchmarkSupport.h"
#include "feeds/FeedParser.h"
#include "feeds/FeedXml.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
QByteArray largeFeed()
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel>"
                     "<title>The Daily Benchmark</title><link>https://daily.example/</link>\n";
    const QByteArray paragraph =
        "&lt;p&gt;The council met on Tuesday evening to discuss the budget for the coming year, "
        "and residents &amp;amp; business owners filled the hall to hear the "
        "&lt;b&gt;mayor&lt;/b&gt; "
        "explain why the road repairs will wait.&lt;/p&gt;";
    for (int i = 0; i < 1000; ++i) {
        const QByteArray n = QByteArray::number(i);
        xml += "<item><title>Story number " + n +
               " &amp; what it means for the town</title>"
               "<link>https://daily.example/2026/12/08/story-" +
               n +
               ".html</link>"
               "<guid isPermaLink=\"false\">daily-" +
               n +
               "</guid>"
               "<pubDate>Tue, 08 Dec 2026 " +
               QByteArray::number(10 + i % 12) + ":" + QByteArray::number(10 + i % 50) +
               ":00 -0500</pubDate><description>";
        for (int p = 0; p < 8; ++p)
            xml += paragraph;
        xml += "</description></item>\n";
    }
    return xml + "</channel></rss>\n";
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    FeedXml::Initialize();
    const QByteArray document = largeFeed();
    const QUrl address(QStringLiteral("https://daily.example/feed.xml"));
    QList<double> samples;
    QList<double> cpu;
    qsizetype items = 0;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer timer;
        timer.start();
        const double before = BenchmarkSupport::ThreadCpuMs();
        const ParsedFeed feed = FeedParser::Parse(document, address);
        samples.append(BenchmarkSupport::MillisecondsOf(timer));
        cpu.append(BenchmarkSupport::ThreadCpuMs() - before);
        items = feed.items.size();
    }
    std::printf("document:        %.2f MiB, %lld items read\n", document.size() / (1024.0 * 1024.0),
                static_cast<long long>(items));
    std::printf("parse (median):  %.1f ms (fastest %.1f ms; goal 50 ms), %.1f ms of CPU\n",
                BenchmarkSupport::Median(samples),
                *std::min_element(samples.begin(), samples.end()), BenchmarkSupport::Median(cpu));
    return 0;
}
