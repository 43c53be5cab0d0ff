// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "FrameWindow.h"

#include "Document.h"
#include "EditCommand.h"
#include "FirstFrameWatch.h"
#include "StatusBar.h"
#include "View.h"
#include "res/Resource.h"
#include "res/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusTipEvent>

#include <algorithm>

FrameWindow::FrameWindow(CommandTarget* appTarget, QWidget* parent)
    : QMainWindow(parent), m_appTarget(appTarget)
{
    m_commandMap.on(ID_VIEW_STATUS_BAR, [this] { OnViewStatusBar(); });
    m_commandMap.onUpdate(ID_VIEW_STATUS_BAR, [this](CommandUi& ui) {
        ui.SetCheck(findChild<QStatusBar*>() && statusBar()->isVisible());
    });
    // There is never a toolbar: the entry shows no mark and changes nothing.
    m_commandMap.on(ID_VIEW_TOOLBAR, [] {});
    m_commandMap.on(ID_NEXT_PANE, [this] { OnNextPane(1); });
    m_commandMap.on(ID_PREV_PANE, [this] { OnNextPane(-1); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    connect(new FirstFrameWatch(this), &FirstFrameWatch::shown, this,
            &FrameWindow::firstFrameShown);
}

FrameWindow::~FrameWindow()
{
    ReleaseViews();
}

void FrameWindow::ReleaseViews()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    m_views.clear();
    m_activeView = nullptr;
}

bool FrameWindow::LoadFrame(Document* document)
{
    m_document = document;
    // The system's default place for a new main window: most of the screen, cascaded.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.width() * 3 / 4, area.height() * 3 / 4);
        move(area.topLeft() + QPoint(area.width() / 16, area.height() / 16));
    }
    if (OnCreate() == -1)
        return false;
    return OnCreateClient(document);
}

void FrameWindow::InitialUpdateFrame(Document* document, bool makeVisible)
{
    m_document = document;
    for (View* view : std::as_const(m_views))
        view->OnInitialUpdate();
    if (!m_activeView && !m_views.isEmpty())
        SetActiveView(m_views.first());
    OnUpdateFrameTitle();
    if (makeVisible && !m_shown) {
        m_shown = true;
        show();
    }
}

bool FrameWindow::OnCmdMsg(int id)
{
    if (m_activeView && m_activeView->OnCmdMsg(id))
        return true;
    if (CommandTarget::OnCmdMsg(id))
        return true;
    return m_appTarget && m_appTarget->OnCmdMsg(id);
}

bool FrameWindow::OnUpdateCmdMsg(CommandUi& ui)
{
    if (m_activeView && m_activeView->OnUpdateCmdMsg(ui))
        return true;
    if (CommandTarget::OnUpdateCmdMsg(ui))
        return true;
    return m_appTarget && m_appTarget->OnUpdateCmdMsg(ui);
}

void FrameWindow::SetActiveView(View* view)
{
    m_activeView = view;
}

Document* FrameWindow::GetActiveDocument() const
{
    if (m_activeView && m_activeView->document())
        return m_activeView->document();
    return m_document;
}

QAction* FrameWindow::menuAction(int id) const
{
    return m_actions.value(id);
}

void FrameWindow::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        CommandUi ui(action->data().toInt());
        OnUpdateCmdMsg(ui);
        // Only a marked entry is checkable: styles draw an empty box beside an unmarked one.
        action->setCheckable(ui.checked());
        action->setChecked(ui.checked());
    }
}

void FrameWindow::OnUpdateFrameTitle()
{
    const Document* document = GetActiveDocument();
    if (!document)
        return;
    setWindowTitle(document->GetTitle() + QStringLiteral(" - ") + m_titleSuffix);
}

int FrameWindow::OnCreate()
{
    BuildMenuBar(MenuTable::MainMenu());
    InstallAccelerators(AcceleratorTable::MainFrame());
    setWindowIcon(QIcon(QStringLiteral(":/res/icons/kestrin.png")));
    return 0;
}

