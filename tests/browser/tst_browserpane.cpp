// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "frame/CMainFrame.h"
#include "platform/ExternalBrowser.h"
#include "platform/NoticePage.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/BrowserSteps.h"
#include "support/LocalHttpServer.h"
#include "support/MessageCapture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QWebEnginePage>

#include <algorithm>
#include <csignal>

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");
constexpr int kLoadTimeout = 20000;

QString noticeText(CKestrinNewsReaderView* browser)
{
    if (!browser->isShowingNotice())
        return {};
    return BrowserSteps::RunScript(browser->noticePage(),
                                   QStringLiteral("document.body ? document.body.innerText : ''"))
        .toString();
}

// Follows a button of the notice on show, as a click would; false when there is none.
bool clickNotice(CKestrinNewsReaderView* browser, const char* action)
{
    return BrowserSteps::RunScript(
               browser->noticePage(),
               QStringLiteral("(function() { const a = document.querySelector('a[href=\"%1\"]');"
                              " if (a) a.click(); return !!a; })()")
                   .arg(QLatin1String(action)))
        .toBool();
}

// Our page loaded anew; a click on it is refused as a navigation, reported as a failed load.
bool noticeLoaded(const QSignalSpy& noticeLoads)
{
    return std::any_of(noticeLoads.cbegin(), noticeLoads.cend(),
                       [](const QList<QVariant>& load) { return load.value(0).toBool(); });
}

qreal pageZoom(CKestrinNewsReaderView* browser)
{
    return BrowserSteps::RunScript(browser->page(), QStringLiteral("window.devicePixelRatio"))
        .toDouble();
}
} // namespace

// The pane when things go wrong, and the keys and commands that act on it.
class BrowserPaneTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { ExternalBrowser::SetLauncher({}); }
    void unreachableSiteGetsOurPageAndTryAgainLoadsTheRealAddress();
    void aFailedFavoriteKeepsItsTrimmedNameWhenComingBackToIt();
    void notFoundWithoutABodyGetsOurPageWithABodyTheSites();
    void openInYourBrowserHandsOverTheAddressOnShow();
    void zoomKeysActOnlyInThePaneAndComeBackPerSite();
    void f5ReloadsThePage();
    void killedRendererShowsRecoveryAndReloadBringsThePageBack();
};

