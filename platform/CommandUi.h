// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

// What an update handler may change on a menu entry before the menu shows.
class CommandUi
{
public:
    explicit CommandUi(int id) : m_id(id) {}

    [[nodiscard]] int id() const { return m_id; }
    void SetCheck(bool checked)
    {
        m_checked = checked;
        m_handled = true;
    }
    [[nodiscard]] bool checked() const { return m_checked; }
    [[nodiscard]] bool handled() const { return m_handled; }

private:
    int m_id;
    bool m_checked = false;
    bool m_handled = false;
};
