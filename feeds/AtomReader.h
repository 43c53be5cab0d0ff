// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "ParsedFeed.h"

#include <libxml/tree.h>

// Atom 1.0 and 0.3: the feed's title and alternate link and its entries.
class AtomReader
{
public:
    [[nodiscard]] static ParsedFeed Read(const xmlNode* root, int maxItems);
};