void BrowserPaneTest::unreachableSiteGetsOurPageAndTryAgainLoadsTheRealAddress()
{
    LocalHttpServer good;
    good.setPage(QStringLiteral("/"), QStringLiteral("Good Paper Front"));
    const quint16 closedPort = LocalHttpServer::UnusedPort();
    const QString closedUrl = QStringLiteral("http://127.0.0.1:%1/front").arg(closedPort);
    AppFixture::Options options;
    options.withFavorites = false;
    AppFixture fixture(options);
    QVERIFY(BrowserSteps::WriteFavorites(
        fixture, {{QStringLiteral("Closed Gazette"), closedUrl},
                  {QStringLiteral("Good Paper"), good.url(QStringLiteral("/"))}}));
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    CKestrinNewsReaderView* browser = fixture.browser();

    QVERIFY(BrowserSteps::SelectFavorite(fixture, 1));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Good Paper Front") + kSuffix,
                              kLoadTimeout);
    CaptionLog log(frame);
    QVERIFY(BrowserSteps::SelectFavorite(fixture, 0));
    QTRY_VERIFY_WITH_TIMEOUT(browser->isShowingNotice(), kLoadTimeout);
    QCOMPARE(frame->windowTitle(), QStringLiteral("Closed Gazette could not be opened") + kSuffix);
    // The engine's error page names the bare host; that never reaches the caption.
    QCOMPARE(log.captions(),
             (QStringList{QStringLiteral("Good Paper Front") + kSuffix,
                          QStringLiteral("Closed Gazette") + kSuffix,
                          QStringLiteral("Closed Gazette could not be opened") + kSuffix}));
    QTRY_VERIFY_WITH_TIMEOUT(noticeText(browser).contains(QStringLiteral("refused")), kLoadTimeout);
    const QString text = noticeText(browser);
    QVERIFY(text.contains(QStringLiteral("Closed Gazette")));
    QVERIFY(text.contains(closedUrl));
    QCOMPARE(browser->url(), QUrl(closedUrl));

    // Back leaves our page for the page before; Forward tries the failed address again.
    browser->GoBack();
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Good Paper Front") + kSuffix,
                              kLoadTimeout);
    QVERIFY(!browser->isShowingNotice());
    // Until the notice's new page has loaded, the old one answers, and a click on it is lost.
    QSignalSpy noticeLoads(browser->noticePage(), &QWebEnginePage::loadFinished);
    browser->GoForward();
    QTRY_VERIFY_WITH_TIMEOUT(noticeLoaded(noticeLoads), kLoadTimeout);
    QVERIFY(noticeText(browser).contains(QStringLiteral("Try Again")));

    // Still down: trying again keeps our page, with its caption.
    QSignalSpy finished(browser, &HtmlView::loadFinished);
    noticeLoads.clear();
    QVERIFY(clickNotice(browser, "try-again"));
    QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kLoadTimeout);
    QVERIFY(browser->isShowingNotice());
    QCOMPARE(frame->windowTitle(), QStringLiteral("Closed Gazette could not be opened") + kSuffix);
    QTRY_VERIFY_WITH_TIMEOUT(noticeLoaded(noticeLoads), kLoadTimeout);
    QVERIFY(noticeText(browser).contains(QStringLiteral("Try Again")));

    // The site comes back: Try Again loads the real address, not our page again.
    LocalHttpServer revived(closedPort);
    QVERIFY(revived.isListening());
    revived.setPage(QStringLiteral("/front"), QStringLiteral("Gazette Front Page"));
    QVERIFY(clickNotice(browser, "try-again"));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Gazette Front Page") + kSuffix,
                              kLoadTimeout);
    QVERIFY(!browser->isShowingNotice());
    QCOMPARE(browser->url(), QUrl(closedUrl));
    QCOMPARE(revived.requests(QStringLiteral("/front")), 1);
}

void BrowserPaneTest::aFailedFavoriteKeepsItsTrimmedNameWhenComingBackToIt()
{
    LocalHttpServer good;
    good.setPage(QStringLiteral("/"), QStringLiteral("Good Paper Front"));
    const QString closedUrl =
        QStringLiteral("http://127.0.0.1:%1/").arg(LocalHttpServer::UnusedPort());
    AppFixture::Options options;
    options.withFavorites = false;
    AppFixture fixture(options);
    // Stored with a blank at the end, as some names are.
    QVERIFY(BrowserSteps::WriteFavorites(
        fixture, {{QStringLiteral("Closed Gazette "), closedUrl},
                  {QStringLiteral("Good Paper"), good.url(QStringLiteral("/"))}}));
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    CKestrinNewsReaderView* browser = fixture.browser();
    const QString failedCaption = QStringLiteral("Closed Gazette could not be opened") + kSuffix;

    // Used alone, the name is shown as stored; in a sentence, without the blank.
    QVERIFY(BrowserSteps::SelectFavorite(fixture, 0));
    QCOMPARE(frame->windowTitle(), QStringLiteral("Closed Gazette ") + kSuffix);
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), failedCaption, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(noticeText(browser).contains(QStringLiteral("Closed Gazette could")),
                             kLoadTimeout);

    // Back to it from another paper: still the name the user knows, not the address.
    QVERIFY(BrowserSteps::SelectFavorite(fixture, 1));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Good Paper Front") + kSuffix,
                              kLoadTimeout);
    browser->GoBack();
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), failedCaption, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(noticeText(browser).contains(QStringLiteral("Closed Gazette could")),
                             kLoadTimeout);
}

