// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "ShowCommand.h"

#include <QWidget>

void ShowCommand::Apply(QWidget* window, int command)
{
    if (!window)
        return;
    switch (command) {
    case ShowMaximized:
        window->showMaximized();
        break;
    case ShowMinimized:
    case Minimize:
    case ShowMinNoActive:
    case ForceMinimize:
        window->showMinimized();
        break;
    case ShowNormal:
    case Restore:
        window->showNormal();
        break;
    case ShowNoActivate:
    case Show:
    case ShowNA:
    case ShowDefault:
        window->show();
        break;
    default:
        break;
    }
}
