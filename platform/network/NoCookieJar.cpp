#include "NoCookieJar.h"

QList<QNetworkCookie> NoCookieJar::cookiesForUrl(const QUrl&) const
{
    return {};
}

bool NoCookieJar::setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&)
{
    return false;
}
