// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "ParsedFeed.h"

#include <libxml/tree.h>

// RSS 0.9x and 2.0 (root "rss") and RSS 1.0 and 0.90 (root "rdf:RDF"): the channel's title
// and link and the items, with Dublin Core dates and content:encoded as fall-backs.
class RssReader
{
public:
    [[nodiscard]] static ParsedFeed Read(const xmlNode* root, int maxItems);
};
