// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkVerdict.h"

#include "platform/network/WebAddress.h"

namespace {
bool isWebScheme(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace

bool LinkVerdict::SameSite(const QUrl& from, const QUrl& to)
{
    if (!isWebScheme(from) || !isWebScheme(to))
        return false;
    // Ports are not compared: a site that moves its pages to another port of the same
    // host has not moved away.
    return !WebAddress::SiteKey(from).isEmpty() &&
           WebAddress::SiteKey(from) == WebAddress::SiteKey(to);
}

LinkVerdict::Answer LinkVerdict::ForHttpStatus(int status)
{
    if (status >= 200 && status < 300)
        return Answer::Alive;
    if (status == 404 || status == 410)
        return Answer::Dead;
    if (status >= 500 && status < 600)
        return Answer::ServerError;
    return Answer::Unsure;
}

bool LinkVerdict::IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

LinkResult::Status LinkVerdict::ForNetworkError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
        return LinkResult::Status::Dead;
    default:
        return LinkResult::Status::Unsure;
    }
}

bool LinkVerdict::WorthRetryingWithGet(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::SslHandshakeFailedError:
        return false;
    default:
        return true;
    }
}
