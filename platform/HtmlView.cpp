#include "HtmlView.h"

#include "BrowserPopupWindow.h"
#include "GpuCompositionGate.h"
#include "NoticePage.h"
#include "PageSkin.h"
#include "PrintDialog.h"
#include "SilentWebPage.h"
#include "WebEngineProfile.h"

#include <QApplication>
#include <QPointer>
#include <QPrinter>
#include <QStackedLayout>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>

namespace {
// The engine's own limits.
constexpr qreal kMinimumZoom = 0.25;
constexpr qreal kMaximumZoom = 5.0;
// A load that gave way to another one, or was stopped.
constexpr int kErrorAborted = -3;

QUrl toUrl(const QString& text)
{
    if (text.isEmpty())
        return QUrl();
    const QUrl url(text, QUrl::TolerantMode);
    if (url.isValid() && !url.scheme().isEmpty())
        return url;
    return QUrl::fromUserInput(text);
}

// The engine reports the address, or on its error pages the host, in place of a page's
// missing title.
bool mayBeStandIn(const QString& title, const QUrl& url)
{
    return title.isEmpty() || url.toString().contains(title) ||
           title == QLatin1String("about:blank");
}
} // namespace

HtmlView::HtmlView(QWidget* parent)
    : QWidget(parent), m_gate(new GpuCompositionGate(this)), m_stack(new QStackedLayout(this))
{
    m_stack->setContentsMargins(0, 0, 0, 0);
    setFocusPolicy(Qt::StrongFocus);
    // The window's first frame is on screen: now the engine may take its time to start.
    connect(m_gate, &GpuCompositionGate::opened, this, &HtmlView::EnsureEngine);
    // Pages loaded later take the skin as they start; the ones on show change now.
    connect(&PageSkin::Instance(), &PageSkin::changed, this, [this] {
        for (QWebEnginePage* page :
             {static_cast<QWebEnginePage*>(m_page), static_cast<QWebEnginePage*>(m_noticePage)}) {
            if (page)
                page->runJavaScript(PageSkin::Instance().script(),
                                    QWebEngineScript::ApplicationWorld);
        }
    });
}

HtmlView::~HtmlView()
{
    // Pages go before the views that show them.
    delete m_noticePage;
    delete m_page;
}

void HtmlView::Navigate2(const QString& url)
{
    emit navigateRequested(url);
    if (!m_view) {
        m_hasPending = true;
        m_pendingUrl = url;
        return;
    }
    m_view->load(toUrl(url));
}

void HtmlView::GoBack()
{
    if (m_view && m_view->history()->canGoBack())
        m_view->back();
}

void HtmlView::GoForward()
{
    if (m_view && m_view->history()->canGoForward())
        m_view->forward();
}

void HtmlView::Refresh()
{
    if (m_page && !m_page->url().isEmpty())
        m_page->triggerAction(QWebEnginePage::Reload);
}

void HtmlView::SetSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
}

qreal HtmlView::zoomFactor() const
{
    return m_page ? m_page->zoomFactor() : 1.0;
}

void HtmlView::SetZoomFactor(qreal factor)
{
    if (m_page)
        m_page->setZoomFactor(std::clamp(factor, kMinimumZoom, kMaximumZoom));
}

void HtmlView::ShowNotice(const QString& html, const QString& title)
{
    if (!m_noticeView) {
        m_noticeView = new QWebEngineView(this);
        m_noticePage = new NoticePage(WebEngineProfile::Shared(), this);
        m_noticeView->setPage(m_noticePage);
        m_stack->addWidget(m_noticeView);
        connect(m_noticePage, &NoticePage::linkActivated, this, &HtmlView::OnNoticeLink);
    }
    const bool hadFocus = hasFocus() || isAncestorOf(QApplication::focusWidget());
    m_noticePage->Show(html);
    m_stack->setCurrentWidget(m_noticeView);
    setFocusProxy(m_noticeView);
    if (hadFocus)
        m_noticeView->setFocus(Qt::OtherFocusReason);
    m_noticeShown = true;
    m_noticeTitle = title;
    m_noticeUrl = url();
    ++m_titleSequence; // a title still being looked up is no longer the one on show
    Deliver(title);
}

void HtmlView::HideNotice()
{
    if (!m_noticeShown)
        return;
    const bool hadFocus =
        m_noticeView->isAncestorOf(QApplication::focusWidget()) || m_noticeView->hasFocus();
    m_noticeShown = false;
    m_stack->setCurrentWidget(m_view);
    setFocusProxy(m_view);
    if (hadFocus)
        m_view->setFocus(Qt::OtherFocusReason);
}

