// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FeedFormat.h"
#include "FeedItem.h"

#include <QList>
#include <QString>

// What reading a document gave: a feed and its items in document order, or the reason it
// is not one.
struct ParsedFeed
{
    FeedFormat format = FeedFormat::Unknown;
    QString title;
    QString link;
    QList<FeedItem> items;
    // Why the document is not a feed; empty when it is one.
    QString error;

    [[nodiscard]] bool isFeed() const { return error.isEmpty(); }
};
