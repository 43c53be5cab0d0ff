// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QDateTime>
#include <QString>

// An item as the database keeps it, for the headline list.
struct StoredItem
{
    qint64 id = 0;
    qint64 feedId = 0;
    QString site; // the paper it is listed under
    QString title;
    QString link;
    QString summary;
    QDateTime published;
    QDateTime updated;
    QDateTime time; // what it is sorted by: published, else updated, else first seen
    bool read = false;
};
