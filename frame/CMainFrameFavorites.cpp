// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// The Favorites menu: its handlers in the frame.
#include "CMainFrame.h"

#include "browser/CurrentPage.h"
#include "catalog/CLeftView.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/ui/CBookmarksTransfer.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "favorites/ui/CFavoriteCommands.h"
#include "favorites/ui/CRestoreFavoritesDlg.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QStandardPaths>

namespace {
const QString kBookmarkFilter = QStringLiteral("Bookmark files (*.html *.htm);;All files (*)");

// Browsers put their exports in the downloads folder unless told otherwise.
QString StartFolder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return !downloads.isEmpty() && QDir(downloads).exists() ? downloads : QDir::homePath();
}
} // namespace

void CMainFrame::OnFavoritesModify()
{
    CEditMyFavoriteDlg dialog(m_favorites);
    dialog.DoModal();
}

void CMainFrame::OnFavoritesBackup()
{
    CFavoriteCommands::Backup(m_favorites);
}

void CMainFrame::OnFavoritesAddCurrent()
{
    const std::optional<CurrentPage::Page> page =
        m_pCurrentPage ? m_pCurrentPage->Get() : std::nullopt;
    if (!page) {
        MessageBox::Show(QStringLiteral("There is no page on show to add to My Favorites. Open "
                                        "a newspaper's site first, then choose Add Current Page "
                                        "(Ctrl+D)."),
                         MB_OK | MB_ICONINFORMATION);
        return;
    }
    FavoriteRecord added;
    if (CFavoriteCommands::Add(m_favorites, page->title, page->url, &added) && m_pTreeView)
        m_pTreeView->RevealFavorite(added);
}

void CMainFrame::OnFavoritesImport()
{
    const QString path = FileDialog::GetOpenFileName(QStringLiteral("Import Bookmarks"),
                                                     StartFolder(), kBookmarkFilter);
    if (!path.isEmpty())
        CBookmarksTransfer::Import(m_favorites, path);
}

void CMainFrame::OnFavoritesExport()
{
    const QString suggested =
        QDir(StartFolder()).filePath(QStringLiteral("Kestrin News Reader favorites.html"));
    const QString path =
        FileDialog::GetSaveFileName(QStringLiteral("Export Bookmarks"), suggested, kBookmarkFilter);
    if (!path.isEmpty())
        CBookmarksTransfer::Export(m_favorites, path);
}

void CMainFrame::OnFavoritesRestore()
{
    CRestoreFavoritesDlg::Run(m_favorites);
}
