// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FeedCandidate.h"

#include <QByteArray>
#include <QList>
#include <QUrl>

// Reads the feeds a web page names: <link rel="alternate"> with a feed type, in any case
// and attribute order, resolved against the page's <base href> and its own address. Uses
// libxml2's HTML parser, which takes any page, however broken.
class PageHead
{
public:
    static constexpr qint64 kMaxBytes = 2 * 1024 * 1024;

    struct Links
    {
        QUrl base;
        QList<FeedCandidate> feeds;
    };

    [[nodiscard]] static Links Read(const QByteArray& page, const QUrl& address,
                                    const QByteArray& serverCharset = {});
    // "rss", "atom" or "json" for a feed's media type; empty for anything else.
    [[nodiscard]] static QString FeedType(const QString& mediaType);
};
