// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "HostSlots.h"

bool HostSlots::canStart(const QString& siteKey) const
{
    return !isFull() && m_perSite.value(siteKey) < m_limits.maxPerHost;
}

void HostSlots::take(const QString& siteKey)
{
    ++m_total;
    ++m_perSite[siteKey];
}

void HostSlots::give(const QString& siteKey)
{
    const auto it = m_perSite.find(siteKey);
    if (it == m_perSite.end())
        return;
    --m_total;
    if (--it.value() <= 0)
        m_perSite.erase(it);
}

void HostSlots::clear()
{
    m_perSite.clear();
    m_total = 0;
}
