// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "ParsedFeed.h"

#include <QString>
#include <QUrl>

// JSON Feed 1.0 and 1.1.
class JsonFeedReader
{
public:
    [[nodiscard]] static ParsedFeed Read(const QString& text, const QUrl& address, int maxItems);
};
