// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <span>

// What an outlet publishes, as press directories class it; also the order of the catalog by
// content.
enum class CatalogKind : unsigned char
{
    Daily,
    Weekly,
    Business,
    Alternative,
    Campus,
    Special,
    Online,
    Magazine,
    Broadcast
};

struct CatalogEntry
{
    const char* name; // UTF-8, shown exactly as stored
    const char* url;
    // The town it is published in; a World entry's country; a National entry's newsroom city
    // ("United States" for networks).
    const char* place;
    CatalogKind kind;
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

    // Every kind, in the order of the catalog by content.
    [[nodiscard]] static std::span<const CatalogKind> Kinds();
    // The kind's name as the catalog shows it, e.g. "Daily newspapers".
    [[nodiscard]] static const char* KindText(CatalogKind kind);
};
