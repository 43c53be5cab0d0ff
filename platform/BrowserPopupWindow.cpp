// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "BrowserPopupWindow.h"

#include "ExternalBrowser.h"
#include "SilentWebPage.h"
#include "WebEngineProfile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineView>

#include <algorithm>

namespace {
constexpr QSize kDefaultSize(800, 600);
// The least a pop-up is given, so that a page asking for a sliver still shows.
constexpr QSize kMinimumSize(200, 150);

// The caption until the page has a title: the suffix without its separator.
QString bareSuffix(const QString& suffix)
{
    QString text = suffix.trimmed();
    if (text.startsWith(QLatin1Char('-')))
        text = text.mid(1).trimmed();
    return text;
}
} // namespace

BrowserPopupWindow::BrowserPopupWindow(bool silent, const QString& titleSuffix, QWidget* opener)
    : QWidget(opener, Qt::Window), m_view(new QWebEngineView(this)),
      m_page(new SilentWebPage(WebEngineProfile::Shared(), m_view)), m_titleSuffix(titleSuffix)
{
    setObjectName(QStringLiteral("BrowserPopupWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_page->setSilent(silent);
    m_view->setPage(m_page);
    m_view->setAccessibleName(QStringLiteral("Page"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(kDefaultSize);
    setWindowTitle(bareSuffix(titleSuffix));
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
    connect(m_page, &QWebEnginePage::titleChanged, this,
            [this](const QString& title) { setWindowTitle(title + m_titleSuffix); });
    connect(m_page, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    connect(m_page, &QWebEnginePage::geometryChangeRequested, this,
            [this](const QRect& geometry) { Place(geometry); });
    connect(m_page, &QWebEnginePage::newWindowRequested, this,
            &BrowserPopupWindow::OnNewWindowRequested);
    connect(m_page, &SilentWebPage::externalLinkRequested, this,
            [](const QUrl& url) { ExternalBrowser::Open(url); });
}

QWebEnginePage* BrowserPopupWindow::page() const
{
    return m_page;
}

void BrowserPopupWindow::Place(const QRect& requested)
{
    const QWidget* opener = parentWidget();
    const QScreen* screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(), kDefaultSize);
    QSize size =
        requested.size().isValid() && !requested.size().isEmpty() ? requested.size() : this->size();
    size = size.expandedTo(kMinimumSize).boundedTo(area.size());
    QRect frame(QPoint(), size);
    if (!requested.topLeft().isNull())
        frame.moveTopLeft(requested.topLeft());
    else if (opener)
        frame.moveCenter(opener->frameGeometry().center());
    else
        frame.moveCenter(area.center());
    // Wholly on the screen: a page cannot put its window out of reach.
    frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() - frame.width() + 1));
    frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() - frame.height() + 1));
    resize(frame.size());
    move(frame.topLeft());
}

void BrowserPopupWindow::OnNewWindowRequested(QWebEngineNewWindowRequest& request)
{
    const QUrl target = request.requestedUrl();
    const bool blank = target.isEmpty() || target == QUrl(QStringLiteral("about:blank"));
    if (request.destination() != QWebEngineNewWindowRequest::InNewDialog && !blank) {
        m_page->load(target);
        return;
    }
    auto* window = new BrowserPopupWindow(m_page->isSilent(), m_titleSuffix, parentWidget());
    window->Place(request.requestedGeometry());
    window->show();
    request.openIn(window->page());
}
