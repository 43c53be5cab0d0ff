// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

class QWebEngineProfile;

// The engine profile every browser page shares: cookies, cache and site logins are kept
// on disk in the user's data directory, so they survive a restart.
class WebEngineProfile
{
public:
    [[nodiscard]] static QWebEngineProfile* Shared();
};
