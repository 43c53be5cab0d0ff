#pragma once

#include <QString>

// One favorite as the store hands it out: the texts exactly as the file holds them.
struct FavoriteRecord
{
    QString title;
    QString url;

    bool operator==(const FavoriteRecord&) const = default;
};
