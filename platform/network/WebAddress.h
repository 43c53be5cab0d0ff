// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>
#include <QUrl>

// What the background fetches accept as an address, and the site an address belongs to.
class WebAddress
{
public:
    // http or https with a host: the only addresses fetched, followed or kept.
    [[nodiscard]] static bool IsWeb(const QUrl& url);
    // The site an address belongs to: its host in lower case without a leading "www.". The
    // per-host limit counts by it, so a site's http, https and www forms share one budget.
    [[nodiscard]] static QString SiteKey(const QUrl& url);
};
