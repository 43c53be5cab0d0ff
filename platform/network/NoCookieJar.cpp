// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "NoCookieJar.h"

QList<QNetworkCookie> NoCookieJar::cookiesForUrl(const QUrl&) const
{
    return {};
}

bool NoCookieJar::setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&)
{
    return false;
}
