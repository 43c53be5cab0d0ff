// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "WebEngineSandbox.h"

#include <QByteArray>
#include <QtGlobal>

#include <unistd.h>

void WebEngineSandbox::ConfigureForCurrentUser()
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
}
