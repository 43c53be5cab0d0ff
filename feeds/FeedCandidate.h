// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

// A feed a site names or might have, and whether fetching it gave a feed with items.
struct FeedCandidate
{
    QString url;
    QString title;
    QString type; // "rss", "atom" or "json"; empty for a guessed address until verified
    bool verified = false;
};
