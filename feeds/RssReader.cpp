// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "RssReader.h"

#include "FeedText.h"
#include "FeedXml.h"

namespace {
FeedXml::Namespaces ownNamespaces(const xmlNode* root, bool rdf)
{
    if (rdf)
        return {FeedXml::kRss10, FeedXml::kRss090};
    // RSS 2.0 has no namespace, though a few feeds give it one of their own.
    return {FeedXml::NamespaceOf(root)};
}

FeedItem readItem(const xmlNode* node, const FeedXml::Namespaces& own)
{
    FeedItem item;
    QString title = FeedXml::ChildText(node, "title", own);
    if (title.isEmpty())
        title = FeedXml::ChildText(node, "title", {FeedXml::kDublinCore});
    item.title = FeedText::FromHtml(title);

    if (const xmlNode* link = FeedXml::Child(node, "link", own)) {
        const QString text = FeedXml::Text(link).trimmed();
        if (!text.isEmpty())
            item.link = FeedXml::Resolve(link, text).toString(QUrl::FullyEncoded);
    }
    if (const xmlNode* guid = FeedXml::Child(node, "guid", own)) {
        item.id = FeedXml::Text(guid).trimmed();
        const bool permaLink = FeedXml::Attribute(guid, "isPermaLink")
                                   .trimmed()
                                   .compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
        if (item.link.isEmpty() && permaLink && !item.id.isEmpty())
            item.link = FeedXml::Resolve(guid, item.id).toString(QUrl::FullyEncoded);
    }
    if (item.id.isEmpty()) {
        // RSS 1.0 names each item by its address.
        const std::unique_ptr<xmlChar, decltype(xmlFree)> about(
            xmlGetNsProp(node, BAD_CAST "about", BAD_CAST FeedXml::kRdf), xmlFree);
        if (about)
            item.id = QString::fromUtf8(reinterpret_cast<const char*>(about.get())).trimmed();
    }

    QString summary = FeedXml::ChildText(node, "description", own);
    if (summary.isEmpty())
        summary = FeedXml::ChildText(node, "encoded", {FeedXml::kContent});
    if (summary.isEmpty())
        summary = FeedXml::ChildText(node, "description", {FeedXml::kDublinCore});
    item.summary = FeedText::FromHtml(summary, FeedText::kSummaryReadLength);

    item.published = FeedXml::ChildDate(
        node,
        {{"pubDate", own.value(0)}, {"date", FeedXml::kDublinCore}, {"issued", FeedXml::kDcTerms}});
    item.updated =
        FeedXml::ChildDate(node, {{"modified", FeedXml::kDcTerms}, {"updated", FeedXml::kAtom10}});
    return item;
}
} // namespace

ParsedFeed RssReader::Read(const xmlNode* root, int maxItems)
{
    const bool rdf = FeedXml::LocalName(root) == "RDF";
    const FeedXml::Namespaces own = ownNamespaces(root, rdf);
    ParsedFeed feed;
    feed.format = rdf ? FeedFormat::Rdf : FeedFormat::Rss;
    const xmlNode* channel = FeedXml::Child(root, "channel", own);
    if (!channel)
        channel = FeedXml::Child(root, "channel", {QByteArray()});
    if (!channel) {
        feed.error = QStringLiteral("an RSS document without a channel");
        return feed;
    }
    feed.title = FeedText::FromHtml(FeedXml::ChildText(channel, "title", own));
    if (const xmlNode* link = FeedXml::Child(channel, "link", own)) {
        const QString text = FeedXml::Text(link).trimmed();
        if (!text.isEmpty())
            feed.link = FeedXml::Resolve(link, text).toString(QUrl::FullyEncoded);
    }
    // RSS 2.0 keeps its items in the channel, RSS 1.0 beside it; old feeds do either.
    for (const xmlNode* node : FeedXml::Descendants(root, "item", own, maxItems))
        feed.items.append(readItem(node, own));
    return feed;
}
