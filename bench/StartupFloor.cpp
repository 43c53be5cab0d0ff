// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

// The floor for the start-up benchmark: the least a window of this kind can cost. A bare
// main window with the same splitter, the same catalog tree (2,700 sites, sorted) and a
// web view created only after the window's first paint, which then opens the start page.
// It reports the same start-up trace as the program (KESTRIN_STARTUP_TRACE).

#include "app/ProductAddresses.h"
#include "app/StartupTrace.h"
#include "catalog/CatalogData.h"
#include "platform/WebEngineSandbox.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>
#include <QWindow>

#include <span>

namespace {
void addSites(QTreeWidgetItem* parent, std::span<const CatalogEntry> entries)
{
    for (const CatalogEntry& entry : entries)
        new QTreeWidgetItem(parent, {QString::fromUtf8(entry.name)});
    parent->sortChildren(0, Qt::AscendingOrder);
}

QTreeWidget* createTree()
{
    auto* tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    tree->setUniformRowHeights(true);
    auto* root = new QTreeWidgetItem(tree, {QStringLiteral("Kestrin News Reader")});
    new QTreeWidgetItem(root, {QStringLiteral("My Favorites")});
    addSites(new QTreeWidgetItem(root, {QStringLiteral("National")}), CatalogData::National());
    addSites(new QTreeWidgetItem(root, {QStringLiteral("World")}), CatalogData::World());
    auto* states = new QTreeWidgetItem(root, {QStringLiteral("American States")});
    for (const CatalogNode& state : CatalogData::States())
        addSites(new QTreeWidgetItem(states, {QString::fromUtf8(state.text)}), state.entries);
    root->setExpanded(true);
    states->setExpanded(true);
    return tree;
}

// Creates the web view once the window has been drawn, as late as it can be.
class FloorWindow : public QMainWindow
{
public:
    FloorWindow()
    {
        menuBar()->addMenu(QStringLiteral("&File"));
        m_splitter->addWidget(createTree());
        m_splitter->addWidget(new QWidget);
        setCentralWidget(m_splitter);
        // The program's own first size and place: most of the screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            resize(area.width() * 3 / 4, area.height() * 3 / 4);
            move(area.topLeft() + QPoint(area.width() / 16, area.height() / 16));
        }
        m_splitter->setSizes({250, width() - 250});
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QMainWindow::paintEvent(event);
        if (m_viewScheduled || !windowHandle() || !windowHandle()->isExposed())
            return;
        m_viewScheduled = true;
        QTimer::singleShot(0, this, [this] { createView(); });
    }

private:
    void createView()
    {
        auto* view = new QWebEngineView;
        connect(view, &QWebEngineView::titleChanged, this, [this](const QString& title) {
            if (!title.isEmpty() && !kDefaultHomePageUrl.contains(title))
                setWindowTitle(title + QStringLiteral(" - Kestrin News Reader"));
        });
        m_splitter->replaceWidget(1, view);
        view->load(QUrl(kDefaultHomePageUrl));
    }

    QSplitter* m_splitter = new QSplitter(this);
    bool m_viewScheduled = false;
};
} // namespace

int main(int argc, char* argv[])
{
    WebEngineSandbox::ConfigureForCurrentUser();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    FloorWindow window;
    window.show();
    StartupTrace::Watch(&window);
    return QApplication::exec();
}
