#include "CKestrinNewsReaderView.h"

#include "BrowserNotice.h"
#include "app/CKestrinNewsReaderDoc.h"
#include "app/ProductAddresses.h"
#include "app/SettingsKeys.h"
#include "platform/ExternalBrowser.h"
#include "platform/MessageBox.h"
#include "res/AcceleratorTable.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QFileInfo>
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

void CKestrinNewsReaderView::RememberSiteName(const QString& url)
{
    // The tree puts the site's name into the caption just before it asks for the page; a
    // caption this view set itself names a page, not a site.
    const QString caption = window()->windowTitle();
    const QString suffix = captionSuffix();
    m_siteName.clear();
    m_siteNameKey.clear();
    if (caption != m_ownCaption && caption.endsWith(suffix)) {
        m_siteName = caption.chopped(suffix.size());
        m_siteNameKey = siteKey(QUrl::fromUserInput(url));
    }
}

QString CKestrinNewsReaderView::SiteNameFor(const QUrl& address) const
{
    if (!m_siteName.trimmed().isEmpty() && siteKey(address) == m_siteNameKey)
        return m_siteName;
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
