// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QHostAddress>
#include <QString>

#include <functional>

class QObject;

// Where a host lives: on this computer or the local network, on the public internet, or
// nowhere (its name does not resolve). Only public hosts tell whether the computer is
// online.
class HostScope
{
public:
    enum class Kind
    {
        Local,
        Public,
        NotFound
    };

    using Done = std::function<void(Kind kind)>;
    // Classifies a host name without blocking; calls done later on the caller's thread,
    // unless context is destroyed first. Tests and the benchmark install their own.
    using Classifier = std::function<void(const QString& host, QObject* context, Done done)>;

    // Loopback, private (RFC 1918, carrier-grade NAT), link-local and unique-local
    // addresses.
    [[nodiscard]] static bool IsLocalAddress(const QHostAddress& address);
    // A name that can only mean a machine nearby: "localhost", a name without a dot, or
    // one under a local-only domain (.local, .lan, .home.arpa, .internal).
    [[nodiscard]] static bool IsLocalName(const QString& host);
    // The system's resolver, asked asynchronously. A host is local when every address it
    // resolves to is local.
    [[nodiscard]] static Classifier System();
};
