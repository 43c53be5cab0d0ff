// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// kestrin-feed-dump: reads a saved feed, or finds a site's feed, with the program's own
// parser and discovery, and prints what they found as JSON.
#include "feeds/FeedDiscovery.h"
#include "feeds/FeedJson.h"
#include "feeds/FeedParser.h"
#include "feeds/FeedWorker.h"
#include "feeds/FeedXml.h"
#include "platform/network/FetchQueue.h"
#include "platform/network/WebAccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {
constexpr char kUsage[] = "usage: kestrin-feed-dump FILE [ADDRESS]\n"
                          "       kestrin-feed-dump --discover ADDRESS\n";

int fail(const QString& reason)
{
    std::fprintf(stderr, "kestrin-feed-dump: %s\n", qPrintable(reason));
    return 1;
}

int dumpFile(const QString& path, const QString& address)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return fail(QStringLiteral("%1: not a file").arg(path));
    if (info.size() > FeedParser::kMaxBytes)
        return fail(QStringLiteral("%1: not a feed: larger than %2 MiB")
                        .arg(path)
                        .arg(FeedParser::kMaxBytes / (1024 * 1024)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
    const ParsedFeed feed = FeedParser::Parse(file.read(FeedParser::kMaxBytes + 1), QUrl(address));
    if (!feed.isFeed())
        return fail(QStringLiteral("%1: not a feed: %2").arg(path, feed.error));
    const QByteArray json = FeedJson::OfFeed(feed);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

int discover(const QString& address)
{
    WebAccess web;
    FetchQueue queue(web);
    FeedWorker worker(QString{});
    FeedDiscovery discovery(queue, worker, address);
    int status = 0;
    QObject::connect(&discovery, &FeedDiscovery::finished, &discovery,
                     [&status](const FeedDiscovery::Result& result) {
                         const QByteArray json =
                             FeedJson::OfDiscovery(result.site, result.candidates, result.chosen);
                         std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
                         if (result.chosen.isEmpty()) {
                             std::fprintf(stderr, "kestrin-feed-dump: no feed: %s\n",
                                          qPrintable(result.reason));
                             status = 1;
                         }
                         QCoreApplication::exit(status);
                     });
    discovery.start();
    QCoreApplication::exec();
    return status;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    FeedXml::Initialize();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.size() > 2 ||
        arguments.first() == QLatin1String("--help")) {
        std::fputs(kUsage, arguments.isEmpty() ? stderr : stdout);
        return arguments.isEmpty() ? 2 : 0;
    }
    if (arguments.first() == QLatin1String("--discover")) {
        if (arguments.size() != 2)
            return fail(QStringLiteral("--discover needs an address"));
        return discover(arguments.at(1));
    }
    return dumpFile(arguments.at(0), arguments.value(1));
}
