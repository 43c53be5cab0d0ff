// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CommandMap.h"

// An object that takes part in command routing (views, document, frame, application).
class CommandTarget
{
public:
    virtual ~CommandTarget() = default;

    // True when this target, or one it routes to, handled the command.
    virtual bool OnCmdMsg(int id) { return m_commandMap.dispatch(id); }
    virtual bool OnUpdateCmdMsg(CommandUi& ui) { return m_commandMap.dispatchUpdate(ui); }

protected:
    CommandMap m_commandMap;
};
