// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CommandTarget.h"
#include "EditCommand.h"
#include "res/AcceleratorTable.h"
#include "res/MenuTable.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <span>

class Document;
class QAction;
class QMenu;
class View;

// The framework's frame window: a main window with menus and accelerators built from
// resource tables, command routing (active view, its document, the frame, the
// application), update handlers run before a menu shows, and pane switching.
class FrameWindow : public QMainWindow, public CommandTarget
{
    Q_OBJECT

public:
    enum class SizeType
    {
        Restored,
        Minimized,
        Maximized
    };

    // appTarget receives the commands no view, document or frame handled.
    explicit FrameWindow(CommandTarget* appTarget, QWidget* parent = nullptr);
    ~FrameWindow() override;

    // Window creation: OnCreate, then OnCreateClient. False when either failed.
    bool LoadFrame(Document* document);
    // Runs every view's initial update, in creation order, and shows the frame the first time.
    void InitialUpdateFrame(Document* document, bool makeVisible);

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdMsg(CommandUi& ui) override;
    // Runs a command as a menu or key would.
    bool SendCommand(int id) { return OnCmdMsg(id); }

    [[nodiscard]] View* GetActiveView() const { return m_activeView; }
    void SetActiveView(View* view);
    [[nodiscard]] Document* GetActiveDocument() const;

    // The menu entry for a command id (the first when several carry it).
    [[nodiscard]] QAction* menuAction(int id) const;
    // Runs the update handlers of one menu, as before it shows.
    void UpdateMenu(QMenu* menu);

    // Whether a program may place its top-level windows here. Wayland places them itself and
    // reports no place back; on a framebuffer every window fills the screen.
    [[nodiscard]] static bool CanPlaceWindows();

    // The title part after the document name: the template's window title.
    void SetTitleSuffix(const QString& suffix) { m_titleSuffix = suffix; }
    void OnUpdateFrameTitle();

    // Lets the edit keys reach one more kind of editor (a web page), before the text widgets.
    void AddEditHandler(EditCommand::Handler handler) { m_editHandlers.append(std::move(handler)); }

signals:
    // The window's first frame has reached the screen. Start-up work that the user cannot
    // see waits for it, so that the window comes up first.
    void firstFrameShown();

protected:
    // Loads the frame's menu and accelerators; return -1 to fail creation.
    virtual int OnCreate();
    virtual bool OnCreateClient(Document* document) = 0;
    virtual void OnSize(SizeType type);
    // The window moved on the screen.
    virtual void OnMove();
    // Panes in creation order; the initial update and F6 follow it.
    void RegisterView(View* view);
    // Forgets the panes; a derived frame calls it before its panes are destroyed.
    void ReleaseViews();

    void BuildMenuBar(std::span<const MenuDefinition> menus);
    void InstallAccelerators(std::span<const Accelerator> accelerators);

    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

    void OnViewStatusBar();
    [[nodiscard]] bool IsMenuOpen() const;

private:
    void OnNextPane(int step);
    void OnFocusChanged(QWidget* now);
    void ShowPrompt(const QString& tip);
    void SetMessageText(const QString& text);

    CommandTarget* m_appTarget;
    QList<View*> m_views;
    View* m_activeView = nullptr;
    Document* m_document = nullptr;
    QHash<int, QAction*> m_actions;
    QString m_titleSuffix;
    bool m_shown = false;
    QList<EditCommand::Handler> m_editHandlers;
};
