// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QDateTime>
#include <QString>

// What one check of an address found, as kept between runs.
struct LinkResult
{
    enum class Status
    {
        Alive,
        Moved,
        Dead,
        Unsure
    };

    Status status = Status::Unsure;
    // The HTTP status that decided it; 0 when no server answered.
    int httpStatus = 0;
    // A short reason in words ("connection refused"); empty when the status says it all.
    QString error;
    // Where a moved site went.
    QString newUrl;
    // When the check finished, in UTC.
    QDateTime checked;

    friend bool operator==(const LinkResult&, const LinkResult&) = default;
};
