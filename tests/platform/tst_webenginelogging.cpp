// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "platform/WebEngineLogging.h"
#include "support/TestMain.h"

namespace {
const char* const kFlags = "QTWEBENGINE_CHROMIUM_FLAGS";
} // namespace

class WebEngineLoggingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void normalRunsKeepOnlyFatalEngineMessages();
    void developersOwnLevelWins();

private:
    QByteArray m_flags;
};

void WebEngineLoggingTest::init()
{
    m_flags = qgetenv(kFlags);
    qunsetenv(kFlags);
}

void WebEngineLoggingTest::cleanup()
{
    qputenv(kFlags, m_flags);
}

void WebEngineLoggingTest::normalRunsKeepOnlyFatalEngineMessages()
{
    WebEngineLogging::QuietenUnlessAsked();
    QCOMPARE(qgetenv(kFlags), QByteArray("--log-level=3"));

    // Flags already given stay, with the level added after them.
    qputenv(kFlags, "--disable-gpu --no-first-run");
    WebEngineLogging::QuietenUnlessAsked();
    QCOMPARE(qgetenv(kFlags), QByteArray("--disable-gpu --no-first-run --log-level=3"));
}

void WebEngineLoggingTest::developersOwnLevelWins()
{
    qputenv(kFlags, "--enable-logging=stderr --log-level=0");
    WebEngineLogging::QuietenUnlessAsked();
    QCOMPARE(qgetenv(kFlags), QByteArray("--enable-logging=stderr --log-level=0"));
}

KESTRIN_TEST_MAIN(WebEngineLoggingTest)
#include "tst_webenginelogging.moc"
