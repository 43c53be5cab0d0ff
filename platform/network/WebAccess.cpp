// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "WebAccess.h"

#include "NoCookieJar.h"

#include <QNetworkProxy>

WebAccess::WebAccess(QObject* parent) : QObject(parent)
{
    m_manager.setCookieJar(new NoCookieJar(&m_manager));
    m_manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    m_manager.setAutoDeleteReplies(false);
}

void WebAccess::setProxy(const QNetworkProxy& proxy)
{
    m_manager.setProxy(proxy);
}

QNetworkRequest WebAccess::Request(const QUrl& url, const QByteArray& accept)
{
    QNetworkRequest request(url);
    // Each redirect is judged by the caller: where it leads decides what is kept.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setHeader(QNetworkRequest::UserAgentHeader, BrowserUserAgent());
    request.setRawHeader("Accept", accept);
    request.setRawHeader("Accept-Language", "en-US,en;q=0.9");
    return request;
}

QByteArray WebAccess::BrowserUserAgent()
{
    return QByteArrayLiteral("Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like "
                             "Gecko) Chrome/108.0.0.0 Safari/537.36");
}
