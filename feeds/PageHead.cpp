// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "PageHead.h"

#include "FeedText.h"
#include "FeedXml.h"
#include "platform/network/WebAddress.h"

#include <QStringDecoder>

#include <libxml/HTMLparser.h>

#include <memory>

namespace {
constexpr int kParseOptions = HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR |
                              HTML_PARSE_NOWARNING | HTML_PARSE_COMPACT;

QString attribute(const xmlNode* node, const char* name)
{
    // HTML attribute names are kept as written: "HREF" and "href" are the same one.
    for (const xmlAttr* attr = node->properties; attr; attr = attr->next) {
        if (xmlStrcasecmp(attr->name, BAD_CAST name) != 0)
            continue;
        const std::unique_ptr<xmlChar, decltype(xmlFree)> value(
            xmlNodeListGetString(node->doc, attr->children, 1), xmlFree);
        return value ? QString::fromUtf8(reinterpret_cast<const char*>(value.get())) : QString();
    }
    return {};
}

bool hasToken(const QString& list, QLatin1String token)
{
    for (const QStringView word : QStringView(list).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word.trimmed().compare(token, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

template <typename Visit> void walk(const xmlNode* node, Visit&& visit)
{
    // Depth-first without recursion: a page may nest as deep as it likes.
    const xmlNode* current = node;
    while (current) {
        if (current->type == XML_ELEMENT_NODE)
            visit(current);
        if (current->children && current->type == XML_ELEMENT_NODE) {
            current = current->children;
            continue;
        }
        while (current && !current->next && current != node)
            current = current->parent;
        if (!current || current == node)
            break;
        current = current->next;
    }
}
} // namespace

QString PageHead::FeedType(const QString& mediaType)
{
    const QString type = mediaType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
    if (type == QLatin1String("application/rss+xml") ||
        type == QLatin1String("application/rdf+xml"))
        return QStringLiteral("rss");
    if (type == QLatin1String("application/atom+xml"))
        return QStringLiteral("atom");
    if (type == QLatin1String("application/feed+json") || type == QLatin1String("application/json"))
        return QStringLiteral("json");
    return {};
}

PageHead::Links PageHead::Read(const QByteArray& page, const QUrl& address,
                               const QByteArray& serverCharset)
{
    FeedXml::SilenceThread();
    Links links;
    links.base = address;
    const QByteArray bytes = page.left(kMaxBytes);
    if (bytes.isEmpty())
        return links;
    QByteArray encoding;
    if (!serverCharset.isEmpty() && QStringDecoder(serverCharset.constData()).isValid())
        encoding = serverCharset;
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(bytes.constData(), int(bytes.size()), nullptr,
                       encoding.isEmpty() ? nullptr : encoding.constData(), kParseOptions),
        &xmlFreeDoc);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root)
        return links;

    QList<const xmlNode*> found;
    bool baseSeen = false;
    walk(root, [&](const xmlNode* node) {
        if (xmlStrcasecmp(node->name, BAD_CAST "base") == 0 && !baseSeen) {
            const QString href = attribute(node, "href").trimmed();
            if (!href.isEmpty()) {
                // Only the first <base> counts, as in browsers.
                baseSeen = true;
                const QUrl base = address.resolved(QUrl(href));
                if (WebAddress::IsWeb(base))
                    links.base = base;
            }
        } else if (xmlStrcasecmp(node->name, BAD_CAST "link") == 0) {
            found.append(node);
        }
    });
    for (const xmlNode* node : std::as_const(found)) {
        if (!hasToken(attribute(node, "rel"), QLatin1String("alternate")))
            continue;
        const QString type = FeedType(attribute(node, "type"));
        const QString href = attribute(node, "href").trimmed();
        if (type.isEmpty() || href.isEmpty())
            continue;
        const QUrl url = links.base.resolved(QUrl(href));
        if (!WebAddress::IsWeb(url))
            continue;
        FeedCandidate candidate;
        candidate.url = url.toString(QUrl::FullyEncoded);
        candidate.title = FeedText::Collapse(attribute(node, "title"));
        candidate.type = type;
        const bool repeated =
            std::any_of(links.feeds.cbegin(), links.feeds.cend(),
                        [&candidate](const FeedCandidate& c) { return c.url == candidate.url; });
        if (!repeated)
            links.feeds.append(candidate);
    }
    return links;
}