void BrowserPaneTest::notFoundWithoutABodyGetsOurPageWithABodyTheSites()
{
    LocalHttpServer server;
    server.setReply(QStringLiteral("/gone"), {404, QByteArray()});
    server.setReply(QStringLiteral("/missing"),
                    {404, "<html><head><title>Our Own Not Found</title></head>"
                          "<body>Try the front page.</body></html>"});
    AppFixture::Options options;
    options.withFavorites = false;
    AppFixture fixture(options);
    QVERIFY(BrowserSteps::WriteFavorites(
        fixture, {{QStringLiteral("Vanished Times"), server.url(QStringLiteral("/gone"))},
                  {QStringLiteral("Wandering Post"), server.url(QStringLiteral("/missing"))}}));
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    CKestrinNewsReaderView* browser = fixture.browser();
    // What else is known about an address, such as the last check of the catalog's links.
    QList<QUrl> asked;
    browser->SetErrorNoteProvider([&asked](const QUrl& address) {
        asked.append(address);
        return QStringLiteral("Last checked <today>: not found.");
    });

    QVERIFY(BrowserSteps::SelectFavorite(fixture, 0));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(),
                              QStringLiteral("Vanished Times could not be opened") + kSuffix,
                              kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(noticeText(browser).contains(QStringLiteral("404")), kLoadTimeout);
    QVERIFY(noticeText(browser).contains(QStringLiteral("Vanished Times")));
    QVERIFY(noticeText(browser).contains(QStringLiteral("Last checked <today>: not found.")));
    QCOMPARE(asked, QList<QUrl>{QUrl(server.url(QStringLiteral("/gone")))});

    // A site's own "not found" page is a page: it shows, with its title.
    QVERIFY(BrowserSteps::SelectFavorite(fixture, 1));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Our Own Not Found") + kSuffix,
                              kLoadTimeout);
    QVERIFY(!browser->isShowingNotice());
}

