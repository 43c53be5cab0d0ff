// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QString>

// One entry of the tree that leads somewhere: a favorite or a catalog site.
struct LinkTarget
{
    QString name;
    // The node it is listed under: "My Favorites", "National", "World" or a state node.
    QString node;
    QString url;
    bool favorite = false;
};
