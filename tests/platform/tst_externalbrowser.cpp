#include "platform/ExternalBrowser.h"
#include "support/MessageCapture.h"
#include "support/TestMain.h"

#include <QDesktopServices>

namespace {
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
    void noBrowserShowsTheAddress();
};

void ExternalBrowserTest::theSystemsHandlerGetsTheExactAddressSilently()
{
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

void ExternalBrowserTest::noBrowserShowsTheAddress()
{
    MessageCapture messages;
    QList<QUrl> asked;
    ExternalBrowser::SetLauncher([&](const QUrl& url) {
        asked.append(url);
        return false;
    });
    const QUrl url(QStringLiteral("https://news.example/front"));
    QVERIFY(!ExternalBrowser::Open(url));
    QCOMPARE(asked, QList<QUrl>{url});
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(messages.texts().first().contains(url.toString()));
}

KESTRIN_TEST_MAIN(ExternalBrowserTest)
#include "tst_externalbrowser.moc"
