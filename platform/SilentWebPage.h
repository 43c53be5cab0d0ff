// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QWebEnginePage>

// A page that, in silent mode, raises none of the engine's own dialogs: script alerts,
// confirms and prompts are answered quietly, certificate errors and permission requests
// are refused (the load fails instead). Links meant for another program (mailto:, tel:,
// sms:) are reported instead of being handed to the desktop behind the program's back. New
// windows are for whoever shows the page to answer, through newWindowRequested.
class SilentWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit SilentWebPage(QWebEngineProfile* profile, QObject* parent = nullptr);

    void setSilent(bool silent) { m_silent = silent; }
    [[nodiscard]] bool isSilent() const { return m_silent; }

    // How many script dialogs were kept from the user.
    [[nodiscard]] int suppressedDialogs() const { return m_suppressed; }

    // Whether an address belongs to another program: an e-mail, a call, a text message.
    [[nodiscard]] static bool IsExternalLink(const QUrl& url);

signals:
    void externalLinkRequested(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    bool m_silent = false;
    int m_suppressed = 0;
};
