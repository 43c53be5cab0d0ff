// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineLoadingInfo>

// The browser pane's own pages, shown in place of the engine's: when a site cannot be opened
// and when a page stopped working. Offline, in the style of the start page; their buttons
// are links to actions the pane carries out.
class BrowserNotice
{
public:
    enum class Action
    {
        None,
        TryAgain,
        OpenInYourBrowser,
    };

    struct Page
    {
        QString title;
        QString html;
    };

    // siteName: the name the user knows the site by; note: one more line to show (what is
    // known about the address), or empty.
    [[nodiscard]] static Page CouldNotOpen(const QString& siteName, const QUrl& address,
                                           const QWebEngineLoadingInfo& failure,
                                           const QString& note);
    [[nodiscard]] static Page StoppedWorking(const QString& siteName, const QUrl& address);

    // The action behind a link followed in one of these pages.
    [[nodiscard]] static Action ActionOf(const QUrl& link);

    // What went wrong, in plain words.
    [[nodiscard]] static QString Reason(QWebEngineLoadingInfo::ErrorDomain domain, int code);
};
