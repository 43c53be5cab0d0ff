#include "BrowserPopupWindow.h"

#include "SilentWebPage.h"
#include "WebEngineProfile.h"

#include <QVBoxLayout>
#include <QWebEngineView>

BrowserPopupWindow::BrowserPopupWindow(bool silent)
    : m_view(new QWebEngineView(this)),
      m_page(new SilentWebPage(WebEngineProfile::Shared(), m_view))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_page->setSilent(silent);
    // A pop-up's own pop-ups open beside it, in windows of their own.
    m_page->setNewWindowHandler([silent](QWebEnginePage::WebWindowType) {
        auto* window = new BrowserPopupWindow(silent);
        window->show();
        return window->page();
    });
    m_view->setPage(m_page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(800, 600);
    connect(m_page, &QWebEnginePage::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_page, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    connect(m_page, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect& geometry) {
        if (geometry.isValid())
            resize(geometry.size());
    });
}

QWebEnginePage* BrowserPopupWindow::page() const
{
    return m_page;
}
