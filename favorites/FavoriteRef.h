// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "FavoriteRecord.h"

// A favorite as a list or the tree showed it: its place among the records ReadAll returned
// then, and what it held. The file may have changed since; the record is what counts.
struct FavoriteRef
{
    long ordinal = -1;
    FavoriteRecord record;
};
