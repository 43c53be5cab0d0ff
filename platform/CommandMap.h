// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "CommandUi.h"

#include <QHash>

#include <functional>

// Binds command ids to member handlers, as a class's message map does.
class CommandMap
{
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CommandUi&)>;

    void on(int id, Handler handler) { m_handlers.insert(id, std::move(handler)); }
    void onUpdate(int id, UpdateHandler handler) { m_updates.insert(id, std::move(handler)); }

    // True when a handler took the command.
    bool dispatch(int id) const
    {
        const auto it = m_handlers.constFind(id);
        if (it == m_handlers.constEnd())
            return false;
        (*it)();
        return true;
    }

    bool dispatchUpdate(CommandUi& ui) const
    {
        const auto it = m_updates.constFind(ui.id());
        if (it == m_updates.constEnd())
            return false;
        (*it)(ui);
        return true;
    }

    [[nodiscard]] bool handles(int id) const { return m_handlers.contains(id); }

private:
    QHash<int, Handler> m_handlers;
    QHash<int, UpdateHandler> m_updates;
};
