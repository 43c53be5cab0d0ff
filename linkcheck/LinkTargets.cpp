// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkTargets.h"

#include "catalog/CatalogData.h"

#include <QSet>

namespace {
constexpr int kProbeCount = 12;

void appendAll(QList<LinkTarget>& targets, const QString& node,
               std::span<const CatalogEntry> entries)
{
    for (const CatalogEntry& entry : entries)
        targets.append({QString::fromUtf8(entry.name), node, QString::fromUtf8(entry.url), false});
}
} // namespace

QList<LinkTarget> LinkTargets::Collect(const QList<FavoriteRecord>& favorites)
{
    QList<LinkTarget> targets;
    const QString favoritesNode = QStringLiteral("My Favorites");
    for (const FavoriteRecord& record : favorites)
        targets.append({record.title, favoritesNode, record.url, true});
    appendAll(targets, QStringLiteral("National"), CatalogData::National());
    appendAll(targets, QStringLiteral("World"), CatalogData::World());
    for (const CatalogNode& state : CatalogData::States())
        appendAll(targets, QString::fromUtf8(state.text), state.entries);
    return targets;
}

QStringList LinkTargets::Addresses(const QList<LinkTarget>& targets)
{
    QStringList addresses;
    QSet<QString> seen;
    for (const LinkTarget& target : targets) {
        if (target.url.trimmed().isEmpty() || seen.contains(target.url))
            continue;
        seen.insert(target.url);
        addresses.append(target.url);
    }
    return addresses;
}

QStringList LinkTargets::ReachabilityProbes()
{
    QStringList probes;
    for (const CatalogEntry& entry : CatalogData::National().first(kProbeCount))
        probes.append(QString::fromUtf8(entry.url));
    return probes;
}
