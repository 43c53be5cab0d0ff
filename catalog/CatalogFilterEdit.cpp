// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "CatalogFilterEdit.h"

#include "platform/ClearButton.h"

#include <QKeyEvent>

namespace {
bool IsFindKey(const QKeyEvent* event)
{
    return event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_K);
}
} // namespace

CatalogFilterEdit::CatalogFilterEdit(QWidget* parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("CatalogFilter"));
    setPlaceholderText(QStringLiteral("Find a newspaper, town or state"));
    setToolTip(QStringLiteral("Find a newspaper by its name, town, state, kind or web address "
                              "(Ctrl+K)"));
    setAccessibleName(QStringLiteral("Find a newspaper"));
    // The clear button's icon comes from the icon theme, whose first lookup costs more than
    // building the whole window; an empty box shows no button, so it is added with the text.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            EnsureClearButton();
    });
}

void CatalogFilterEdit::EnsureClearButton()
{
    if (!isClearButtonEnabled())
        ClearButton::Enable(this);
}

bool CatalogFilterEdit::event(QEvent* event)
{
    // Kept from the line edit's own bindings and from the frame's accelerator alike.
    if (event->type() == QEvent::ShortcutOverride && IsFindKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CatalogFilterEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    EnsureClearButton();
    emit focusEntered();
}

void CatalogFilterEdit::keyPressEvent(QKeyEvent* event)
{
    if (IsFindKey(event)) {
        selectAll();
        return;
    }
    if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier) {
        emit downPressed();
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (text().isEmpty())
            emit leaveRequested();
        else
            clear();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
