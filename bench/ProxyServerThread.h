// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "support/ScriptedHttpServer.h"

#include <QNetworkProxy>
#include <QThread>

// A scripted HTTP server that answers as a proxy on 127.0.0.1, so that fictitious host names
// keep their real per-site limits, on a thread of its own, so that its answers never wait
// for the thread under measurement. Nothing leaves this computer.
class ProxyServerThread
{
public:
    struct Figures
    {
        qint64 servedDelayMs = 0;
        int requests = 0;
        int peakOpen = 0;
        int peakPerSite = 0;
    };

    explicit ProxyServerThread(ScriptedHttpServer::Handler handler)
    {
        m_thread.start();
        m_server = new ScriptedHttpServer;
        m_server->moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            m_server,
            [this, &handler] {
                m_server->setHandler(std::move(handler));
                if (m_server->start())
                    m_port = m_server->port();
            },
            Qt::BlockingQueuedConnection);
        if (m_port == 0)
            qFatal("the local server could not listen");
    }
    ~ProxyServerThread()
    {
        QMetaObject::invokeMethod(
            m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    ProxyServerThread(const ProxyServerThread&) = delete;
    ProxyServerThread& operator=(const ProxyServerThread&) = delete;

    [[nodiscard]] QNetworkProxy proxy() const
    {
        return QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_port);
    }
    // What the server counted, read on its own thread.
    [[nodiscard]] Figures figures()
    {
        Figures figures;
        QMetaObject::invokeMethod(
            m_server,
            [this, &figures] {
                figures.servedDelayMs = m_server->servedDelayMs();
                figures.requests = m_server->requestCount();
                figures.peakOpen = m_server->peakOpenRequests();
                figures.peakPerSite = m_server->peakOpenRequestsPerSite();
            },
            Qt::BlockingQueuedConnection);
        return figures;
    }

private:
    QThread m_thread;
    ScriptedHttpServer* m_server = nullptr;
    quint16 m_port = 0;
};
