#include "HtmlView.h"

#include "BrowserPopupWindow.h"
#include "PrintDialog.h"
#include "SilentWebPage.h"
#include "WebEngineProfile.h"

#include <QPrinter>
#include <QQuickWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>
#include <QWindow>

namespace {
QUrl toUrl(const QString& text)
{
    if (text.isEmpty())
        return QUrl();
    const QUrl url(text, QUrl::TolerantMode);
    if (url.isValid() && !url.scheme().isEmpty())
        return url;
    return QUrl::fromUserInput(text);
}

// The engine reports the address in place of a page's missing title.
bool mayBeStandIn(const QString& title, const QUrl& url)
{
    return title.isEmpty() || url.toString().contains(title) ||
           title == QLatin1String("about:blank");
}
} // namespace

HtmlView::HtmlView(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setFocusPolicy(Qt::StrongFocus);
    // The engine's view renders to a texture. The first such child added to a window that
    // is already on screen makes the window system recreate that window, which blinks; an
    // invisible one from the start gives the window the right kind of surface at once.
    auto* surfaceKeeper = new QQuickWidget(this);
    surfaceKeeper->setAttribute(Qt::WA_DontShowOnScreen);
    surfaceKeeper->setFixedSize(1, 1);
}

HtmlView::~HtmlView()
{
    // The page goes before the view that shows it.
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

void HtmlView::SetSilent(bool silent)
{
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
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

void HtmlView::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    const QWindow* handle = window()->windowHandle();
    if (m_view || m_engineScheduled || !handle || !handle->isExposed())
        return;
    // The window has been drawn once: now the engine may take its time to start.
    m_engineScheduled = true;
    QTimer::singleShot(0, this, [this] { EnsureEngine(); });
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
    layout()->addWidget(m_view);
    setFocusProxy(m_view);
    connect(m_page, &QWebEnginePage::titleChanged, this, &HtmlView::ReportTitle);
    connect(m_page, &QWebEnginePage::loadFinished, this, &HtmlView::loadFinished);
    connect(m_view, &QWebEngineView::printFinished, this, [this](bool success) {
        m_printer.reset();
        emit printFinished(success);
    });
    if (m_hasPending) {
        m_hasPending = false;
        m_view->load(toUrl(m_pendingUrl));
    }
}

void HtmlView::ReportTitle(const QString& engineTitle)
{
    const quint64 sequence = ++m_titleSequence;
    auto deliver = [this](const QString& title) {
        emit titleReported(title);
        OnTitleChange(title);
    };
    if (!mayBeStandIn(engineTitle, m_page->url())) {
        deliver(engineTitle);
        return;
    }
    // Ask the document itself, so an untitled page reports an empty title.
    QPointer<HtmlView> guard(this);
    m_page->runJavaScript(QStringLiteral("document.title"), [guard, sequence, engineTitle,
                                                             deliver](const QVariant& result) {
        if (!guard || sequence != guard->m_titleSequence)
            return;
        deliver(result.typeId() == QMetaType::QString ? result.toString() : engineTitle);
    });
}
