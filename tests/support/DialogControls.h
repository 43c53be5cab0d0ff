// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/Dialog.h"

#include <QLineEdit>
#include <QPushButton>

// A template dialog's controls by id, as the tests press and fill them.
class DialogControls
{
public:
    [[nodiscard]] static QPushButton* Button(const Dialog* dialog, int id)
    {
        return qobject_cast<QPushButton*>(dialog->GetDlgItem(id));
    }
    [[nodiscard]] static QLineEdit* Edit(const Dialog* dialog, int id)
    {
        return qobject_cast<QLineEdit*>(dialog->GetDlgItem(id));
    }
};
