#include "LinkProbe.h"

#include "LinkVerdict.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>

LinkProbe::LinkProbe(QNetworkAccessManager& network, const QUrl& url, const Settings& settings,
                     QObject* parent)
    : QObject(parent), m_network(network), m_original(url), m_current(url), m_settings(settings)
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, &LinkProbe::onTimeout);
}

LinkProbe::~LinkProbe()
{
    dropReply();
}

void LinkProbe::start()
{
    send(Method::Head);
}

void LinkProbe::abort()
{
    m_done = true;
    m_timeout.stop();
    dropReply();
}

void LinkProbe::send(Method method)
{
    m_method = method;
    QNetworkRequest request(m_current);
    // Redirects are judged one by one: where they lead decides between alive and moved.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_settings.userAgent);
    request.setRawHeader("Accept",
                         "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    request.setRawHeader("Accept-Language", "en-US,en;q=0.9");
    // Thousands of sites are asked once or twice each: idle connections kept open for
    // them would only hold memory.
    request.setRawHeader("Connection", "close");
    m_reply = method == Method::Head ? m_network.head(request) : m_network.get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &LinkProbe::onHeaders);
    connect(m_reply, &QNetworkReply::finished, this, &LinkProbe::onFinished);
    m_timeout.start(m_settings.timeoutMs);
}

void LinkProbe::dropReply()
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

void LinkProbe::onHeaders()
{
    // A page's body is not worth downloading: a GET that answered well is cut off at its
    // status line. HEAD and error answers end by themselves (cutting those short makes
    // the network layer report a second error).
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || m_method == Method::Head || status.toInt() >= 400)
        return;
    onStatus(status.toInt());
}

void LinkProbe::onStatus(int code)
{
    m_reached = true;
    const QByteArray location = m_reply->rawHeader("Location");
    const QUrl base = m_current;
    dropReply();
    if (LinkVerdict::IsRedirect(code) && !location.isEmpty()) {
        const QUrl target = base.resolved(QUrl::fromEncoded(location.trimmed()));
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

void LinkProbe::onFinished()
{
    if (!m_reply)
        return;
    // A reply that ends without headers we saw (an error, or headers only now).
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        onStatus(status.toInt());
        return;
    }
    const QNetworkReply::NetworkError error = m_reply->error();
    m_timeout.stop();
    dropReply();
    onNetworkError(error);
}

void LinkProbe::onTimeout()
{
    dropReply();
    onNetworkError(QNetworkReply::TimeoutError);
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

void LinkProbe::onNetworkError(QNetworkReply::NetworkError error)
{
    if (error == QNetworkReply::TimeoutError) {
        finish(
            LinkResult::Status::Unsure, 0,
            QStringLiteral("no answer within %1 seconds").arg((m_settings.timeoutMs + 999) / 1000));
        return;
    }
    m_reached = m_reached || LinkVerdict::ReachedServer(error);
    if (m_method == Method::Head && LinkVerdict::WorthRetryingWithGet(error)) {
        send(Method::Get);
        return;
    }
    finish(LinkVerdict::ForNetworkError(error), 0, LinkVerdict::Describe(error));
}

void LinkProbe::finish(LinkResult::Status status, int httpStatus, const QString& error,
                       const QString& newUrl)
{
    if (m_done)
        return;
    m_done = true;
    m_timeout.stop();
    LinkResult result;
    result.status = status;
    result.httpStatus = httpStatus;
    result.error = error;
    result.newUrl = newUrl;
    result.checked = QDateTime::currentDateTimeUtc();
    emit finished(result, m_reached);
}
