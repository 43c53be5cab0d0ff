// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CMainFrame.h"

#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "app/ProductAddresses.h"
#include "app/SettingsKeys.h"
#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogPane.h"
#include "favorites/CFavoritesStore.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "frame/LinkCheckCommands.h"
#include "headlines/HeadlineCommands.h"
#include "platform/ExternalBrowser.h"
#include "res/Resource.h"

#include <QDir>
#include <QUrl>

void CMainFrame::BindCommands()
{
    m_commandMap.on(ID_FILE_MINIMIZE, [this] { OnFileMinimize(); });

    m_commandMap.on(ID_SKIN_XP, [this] { OnSkin(Skin::XP); });
    m_commandMap.on(ID_SKIN_MINI, [this] { OnSkin(Skin::Mini); });
    m_commandMap.on(ID_SKIN_SOFT, [this] { OnSkin(Skin::Soft); });
    m_commandMap.on(ID_SKIN_NIGHT, [this] { OnSkin(Skin::Night); });
    m_commandMap.onUpdate(ID_SKIN_XP, [this](CommandUi& ui) { OnUpdateSkin(ui, Skin::XP); });
    m_commandMap.onUpdate(ID_SKIN_MINI, [this](CommandUi& ui) { OnUpdateSkin(ui, Skin::Mini); });
    m_commandMap.onUpdate(ID_SKIN_SOFT, [this](CommandUi& ui) { OnUpdateSkin(ui, Skin::Soft); });
    m_commandMap.onUpdate(ID_SKIN_NIGHT, [this](CommandUi& ui) { OnUpdateSkin(ui, Skin::Night); });

    m_commandMap.on(ID_BROWSE_HOME, [this] { OnBrowseHome(); });
    m_commandMap.on(ID_BROWSE_BACK, [this] { OnBrowseBack(); });
    m_commandMap.on(ID_BROWSE_FORWORD, [this] { OnBrowseForword(); });
    m_commandMap.on(ID_BROWSE_OPEN_EXTERNAL, [this] { OnBrowseOpenExternal(); });
    m_commandMap.on(ID_BROWSE_RELOAD, [this] { OnBrowseReload(); });
    m_commandMap.on(ID_BROWSE_FIND, [this] { OnBrowseFind(); });
    m_commandMap.on(ID_BROWSE_COPY_ADDRESS, [this] { OnBrowseCopyAddress(); });

    m_commandMap.on(ID_CATALOG_AREA, [this] { OnCatalog(CatalogView::ByArea); });
    m_commandMap.on(ID_CATALOG_CONTENT, [this] { OnCatalog(CatalogView::ByContent); });
    m_commandMap.onUpdate(ID_CATALOG_AREA, [this](CommandUi& ui) {
        ui.SetCheck(m_nCataView == CatalogView::ByArea);
    });
    m_commandMap.onUpdate(ID_CATALOG_CONTENT, [this](CommandUi& ui) {
        ui.SetCheck(m_nCataView == CatalogView::ByContent);
    });
    m_commandMap.on(ID_CATALOG_FIND, [this] { OnCatalogFind(); });
    m_commandMap.on(ID_CATALOG_CHECK_LINKS, [this] {
        if (m_linkChecks)
            m_linkChecks->OnCheckLinks();
    });
    m_commandMap.on(ID_CATALOG_LINK_REPORT, [this] {
        if (m_linkChecks)
            m_linkChecks->OnLinkReport();
    });

    m_commandMap.on(ID_VIEW_HEADLINES, [this] {
        if (m_headlines)
            m_headlines->OnToggle();
    });
    m_commandMap.onUpdate(ID_VIEW_HEADLINES, [this](CommandUi& ui) {
        ui.SetCheck(m_headlines && m_headlines->isShown());
    });
    m_commandMap.on(ID_VIEW_REFRESH_HEADLINES, [this] {
        if (m_headlines)
            m_headlines->OnRefresh();
    });
    m_commandMap.on(ID_VIEW_MARK_HEADLINES_READ, [this] {
        if (m_headlines)
            m_headlines->OnMarkAllRead();
    });

    m_commandMap.on(ID_HOMEPAGE_GOTO, [this] { OnHomePageGoto(); });
    m_commandMap.on(ID_HOMEPAGE_BLANK, [this] { OnHomePageMode(HomePage::Blank); });
    m_commandMap.on(ID_HOMEPAGE_DEFAULT, [this] { OnHomePageMode(HomePage::Default); });
    m_commandMap.on(ID_HOMEPAGE_CURRENT, [this] { OnHomePageCurrent(); });
    m_commandMap.onUpdate(ID_HOMEPAGE_BLANK,
                          [this](CommandUi& ui) { ui.SetCheck(m_nIndexPage == HomePage::Blank); });
    m_commandMap.onUpdate(ID_HOMEPAGE_DEFAULT, [this](CommandUi& ui) {
        ui.SetCheck(m_nIndexPage == HomePage::Default);
    });
    m_commandMap.onUpdate(ID_HOMEPAGE_CURRENT,
                          [this](CommandUi& ui) { ui.SetCheck(m_nIndexPage == HomePage::Stored); });

    m_commandMap.on(ID_HELP_CONTENT, [this] { OnHelpContent(); });
    m_commandMap.on(ID_HELP_PRODUCT, [this] { OnHelpProduct(); });

    m_commandMap.on(ID_FAVORITES_MODIFY, [this] { OnFavoritesModify(); });
    m_commandMap.on(ID_FAVORITES_BACKUP, [this] { OnFavoritesBackup(); });
    m_commandMap.on(ID_FAVORITES_ADD_CURRENT, [this] { OnFavoritesAddCurrent(); });
    m_commandMap.on(ID_FAVORITES_IMPORT, [this] { OnFavoritesImport(); });
    m_commandMap.on(ID_FAVORITES_EXPORT, [this] { OnFavoritesExport(); });
    m_commandMap.on(ID_FAVORITES_RESTORE, [this] { OnFavoritesRestore(); });
}