void HtmlView::EnsureEngine()
{
    if (!m_view)
        CreateEngine();
}

QWebEnginePage* HtmlView::page() const
{
    return m_page;
}

QUrl HtmlView::url() const
{
    return m_view ? m_view->url() : QUrl();
}

void HtmlView::OnTitleChange(const QString&) {}

void HtmlView::OnNewWindow2(QWebEnginePage** page, bool* cancel)
{
    if (*cancel || *page)
        return;
    auto* window = new BrowserPopupWindow(m_silent);
    window->show();
    *page = window->page();
}

void HtmlView::OnNavigateComplete2(const QUrl&) {}

void HtmlView::OnNavigateError(const QWebEngineLoadingInfo&) {}

void HtmlView::OnRenderProcessGone(QWebEnginePage::RenderProcessTerminationStatus) {}

void HtmlView::OnNoticeLink(const QUrl&) {}

void HtmlView::OnFilePrint()
{
    EnsureEngine();
    if (m_printer)
        return; // one job at a time
    m_printer = std::make_unique<QPrinter>();
    if (!PrintDialog::Ask(*m_printer, this)) {
        m_printer.reset();
        return;
    }
    m_view->print(m_printer.get());
}

void HtmlView::ReportCurrentTitle()
{
    if (m_noticeShown)
        Deliver(m_noticeTitle);
    else if (m_page && !m_page->url().isEmpty())
        ReportTitle(m_page->title());
}

void HtmlView::CreateEngine()
{
    m_view = new QWebEngineView(this);
    m_page = new SilentWebPage(WebEngineProfile::Shared(), this);
    m_page->setSilent(m_silent);
    m_page->setNewWindowHandler([this](QWebEnginePage::WebWindowType) -> QWebEnginePage* {
        QWebEnginePage* page = nullptr;
        bool cancel = false;
        OnNewWindow2(&page, &cancel);
        return cancel ? nullptr : page;
    });
    m_view->setPage(m_page);
    m_stack->insertWidget(0, m_view);
    m_stack->setCurrentWidget(m_view);
    setFocusProxy(m_view);
    connect(m_page, &QWebEnginePage::titleChanged, this, &HtmlView::OnEngineTitle);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &HtmlView::OnLoadingChanged);
    connect(m_page, &QWebEnginePage::loadFinished, this, &HtmlView::loadFinished);
    connect(m_page, &QWebEnginePage::urlChanged, this, &HtmlView::OnNavigateComplete2);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus)
                    return;
                m_loading = false;
                OnRenderProcessGone(status);
            });
    connect(m_view, &QWebEngineView::printFinished, this, [this](bool success) {
        m_printer.reset();
        emit printFinished(success);
    });
    if (m_hasPending) {
        m_hasPending = false;
        m_view->load(toUrl(m_pendingUrl));
    }
}

void HtmlView::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        m_loading = true;
        // Trying the same address again keeps the notice until there is something better
        // to show; the engine's own page for the failure must not come back meanwhile.
        if (info.url() != m_noticeUrl)
            HideNotice();
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        m_loading = false;
        HideNotice();
        // Even an unchanged title is reported: whatever set the caption meanwhile gives way.
        ReportTitle(m_page->title());
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
    case QWebEngineLoadingInfo::LoadFailedStatus:
        m_loading = false;
        if (info.isErrorPage())
            OnNavigateError(info);
        else if (info.errorCode() != kErrorAborted && !m_noticeShown)
            ReportTitle(m_page->title()); // the site's own page, such as its "not found"
        break;
    }
}

void HtmlView::OnEngineTitle(const QString& engineTitle)
{
    if (m_noticeShown)
        return;
    // While a page loads, the address stands in for its title: the page's own comes later.
    if (m_loading && mayBeStandIn(engineTitle, m_page->url()))
        return;
    ReportTitle(engineTitle);
}

void HtmlView::ReportTitle(const QString& engineTitle)
{
    const quint64 sequence = ++m_titleSequence;
    if (!mayBeStandIn(engineTitle, m_page->url())) {
        Deliver(engineTitle);
        return;
    }
    // Ask the document itself, so an untitled page reports an empty title.
    QPointer<HtmlView> guard(this);
    m_page->runJavaScript(
        QStringLiteral("document.title"), [guard, sequence, engineTitle](const QVariant& result) {
            if (!guard || sequence != guard->m_titleSequence || guard->m_noticeShown)
                return;
            guard->Deliver(result.typeId() == QMetaType::QString ? result.toString() : engineTitle);
        });
}

void HtmlView::Deliver(const QString& title)
{
    emit titleReported(title);
    OnTitleChange(title);
}
