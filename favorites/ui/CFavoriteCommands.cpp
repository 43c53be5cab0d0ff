// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CFavoriteCommands.h"

#include "CAddModifyFavoriteDlg.h"
#include "FavoritesMessages.h"
#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"

bool CFavoriteCommands::Add(CFavoritesStore& store, const QString& name, const QString& url,
                            FavoriteRecord* added)
{
    CAddModifyFavoriteDlg dialog(store);
    dialog.m_bExisting = false;
    dialog.m_strName = name;
    dialog.m_strURL = url;
    dialog.m_bSelectName = true;
    if (dialog.DoModal() != IDOK)
        return false;
    if (added)
        *added = {CFavoritesStore::TrimBlanks(dialog.m_strName),
                  CFavoritesStore::TrimBlanks(dialog.m_strURL)};
    return true;
}

bool CFavoriteCommands::Edit(CFavoritesStore& store, const FavoriteRef& ref, FavoriteRecord* edited)
{
    CAddModifyFavoriteDlg dialog(store);
    dialog.EditRecord(ref);
    if (dialog.DoModal() != IDOK)
        return false;
    if (edited)
        *edited = {CFavoritesStore::TrimBlanks(dialog.m_strName),
                   CFavoritesStore::TrimBlanks(dialog.m_strURL)};
    return true;
}

QString CFavoriteCommands::DeleteQuestion(const QList<FavoriteRef>& refs)
{
    return refs.size() == 1 ? QStringLiteral("Delete the favorite \u201c%1\u201d?")
                                  .arg(refs.first().record.title.trimmed())
                            : QStringLiteral("Delete these %1 favorites?").arg(refs.size());
}

bool CFavoriteCommands::Delete(CFavoritesStore& store, const QList<FavoriteRef>& refs)
{
    if (refs.isEmpty())
        return false;
    if (MessageBox::Show(DeleteQuestion(refs), MB_YESNO | MB_ICONQUESTION) == IDNO)
        return false;
    if (!FavoritesMessages::Tell(store.DeleteRecords(refs), refs.size()))
        return false;
    MessageBox::Show(QStringLiteral("Successfully!"), MB_OK);
    return true;
}

void CFavoriteCommands::Backup(CFavoritesStore& store)
{
    const FavoritesResult result = store.Backup();
    if (FavoritesMessages::Tell(result))
        MessageBox::Show(QStringLiteral("备份成功！"), MB_OK);
}
