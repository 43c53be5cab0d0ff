// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkResult.h"

#include <QString>

// The words the program uses for a check's result: in the tree's tooltips, the report and
// the results file.
class LinkFinding
{
public:
    // "alive", "moved", "dead", "unsure": the names in the results file.
    [[nodiscard]] static QString StatusName(LinkResult::Status status);
    // False for an unknown name.
    [[nodiscard]] static bool StatusFromName(const QString& name, LinkResult::Status& status);

    // "Dead", "Moved", "Unsure", "Alive": the report's column.
    [[nodiscard]] static QString StatusTitle(LinkResult::Status status);
    // What was found, without the date: "connection refused", "page not found (404)",
    // "moved to https://…".
    [[nodiscard]] static QString Details(const LinkResult& result);
    // The tree's tooltip: "Not reachable on 8 Dec 2026: connection refused".
    [[nodiscard]] static QString ToolTip(const LinkResult& result);
    // "8 Dec 2026" in the user's language, local time.
    [[nodiscard]] static QString Date(const QDateTime& checked);
};
