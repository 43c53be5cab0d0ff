// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "platform/ExternalBrowser.h"
#include "support/MessageCapture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDesktopServices>
#include <QProcess>
#include <QTemporaryDir>

namespace {
// Puts a stand-in for xdg-open, running the given shell lines, alone on PATH.
class FakeOpener
{
public:
    explicit FakeOpener(const QByteArray& body) : m_path(qgetenv("PATH"))
    {
        if (!body.isEmpty()) {
            QFile script(m_dir.filePath(QStringLiteral("xdg-open")));
            script.open(QIODevice::WriteOnly);
            script.write("#!/bin/sh\n" + body + "\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(m_dir.path()));
    }
    ~FakeOpener() { qputenv("PATH", m_path); }
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;

    [[nodiscard]] QString filePath(const char* name) const
    {
        return m_dir.filePath(QLatin1String(name));
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
};

bool openersRunning()
{
    return !qApp->findChildren<QProcess*>().isEmpty();
}

class UrlCatcher : public QObject
{
    Q_OBJECT

public slots:
    void open(const QUrl& url) { urls.append(url); }

public:
    QList<QUrl> urls;
};
} // namespace

// Handing addresses to the user's own browser, and saying so when there is none.
class ExternalBrowserTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ExternalBrowser::SetLauncher({}); }
    void theSystemsHandlerGetsTheExactAddressSilently();
    void xdgOpenGetsTheExactAddressSilently();
    void xdgOpenFindingNoBrowserShowsTheAddress();
    void noBrowserShowsTheAddress();
};

void ExternalBrowserTest::theSystemsHandlerGetsTheExactAddressSilently()
{
    // Without xdg-open, Qt's own way to the desktop is taken.
    FakeOpener none({});
    MessageCapture messages;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    const QUrl url(QStringLiteral("https://example.org/a%20b?q=1#top"));
    const bool opened = ExternalBrowser::Open(url);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QVERIFY(opened);
    QCOMPARE(catcher.urls, QList<QUrl>{url});
    QVERIFY(messages.texts().isEmpty());
}

void ExternalBrowserTest::xdgOpenGetsTheExactAddressSilently()
{
    FakeOpener opener("printf '%s' \"$1\" > \"${0%/*}/asked\"");
    MessageCapture messages;
    const QUrl url(QStringLiteral("https://example.org/a%20b?q=1&r=\"2\"#top"));
    QVERIFY(ExternalBrowser::Open(url));
    QTRY_VERIFY_WITH_TIMEOUT(!openersRunning(), 20000);
    QCOMPARE(TestFiles::Read(opener.filePath("asked")), url.toEncoded());
    QVERIFY(messages.texts().isEmpty());
}

void ExternalBrowserTest::xdgOpenFindingNoBrowserShowsTheAddress()
{
    // What xdg-open does on a machine with no browser: it starts, tries them all, gives up.
    FakeOpener opener("echo 'xdg-open: no method available' >&2; exit 3");
    MessageCapture messages;
    const QUrl url(QStringLiteral("https://news.example/front"));
    ExternalBrowser::Open(url);
    QTRY_COMPARE_WITH_TIMEOUT(messages.texts().size(), 1, 20000);
    QVERIFY(messages.texts().first().contains(url.toString()));
    QTRY_VERIFY_WITH_TIMEOUT(!openersRunning(), 20000);
    QCOMPARE(messages.texts().size(), 1);
}

void ExternalBrowserTest::noBrowserShowsTheAddress()
{
    // Mail, call and text message links name what could not be done, and for whom.
    const QList<std::pair<QUrl, QStringList>> cases{
        {QUrl(QStringLiteral("https://news.example/front")),
         {QStringLiteral("No web browser"), QStringLiteral("https://news.example/front")}},
        {QUrl(QStringLiteral("mailto:desk@news.example?subject=Tip")),
         {QStringLiteral("No e-mail program"), QStringLiteral("desk@news.example")}},
        {QUrl(QStringLiteral("tel:+1-555-0100")),
         {QStringLiteral("call this number"), QStringLiteral("+1-555-0100")}},
        {QUrl(QStringLiteral("sms:+1-555-0100")),
         {QStringLiteral("text message"), QStringLiteral("+1-555-0100")}},
    };
    for (const auto& [url, phrases] : cases) {
        MessageCapture messages;
        QList<QUrl> asked;
        ExternalBrowser::SetLauncher([&](const QUrl& given) {
            asked.append(given);
            return false;
        });
        QVERIFY(!ExternalBrowser::Open(url));
        QCOMPARE(asked, QList<QUrl>{url});
        QCOMPARE(messages.texts().size(), 1);
        for (const QString& phrase : phrases)
            QVERIFY2(messages.texts().first().contains(phrase),
                     qPrintable(messages.texts().first()));
    }
}

KESTRIN_TEST_MAIN(ExternalBrowserTest)
#include "tst_externalbrowser.moc"
