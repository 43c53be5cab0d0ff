// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QList>

#include <functional>

class QWidget;

// The standard edit commands (Undo, Cut, Copy, Paste) for the widget that has the focus:
// the text of an edit, or what an editor added with a handler (a web page) edits. The
// frame's keys for them have no handler of their own, so the focused widget gets what its
// keys ask for, whatever key scheme the desktop follows (Alt+Backspace undoes, Shift+Insert
// pastes, and so on).
class EditCommand
{
public:
    enum class Edit
    {
        None,
        Undo,
        Cut,
        Copy,
        Paste
    };
    // Applies an edit to the focused widget when it is one it knows; false otherwise.
    using Handler = std::function<bool(QWidget* focus, Edit edit)>;

    // The edit a command id stands for; None for any other id.
    [[nodiscard]] static Edit EditFor(int id);
    // Applies the command with this id to the widget, trying the handlers before the text
    // widgets; false when it has nothing to edit or the id is no edit command.
    static bool Apply(QWidget* focus, int id, const QList<Handler>& handlers = {});
};
