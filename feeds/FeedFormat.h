// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

enum class FeedFormat
{
    Unknown,
    Rss,  // RSS 0.9x and 2.0
    Rdf,  // RSS 1.0 and 0.90
    Atom, // Atom 0.3 and 1.0
    Json  // JSON Feed 1.0 and 1.1
};

// The feed's kind as stored and printed: "rss", "atom" or "json" (RDF is RSS).
[[nodiscard]] inline QString FeedFormatName(FeedFormat format)
{
    switch (format) {
    case FeedFormat::Rss:
    case FeedFormat::Rdf:
        return QStringLiteral("rss");
    case FeedFormat::Atom:
        return QStringLiteral("atom");
    case FeedFormat::Json:
        return QStringLiteral("json");
    case FeedFormat::Unknown:
        break;
    }
    return {};
}
