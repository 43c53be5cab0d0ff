// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class WebAccess;

// One background request: a time-out on each hop, redirects followed to http and https
// only (or handed back to the caller), and never more of a body read than the caller can
// use, the rest cut off. Finishes exactly once, unless aborted.
class HttpFetch : public QObject
{
    Q_OBJECT

public:
    enum class Method
    {
        Get,
        Head
    };
    enum class Redirects
    {
        Follow, // up to maxRedirects, http and https targets only
        Report  // the first redirect ends the fetch, its target in Result::location
    };
    enum class Body
    {
        Keep,   // the body, up to maxBytes
        Discard // only the status matters: a good answer ends at its headers, an error's
                // body is read (up to maxBytes) and dropped
    };
    struct Options
    {
        Method method = Method::Get;
        Redirects redirects = Redirects::Follow;
        Body body = Body::Keep;
        qint64 maxBytes = 64 * 1024;
        int timeoutMs = 15000;
        int maxRedirects = 10;
        QByteArray accept = "*/*";
        QList<QPair<QByteArray, QByteArray>> headers;
        // Ask the server to close the connection after answering: for sites asked once.
        bool closeConnection = false;
    };
    struct Result
    {
        QUrl url;       // the address asked last (after redirects)
        QUrl movedTo;   // where permanent redirects from the first address led, if any
        int status = 0; // 0: no HTTP answer
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        QString errorText;
        bool reachedServer = false;
        QByteArray body;
        bool truncated = false; // the body went past maxBytes and was cut off there
        QByteArray location;
        QByteArray contentType;
        QByteArray etag;
        QByteArray lastModified;

        [[nodiscard]] bool answered() const { return status > 0 && errorText.isEmpty(); }
    };

    HttpFetch(WebAccess& web, const QUrl& url, const Options& options, QObject* parent = nullptr);
    ~HttpFetch() override;

    void start();
    // Stops at once and finishes nothing.
    void abort();

    [[nodiscard]] static bool IsRedirect(int status);

signals:
    void finished(const HttpFetch::Result& result);

private:
    void send();
    void onHeaders();
    void onData();
    void onFinished();
    void onTimeout();
    void answer(int status);
    void redirect(int status, const QByteArray& location);
    void takeHeaders();
    void fail(QNetworkReply::NetworkError error, const QString& text);
    void finish();
    void dropReply();

    WebAccess& m_web;
    Options m_options;
    Method m_method;
    Result m_result;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timeout;
    qint64 m_bytes = 0;
    int m_redirects = 0;
    bool m_permanentSoFar = true;
    bool m_headersTaken = false;
    bool m_done = false;
};
