// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "SilentWebPage.h"

#include <QWebEngineCertificateError>

SilentWebPage::SilentWebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    connect(this, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
}

bool SilentWebPage::IsExternalLink(const QUrl& url)
{
    static const QStringList schemes{QStringLiteral("mailto"), QStringLiteral("tel"),
                                     QStringLiteral("sms")};
    return schemes.contains(url.scheme().toLower());
}

bool SilentWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (IsExternalLink(url)) {
        // What the user chose, not what a page does by itself (a script sending the
        // browser to a mail address on its own).
        if (type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted ||
            type == NavigationTypeTyped)
            emit externalLinkRequested(url);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

void SilentWebPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    if (m_silent) {
        ++m_suppressed;
        return;
    }
    QWebEnginePage::javaScriptAlert(securityOrigin, msg);
}

bool SilentWebPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    if (m_silent) {
        ++m_suppressed;
        return false;
    }
    return QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool SilentWebPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                     const QString& defaultValue, QString* result)
{
    if (m_silent) {
        ++m_suppressed;
        return false;
    }
    return QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

void SilentWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                             const QString& message, int lineNumber,
                                             const QString& sourceID)
{
    if (!m_silent)
        QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
}
