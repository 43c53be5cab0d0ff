// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "AtomReader.h"

#include "FeedText.h"
#include "FeedXml.h"

namespace {
// A text construct: type "text", "html" or "xhtml" in Atom 1.0; a media type and a mode
// ("xml", "escaped", "base64") in Atom 0.3.
QString readText(const xmlNode* node, qsizetype limit = -1)
{
    if (!node)
        return {};
    const QString type = FeedXml::Attribute(node, "type").trimmed().toLower();
    const QString mode = FeedXml::Attribute(node, "mode").trimmed().toLower();
    if (mode == QLatin1String("base64"))
        return {};
    const QString text = FeedXml::Text(node);
    if (type == QLatin1String("html") || type == QLatin1String("text/html") ||
        mode == QLatin1String("escaped"))
        return FeedText::FromHtml(text, limit);
    // XHTML arrives as elements: their text is already free of markup.
    return FeedText::Collapse(text, limit);
}

QString alternateLink(const xmlNode* parent, const FeedXml::Namespaces& own)
{
    const xmlNode* chosen = nullptr;
    for (const xmlNode* link : FeedXml::Children(parent, "link", own)) {
        const QString rel = FeedXml::Attribute(link, "rel").trimmed().toLower();
        if (!rel.isEmpty() && rel != QLatin1String("alternate") &&
            rel != QLatin1String("http://www.iana.org/assignments/relation/alternate"))
            continue;
        if (FeedXml::Attribute(link, "href").trimmed().isEmpty())
            continue;
        const QString type = FeedXml::Attribute(link, "type").trimmed().toLower();
        // Of several alternates, the page wins over other forms of the same entry.
        if (!chosen || type == QLatin1String("text/html")) {
            const bool chosenIsPage =
                chosen && FeedXml::Attribute(chosen, "type").trimmed().toLower() ==
                              QLatin1String("text/html");
            if (!chosenIsPage)
                chosen = link;
        }
    }
    if (!chosen)
        return {};
    return FeedXml::Resolve(chosen, FeedXml::Attribute(chosen, "href"))
        .toString(QUrl::FullyEncoded);
}

} // namespace

ParsedFeed AtomReader::Read(const xmlNode* root, int maxItems)
{
    const FeedXml::Namespaces own = {FeedXml::NamespaceOf(root)};
    ParsedFeed feed;
    feed.format = FeedFormat::Atom;
    feed.title = readText(FeedXml::Child(root, "title", own));
    feed.link = alternateLink(root, own);
    for (const xmlNode* node : FeedXml::Descendants(root, "entry", own, maxItems)) {
        FeedItem item;
        item.title = readText(FeedXml::Child(node, "title", own));
        item.link = alternateLink(node, own);
        item.id = FeedXml::ChildText(node, "id", own);
        const QByteArray ns = own.first();
        item.published =
            FeedXml::ChildDate(node, {{"published", ns}, {"issued", ns}, {"created", ns}});
        item.updated = FeedXml::ChildDate(node, {{"updated", ns}, {"modified", ns}});
        item.summary = readText(FeedXml::Child(node, "summary", own), FeedText::kSummaryReadLength);
        if (item.summary.isEmpty())
            item.summary =
                readText(FeedXml::Child(node, "content", own), FeedText::kSummaryReadLength);
        feed.items.append(std::move(item));
    }
    return feed;
}
