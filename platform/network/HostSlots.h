// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QHash>
#include <QString>

#include "NetworkLimits.h"

// Counts the requests under way, in all and per site, against the limits.
class HostSlots
{
public:
    explicit HostSlots(const NetworkLimits& limits = {}) : m_limits(limits) {}

    void setLimits(const NetworkLimits& limits) { m_limits = limits; }
    [[nodiscard]] bool isFull() const { return m_total >= m_limits.maxInFlight; }
    [[nodiscard]] bool canStart(const QString& siteKey) const;
    void take(const QString& siteKey);
    void give(const QString& siteKey);
    void clear();
    [[nodiscard]] int inFlight() const { return m_total; }

private:
    NetworkLimits m_limits;
    QHash<QString, int> m_perSite;
    int m_total = 0;
};
