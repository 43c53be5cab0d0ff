// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/FavoriteRef.h"

#include <QList>
#include <QString>
#include <QStringList>

class CFavoritesStore;
class QWidget;

// The commands on the folders of My Favorites that the tree's menu and the editor share:
// each asks what it needs, makes one change and says what went wrong; true once the store
// reported a change.
class CFolderCommands
{
public:
    // Asks for a name and makes the folder inside parent.
    static bool NewFolder(CFavoritesStore& store, const QStringList& parent,
                          QWidget* owner = nullptr);
    static bool Rename(CFavoritesStore& store, const QStringList& path, QWidget* owner = nullptr);
    // Asks first, naming the folder and how many favorites go with it.
    static bool Delete(CFavoritesStore& store, const QStringList& path, qsizetype favorites);
    // Asks which folder the favorites go to, then moves them all in one change.
    static bool MoveTo(CFavoritesStore& store, const QList<FavoriteRef>& refs,
                       QWidget* owner = nullptr);
    static bool SortByName(CFavoritesStore& store, const QStringList& path);

    [[nodiscard]] static QString DeleteQuestion(const QStringList& path, qsizetype favorites);
};
