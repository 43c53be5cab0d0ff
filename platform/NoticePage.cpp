// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "NoticePage.h"

#include <QTimer>

NoticePage::NoticePage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{}

void NoticePage::Show(const QString& html)
{
    setHtml(html, QUrl(QStringLiteral("qrc:/res/notice/")));
}

bool NoticePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool)
{
    // Only the page's own HTML loads; whatever the user follows is a command.
    if (type != NavigationTypeLinkClicked && type != NavigationTypeFormSubmitted)
        return true;
    // Reported once the engine is done asking: the answer may show another notice.
    QTimer::singleShot(0, this, [this, url] { emit linkActivated(url); });
    return false;
}
