// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QObject>

class QNetworkProxy;

// The one network access the background fetches of an engine go through: no cookies kept
// or sent, no cache, redirects left to the caller, and every request made as a browser
// makes it, since sites that turn robots away still answer a browser.
class WebAccess : public QObject
{
    Q_OBJECT

public:
    explicit WebAccess(QObject* parent = nullptr);

    [[nodiscard]] QNetworkAccessManager& manager() { return m_manager; }
    void setProxy(const QNetworkProxy& proxy);

    [[nodiscard]] static QNetworkRequest Request(const QUrl& url, const QByteArray& accept);
    [[nodiscard]] static QByteArray BrowserUserAgent();

private:
    QNetworkAccessManager m_manager;
};
