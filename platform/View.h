// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CommandTarget.h"

class Document;
class QWidget;

// A pane that shows the document: gets its initial update whenever the framework
// (re)initialises the document's views, and takes routed commands before its document.
class View : public CommandTarget
{
public:
    ~View() override;

    virtual void OnInitialUpdate() {}
    // Draws the view's printed page; the default draws nothing.
    virtual void OnDraw(class QPainter& painter);

    [[nodiscard]] virtual QWidget* widget() = 0;
    // What the frame lays out as the pane and moves the focus to: the view's own widget,
    // or a container that holds it with controls of its own.
    [[nodiscard]] QWidget* paneWidget() { return m_pPane ? m_pPane : widget(); }
    void SetPaneWidget(QWidget* pane) { m_pPane = pane; }

    [[nodiscard]] Document* document() const { return m_pDocument; }
    void AttachDocument(Document* document);

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdMsg(CommandUi& ui) override;

protected:
    // Prints through the print dialog a page that OnDraw paints.
    void OnFilePrint();

private:
    Document* m_pDocument = nullptr;
    QWidget* m_pPane = nullptr;
};
