// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

// The web engine prints its GL set-up and GPU retries to the terminal on every start, which
// tells a user nothing. Normal runs keep only fatal engine messages; a --log-level in
// QTWEBENGINE_CHROMIUM_FLAGS or a rule in QT_LOGGING_RULES brings them back.
class WebEngineLogging
{
public:
    // Call before the application object is created.
    static void QuietenUnlessAsked();
};
