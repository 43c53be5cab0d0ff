// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QNetworkReply>
#include <QString>

// What a failure before any HTTP answer says about the network.
class NetworkFailure
{
public:
    // Whether the failure proves the server was reached at all (a TLS error or a dropped
    // connection does; a missing host, a refusal or silence does not).
    [[nodiscard]] static bool ReachedServer(QNetworkReply::NetworkError error);
    // Words for a network failure, as stored and shown.
    [[nodiscard]] static QString Describe(QNetworkReply::NetworkError error);
};
