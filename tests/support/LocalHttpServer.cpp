// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LocalHttpServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {
QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}
} // namespace

LocalHttpServer::LocalHttpServer(quint16 port) : m_server(new QTcpServer(this))
{
    m_server->listen(QHostAddress::LocalHost, port);
    connect(m_server, &QTcpServer::newConnection, this, &LocalHttpServer::OnConnection);
}

LocalHttpServer::~LocalHttpServer() = default;

bool LocalHttpServer::isListening() const
{
    return m_server->isListening();
}

quint16 LocalHttpServer::port() const
{
    return m_server->serverPort();
}

QString LocalHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void LocalHttpServer::setPage(const QString& path, const QString& title, const QString& body,
                              int delayMs)
{
    setReply(path, {200,
                    QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                                   "<title>%1</title></head><body>%2</body></html>")
                        .arg(title, body)
                        .toUtf8(),
                    delayMs});
}

quint16 LocalHttpServer::UnusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

void LocalHttpServer::OnConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
    }
}

void LocalHttpServer::Answer(QTcpSocket* socket)
{
    const QByteArray request = socket->peek(socket->bytesAvailable());
    if (!request.contains("\r\n\r\n"))
        return; // the headers are not all here yet
    socket->readAll();
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    const int count = ++m_counts[path];
    Reply reply = m_replies.value(path, Reply{404, QByteArray()});
    reply.body.replace("{count}", QByteArray::number(count));
    QByteArray response =
        "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reason(reply.status) + "\r\n";
    response += "Content-Type: text/html; charset=utf-8\r\n";
    response += "Cache-Control: no-store\r\n";
    response += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    response += "Connection: close\r\n\r\n";
    // The headers go at once, the page after the delay: the browser has committed to the
    // new address long before its title arrives.
    socket->write(response);
    QTimer::singleShot(reply.delayMs, socket, [socket, body = reply.body] {
        socket->write(body);
        socket->disconnectFromHost();
    });
}
