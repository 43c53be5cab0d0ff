// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CKestrinNewsReaderView.h"

#include "BrowserNotice.h"
#include "FindBar.h"
#include "LinkBubble.h"
#include "LoadingLine.h"
#include "app/CKestrinNewsReaderDoc.h"
#include "app/ProductAddresses.h"
#include "app/SettingsKeys.h"
#include "platform/ExternalBrowser.h"
#include "platform/MessageBox.h"
#include "res/AcceleratorTable.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLineEdit>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>

namespace {
// The zoom levels the keys step through, in percent, as in most browsers.
constexpr std::array kZoomSteps{25,  33,  50,  67,  75,  80,  90,  100, 110,
                                125, 150, 175, 200, 250, 300, 400, 500};

QString captionSuffix()
{
    return QStringLiteral(" - ") + StringTable::Load(IDS_DISPLAY_NAME);
}

// A site is its host; pages without one (files, the program's own) share their scheme.
QString siteKey(const QUrl& address)
{
    const QString host = address.host().toLower();
    return host.isEmpty() ? address.scheme().toLower() : host;
}

bool isWebAddress(const QUrl& address)
{
    static const QStringList schemes{QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("ftp"), QStringLiteral("file")};
    return address.isValid() && schemes.contains(address.scheme().toLower());
}

// The same address however it was written: with or without its last slash.
QString addressKey(const QUrl& address)
{
    return address.adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments).toString();
}

// What a loading page is called in the status bar: its site, or for a file its name.
QString loadingName(const QUrl& address)
{
    if (!address.host().isEmpty())
        return address.host();
    if (address.isLocalFile())
        return QFileInfo(address.toLocalFile()).fileName();
    return address.toDisplayString();
}
} // namespace

CKestrinNewsReaderView::CKestrinNewsReaderView(Profile& profile, QWidget* parent)
    : HtmlView(parent), m_profile(profile)
{
    setObjectName(QStringLiteral("CKestrinNewsReaderView"));
    m_commandMap.on(ID_FILE_PRINT, [this] { OnFilePrint(); });
    m_commandMap.on(ID_BROWSE_ZOOM_IN, [this] { OnZoom(1); });
    m_commandMap.on(ID_BROWSE_ZOOM_OUT, [this] { OnZoom(-1); });
    m_commandMap.on(ID_BROWSE_ZOOM_RESET, [this] { OnZoom(0); });
    InstallPaneKeys();
    InstallBrowserParts();
    SetPopupTitleSuffix(captionSuffix());
}

CKestrinNewsReaderDoc* CKestrinNewsReaderView::GetDocument() const
{
    return static_cast<CKestrinNewsReaderDoc*>(document());
}

void CKestrinNewsReaderView::NavigateTo(QString url)
{
    RememberSiteName(url);
    Navigate2(url);
}

void CKestrinNewsReaderView::OpenInYourBrowser()
{
    const QUrl address = url();
    if (!isWebAddress(address)) {
        MessageBox::Show(QStringLiteral("The page on show has no web address that your own "
                                        "browser could open."),
                         MB_OK | MB_ICONINFORMATION);
        return;
    }
    ExternalBrowser::Open(address);
}

void CKestrinNewsReaderView::CopyPageAddress()
{
    const QString address = pageAddress();
    if (address.isEmpty()) {
        MessageBox::Show(QStringLiteral("The page on show has no web address to copy."),
                         MB_OK | MB_ICONINFORMATION);
        return;
    }
    QApplication::clipboard()->setText(address);
}

void CKestrinNewsReaderView::ShowFindBar()
{
    if (m_findBar->isVisible() && m_findBar->field()->hasFocus() && !m_findBar->text().isEmpty())
        FindText(m_findBar->text(), false);
    else
        m_findBar->Open();
}

QString CKestrinNewsReaderView::pageAddress() const
{
    const QUrl address = url();
    return isWebAddress(address) ? address.toString() : QString();
}

void CKestrinNewsReaderView::OnInitialUpdate()
{
    HtmlView::OnInitialUpdate();
    SetSilent(true);
    switch (m_profile.GetMode(kSettingsSection, SettingsKeys::IndexPage)) {
    case HomePage::Default:
        NavigateTo(kDefaultHomePageUrl);
        break;
    case HomePage::Stored:
        NavigateTo(m_profile.GetString(kSettingsSection, SettingsKeys::IndexPageURL));
        break;
    default:
        // Blank, and any unknown mode, open nothing at all. A page already on show keeps its
        // title in the caption, once the framework has put the document's name there.
        if (!url().isEmpty())
            QTimer::singleShot(0, this, [this] { ReportCurrentTitle(); });
        break;
    }
}

void CKestrinNewsReaderView::OnTitleChange(const QString& title)
{
    m_ownCaption = title + captionSuffix();
    window()->setWindowTitle(m_ownCaption);
}

void CKestrinNewsReaderView::OnNewWindow2(QWebEnginePage** page, bool* cancel)
{
    HtmlView::OnNewWindow2(page, cancel);
}

void CKestrinNewsReaderView::OnNavigateComplete2(const QUrl& url)
{
    SetZoomFactor(StoredZoomPercent(url) / 100.0);
}

void CKestrinNewsReaderView::OnNavigateError(const QWebEngineLoadingInfo& info)
{
    const QString note = m_noteProvider ? m_noteProvider(info.url()) : QString();
    const BrowserNotice::Page page =
        BrowserNotice::CouldNotOpen(SiteNameFor(info.url()), info.url(), info, note);
    ShowNotice(page.html, page.title);
}

