// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QAction>
#include <QMenu>
#include <QStringList>

// A menu's entries as the tests read and press them.
class MenuEntries
{
public:
    // Each entry's text, a separator as "-".
    [[nodiscard]] static QStringList Texts(const QMenu* menu)
    {
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }
    [[nodiscard]] static QAction* Find(const QMenu* menu, const QString& text)
    {
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
};
