// The Favorites menu: its handlers in the frame.
#include "CMainFrame.h"

#include "browser/CurrentPage.h"
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
    CEditMyFavoriteDlg dialog;
    dialog.DoModal();
}

void CMainFrame::OnFavoritesBackup()
{
    CFavoritesStore::Backup();
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
    CFavoriteCommands::Add(page->title, page->url);
}

void CMainFrame::OnFavoritesImport()
{
    const QString path = FileDialog::GetOpenFileName(QStringLiteral("Import Bookmarks"),
                                                     StartFolder(), kBookmarkFilter);
    if (!path.isEmpty())
        CBookmarksTransfer::Import(path);
}

void CMainFrame::OnFavoritesExport()
{
    const QString suggested =
        QDir(StartFolder()).filePath(QStringLiteral("Kestrin News Reader favorites.html"));
    const QString path =
        FileDialog::GetSaveFileName(QStringLiteral("Export Bookmarks"), suggested, kBookmarkFilter);
    if (!path.isEmpty())
        CBookmarksTransfer::Export(path);
}

void CMainFrame::OnFavoritesRestore()
{
    CRestoreFavoritesDlg::Run();
}
