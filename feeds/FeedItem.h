// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QDateTime>
#include <QString>

// One entry of a feed as read: plain-text title and summary, an http or https link (or
// none), an id that stays the same from one read to the next, and its times in UTC (or
// invalid when the feed gives none that can be read).
struct FeedItem
{
    QString title;
    QString link;
    QString id;
    QDateTime published;
    QDateTime updated;
    QString summary;
};
