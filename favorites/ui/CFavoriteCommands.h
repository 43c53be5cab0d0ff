#pragma once

#include "favorites/FavoriteRef.h"

#include <QList>
#include <QString>

// The favorites commands that the editor, the tree's menu and the main menu share, each
// ending as the editor's own dialogs end: true once the store reported a change.
class CFavoriteCommands
{
public:
    // The Add/Modify dialog in new-record mode with the pair filled in and the name
    // selected; Save adds as New does.
    static bool Add(const QString& name, const QString& url);
    // The Add/Modify dialog on the favorite with both values editable; Save replaces it in
    // place.
    static bool Edit(const FavoriteRef& ref);
    // One confirmation ("Determined to delete?", naming the number for several), then one
    // change for all of them and "Successfully!".
    static bool Delete(const QList<FavoriteRef>& refs);
};
