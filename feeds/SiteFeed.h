// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What is known of a site's feed: not looked for yet, found (and how its last fetch went),
// or none, with the reason.
struct SiteFeed
{
    enum class State
    {
        Unknown,
        Found,
        None
    };

    State state = State::Unknown;
    QDateTime lookedUp;
    QString reason; // None: why no feed was found
    qint64 feedId = 0;
    QString feedAddress;
    QString format;
    QDateTime fetched; // last asked, answered or not
    QString error;     // the last fetch's failure; empty when it went well
    QByteArray etag;   // the validators the next fetch sends
    QByteArray lastModified;
};
