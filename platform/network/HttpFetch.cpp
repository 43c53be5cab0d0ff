// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "HttpFetch.h"

#include "NetworkFailure.h"
#include "WebAccess.h"
#include "WebAddress.h"

#include <QNetworkRequest>

HttpFetch::HttpFetch(WebAccess& web, const QUrl& url, const Options& options, QObject* parent)
    : QObject(parent), m_web(web), m_options(options), m_method(options.method)
{
    m_result.url = url;
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, &HttpFetch::onTimeout);
}

HttpFetch::~HttpFetch()
{
    dropReply();
}

bool HttpFetch::IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

void HttpFetch::start()
{
    if (!WebAddress::IsWeb(m_result.url)) {
        // Finished later, as every other outcome is: callers connect after start().
        QTimer::singleShot(0, this, [this] {
            fail(QNetworkReply::ProtocolUnknownError, QStringLiteral("not a web address"));
        });
        return;
    }
    send();
}

void HttpFetch::abort()
{
    m_done = true;
    m_timeout.stop();
    dropReply();
}

void HttpFetch::send()
{
    QNetworkRequest request = WebAccess::Request(m_result.url, m_options.accept);
    for (const auto& [name, value] : m_options.headers)
        request.setRawHeader(name, value);
    if (m_options.closeConnection)
        request.setRawHeader("Connection", "close");
    m_bytes = 0;
    m_headersTaken = false;
    m_result.body.clear();
    QNetworkAccessManager& manager = m_web.manager();
    m_reply = m_method == Method::Head ? manager.head(request) : manager.get(request);
    // What the network layer holds for us between reads stays small, whatever the server sends.
    m_reply->setReadBufferSize(std::min<qint64>(m_options.maxBytes + 1, 1024 * 1024));
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &HttpFetch::onHeaders);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpFetch::onData);
    connect(m_reply, &QNetworkReply::finished, this, &HttpFetch::onFinished);
    m_timeout.start(m_options.timeoutMs);
}

void HttpFetch::dropReply()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    if (!reply->isFinished())
        reply->abort();
    reply->deleteLater();
}

void HttpFetch::takeHeaders()
{
    m_headersTaken = true;
    m_result.reachedServer = true;
    m_result.location = m_reply->rawHeader("Location").trimmed();
    m_result.contentType = m_reply->rawHeader("Content-Type");
    m_result.etag = m_reply->rawHeader("ETag");
    m_result.lastModified = m_reply->rawHeader("Last-Modified");
}

void HttpFetch::onHeaders()
{
    // HEAD answers end by themselves; so does the rest of an answer whose status a later
    // header changes.
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || m_headersTaken || m_method == Method::Head)
        return;
    takeHeaders();
    const int code = status.toInt();
    if (IsRedirect(code) || (m_options.body == Body::Discard && code < 400))
        answer(code);
}

void HttpFetch::onData()
{
    while (m_reply && m_reply->bytesAvailable() > 0) {
        const qint64 room = std::max<qint64>(m_options.maxBytes - m_bytes, 0);
        const QByteArray chunk = m_reply->read(room + 1);
        if (chunk.isEmpty())
            return;
        m_bytes += chunk.size();
        if (m_options.body == Body::Keep)
            m_result.body.append(chunk.constData(), std::min<qint64>(chunk.size(), room));
        if (m_bytes > m_options.maxBytes) {
            // The rest is never read: the reply is aborted with whatever it still holds.
            m_result.truncated = true;
            if (!m_headersTaken)
                takeHeaders();
            answer(m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt());
            return;
        }
    }
}

void HttpFetch::onFinished()
{
    if (!m_reply)
        return;
    if (m_reply->bytesAvailable() > 0)
        onData();
    if (!m_reply)
        return;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        if (!m_headersTaken)
            takeHeaders();
        answer(status.toInt());
        return;
    }
    const QNetworkReply::NetworkError error = m_reply->error();
    m_result.reachedServer = m_result.reachedServer || NetworkFailure::ReachedServer(error);
    fail(error, NetworkFailure::Describe(error));
}

void HttpFetch::onTimeout()
{
    fail(QNetworkReply::TimeoutError,
         QStringLiteral("no answer within %1 seconds").arg((m_options.timeoutMs + 999) / 1000));
}

void HttpFetch::answer(int status)
{
    m_result.status = status;
    if (IsRedirect(status) && !m_result.location.isEmpty()) {
        redirect(status, m_result.location);
        return;
    }
    finish();
}

void HttpFetch::redirect(int status, const QByteArray& location)
{
    dropReply();
    if (m_options.redirects == Redirects::Report) {
        finish();
        return;
    }
    const QUrl target = m_result.url.resolved(QUrl::fromEncoded(location));
    if (!WebAddress::IsWeb(target)) {
        fail(QNetworkReply::ProtocolUnknownError,
             QStringLiteral("redirected to an address that is not on the web"));
        return;
    }
    if (++m_redirects > m_options.maxRedirects) {
        fail(QNetworkReply::TooManyRedirectsError,
             NetworkFailure::Describe(QNetworkReply::TooManyRedirectsError));
        return;
    }
    m_permanentSoFar = m_permanentSoFar && (status == 301 || status == 308);
    if (m_permanentSoFar)
        m_result.movedTo = target;
    m_result.url = target;
    m_result.location.clear();
    m_result.status = 0;
    send();
}

void HttpFetch::fail(QNetworkReply::NetworkError error, const QString& text)
{
    m_result.error = error;
    m_result.errorText = text;
    m_result.body.clear();
    finish();
}

void HttpFetch::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_timeout.stop();
    dropReply();
    emit finished(m_result);
}
