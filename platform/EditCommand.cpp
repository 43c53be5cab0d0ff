#include "EditCommand.h"

#include "res/Resource.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWebEngineView>

namespace {
enum class Edit
{
    None,
    Undo,
    Cut,
    Copy,
    Paste
};

Edit editFor(int id)
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

QWebEnginePage::WebAction webActionFor(Edit edit)
{
    switch (edit) {
    case Edit::Undo:
        return QWebEnginePage::Undo;
    case Edit::Cut:
        return QWebEnginePage::Cut;
    case Edit::Copy:
        return QWebEnginePage::Copy;
    case Edit::Paste:
        return QWebEnginePage::Paste;
    case Edit::None:
        break;
    }
    return QWebEnginePage::NoWebAction;
}

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

QWebEngineView* webViewOf(QWidget* widget)
{
    // The engine's view draws through a child widget, which is what has the focus.
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* view = qobject_cast<QWebEngineView*>(w))
            return view;
        if (w->isWindow())
            break;
    }
    return nullptr;
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

bool EditCommand::Apply(QWidget* focus, int id)
{
    const Edit edit = editFor(id);
    if (!focus || edit == Edit::None)
        return false;
    if (QWebEngineView* view = webViewOf(focus)) {
        view->page()->triggerAction(webActionFor(edit));
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
