// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

// The program's string resources by id.
class StringTable
{
public:
    // The string with this id, or an empty string when the table holds none.
    [[nodiscard]] static QString Load(int id);
    // The status-bar prompt of a command: the part of its string before the tooltip break.
    [[nodiscard]] static QString Prompt(int id);
};
