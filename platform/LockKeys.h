// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

// The keyboard's lock-key lamps, as far as the windowing system tells them.
class LockKeys
{
public:
    enum Key
    {
        CapsLock = 0,
        NumLock = 1,
        ScrollLock = 2
    };
    // False when the lamp is off or the windowing system does not tell.
    [[nodiscard]] static bool IsOn(Key key);
};
