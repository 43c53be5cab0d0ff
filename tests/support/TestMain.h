// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include "platform/WebEngineSandbox.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

// A test main that never touches the user's real data: settings, engine profile and
// caches all go to the test locations.
#define KESTRIN_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        WebEngineSandbox::ConfigureForCurrentUser();                                               \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                \
        QApplication app(argc, argv);                                                              \
        QCoreApplication::setApplicationName(QStringLiteral("KestrinNewsReaderTests"));            \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
