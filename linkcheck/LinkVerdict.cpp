#include "LinkVerdict.h"

namespace {
bool isWebScheme(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace

QString LinkVerdict::SiteKey(const QUrl& url)
{
    QString host = url.host().toLower();
    if (host.startsWith(QLatin1String("www.")) && host.size() > 4)
        host.remove(0, 4);
    return host;
}

bool LinkVerdict::SameSite(const QUrl& from, const QUrl& to)
{
    if (!isWebScheme(from) || !isWebScheme(to))
        return false;
    // Ports are not compared: a site that moves its pages to another port of the same
    // host has not moved away.
    return !SiteKey(from).isEmpty() && SiteKey(from) == SiteKey(to);
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

bool LinkVerdict::ReachedServer(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::UnknownProxyError:
        return false;
    default:
        return true;
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

QString LinkVerdict::Describe(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("host name does not exist");
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("connection refused");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("no answer in time");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("secure connection failed");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("connection closed by the server");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("too many redirects");
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("not a web address");
    default:
        break;
    }
    return QStringLiteral("network error %1").arg(static_cast<int>(error));
}
