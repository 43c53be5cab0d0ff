// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

// Chromium refuses to start sandboxed as root; only then is the sandbox turned off.
class WebEngineSandbox
{
public:
    // Call before the application object is created.
    static void ConfigureForCurrentUser();
};
