// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QKeyCombination>

#include <span>

struct Accelerator
{
    QKeyCombination key;
    int id;
};

class AcceleratorTable
{
public:
    // The accelerator table of resource 128: the framework's standard keys, and those added
    // since (F5, F3, Ctrl+K, Ctrl+D, Alt+Left, Alt+Right, Alt+Home).
    [[nodiscard]] static std::span<const Accelerator> MainFrame();
    // Zoom keys, which act only while the browser pane has the focus.
    [[nodiscard]] static std::span<const Accelerator> BrowserPane();
};