void CMainFrame::OnBrowseHome()
{
    if (CKestrinNewsReaderView* browser = m_pBrowserView)
        browser->NavigateTo(kDefaultHomePageUrl);
}

void CMainFrame::OnBrowseBack()
{
    if (CKestrinNewsReaderView* browser = m_pBrowserView)
        browser->GoBack();
}

void CMainFrame::OnBrowseForword()
{
    if (CKestrinNewsReaderView* browser = m_pBrowserView)
        browser->GoForward();
}

void CMainFrame::OnBrowseOpenExternal()
{
    if (CKestrinNewsReaderView* browser = m_pBrowserView)
        browser->OpenInYourBrowser();
}

void CMainFrame::OnBrowseReload()
{
    if (CKestrinNewsReaderView* browser = m_pBrowserView)
        browser->Refresh();
}

void CMainFrame::OnBrowseFind()
{
    if (CKestrinNewsReaderView* browser = m_pBrowserView)
        browser->ShowFindBar();
}

void CMainFrame::OnBrowseCopyAddress()
{
    if (CKestrinNewsReaderView* browser = m_pBrowserView)
        browser->CopyPageAddress();
}

void CMainFrame::OnCatalog(CatalogView mode)
{
    if (m_nCataView == mode)
        return;
    if (m_pTreeView)
        m_pTreeView->RebuildTree(mode);
    m_nCataView = mode;
    m_profile.Write(kSettingsSection, SettingsKeys::CataView, mode);
}

void CMainFrame::OnCatalogFind()
{
    if (m_pCatalogPane)
        m_pCatalogPane->FocusFilter();
}

void CMainFrame::OnHomePageGoto()
{
    CKestrinNewsReaderView* browser = m_pBrowserView;
    if (!browser)
        return;
    switch (m_nIndexPage) {
    case HomePage::Blank:
        browser->NavigateTo(QStringLiteral("about:blank"));
        break;
    case HomePage::Default:
        browser->NavigateTo(kDefaultHomePageUrl);
        break;
    default:
        browser->NavigateTo(m_profile.GetString(kSettingsSection, SettingsKeys::IndexPageURL));
        break;
    }
}

void CMainFrame::OnHomePageMode(HomePage mode)
{
    if (m_nIndexPage == mode)
        return;
    m_nIndexPage = mode;
    m_profile.Write(kSettingsSection, SettingsKeys::IndexPage, mode);
}

void CMainFrame::OnHomePageCurrent()
{
    // Already in force: the stored address is kept.
    if (m_nIndexPage == HomePage::Stored)
        return;
    m_nIndexPage = HomePage::Stored;
    m_profile.Write(kSettingsSection, SettingsKeys::IndexPage, HomePage::Stored);
    m_profile.Write(kSettingsSection, SettingsKeys::IndexPageURL, g_strCurrentURL);
}

void CMainFrame::OnHelpContent()
{
    CKestrinNewsReaderView* browser = m_pBrowserView;
    if (!browser)
        return;
    // A real file URL, so directories with spaces, '#' or '%' still open.
    const QString path = QDir(g_strAppDir).filePath(QStringLiteral("readme.htm"));
    browser->NavigateTo(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
}

void CMainFrame::OnHelpProduct()
{
    ExternalBrowser::Open(QUrl(kProductPageUrl));
}
