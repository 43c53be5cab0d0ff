// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <span>

struct MenuEntry
{
    const char* text; // nullptr for a separator; a tab separates the key hint
    int id;
};

struct MenuDefinition
{
    const char* title;
    std::span<const MenuEntry> entries;
};

// The main menu bar of resource 128.
class MenuTable
{
public:
    [[nodiscard]] static std::span<const MenuDefinition> MainMenu();
};
