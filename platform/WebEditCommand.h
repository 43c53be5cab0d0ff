// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/EditCommand.h"

// The edit commands for a web page: the page of the web view that holds the focus.
class WebEditCommand
{
public:
    // An EditCommand handler; false when the focus is in no web view.
    static bool Apply(QWidget* focus, EditCommand::Edit edit);
};