void CKestrinNewsReaderView::OnRenderProcessGone(QWebEnginePage::RenderProcessTerminationStatus)
{
    const BrowserNotice::Page page = BrowserNotice::StoppedWorking(SiteNameFor(url()), url());
    ShowNotice(page.html, page.title);
}

void CKestrinNewsReaderView::OnNoticeLink(const QUrl& link)
{
    switch (BrowserNotice::ActionOf(link)) {
    case BrowserNotice::Action::TryAgain:
        Refresh();
        break;
    case BrowserNotice::Action::OpenInYourBrowser:
        OpenInYourBrowser();
        break;
    case BrowserNotice::Action::None:
        break;
    }
}

void CKestrinNewsReaderView::InstallPaneKeys()
{
    for (const Accelerator& accelerator : AcceleratorTable::BrowserPane()) {
        auto* shortcut = new QShortcut(QKeySequence(accelerator.key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        const int id = accelerator.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { OnCmdMsg(id); });
    }
}

void CKestrinNewsReaderView::InstallBrowserParts()
{
    m_loadingLine = new LoadingLine(pageArea());
    AddOverPages(m_loadingLine);
    m_linkBubble = new LinkBubble(pageArea());
    AddOverPages(m_linkBubble);
    m_findBar = new FindBar(this);
    AddBelowPages(m_findBar);

    connect(this, &HtmlView::loadProgress, this, &CKestrinNewsReaderView::OnLoadProgress);
    connect(this, &HtmlView::linkHovered, m_linkBubble, &LinkBubble::ShowAddress);
    connect(this, &HtmlView::addressChanged, this,
            [this] { emit pageAddressChanged(pageAddress()); });
    connect(this, &HtmlView::externalLinkRequested, this, &CKestrinNewsReaderView::OnExternalLink);
    connect(m_findBar, &FindBar::findRequested, this,
            [this](const QString& text, bool backward) { FindText(text, backward); });
    connect(this, &HtmlView::findFinished, m_findBar, &FindBar::ShowResult);
    connect(m_findBar, &FindBar::closed, this, [this] { setFocus(Qt::OtherFocusReason); });

    // Esc in the page stops a load; the rest of the time it is the page's own key.
    m_stopKey = new QShortcut(QKeySequence(Qt::Key_Escape), pageArea());
    m_stopKey->setContext(Qt::WidgetWithChildrenShortcut);
    m_stopKey->setEnabled(false);
    connect(m_stopKey, &QShortcut::activated, this, [this] { Stop(); });
}

void CKestrinNewsReaderView::OnLoadProgress(const QUrl& url, int percent, bool loading)
{
    m_stopKey->setEnabled(loading);
    m_loadingLine->SetProgress(percent);
    m_loadingLine->setVisible(loading);
    if (loading)
        m_linkBubble->ShowAddress(QString());
    emit loadingStatusChanged(
        loading
            ? QStringLiteral("Loading %1\u2026 %2%").arg(loadingName(url), QString::number(percent))
            : QString());
}

void CKestrinNewsReaderView::OnExternalLink(const QUrl& url)
{
    ExternalBrowser::Open(url);
}

void CKestrinNewsReaderView::RememberSiteName(const QString& url)
{
    // The tree puts the site's name into the caption just before it asks for the page; a
    // caption this view set itself names a page, not a site.
    const QString caption = window()->windowTitle();
    const QString suffix = captionSuffix();
    if (caption == m_ownCaption || !caption.endsWith(suffix))
        return;
    const QString name = caption.chopped(suffix.size()).trimmed();
    if (name.isEmpty())
        return;
    const QUrl address = QUrl::fromUserInput(url);
    m_namesByAddress.insert(addressKey(address), name);
    if (!address.host().isEmpty())
        m_namesBySite.insert(siteKey(address), name);
}

QString CKestrinNewsReaderView::SiteNameFor(const QUrl& address) const
{
    if (const auto named = m_namesByAddress.constFind(addressKey(address));
        named != m_namesByAddress.cend())
        return *named;
    if (const auto named = m_namesBySite.constFind(siteKey(address)); named != m_namesBySite.cend())
        return *named;
    if (!address.host().isEmpty())
        return address.host();
    if (address.isLocalFile())
        return QFileInfo(address.toLocalFile()).fileName();
    return address.toDisplayString();
}

void CKestrinNewsReaderView::OnZoom(int step)
{
    const QUrl address = url();
    if (address.isEmpty())
        return;
    const int current = static_cast<int>(std::lround(zoomFactor() * 100));
    int percent = kDefaultZoomPercent;
    if (step > 0) {
        const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), current);
        percent = next == kZoomSteps.end() ? kZoomSteps.back() : *next;
    } else if (step < 0) {
        const auto next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), current);
        percent = next == kZoomSteps.begin() ? kZoomSteps.front() : *std::prev(next);
    }
    SetZoomFactor(percent / 100.0);
    m_profile.WriteProfileInt(kSiteZoomSection, siteKey(address), percent);
}

int CKestrinNewsReaderView::StoredZoomPercent(const QUrl& address) const
{
    const int percent =
        m_profile.GetProfileInt(kSiteZoomSection, siteKey(address), kDefaultZoomPercent);
    return std::clamp(percent, kZoomSteps.front(), kZoomSteps.back());
}
