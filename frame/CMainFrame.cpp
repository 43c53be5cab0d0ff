// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CMainFrame.h"

#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "app/ProductAddresses.h"
#include "app/SettingsKeys.h"
#include "browser/CKestrinNewsReaderView.h"
#include "browser/CurrentPage.h"
#include "catalog/CLeftView.h"
#include "catalog/CatalogContextMenu.h"
#include "catalog/CatalogPane.h"
#include "catalog/FavoriteMenuEntries.h"
#include "frame/LinkCheckCommands.h"
#include "headlines/HeadlineCommands.h"
#include "platform/SkinEngine.h"
#include "platform/WebEditCommand.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QDir>

SplitterWnd* g_pSplitter = nullptr;

namespace {
constexpr int kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                               ID_INDICATOR_SCRL};
constexpr int kBrowserPaneWidth = 100;
// How long the layout must rest before it is stored.
constexpr int kLayoutSaveDelayMs = 300;
} // namespace

CMainFrame::CMainFrame(Profile& profile, CommandTarget* appTarget, CFavoritesStore& favorites)
    : FrameWindow(appTarget), m_profile(profile), m_favorites(favorites),
      m_nCataView(profile.GetMode(kSettingsSection, SettingsKeys::CataView)),
      m_nSkinStyle(profile.GetMode(kSettingsSection, SettingsKeys::SkinStyle)),
      m_nIndexPage(profile.GetMode(kSettingsSection, SettingsKeys::IndexPage))
{
    setObjectName(QStringLiteral("CMainFrame"));
    g_strCurrentURL = kDefaultHomePageUrl;
    BindCommands();
    // The edit keys reach the page in the browser pane too.
    AddEditHandler(&WebEditCommand::Apply);
    m_layoutSaveTimer.setSingleShot(true);
    m_layoutSaveTimer.setInterval(kLayoutSaveDelayMs);
    connect(&m_layoutSaveTimer, &QTimer::timeout, this, [this] { SaveLayout(); });
}

CMainFrame::~CMainFrame()
{
    if (m_layoutSaveTimer.isActive())
        SaveLayout();
    // A check still under way stops here, keeping what it found.
    m_linkChecks.reset();
    m_headlines.reset();
    ReleaseViews();
    if (g_pSplitter == &m_wndSplitter) {
        GetSplitterInfo(nullptr);
        g_pSplitter = nullptr;
    }
}

CKestrinNewsReaderDoc* CMainFrame::document() const
{
    return static_cast<CKestrinNewsReaderDoc*>(GetActiveDocument());
}

int CMainFrame::OnCreate()
{
    g_pSplitter = &m_wndSplitter;
    GetSplitterInfo(&CMainFrame::OnSplitterInfo);
    if (FrameWindow::OnCreate() == -1)
        return -1;
    if (!m_wndStatusBar.Create(this, AFX_IDW_STATUS_BAR))
        return -1;
    setStatusBar(&m_wndStatusBar);
    if (!m_wndStatusBar.SetIndicators(kIndicators))
        return -1;
    // Created visible, then hidden: the window starts without a status bar.
    m_wndStatusBar.setVisible(!m_wndStatusBar.isVisibleTo(this));
    RestoreWindowPlacement();
    return 0;
}

