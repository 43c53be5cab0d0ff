// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "favorites/FavoriteRecord.h"
#include "favorites/FavoriteRef.h"

#include <QList>
#include <QString>

class CFavoritesStore;

// The favorites commands that the editor, the tree's menu and the main menu share, each
// ending as the editor's own dialogs end: true once the store reported a change.
class CFavoriteCommands
{
public:
    // The Add/Modify dialog in new-record mode with the pair filled in and the name
    // selected; Save adds as New does. added, when given, receives the pair as stored.
    static bool Add(CFavoritesStore& store, const QString& name, const QString& url,
                    FavoriteRecord* added = nullptr);
    // The Add/Modify dialog on the favorite with both values editable; Save replaces it in
    // place. edited, when given, receives the pair as stored.
    static bool Edit(CFavoritesStore& store, const FavoriteRef& ref,
                     FavoriteRecord* edited = nullptr);
    // One question naming what goes ("Delete the favorite “Boston Globe”?", "Delete these 3
    // favorites?"), then one change for all of them and "Successfully!".
    static bool Delete(CFavoritesStore& store, const QList<FavoriteRef>& refs);
    // Favorites > Backup: the copy, then what came of it.
    static void Backup(CFavoritesStore& store);

    [[nodiscard]] static QString DeleteQuestion(const QList<FavoriteRef>& refs);
};
