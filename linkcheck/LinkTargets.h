// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkTarget.h"
#include "favorites/FavoriteRecord.h"

#include <QList>
#include <QStringList>

// What a full check covers: every favorite and every built-in site, in the tree's order of
// adding.
class LinkTargets
{
public:
    [[nodiscard]] static QList<LinkTarget> Collect(const QList<FavoriteRecord>& favorites);
    // Their addresses, each once, blanks left out.
    [[nodiscard]] static QStringList Addresses(const QList<LinkTarget>& targets);
    // A few large national sites: when none of them answers either, the computer is
    // offline rather than the sites dead.
    [[nodiscard]] static QStringList ReachabilityProbes();
};
