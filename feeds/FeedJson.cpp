// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FeedJson.h"

#include <QDateTime>

namespace {
QByteArray timeOf(const QDateTime& time)
{
    if (!time.isValid())
        return "null";
    return '"' + time.toUTC().toString(Qt::ISODate).toLatin1() + '"';
}

QByteArray stringOrNull(const QString& text)
{
    return text.isEmpty() ? QByteArray("null") : FeedJson::String(text);
}
} // namespace

QByteArray FeedJson::String(const QString& text)
{
    QByteArray out = "\"";
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += "\\u00" +
                       QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out + '"';
}

QByteArray FeedJson::OfFeed(const ParsedFeed& feed)
{
    QByteArray out = "{\n  \"title\": " + String(feed.title) +
                     ",\n  \"link\": " + String(feed.link) + ",\n  \"items\": [";
    for (qsizetype i = 0; i < feed.items.size(); ++i) {
        const FeedItem& item = feed.items.at(i);
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"title\": " + String(item.title) + ", \"link\": " + String(item.link) +
               ", \"id\": " + String(item.id) + ", \"published\": " + timeOf(item.published) +
               ", \"updated\": " + timeOf(item.updated) + ", \"summary\": " + String(item.summary) +
               "}";
    }
    out += feed.items.isEmpty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

QByteArray FeedJson::OfDiscovery(const QString& site, const QList<FeedCandidate>& candidates,
                                 const QString& chosen)
{
    QByteArray out = "{\n  \"site\": " + String(site) + ",\n  \"candidates\": [";
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        const FeedCandidate& candidate = candidates.at(i);
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"url\": " + String(candidate.url) +
               ", \"title\": " + String(candidate.title) + ", \"type\": " + String(candidate.type) +
               ", \"verified\": " + (candidate.verified ? "true" : "false") + "}";
    }
    out += candidates.isEmpty() ? "]" : "\n  ]";
    out += ",\n  \"chosen\": " + stringOrNull(chosen) + "\n}\n";
    return out;
}
