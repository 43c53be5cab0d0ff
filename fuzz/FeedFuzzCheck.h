// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QString>

// Puts one input through the feed parser, or through the page-head reader of discovery,
// and checks what they promise: a feed or a reason, never both; at most 1,000 items; only
// http and https links; an id for every item; titles and summaries as collapsed plain text;
// JSON output that reads back; feed links from a page that are web addresses of a feed type.
class FeedFuzzCheck
{
public:
    // The first promise the parser broke on input, or an empty string.
    [[nodiscard]] static QString Feed(const QByteArray& input);
    // The same for the page-head reader.
    [[nodiscard]] static QString PageHead(const QByteArray& input);
};
