// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

// How hard the program may press on the web when it asks many sites in the background: the
// link check and the feeds keep to the same rules.
struct NetworkLimits
{
    int maxInFlight = 8;
    int maxPerHost = 2;
    int timeoutMs = 15000;
    int maxRedirects = 10;
};
