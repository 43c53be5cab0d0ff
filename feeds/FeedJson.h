// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FeedCandidate.h"
#include "ParsedFeed.h"

#include <QByteArray>
#include <QList>

// The JSON kestrin-feed-dump prints, keys in the order a reader expects them.
class FeedJson
{
public:
    [[nodiscard]] static QByteArray OfFeed(const ParsedFeed& feed);
    [[nodiscard]] static QByteArray
    OfDiscovery(const QString& site, const QList<FeedCandidate>& candidates, const QString& chosen);
    // A JSON string: quoted, with what must be escaped escaped.
    [[nodiscard]] static QByteArray String(const QString& text);
};
