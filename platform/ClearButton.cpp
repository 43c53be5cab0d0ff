// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "ClearButton.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>

namespace {
// The name Qt gives the clear button's action.
constexpr char kClearActionName[] = "_q_qlineeditclearaction";
} // namespace

void ClearButton::Enable(QLineEdit* edit)
{
    edit->setClearButtonEnabled(true);
    for (QToolButton* button : edit->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        const QAction* action = button->defaultAction();
        if (action && action->objectName() == QLatin1String(kClearActionName))
            button->setAccessibleName(QStringLiteral("Clear"));
    }
}
