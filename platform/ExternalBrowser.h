// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QUrl>

#include <functional>

// Hands an address to the user's own web browser (or, for mailto:, tel: and sms:, to the
// program the desktop has for it). When nothing can be started the user is told so, with
// the address, instead of nothing happening.
class ExternalBrowser
{
public:
    // Starts the browser; true when one was started. Tests install one to see what is opened.
    using Launcher = std::function<bool(const QUrl& url)>;

    // False (after the message) when no browser could be started. When the system's opener
    // starts but then finds no browser, the message comes as soon as it gives up.
    static bool Open(const QUrl& url);

    // Replaces the launcher; returns the previous one. An empty launcher restores the
    // system's own.
    static Launcher SetLauncher(Launcher launcher);
};
