// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "MessageCapture.h"

MessageCapture::MessageCapture()
{
    m_previous = MessageBox::SetHook([this](const MessageBox::Request& request) {
        m_requests.append(request);
        if ((request.type & 0xF) == MB_YESNO)
            return m_answers.isEmpty() ? int(IDYES) : m_answers.takeFirst();
        return int(IDOK);
    });
}

MessageCapture::~MessageCapture()
{
    MessageBox::SetHook(std::move(m_previous));
}

QStringList MessageCapture::texts() const
{
    QStringList result;
    for (const MessageBox::Request& request : m_requests)
        result.append(request.text);
    return result;
}
