// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "JsonFeedReader.h"

#include "FeedDate.h"
#include "FeedText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
QString stringOf(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString().trimmed();
}

QString resolved(const QUrl& address, const QString& link)
{
    if (link.isEmpty())
        return {};
    return address.resolved(QUrl(link)).toString(QUrl::FullyEncoded);
}
} // namespace

ParsedFeed JsonFeedReader::Read(const QString& text, const QUrl& address, int maxItems)
{
    ParsedFeed feed;
    feed.format = FeedFormat::Json;
    QJsonParseError problem{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &problem);
    if (problem.error != QJsonParseError::NoError) {
        feed.error = QStringLiteral("JSON that cannot be read: %1").arg(problem.errorString());
        return feed;
    }
    const QJsonObject root = document.object();
    if (!stringOf(root, "version").contains(QLatin1String("jsonfeed.org/version/")) ||
        !root.value(QLatin1String("items")).isArray()) {
        feed.error = QStringLiteral("JSON, but not a JSON Feed");
        return feed;
    }
    feed.title = FeedText::Collapse(stringOf(root, "title"));
    feed.link = resolved(address, stringOf(root, "home_page_url"));
    const QJsonArray items = root.value(QLatin1String("items")).toArray();
    for (const QJsonValue& value : items) {
        if (feed.items.size() >= maxItems)
            break;
        const QJsonObject object = value.toObject();
        if (object.isEmpty())
            continue;
        FeedItem item;
        item.title = FeedText::Collapse(stringOf(object, "title"));
        item.link = resolved(address, stringOf(object, "url"));
        const QJsonValue id = object.value(QLatin1String("id"));
        // 1.0 allowed numbers as ids.
        item.id = id.isDouble() ? QString::number(id.toDouble(), 'g', 17) : id.toString().trimmed();
        item.published = FeedDate::Parse(stringOf(object, "date_published"));
        item.updated = FeedDate::Parse(stringOf(object, "date_modified"));
        constexpr qsizetype kRead = FeedText::kSummaryReadLength;
        item.summary = FeedText::Collapse(stringOf(object, "summary"), kRead);
        if (item.summary.isEmpty())
            item.summary = FeedText::Collapse(stringOf(object, "content_text"), kRead);
        if (item.summary.isEmpty())
            item.summary = FeedText::FromHtml(stringOf(object, "content_html"), kRead);
        feed.items.append(std::move(item));
    }
    return feed;
}
