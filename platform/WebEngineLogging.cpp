// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "WebEngineLogging.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QtGlobal>

namespace {
const char* const kFlagsVariable = "QTWEBENGINE_CHROMIUM_FLAGS";
} // namespace

void WebEngineLogging::QuietenUnlessAsked()
{
    QByteArray flags = qgetenv(kFlagsVariable);
    if (!flags.contains("--log-level")) {
        if (!flags.isEmpty())
            flags += ' ';
        qputenv(kFlagsVariable, flags + "--log-level=3");
    }
    // A rule set in QT_LOGGING_RULES still wins over this one.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}
