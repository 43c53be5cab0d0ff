// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

class QWidget;

// Applies a window show command by its framework number (3 maximized, 5 shown, ...).
class ShowCommand
{
public:
    enum : int
    {
        Hide = 0,
        ShowNormal = 1,
        ShowMinimized = 2,
        ShowMaximized = 3,
        ShowNoActivate = 4,
        Show = 5,
        Minimize = 6,
        ShowMinNoActive = 7,
        ShowNA = 8,
        Restore = 9,
        ShowDefault = 10,
        ForceMinimize = 11,
    };

    // Hide is not applied: a main window that starts hidden could never be reached again.
    // Numbers outside the known commands change nothing, as the system ignores them.
    static void Apply(QWidget* window, int command);
};