void BrowserPaneTest::openInYourBrowserHandsOverTheAddressOnShow()
{
    MessageCapture messages;
    QList<QUrl> opened;
    ExternalBrowser::SetLauncher([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    LocalHttpServer server;
    server.setPage(QStringLiteral("/story?id=7&lang=en"), QStringLiteral("A Story"));
    const QString closedUrl =
        QStringLiteral("http://127.0.0.1:%1/paywalled").arg(LocalHttpServer::UnusedPort());
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    CKestrinNewsReaderView* browser = fixture.browser();

    // Nothing on show: nothing to hand over, and the user is told so.
    frame->SendCommand(ID_BROWSE_OPEN_EXTERNAL);
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(opened.isEmpty());

    const QString storyUrl = server.url(QStringLiteral("/story?id=7&lang=en"));
    browser->NavigateTo(storyUrl);
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("A Story") + kSuffix,
                              kLoadTimeout);
    frame->SendCommand(ID_BROWSE_OPEN_EXTERNAL);
    QCOMPARE(opened, QList<QUrl>{QUrl(storyUrl)});

    // From our page for a failed site, the button hands over the address that failed.
    browser->NavigateTo(closedUrl);
    QTRY_VERIFY_WITH_TIMEOUT(noticeText(browser).contains(QStringLiteral("Open in Your Browser")),
                             kLoadTimeout);
    QVERIFY(clickNotice(browser, "open-in-your-browser"));
    QTRY_COMPARE(opened.size(), 2);
    QCOMPARE(opened.last(), QUrl(closedUrl));
    QCOMPARE(messages.texts().size(), 1);
}

void BrowserPaneTest::zoomKeysActOnlyInThePaneAndComeBackPerSite()
{
    LocalHttpServer server;
    server.setPage(QStringLiteral("/"), QStringLiteral("Zoomed Paper"), QStringLiteral("Text"));
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    CKestrinNewsReaderView* browser = fixture.browser();
    browser->NavigateTo(server.url(QStringLiteral("/")));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Zoomed Paper") + kSuffix,
                              kLoadTimeout);

    // In the tree the keys are not the pane's.
    QVERIFY(BrowserSteps::FocusIn(fixture, fixture.tree()));
    QTest::keyClick(fixture.tree(), Qt::Key_Equal, Qt::ControlModifier);
    QCOMPARE(browser->zoomFactor(), 1.0);

    QVERIFY(BrowserSteps::FocusIn(fixture, browser));
    QWidget* pane = QApplication::focusWidget();
    QTest::keyClick(pane, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(browser->zoomFactor(), 1.25);
    QTRY_COMPARE_WITH_TIMEOUT(pageZoom(browser), 1.25, kLoadTimeout);
    QTest::keyClick(pane, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(browser->zoomFactor(), 1.0);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(pane, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(browser->zoomFactor(), 0.75);

    // After a restart the site comes back at its zoom; another site keeps its own.
    QVERIFY(fixture.restart());
    browser = fixture.browser();
    browser->NavigateTo(TestFiles::PageUrl("titled.html"));
    QTRY_COMPARE_WITH_TIMEOUT(fixture.frame()->windowTitle(),
                              QStringLiteral("Local Test Page") + kSuffix, kLoadTimeout);
    QCOMPARE(browser->zoomFactor(), 1.0);
    browser->NavigateTo(server.url(QStringLiteral("/")));
    QTRY_COMPARE_WITH_TIMEOUT(fixture.frame()->windowTitle(),
                              QStringLiteral("Zoomed Paper") + kSuffix, kLoadTimeout);
    QTRY_COMPARE(browser->zoomFactor(), 0.75);
    QTRY_COMPARE_WITH_TIMEOUT(pageZoom(browser), 0.75, kLoadTimeout);
}

void BrowserPaneTest::f5ReloadsThePage()
{
    LocalHttpServer server;
    server.setPage(QStringLiteral("/"), QStringLiteral("Edition {count}"));
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    fixture.browser()->NavigateTo(server.url(QStringLiteral("/")));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Edition 1") + kSuffix,
                              kLoadTimeout);
    // Wherever the focus is in the window: here in the tree.
    QVERIFY(BrowserSteps::FocusIn(fixture, fixture.tree()));
    QTest::keyClick(fixture.tree(), Qt::Key_F5);
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Edition 2") + kSuffix,
                              kLoadTimeout);
    QCOMPARE(server.requests(QStringLiteral("/")), 2);
}

void BrowserPaneTest::killedRendererShowsRecoveryAndReloadBringsThePageBack()
{
    LocalHttpServer server;
    server.setPage(QStringLiteral("/"), QStringLiteral("Sturdy Daily"));
    AppFixture::Options options;
    options.withFavorites = false;
    AppFixture fixture(options);
    QVERIFY(BrowserSteps::WriteFavorites(
        fixture, {{QStringLiteral("Sturdy Daily Online"), server.url(QStringLiteral("/"))}}));
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    CKestrinNewsReaderView* browser = fixture.browser();
    QVERIFY(BrowserSteps::SelectFavorite(fixture, 0));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Sturdy Daily") + kSuffix,
                              kLoadTimeout);

    const qint64 pid = browser->page()->renderProcessPid();
    QVERIFY(pid > 0);
    QCOMPARE(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
    QTRY_VERIFY_WITH_TIMEOUT(browser->isShowingNotice(), kLoadTimeout);
    QCOMPARE(frame->windowTitle(), QStringLiteral("Sturdy Daily Online stopped working") + kSuffix);
    QTRY_VERIFY_WITH_TIMEOUT(noticeText(browser).contains(QStringLiteral("Reload")), kLoadTimeout);

    // The rest of the program goes on working meanwhile.
    frame->SendCommand(ID_VIEW_STATUS_BAR);
    QVERIFY(frame->statusBarPane().isVisible());

    QVERIFY(clickNotice(browser, "try-again"));
    QTRY_VERIFY_WITH_TIMEOUT(!browser->isShowingNotice(), kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Sturdy Daily") + kSuffix,
                              kLoadTimeout);
    QVERIFY(browser->page()->renderProcessPid() != pid);
    // Two loads of the page; the headlines' search for the paper's feed may ask for it once.
    const int requests = server.requests(QStringLiteral("/"));
    QVERIFY2(requests == 2 || requests == 3, qPrintable(QString::number(requests)));
}

KESTRIN_TEST_MAIN(BrowserPaneTest)
#include "tst_browserpane.moc"
