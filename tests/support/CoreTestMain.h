// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTest>

// A test main without widgets, for the engines: settings and data go to the test locations.
#define KESTRIN_CORE_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        QCoreApplication app(argc, argv);                                                          \
        QCoreApplication::setApplicationName(QStringLiteral("KestrinNewsReaderTests"));            \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
