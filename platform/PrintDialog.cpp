// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {
PrintDialog::Hook& hook()
{
    static PrintDialog::Hook value;
    return value;
}
} // namespace

bool PrintDialog::Ask(QPrinter& printer, QWidget* parent)
{
    if (hook())
        return hook()(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool PrintDialog::Run(QWidget* parent, const Job& job)
{
    QPrinter printer;
    if (!Ask(printer, parent))
        return false;
    job(printer);
    return true;
}

PrintDialog::Hook PrintDialog::SetHook(Hook value)
{
    return std::exchange(hook(), std::move(value));
}
