// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QStringList>

// Answers every message box while it lives and records what was shown.
class MessageCapture
{
public:
    // Yes/No boxes get the answers queued with answer(); IDYES once they run out.
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    void answer(int result) { m_answers.append(result); }
    [[nodiscard]] QStringList texts() const;
    [[nodiscard]] const QList<MessageBox::Request>& requests() const { return m_requests; }
    void clear() { m_requests.clear(); }

private:
    QList<MessageBox::Request> m_requests;
    QList<int> m_answers;
    MessageBox::Hook m_previous;
};
