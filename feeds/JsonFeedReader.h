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
