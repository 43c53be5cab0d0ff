// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "WebEditCommand.h"

#include <QWebEngineView>

namespace {
QWebEnginePage::WebAction webActionFor(EditCommand::Edit edit)
{
    switch (edit) {
    case EditCommand::Edit::Undo:
        return QWebEnginePage::Undo;
    case EditCommand::Edit::Cut:
        return QWebEnginePage::Cut;
    case EditCommand::Edit::Copy:
        return QWebEnginePage::Copy;
    case EditCommand::Edit::Paste:
        return QWebEnginePage::Paste;
    case EditCommand::Edit::None:
        break;
    }
    return QWebEnginePage::NoWebAction;
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
} // namespace

bool WebEditCommand::Apply(QWidget* focus, EditCommand::Edit edit)
{
    QWebEngineView* view = webViewOf(focus);
    if (!view || edit == EditCommand::Edit::None)
        return false;
    view->page()->triggerAction(webActionFor(edit));
    return true;
}
