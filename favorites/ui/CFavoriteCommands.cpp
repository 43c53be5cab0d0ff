#include "CFavoriteCommands.h"

#include "CAddModifyFavoriteDlg.h"
#include "favorites/CFavoritesStore.h"
#include "platform/MessageBox.h"

bool CFavoriteCommands::Add(const QString& name, const QString& url)
{
    CAddModifyFavoriteDlg dialog;
    dialog.m_bExisting = false;
    dialog.m_strName = name;
    dialog.m_strURL = url;
    dialog.m_bSelectName = true;
    return dialog.DoModal() == IDOK;
}

bool CFavoriteCommands::Edit(const FavoriteRef& ref)
{
    CAddModifyFavoriteDlg dialog;
    dialog.EditRecord(ref);
    return dialog.DoModal() == IDOK;
}

bool CFavoriteCommands::Delete(const QList<FavoriteRef>& refs)
{
    if (refs.isEmpty())
        return false;
    const QString question =
        refs.size() == 1
            ? QStringLiteral("Determined to delete?")
            : QStringLiteral("Determined to delete these %1 favorites?").arg(refs.size());
    if (MessageBox::Show(question, MB_YESNO | MB_ICONQUESTION) == IDNO)
        return false;
    if (!CFavoritesStore::DeleteRecords(refs))
        return false;
    MessageBox::Show(QStringLiteral("Successfully!"), MB_OK);
    return true;
}
