// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

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
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEngineHistory>
#include <QWebEngineHistoryItem>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
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
// The pane and the views in it, as a screen reader names them; the page's own title and
// content come from the engine.
const QString kPageName = QStringLiteral("Page");

bool mayBeStandIn(const QString& title, const QUrl& url)
{
    return title.isEmpty() || url.toString().contains(title) ||
           title == QLatin1String("about:blank");
}
} // namespace

HtmlView::HtmlView(QWidget* parent)
    : QWidget(parent), m_gate(new GpuCompositionGate(this)), m_pageArea(new QWidget(this)),
      m_stack(new QStackedLayout(m_pageArea))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pageArea, 1);
    m_stack->setContentsMargins(0, 0, 0, 0);
    // Pages under the one on show stay shown: the engine goes on drawing the page behind our
    // own, so that what it shows when ours goes is the page of now, not a frame of before.
    m_stack->setStackingMode(QStackedLayout::StackAll);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(kPageName);
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

void HtmlView::Stop()
{
    if (m_page && m_loading)
        m_page->triggerAction(QWebEnginePage::Stop);
}

void HtmlView::FindText(const QString& text, bool backward)
{
    QWebEnginePage* page = m_noticeShown ? static_cast<QWebEnginePage*>(m_noticePage) : m_page;
    if (!page) {
        emit findFinished(0, 0);
        return;
    }
    // Every search is answered once, also one that a newer search replaced before it was
    // done (as if nothing was found); only the answer to the last one counts. An empty text
    // ends them all.
    m_findsPending = text.isEmpty() ? 0 : m_findsPending + 1;
    page->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void HtmlView::AddBelowPages(QWidget* widget)
{
    static_cast<QVBoxLayout*>(layout())->addWidget(widget);
}

void HtmlView::AddOverPages(QWidget* widget)
{
    widget->setParent(m_pageArea);
    m_overPages.append(widget);
    widget->raise();
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
        m_noticeView = new QWebEngineView(m_pageArea);
        m_noticeView->setAccessibleName(kPageName);
        m_noticePage = new NoticePage(WebEngineProfile::Shared(), this);
        m_noticeView->setPage(m_noticePage);
        m_stack->addWidget(m_noticeView);
        connect(m_noticePage, &NoticePage::linkActivated, this, &HtmlView::OnNoticeLink);
        connect(m_noticePage, &QWebEnginePage::findTextFinished, this, &HtmlView::OnFindResult);
    }
    const bool hadFocus = hasFocus() || isAncestorOf(QApplication::focusWidget());
    m_noticePage->Show(html);
    ShowPage(m_noticeView);
    setFocusProxy(m_noticeView);
    if (hadFocus)
        m_noticeView->setFocus(Qt::OtherFocusReason);
    m_noticeShown = true;
    m_noticeTitle = title;
    m_noticeEntry = CommittedEntry();
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
    ShowPage(m_view);
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
    auto* window = new BrowserPopupWindow(m_silent, m_popupTitleSuffix, this->window());
    window->Place(m_popupGeometry);
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
    m_view = new QWebEngineView(m_pageArea);
    m_view->setAccessibleName(kPageName);
    m_page = new SilentWebPage(WebEngineProfile::Shared(), this);
    m_page->setSilent(m_silent);
    m_view->setPage(m_page);
    m_stack->insertWidget(0, m_view);
    ShowPage(m_view);
    setFocusProxy(m_view);
    connect(m_page, &QWebEnginePage::titleChanged, this, &HtmlView::OnEngineTitle);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &HtmlView::OnLoadingChanged);
    connect(m_page, &QWebEnginePage::loadFinished, this, &HtmlView::loadFinished);
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int percent) {
        if (m_loading)
            emit loadProgress(m_loadingUrl, percent, true);
    });
    connect(m_page, &QWebEnginePage::urlChanged, this, &HtmlView::OnNavigateComplete2);
    connect(m_page, &QWebEnginePage::urlChanged, this, &HtmlView::addressChanged);
    connect(m_page, &QWebEnginePage::linkHovered, this, &HtmlView::linkHovered);
    connect(m_page, &QWebEnginePage::findTextFinished, this, &HtmlView::OnFindResult);
    // Every request for a new window is answered here; the engine's fallback, createWindow,
    // then gets none.
    connect(m_page, &QWebEnginePage::newWindowRequested, this, &HtmlView::OnNewWindowRequested);
    connect(m_page, &SilentWebPage::externalLinkRequested, this, &HtmlView::externalLinkRequested);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus)
                    return;
                if (std::exchange(m_loading, false))
                    emit loadProgress(m_loadingUrl, 100, false);
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

void HtmlView::OnNewWindowRequested(QWebEngineNewWindowRequest& request)
{
    const QUrl target = request.requestedUrl();
    const bool blank = target.isEmpty() || target == QUrl(QStringLiteral("about:blank"));
    if (request.destination() == QWebEngineNewWindowRequest::InNewDialog || blank) {
        // A script's pop-up, sized by it, or a window it means to write into itself.
        m_popupGeometry = request.requestedGeometry();
        QWebEnginePage* page = nullptr;
        bool cancel = false;
        OnNewWindow2(&page, &cancel);
        m_popupGeometry = QRect();
        if (!cancel && page)
            request.openIn(page);
        return;
    }
    // A link meant for a new tab or window: the pane is the one window for pages, and Back
    // comes back from it.
    m_page->load(target);
}

void HtmlView::OnFindResult(const QWebEngineFindTextResult& result)
{
    if (m_findsPending > 0 && --m_findsPending > 0)
        return;
    emit findFinished(result.activeMatch(), result.numberOfMatches());
}

void HtmlView::ShowPage(QWidget* page)
{
    m_stack->setCurrentWidget(page);
    for (QWidget* widget : std::as_const(m_overPages))
        widget->raise();
}

void HtmlView::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        m_loading = true;
        m_loadingUrl = info.url();
        emit loadProgress(m_loadingUrl, 0, true);
        // Our page stays until the next page has come: behind it, the engine holds its own
        // page for the failure, which must not show meanwhile.
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        m_loading = false;
        emit loadProgress(m_loadingUrl, 100, false);
        HideNotice();
        // Even an unchanged title is reported: whatever set the caption meanwhile gives way.
        ReportTitle(m_page->title());
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
    case QWebEngineLoadingInfo::LoadFailedStatus:
        m_loading = false;
        emit loadProgress(m_loadingUrl, 100, false);
        if (info.isErrorPage()) {
            OnNavigateError(info);
            break;
        }
        // Stopped, or the site's own page for an error: what came of it is a page of the
        // site's, to be shown. A load that never arrived leaves our page on show.
        if (m_noticeShown && CommittedEntry() != m_noticeEntry)
            HideNotice();
        if (info.errorCode() != kErrorAborted && !m_noticeShown)
            ReportTitle(m_page->title());
        break;
    }
}

HtmlView::Entry HtmlView::CommittedEntry() const
{
    if (!m_page)
        return {};
    const QWebEngineHistory* history = m_page->history();
    return {history->currentItemIndex(), history->currentItem().lastVisited()};
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
