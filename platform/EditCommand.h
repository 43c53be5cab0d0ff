#pragma once

class QWidget;

// The standard edit commands (Undo, Cut, Copy, Paste) for the widget that has the focus:
// the page of a web view, or the text of an edit. The frame's keys for them have no handler
// of their own, so the focused widget gets what its keys ask for, whatever key scheme the
// desktop follows (Alt+Backspace undoes, Shift+Insert pastes, and so on).
class EditCommand
{
public:
    // Applies the command with this id to the widget; false when it has nothing to edit or
    // the id is no edit command.
    static bool Apply(QWidget* focus, int id);
};