bool CMainFrame::OnCreateClient(Document* document)
{
    if (!m_wndSplitter.CreateStatic(this, 1, 2))
        return false;
    auto* tree = new CLeftView(m_profile, m_favorites);
    tree->AttachDocument(document);
    // Panes are made inside the splitter: moving a styled widget between parents styles its
    // whole subtree again.
    auto* pane = new CatalogPane(tree, &m_wndSplitter);
    if (!m_wndSplitter.CreateView(0, 0, tree, StoredTreeWidth())) {
        delete pane;
        return false;
    }
    m_pCatalogPane = pane;
    // The right pane: the headline list above the page.
    auto* right = new QSplitter(Qt::Vertical, &m_wndSplitter);
    right->setObjectName(QStringLiteral("RightSplitter"));
    right->setHandleWidth(SplitterWnd::kSplitter);
    auto* browser = new CKestrinNewsReaderView(m_profile, right);
    browser->AttachDocument(document);
    right->addWidget(browser->paneWidget());
    if (!m_wndSplitter.CreateView(0, 1, browser, kBrowserPaneWidth, right)) {
        delete right;
        return false;
    }
    m_pTreeView = tree;
    m_pBrowserView = browser;
    m_pCurrentPage = new CurrentPage(browser);
    connect(browser, &CKestrinNewsReaderView::loadingStatusChanged, this,
            &CMainFrame::ShowLoadingStatus);
    connect(browser, &CKestrinNewsReaderView::pageAddressChanged, this,
            [this](const QString& address) { m_wndStatusBar.SetMessageToolTip(address); });
    RegisterView(tree);
    RegisterView(browser);
    // The panes know nothing of each other: what one asks of the other passes here.
    connect(tree, &CLeftView::openRequested, browser,
            [browser](const QString& url) { browser->NavigateTo(url); });

    m_treeMenu = new CatalogContextMenu(tree);
    m_treeMenu->addSection([tree](QMenu& menu, const CatalogMenuContext& context) {
        FavoriteMenuEntries::AddTo(menu, *tree, context.item);
    });
    LinkCheckCommands::Hooks hooks;
    hooks.open = [this](const QString& url) {
        if (m_pBrowserView)
            m_pBrowserView->NavigateTo(url);
    };
    hooks.status = [this](const QString& text) { ShowStatus(text); };
    m_linkChecks = std::make_unique<LinkCheckCommands>(this, tree, *m_treeMenu, m_favorites, hooks);
    HeadlineCommands::Hooks headlineHooks;
    headlineHooks.open = hooks.open;
    headlineHooks.status = hooks.status;
    headlineHooks.focusPage = [this] {
        if (m_pBrowserView)
            m_pBrowserView->paneWidget()->setFocus(Qt::ShortcutFocusReason);
    };
    m_headlines = std::make_unique<HeadlineCommands>(
        m_profile, tree, m_favorites, right,
        QDir(g_strAppDir).filePath(QStringLiteral("headlines.sqlite")), headlineHooks);
    // The first refresh waits for the window to be on screen, and never holds up the page.
    connect(this, &FrameWindow::firstFrameShown, m_headlines.get(), &HeadlineCommands::Start);
    browser->SetErrorNoteProvider(
        [this](const QUrl& url) { return m_linkChecks ? m_linkChecks->NoteFor(url) : QString(); });
    setCentralWidget(&m_wndSplitter);
    connect(&m_wndSplitter, &QSplitter::splitterMoved, this, [this] { OnLayoutChanged(); });
    return true;
}

void CMainFrame::OnSize(SizeType type)
{
    m_profile.Write(kSettingsSection, SettingsKeys::WindowSize,
                    type == SizeType::Maximized ? StartShow::Maximized : StartShow::AsCreated);
    OnLayoutChanged();
}

void CMainFrame::OnMove()
{
    OnLayoutChanged();
}

int CMainFrame::OnSplitterInfo(SplitInfo& info)
{
    const SplitterWnd* splitter = g_pSplitter;
    if (!splitter)
        return 0;
    info.maxRows = splitter->maxRows();
    info.maxCols = splitter->maxCols();
    info.cxSplitter = SplitterWnd::kSplitter;
    info.cySplitter = SplitterWnd::kSplitter;
    info.cxBorderShare = SplitterWnd::kBorderShare;
    info.cyBorderShare = SplitterWnd::kBorderShare;
    info.cxSplitterGap = SplitterWnd::kSplitterGap;
    info.cySplitterGap = SplitterWnd::kSplitterGap;
    info.cxBorder = SplitterWnd::kBorder;
    info.cyBorder = SplitterWnd::kBorder;
    info.rows = splitter->rowCount();
    info.cols = splitter->colCount();
    info.hasHScroll = 0;
    info.hasVScroll = 0;
    info.colInfo = splitter;
    info.rowInfo = splitter;
    return 0;
}

void CMainFrame::ShowStatus(const QString& text)
{
    m_wndStatusBar.SetMessage(text);
}

void CMainFrame::ShowLoadingStatus(const QString& text)
{
    if (IsMenuOpen())
        return;
    if (!text.isEmpty())
        m_wndStatusBar.SetMessage(text);
    else if (m_wndStatusBar.message() == m_loadingStatus)
        m_wndStatusBar.SetMessage(StringTable::Load(AFX_IDS_IDLEMESSAGE));
    m_loadingStatus = text;
}

void CMainFrame::OnFileMinimize()
{
    showMinimized();
}
