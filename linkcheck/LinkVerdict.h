// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "LinkResult.h"

#include <QNetworkReply>
#include <QString>
#include <QUrl>

// The rules that turn what a server said into a verdict. Kept apart from the networking so
// each rule can be read, and tested, on its own.
class LinkVerdict
{
public:
    // A redirect that stays on the site: same site key, http or https on both ends.
    [[nodiscard]] static bool SameSite(const QUrl& from, const QUrl& to);

    // What to do with an HTTP answer that is not a redirect.
    enum class Answer
    {
        Alive,       // 2xx
        Dead,        // 404, 410
        ServerError, // 5xx: dead only when the retry fails too
        Unsure       // 401, 403, 429 and everything else
    };
    [[nodiscard]] static Answer ForHttpStatus(int status);
    [[nodiscard]] static bool IsRedirect(int status);

    // A failure before any HTTP answer: dead for a missing host or a refused connection,
    // unsure for the rest (time-outs, TLS errors, broken connections).
    [[nodiscard]] static LinkResult::Status ForNetworkError(QNetworkReply::NetworkError error);
    // Whether it is worth asking again with GET after HEAD failed this way.
    [[nodiscard]] static bool WorthRetryingWithGet(QNetworkReply::NetworkError error);
};
