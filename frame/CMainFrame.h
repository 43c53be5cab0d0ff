// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "app/SettingsKeys.h"
#include "platform/FrameWindow.h"
#include "platform/SplitInfo.h"
#include "platform/SplitterWnd.h"
#include "platform/StatusBar.h"

#include <QTimer>

#include <memory>

class CatalogContextMenu;
class CatalogPane;
class CFavoritesStore;
class CKestrinNewsReaderDoc;
class CKestrinNewsReaderView;
class CLeftView;
class CurrentPage;
class HeadlineCommands;
class LinkCheckCommands;
class Profile;

// The splitter the skin engine's callback reads; set when the frame is created.
extern SplitterWnd* g_pSplitter;

class CMainFrame : public FrameWindow
{
    Q_OBJECT

public:
    // favorites: the store of the user's favorites, which the panes and commands share.
    CMainFrame(Profile& profile, CommandTarget* appTarget, CFavoritesStore& favorites);
    ~CMainFrame() override;

    [[nodiscard]] CKestrinNewsReaderDoc* document() const;
    [[nodiscard]] SplitterWnd& splitter() { return m_wndSplitter; }
    [[nodiscard]] StatusBar& statusBarPane() { return m_wndStatusBar; }
    // The tree's right-click menu; each part of the program adds its section.
    [[nodiscard]] CatalogContextMenu* treeMenu() const { return m_treeMenu; }
    [[nodiscard]] LinkCheckCommands* linkChecks() const { return m_linkChecks.get(); }
    [[nodiscard]] HeadlineCommands* headlines() const { return m_headlines.get(); }
    // The panes; owned by the splitter.
    [[nodiscard]] CLeftView* treeView() const { return m_pTreeView; }
    [[nodiscard]] CKestrinNewsReaderView* browserView() const { return m_pBrowserView; }

    // The skin file of a skin; nullptr for a number that names none.
    [[nodiscard]] static const char* SkinFile(Skin style);

    // The skin engine's splitter callback.
    static int OnSplitterInfo(SplitInfo& info);

protected:
    int OnCreate() override;
    bool OnCreateClient(Document* document) override;
    void OnSize(SizeType type) override;
    void OnMove() override;

private:
    void BindCommands();
    void OnFileMinimize();

    // Window layout kept between runs
    void RestoreWindowPlacement();
    [[nodiscard]] int StoredTreeWidth();
    void OnLayoutChanged();
    void SaveLayout();

    // Skins
    void OnSkin(Skin style);
    void OnUpdateSkin(CommandUi& ui, Skin style) const;

    // Browse, catalog, home page and help commands
    void OnBrowseHome();
    void OnBrowseBack();
    void OnBrowseForword();
    void OnBrowseOpenExternal();
    void OnBrowseReload();
    void OnBrowseFind();
    void OnBrowseCopyAddress();
    void OnCatalog(CatalogView mode);
    void OnCatalogFind();
    void OnHomePageGoto();
    void OnHomePageMode(HomePage mode);
    void OnHomePageCurrent();
    void OnHelpContent();
    void OnHelpProduct();
    void OnFavoritesModify();
    void OnFavoritesBackup();
    void OnFavoritesAddCurrent();
    void OnFavoritesImport();
    void OnFavoritesExport();
    void OnFavoritesRestore();
    // Messages of background work: shown in the status bar, which may be hidden.
    void ShowStatus(const QString& text);
    // The browser pane's loading message, or "" when it is done: "Ready" comes back unless
    // another message took its place meanwhile. An open menu's prompt is left alone.
    void ShowLoadingStatus(const QString& text);

    Profile& m_profile;
    CFavoritesStore& m_favorites;
    SplitterWnd m_wndSplitter;
    CatalogView m_nCataView;
    Skin m_nSkinStyle;
    HomePage m_nIndexPage;
    StatusBar m_wndStatusBar;
    // The loading message last shown.
    QString m_loadingStatus;
    // The layout as stored, and the window's restored place waiting to be stored.
    QRect m_savedPlacement;
    QRect m_pendingPlacement;
    int m_savedTreeWidth = 0;
    QTimer m_layoutSaveTimer;
    // The panes, and the left one around the tree; owned by the splitter.
    CLeftView* m_pTreeView = nullptr;
    CKestrinNewsReaderView* m_pBrowserView = nullptr;
    CatalogPane* m_pCatalogPane = nullptr;
    // Follows the browser pane for Add Current Page; owned by the pane.
    CurrentPage* m_pCurrentPage = nullptr;
    // The tree's right-click menu; owned by the tree.
    CatalogContextMenu* m_treeMenu = nullptr;
    std::unique_ptr<LinkCheckCommands> m_linkChecks;
    std::unique_ptr<HeadlineCommands> m_headlines;
};
