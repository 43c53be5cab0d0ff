// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkResult.h"
#include "platform/network/HttpFetch.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

class WebAccess;

// Checks one address: HEAD first, GET when HEAD is refused or fails, redirects followed
// while they stay on the site, a server error asked once more. Finishes exactly once,
// unless aborted.
class LinkProbe : public QObject
{
    Q_OBJECT

public:
    // Of any body, only this much is read: the status is what counts.
    static constexpr qint64 kMaxBodyBytes = 64 * 1024;

    struct Settings
    {
        int timeoutMs = 15000;
        int retryDelayMs = 1000;
        int maxRedirects = 10;
    };

    LinkProbe(WebAccess& web, const QUrl& url, const Settings& settings, QObject* parent = nullptr);
    ~LinkProbe() override;

    void start();
    // Stops at once and finishes nothing.
    void abort();

signals:
    // reachedServer: some server on the address's way answered at all, which proves the
    // computer is online.
    void finished(const LinkResult& result, bool reachedServer);

private:
    using Method = HttpFetch::Method;

    void send(Method method);
    void onFetched(const HttpFetch::Result& result);
    void onStatus(int code, const QByteArray& location);
    void onAnswer(int status);
    void onNetworkError(QNetworkReply::NetworkError error, const QString& text);
    void dropFetch();
    void finish(LinkResult::Status status, int httpStatus, const QString& error,
                const QString& newUrl = {});

    WebAccess& m_web;
    const QUrl m_original;
    QUrl m_current;
    Settings m_settings;
    Method m_method = Method::Head;
    QPointer<HttpFetch> m_fetch;
    int m_redirects = 0;
    bool m_retriedServerError = false;
    bool m_reached = false;
    bool m_done = false;
};
