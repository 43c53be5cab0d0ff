// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkProbe.h"

#include "LinkVerdict.h"
#include "platform/network/WebAddress.h"

#include <QTimer>

LinkProbe::LinkProbe(WebAccess& web, const QUrl& url, const Settings& settings, QObject* parent)
    : QObject(parent), m_web(web), m_original(url), m_current(url), m_settings(settings)
{}

LinkProbe::~LinkProbe()
{
    dropFetch();
}

void LinkProbe::start()
{
    send(Method::Head);
}

void LinkProbe::abort()
{
    m_done = true;
    dropFetch();
}

void LinkProbe::send(Method method)
{
    m_method = method;
    HttpFetch::Options options;
    options.method = method;
    // Redirects are judged one by one: where they lead decides between alive and moved.
    options.redirects = HttpFetch::Redirects::Report;
    // A page's body is not worth downloading: a good answer is cut off at its status line,
    // an error's body read only so far.
    options.body = HttpFetch::Body::Discard;
    options.maxBytes = kMaxBodyBytes;
    options.timeoutMs = m_settings.timeoutMs;
    options.accept = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    // Thousands of sites are asked once or twice each: idle connections kept open for
    // them would only hold memory.
    options.closeConnection = true;
    m_fetch = new HttpFetch(m_web, m_current, options, this);
    connect(m_fetch, &HttpFetch::finished, this, &LinkProbe::onFetched);
    m_fetch->start();
}

void LinkProbe::dropFetch()
{
    if (!m_fetch)
        return;
    HttpFetch* fetch = m_fetch;
    m_fetch = nullptr;
    disconnect(fetch, nullptr, this, nullptr);
    fetch->abort();
    fetch->deleteLater();
}

void LinkProbe::onFetched(const HttpFetch::Result& result)
{
    dropFetch();
    m_reached = m_reached || result.reachedServer;
    if (result.status > 0 && result.errorText.isEmpty()) {
        onStatus(result.status, result.location);
        return;
    }
    onNetworkError(result.error, result.errorText);
}

void LinkProbe::onStatus(int code, const QByteArray& location)
{
    if (LinkVerdict::IsRedirect(code) && !location.isEmpty()) {
        const QUrl target = m_current.resolved(QUrl::fromEncoded(location));
        if (!WebAddress::IsWeb(target)) {
            // Only a web address can be a paper's new home.
            finish(LinkResult::Status::Unsure, code,
                   QStringLiteral("redirected to an address that is not on the web"));
            return;
        }
        if (!LinkVerdict::SameSite(m_original, target)) {
            finish(LinkResult::Status::Moved, code, {}, target.toString());
            return;
        }
        if (++m_redirects > m_settings.maxRedirects) {
            finish(LinkResult::Status::Unsure, code, QStringLiteral("too many redirects"));
            return;
        }
        m_current = target;
        send(m_method);
        return;
    }
    onAnswer(code);
}

void LinkProbe::onAnswer(int status)
{
    switch (LinkVerdict::ForHttpStatus(status)) {
    case LinkVerdict::Answer::Alive:
        finish(LinkResult::Status::Alive, status, {});
        return;
    case LinkVerdict::Answer::ServerError:
        if (m_method == Method::Head)
            break;
        if (!m_retriedServerError) {
            // One more try after a pause: a passing overload is not a dead site.
            m_retriedServerError = true;
            QTimer::singleShot(m_settings.retryDelayMs, this, [this] {
                if (!m_done)
                    send(Method::Get);
            });
            return;
        }
        finish(LinkResult::Status::Dead, status, QStringLiteral("twice"));
        return;
    case LinkVerdict::Answer::Dead:
    case LinkVerdict::Answer::Unsure:
        if (m_method == Method::Head)
            break;
        finish(LinkVerdict::ForHttpStatus(status) == LinkVerdict::Answer::Dead
                   ? LinkResult::Status::Dead
                   : LinkResult::Status::Unsure,
               status, {});
        return;
    }
    // Servers that refuse or mishandle HEAD often answer GET properly.
    send(Method::Get);
}

void LinkProbe::onNetworkError(QNetworkReply::NetworkError error, const QString& text)
{
    if (error == QNetworkReply::TimeoutError) {
        finish(LinkResult::Status::Unsure, 0, text);
        return;
    }
    if (m_method == Method::Head && LinkVerdict::WorthRetryingWithGet(error)) {
        send(Method::Get);
        return;
    }
    finish(LinkVerdict::ForNetworkError(error), 0, text);
}

void LinkProbe::finish(LinkResult::Status status, int httpStatus, const QString& error,
                       const QString& newUrl)
{
    if (m_done)
        return;
    m_done = true;
    LinkResult result;
    result.status = status;
    result.httpStatus = httpStatus;
    result.error = error;
    result.newUrl = newUrl;
    result.checked = QDateTime::currentDateTimeUtc();
    emit finished(result, m_reached);
}
