// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QDateTime>
#include <QStringView>

// Reads the dates feeds carry: RFC 822 as RSS writes it, with its usual deviations
// (missing seconds or day name, two-digit years, named or numeric zones), and the W3C
// forms of ISO 8601 that Atom, Dublin Core and JSON Feed use. A date that cannot be read
// for certain is invalid, never a guess.
class FeedDate
{
public:
    // Either form, in UTC.
    [[nodiscard]] static QDateTime Parse(QStringView text);
    [[nodiscard]] static QDateTime ParseRfc822(QStringView text);
    [[nodiscard]] static QDateTime ParseIso8601(QStringView text);
};
