// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FavoriteRecord.h"

#include <QList>

// Tells which favorites of an earlier list live on in a later one, so that a list on screen
// can follow a change without starting over.
class FavoriteMatch
{
public:
    // For each record of after, the position in before of the record it continues, or -1
    // for a new one. A record continues one with the same name and address (twins in their
    // order); one that has no such partner continues the record that stood at its place in
    // the file and is gone, as after an edit in place.
    [[nodiscard]] static QList<qsizetype> continuations(const QList<FavoriteRecord>& before,
                                                        const QList<FavoriteRecord>& after);
};
