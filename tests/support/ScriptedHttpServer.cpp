// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "ScriptedHttpServer.h"

#include <QPointer>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>

ScriptedHttpServer::ScriptedHttpServer(QObject* parent) : QTcpServer(parent)
{
    m_handler = [](const Request&) { return Status(200); };
}

ScriptedHttpServer::~ScriptedHttpServer()
{
    close();
}

bool ScriptedHttpServer::start()
{
    return listen(QHostAddress::LocalHost, 0);
}

void ScriptedHttpServer::setTls(const QSslCertificate& certificate, const QSslKey& key)
{
    m_certificate = certificate;
    m_key = key;
}

QString ScriptedHttpServer::url(const QString& path) const
{
    return QStringLiteral("%1://127.0.0.1:%2%3")
        .arg(m_certificate.isNull() ? QStringLiteral("http") : QStringLiteral("https"))
        .arg(port())
        .arg(path);
}

int ScriptedHttpServer::requestCount(const QByteArray& method) const
{
    if (method.isEmpty())
        return static_cast<int>(m_requests.size());
    return static_cast<int>(
        std::count_if(m_requests.begin(), m_requests.end(),
                      [&method](const Request& r) { return r.method == method; }));
}

quint16 ScriptedHttpServer::UnusedPort()
{
    ScriptedHttpServer server;
    return server.start() ? server.port() : 0;
}

ScriptedHttpServer::Response ScriptedHttpServer::Status(int status, int delayMs)
{
    Response response;
    response.status = status;
    response.delayMs = delayMs;
    response.body = "<html><body>" + QByteArray::number(status) + "</body></html>";
    return response;
}

ScriptedHttpServer::Response ScriptedHttpServer::Redirect(int status, const QByteArray& location)
{
    Response response = Status(status);
    response.headers.append({"Location", location});
    return response;
}

ScriptedHttpServer::Response ScriptedHttpServer::Page(const QByteArray& head)
{
    Response response;
    response.body = "<html><head>" + head + "</head><body></body></html>";
    return response;
}

void ScriptedHttpServer::incomingConnection(qintptr descriptor)
{
    QTcpSocket* socket = nullptr;
    if (m_certificate.isNull()) {
        socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
    } else {
        auto* secure = new QSslSocket(this);
        secure->setSocketDescriptor(descriptor);
        secure->setLocalCertificate(m_certificate);
        secure->setPrivateKey(m_key);
        secure->startServerEncryption();
        socket = secure;
    }
    ++m_connections;
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        closeRequest(socket);
        m_buffers.remove(socket);
        --m_connections;
        socket->deleteLater();
    });
}

void ScriptedHttpServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0 || m_openSite.contains(socket))
        return;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    buffer.remove(0, end + 4);
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    Request request;
    request.method = requestLine.value(0);
    QByteArray target = requestLine.value(1);
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon).trimmed().toLower();
        if (colon > 0)
            request.headers.append({name, line.mid(colon + 1).trimmed()});
        if (colon > 0 && name == "host")
            request.host = line.mid(colon + 1).trimmed();
        if (colon > 0 && name == "user-agent")
            request.userAgent = line.mid(colon + 1).trimmed();
        if (colon > 0 && (name == "connection" || name == "proxy-connection") &&
            line.mid(colon + 1).trimmed().toLower() == "close")
            request.close = true;
    }
    if (request.method == "CONNECT") {
        // No tunnels: secure sites asked through this proxy are refused, and never reached.
        request.host = target.left(target.lastIndexOf(':'));
        request.path = target;
        m_requests.append(request);
        socket->write("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    if (target.startsWith("http://") || target.startsWith("https://")) {
        // Asked as a proxy: the address names the host.
        const QUrl absolute = QUrl::fromEncoded(target);
        request.host = absolute.host().toUtf8();
        target = absolute.path(QUrl::FullyEncoded).toUtf8();
        if (target.isEmpty())
            target = "/";
    }
    const qsizetype portColon = request.host.lastIndexOf(':');
    if (portColon > 0 && !request.host.endsWith(']'))
        request.host.truncate(portColon);
    request.path = target;
    m_requests.append(request);

    const QByteArray site = request.host.startsWith("www.") ? request.host.mid(4) : request.host;
    m_openSite.insert(socket, site);
    ++m_open;
    m_peakOpen = std::max(m_peakOpen, m_open);
    m_peakOpenPerSite = std::max(m_peakOpenPerSite, ++m_openPerSite[site]);

    const Response response = m_handler(request);
    if (response.never)
        return;
    if (response.delayMs <= 0) {
        answer(socket, request, response);
        return;
    }
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(response.delayMs, this, [this, guard, request, response] {
        if (guard && guard->state() == QAbstractSocket::ConnectedState)
            answer(guard, request, response);
    });
}

void ScriptedHttpServer::answer(QTcpSocket* socket, const Request& request,
                                const Response& response)
{
    m_servedDelayMs += std::max(0, response.delayMs);
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Answer\r\n";
    const bool typed = std::any_of(response.headers.cbegin(), response.headers.cend(),
                                   [](const QPair<QByteArray, QByteArray>& header) {
                                       return header.first.toLower() == "content-type";
                                   });
    if (!typed)
        head += "Content-Type: text/html\r\n";
    if (request.close || response.endless)
        head += "Connection: close\r\n";
    if (!response.endless)
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    for (const auto& [name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    head += "\r\n";
    socket->write(head);
    if (response.endless && request.method != "HEAD") {
        closeRequest(socket);
        stream(socket, response.body.isEmpty() ? QByteArray(64 * 1024, 'x') : response.body);
        return;
    }
    if (request.method != "HEAD")
        socket->write(response.body);
    closeRequest(socket);
    if (request.close) {
        socket->disconnectFromHost();
        return;
    }
    // Kept alive, as most servers do: a request already waiting is taken up now.
    if (m_buffers.value(socket).contains("\r\n\r\n"))
        QTimer::singleShot(0, socket, [this, socket] { onReadyRead(socket); });
}

void ScriptedHttpServer::stream(QTcpSocket* socket, const QByteArray& chunk)
{
    // Another chunk each time the last has gone out, so the sender's memory stays flat.
    QPointer<QTcpSocket> guard(socket);
    auto more = [this, guard, chunk] {
        if (!guard || guard->state() != QAbstractSocket::ConnectedState ||
            guard->bytesToWrite() > 4 * chunk.size())
            return;
        m_streamed += guard->write(chunk);
    };
    connect(socket, &QTcpSocket::bytesWritten, this, more);
    more();
    more();
}

QByteArray ScriptedHttpServer::Request::header(const QByteArray& name) const
{
    for (const auto& [key, value] : headers) {
        if (key == name.toLower())
            return value;
    }
    return {};
}

void ScriptedHttpServer::closeRequest(QTcpSocket* socket)
{
    const auto it = m_openSite.find(socket);
    if (it == m_openSite.end())
        return;
    --m_open;
    --m_openPerSite[it.value()];
    m_openSite.erase(it);
}
