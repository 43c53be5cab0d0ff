// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// A feed's row: where it is, what it last said of itself, and how its last fetch went.
struct StoredFeed
{
    qint64 id = 0;
    QString address;
    QString format;
    QString title;
    QString link;
    QByteArray etag;
    QByteArray lastModified;
    QDateTime fetched;
    QString error;
};