void FrameWindow::OnSize(SizeType) {}

void FrameWindow::OnMove() {}

void FrameWindow::RegisterView(View* view)
{
    m_views.append(view);
}

void FrameWindow::BuildMenuBar(std::span<const MenuDefinition> menus)
{
    for (const MenuDefinition& definition : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(definition.title));
        for (const MenuEntry& entry : definition.entries) {
            if (!entry.text) {
                menu->addSeparator();
                continue;
            }
            // The text after the tab is shown as a key hint; no shortcut is bound to it.
            QAction* action = menu->addAction(QString::fromUtf8(entry.text));
            action->setData(entry.id);
            action->setStatusTip(StringTable::Prompt(entry.id));
            if (!m_actions.contains(entry.id))
                m_actions.insert(entry.id, action);
            const int id = entry.id;
            connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id); });
        }
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            UpdateMenu(menu);
            // A menu title is highlighted, not an entry: nothing to say yet.
            SetMessageText(QString());
        });
    }
}

void FrameWindow::InstallAccelerators(std::span<const Accelerator> accelerators)
{
    for (const Accelerator& accelerator : accelerators) {
        auto* shortcut = new QShortcut(QKeySequence(accelerator.key), this);
        shortcut->setContext(Qt::WindowShortcut);
        const int id = accelerator.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] {
            // A key whose command nothing handles still edits the focused page or edit.
            if (!OnCmdMsg(id))
                EditCommand::Apply(QApplication::focusWidget(), id, m_editHandlers);
        });
    }
}

bool FrameWindow::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowPrompt(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void FrameWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    OnSize(isMaximized() ? SizeType::Maximized : SizeType::Restored);
}

void FrameWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    OnMove();
}

void FrameWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized())
        OnSize(SizeType::Minimized);
    else if (isMaximized())
        OnSize(SizeType::Maximized);
    else
        OnSize(SizeType::Restored);
}

void FrameWindow::OnViewStatusBar()
{
    if (auto* bar = findChild<QStatusBar*>())
        bar->setVisible(!bar->isVisible());
}

void FrameWindow::OnNextPane(int step)
{
    if (m_views.isEmpty())
        return;
    const qsizetype current = m_views.indexOf(m_activeView);
    const qsizetype count = m_views.size();
    View* next = m_views.at(((current < 0 ? 0 : current) + step + count) % count);
    SetActiveView(next);
    next->paneWidget()->setFocus(Qt::OtherFocusReason);
}

void FrameWindow::OnFocusChanged(QWidget* now)
{
    for (View* view : std::as_const(m_views)) {
        QWidget* pane = view->paneWidget();
        if (now && (now == pane || pane->isAncestorOf(now))) {
            SetActiveView(view);
            return;
        }
    }
}

bool FrameWindow::IsMenuOpen() const
{
    const QList<QAction*> menus = menuBar()->actions();
    return std::any_of(menus.begin(), menus.end(), [](const QAction* action) {
        return action->menu() && action->menu()->isVisible();
    });
}

void FrameWindow::ShowPrompt(const QString& tip)
{
    // While a menu is open an entry without a prompt leaves the pane empty; "Ready" comes
    // back once the menus close.
    SetMessageText(tip.isEmpty() && !IsMenuOpen() ? StringTable::Load(AFX_IDS_IDLEMESSAGE) : tip);
}

void FrameWindow::SetMessageText(const QString& text)
{
    if (auto* bar = qobject_cast<StatusBar*>(findChild<QStatusBar*>()))
        bar->SetMessage(text);
}

bool FrameWindow::CanPlaceWindows()
{
    const QString platform = QGuiApplication::platformName();
    return !platform.startsWith(QLatin1String("wayland")) && platform != QLatin1String("eglfs") &&
           platform != QLatin1String("linuxfb");
}
