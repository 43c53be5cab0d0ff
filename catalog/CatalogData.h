#pragma once

#include <span>

struct CatalogEntry
{
    const char* name; // UTF-8, shown exactly as stored
    const char* url;
};

struct CatalogNode
{
    const char* text;
    std::span<const CatalogEntry> entries;
};

// The fixed directory of newspaper and news sites built into the program.
class CatalogData
{
public:
    [[nodiscard]] static std::span<const CatalogEntry> National();
    [[nodiscard]] static std::span<const CatalogEntry> World();
    // The state nodes in display order, each with its entries in stored order.
    [[nodiscard]] static std::span<const CatalogNode> States();
};
