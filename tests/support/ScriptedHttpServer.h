// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 for tests and benchmarks. It answers every request
// through a handler, can wait before answering or never answer, speaks TLS when given a
// certificate, and also answers as a proxy (absolute addresses in the request line), so
// fictitious host names can be served without leaving this computer. It counts what it
// sees: requests, and how many were open at once per site (host name without "www.") and
// in all.
class ScriptedHttpServer : public QTcpServer
{
    Q_OBJECT

public:
    struct Request
    {
        QByteArray method;
        QByteArray host; // without the port
        QByteArray path;
        QByteArray userAgent;
        // The client asked to close the connection after the answer.
        bool close = false;
        // Every header line, names in lower case.
        QList<QPair<QByteArray, QByteArray>> headers;

        [[nodiscard]] QByteArray header(const QByteArray& name) const;
    };
    struct Response
    {
        int status = 200;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        int delayMs = 0;
        // Keep the connection open and say nothing.
        bool never = false;
        // After the headers, send the body over and over until the client goes away.
        bool endless = false;
    };
    using Handler = std::function<Response(const Request& request)>;

    explicit ScriptedHttpServer(QObject* parent = nullptr);
    ~ScriptedHttpServer() override;

    // Listens on 127.0.0.1, on a free port; false when it could not.
    bool start();
    // Serves TLS with this certificate from now on.
    void setTls(const QSslCertificate& certificate, const QSslKey& key);
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    [[nodiscard]] quint16 port() const { return serverPort(); }
    // "http://127.0.0.1:port" (or https) followed by the path.
    [[nodiscard]] QString url(const QString& path = QStringLiteral("/")) const;

    [[nodiscard]] const QList<Request>& requests() const { return m_requests; }
    [[nodiscard]] int requestCount(const QByteArray& method = {}) const;
    [[nodiscard]] int openRequests() const { return m_open; }
    [[nodiscard]] int peakOpenRequests() const { return m_peakOpen; }
    [[nodiscard]] int peakOpenRequestsPerSite() const { return m_peakOpenPerSite; }
    [[nodiscard]] int openConnections() const { return m_connections; }
    // Sum of the waits of every answer given.
    [[nodiscard]] qint64 servedDelayMs() const { return m_servedDelayMs; }
    // Bytes of endless bodies written so far.
    [[nodiscard]] qint64 streamedBytes() const { return m_streamed; }

    // A port on 127.0.0.1 that nothing listens on: a connection there is refused.
    [[nodiscard]] static quint16 UnusedPort();

    static Response Status(int status, int delayMs = 0);
    static Response Redirect(int status, const QByteArray& location);
    // A page with nothing but the given head, as a site's front page for discovery.
    static Response Page(const QByteArray& head);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Request& request, const Response& response);
    void closeRequest(QTcpSocket* socket);
    void stream(QTcpSocket* socket, const QByteArray& chunk);

    Handler m_handler;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QList<Request> m_requests;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QTcpSocket*, QByteArray> m_openSite; // sockets with a request not yet answered
    QHash<QByteArray, int> m_openPerSite;
    int m_open = 0;
    int m_peakOpen = 0;
    int m_peakOpenPerSite = 0;
    int m_connections = 0;
    qint64 m_servedDelayMs = 0;
    qint64 m_streamed = 0;
};
