// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "View.h"

#include "Document.h"
#include "PrintDialog.h"

#include <QPainter>
#include <QPrinter>

View::~View()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void View::OnDraw(QPainter&) {}

void View::AttachDocument(Document* document)
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    m_pDocument = document;
    if (m_pDocument)
        m_pDocument->AddView(this);
}

bool View::OnCmdMsg(int id)
{
    if (CommandTarget::OnCmdMsg(id))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id);
}

bool View::OnUpdateCmdMsg(CommandUi& ui)
{
    if (CommandTarget::OnUpdateCmdMsg(ui))
        return true;
    return m_pDocument && m_pDocument->OnUpdateCmdMsg(ui);
}

void View::OnFilePrint()
{
    PrintDialog::Run(widget(), [this](QPrinter& printer) {
        QPainter painter;
        if (!painter.begin(&printer))
            return false;
        OnDraw(painter);
        return painter.end();
    });
}
