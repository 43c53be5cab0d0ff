// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "HostScope.h"

#include <QHostInfo>
#include <QPointer>

namespace {
bool inSubnet(const QHostAddress& address, const char* subnet)
{
    return address.isInSubnet(QHostAddress::parseSubnet(QString::fromLatin1(subnet)));
}

HostScope::Kind classifyAddresses(const QList<QHostAddress>& addresses)
{
    if (addresses.isEmpty())
        return HostScope::Kind::NotFound;
    for (const QHostAddress& address : addresses) {
        if (!HostScope::IsLocalAddress(address))
            return HostScope::Kind::Public;
    }
    return HostScope::Kind::Local;
}
} // namespace

bool HostScope::IsLocalAddress(const QHostAddress& original)
{
    QHostAddress address = original;
    // An IPv4 address written as IPv6 (::ffff:10.0.0.1) is judged as IPv4.
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4)
        address = QHostAddress(v4);
    if (address.isLoopback() || address.isLinkLocal() || address.isUniqueLocalUnicast() ||
        address.isSiteLocal() || address == QHostAddress(QHostAddress::AnyIPv4) ||
        address == QHostAddress(QHostAddress::AnyIPv6))
        return true;
    return inSubnet(address, "10.0.0.0/8") || inSubnet(address, "172.16.0.0/12") ||
           inSubnet(address, "192.168.0.0/16") || inSubnet(address, "100.64.0.0/10");
}

bool HostScope::IsLocalName(const QString& host)
{
    const QString name = host.toLower();
    if (name.isEmpty())
        return false;
    QHostAddress literal;
    if (literal.setAddress(name))
        return IsLocalAddress(literal);
    if (name == QLatin1String("localhost") || name.endsWith(QLatin1String(".localhost")))
        return true;
    if (!name.contains(QLatin1Char('.')))
        return true;
    for (const char* suffix : {".local", ".lan", ".home.arpa", ".internal"}) {
        if (name.endsWith(QLatin1String(suffix)))
            return true;
    }
    return false;
}

HostScope::Classifier HostScope::System()
{
    return [](const QString& host, QObject* context, Done done) {
        QHostAddress literal;
        if (literal.setAddress(host)) {
            done(IsLocalAddress(literal) ? Kind::Local : Kind::Public);
            return;
        }
        QHostInfo::lookupHost(host, context, [done](const QHostInfo& info) {
            done(info.error() == QHostInfo::NoError ? classifyAddresses(info.addresses())
                                                    : Kind::NotFound);
        });
    };
}
