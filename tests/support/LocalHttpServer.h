// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

// A small web server on 127.0.0.1 for pages the tests control: each path answers with a
// status and a body; "{count}" in a body becomes the number of requests for that path.
class LocalHttpServer : public QObject
{
    Q_OBJECT

public:
    struct Reply
    {
        int status = 200;
        QByteArray body;
        // How long the body takes after the headers, as on a slow site.
        int delayMs = 0;
    };

    // Listens on the port given, or on any free one.
    explicit LocalHttpServer(quint16 port = 0);
    ~LocalHttpServer() override;

    [[nodiscard]] bool isListening() const;
    [[nodiscard]] quint16 port() const;
    // http://127.0.0.1:<port><path>
    [[nodiscard]] QString url(const QString& path) const;

    void setReply(const QString& path, Reply reply) { m_replies.insert(path, std::move(reply)); }
    // A page whose <title> is the title.
    void setPage(const QString& path, const QString& title, const QString& body = {},
                 int delayMs = 0);
    [[nodiscard]] int requests(const QString& path) const { return m_counts.value(path); }

    // A port on 127.0.0.1 that nothing listens on (until a server is started there).
    [[nodiscard]] static quint16 UnusedPort();

private:
    void OnConnection();
    void Answer(QTcpSocket* socket);

    QTcpServer* m_server;
    QHash<QString, Reply> m_replies;
    QHash<QString, int> m_counts;
};
