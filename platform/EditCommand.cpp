// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "EditCommand.h"

#include "res/Resource.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {
using Edit = EditCommand::Edit;

// Edits and text views share these operations under the same names; a read-only one copies.
template <class TextWidget> bool applyTo(TextWidget* widget, Edit edit)
{
    if (widget->isReadOnly() && edit != Edit::Copy)
        return true;
    switch (edit) {
    case Edit::Undo:
        widget->undo();
        break;
    case Edit::Cut:
        widget->cut();
        break;
    case Edit::Copy:
        widget->copy();
        break;
    case Edit::Paste:
        widget->paste();
        break;
    case Edit::None:
        return false;
    }
    return true;
}

QLineEdit* lineEditOf(QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit;
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->lineEdit();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        return spin->findChild<QLineEdit*>();
    return nullptr;
}
} // namespace

EditCommand::Edit EditCommand::EditFor(int id)
{
    switch (id) {
    case ID_EDIT_UNDO:
        return Edit::Undo;
    case ID_EDIT_CUT:
        return Edit::Cut;
    case ID_EDIT_COPY:
        return Edit::Copy;
    case ID_EDIT_PASTE:
        return Edit::Paste;
    default:
        return Edit::None;
    }
}

bool EditCommand::Apply(QWidget* focus, int id, const QList<Handler>& handlers)
{
    const Edit edit = EditFor(id);
    if (!focus || edit == Edit::None)
        return false;
    for (const Handler& handler : handlers) {
        if (handler(focus, edit))
            return true;
    }
    if (QLineEdit* line = lineEditOf(focus))
        return applyTo(line, edit);
    if (auto* text = qobject_cast<QTextEdit*>(focus))
        return applyTo(text, edit);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(focus))
        return applyTo(plain, edit);
    return false;
}
