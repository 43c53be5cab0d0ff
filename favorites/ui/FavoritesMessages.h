// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/FavoritesResult.h"

#include <QString>

// What the user is told of a favorites result: the messages of the original program word
// for word, and those added since.
class FavoritesMessages
{
public:
    // The message for a result about count favorites; empty when there is nothing to say
    // (a success, or a blank value, which the dialogs pass over in silence).
    [[nodiscard]] static QString Text(const FavoritesResult& result, qsizetype count = 1);
    // Shows the message, if any, in a message box with an OK button; true when the result
    // is a success.
    static bool Tell(const FavoritesResult& result, qsizetype count = 1);
};
