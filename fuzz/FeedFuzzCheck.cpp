// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedFuzzCheck.h"

#include "feeds/FeedDate.h"
#include "feeds/FeedJson.h"
#include "feeds/FeedParser.h"
#include "feeds/FeedText.h"
#include "feeds/FeedXml.h"
#include "feeds/PageHead.h"
#include "platform/network/WebAddress.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {
// The server's word on the encoding, chosen by the input's length so each input means one
// thing.
QByteArray serverCharset(const QByteArray& input)
{
    static const char* const kCharsets[] = {"", "utf-8", "iso-8859-1", "windows-1251", "bogus"};
    return kCharsets[input.size() % 5];
}

QString plainTextFault(const QString& what, const QString& text)
{
    if (text != text.trimmed())
        return what + QStringLiteral(" has white space at an end");
    if (text.contains(QLatin1String("  ")))
        return what + QStringLiteral(" has white space left uncollapsed");
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            return what + QStringLiteral(" holds a control character");
    }
    return {};
}

QString linkFault(const QString& what, const QString& link)
{
    if (!link.isEmpty() && !WebAddress::IsWeb(QUrl(link)))
        return what + QStringLiteral(" is not a web address: ") + link.left(80);
    return {};
}
} // namespace

QString FeedFuzzCheck::Feed(const QByteArray& input)
{
    FeedXml::Initialize();
    const ParsedFeed feed = FeedParser::Parse(
        input, QUrl(QStringLiteral("http://fuzz.example/feeds/feed.xml")), serverCharset(input));
    if (!feed.isFeed()) {
        if (!feed.items.isEmpty())
            return QStringLiteral("refused with items: ") + feed.error;
    } else {
        if (feed.items.size() > FeedParser::kMaxItems)
            return QStringLiteral("more than %1 items").arg(FeedParser::kMaxItems);
        if (const QString fault = linkFault(QStringLiteral("the feed's link"), feed.link);
            !fault.isEmpty())
            return fault;
        for (const FeedItem& item : feed.items) {
            if (item.id.isEmpty())
                return QStringLiteral("an item without an id");
            for (const QString& fault :
                 {linkFault(QStringLiteral("a link"), item.link),
                  plainTextFault(QStringLiteral("a title"), item.title),
                  plainTextFault(QStringLiteral("a summary"), item.summary)}) {
                if (!fault.isEmpty())
                    return fault;
            }
            if (item.summary.size() > FeedText::kSummaryLength + 1)
                return QStringLiteral("a summary of %1 characters").arg(item.summary.size());
            if ((item.published.isValid() && item.published.timeSpec() != Qt::UTC) ||
                (item.updated.isValid() && item.updated.timeSpec() != Qt::UTC))
                return QStringLiteral("a time not in UTC");
        }
        QJsonParseError error{};
        const QJsonDocument json = QJsonDocument::fromJson(FeedJson::OfFeed(feed), &error);
        if (error.error != QJsonParseError::NoError)
            return QStringLiteral("the JSON printed does not read back: ") + error.errorString();
        if (json.object().value(QLatin1String("items")).toArray().size() != feed.items.size())
            return QStringLiteral("the JSON printed lost items");
    }
    // The pieces on their own, on the raw input.
    const QString text = QString::fromUtf8(input.left(64 * 1024));
    if (const QString fault =
            plainTextFault(QStringLiteral("text from HTML"), FeedText::FromHtml(text));
        !fault.isEmpty())
        return fault;
    const QDateTime date = FeedDate::Parse(QString::fromLatin1(input.left(80)));
    if (date.isValid() && date.timeSpec() != Qt::UTC)
        return QStringLiteral("a date not in UTC");
    return {};
}

QString FeedFuzzCheck::PageHead(const QByteArray& input)
{
    FeedXml::Initialize();
    const QUrl address(QStringLiteral("http://fuzz.example/news/page.html"));
    const ::PageHead::Links links = ::PageHead::Read(input, address, serverCharset(input));
    if (!WebAddress::IsWeb(links.base))
        return QStringLiteral("a base that is not a web address: ") +
               links.base.toString().left(80);
    QSet<QString> seen;
    for (const FeedCandidate& candidate : links.feeds) {
        if (!WebAddress::IsWeb(QUrl(candidate.url)))
            return QStringLiteral("a feed link that is not a web address: ") +
                   candidate.url.left(80);
        if (candidate.type != QLatin1String("rss") && candidate.type != QLatin1String("atom") &&
            candidate.type != QLatin1String("json"))
            return QStringLiteral("a feed link of no feed type: ") + candidate.type;
        if (seen.contains(candidate.url))
            return QStringLiteral("a feed link listed twice");
        seen.insert(candidate.url);
        if (const QString fault = plainTextFault(QStringLiteral("a feed's title"), candidate.title);
            !fault.isEmpty())
            return fault;
    }
    return {};
}
