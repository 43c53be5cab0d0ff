#include "app/CKestrinNewsReaderDoc.h"
#include "browser/CKestrinNewsReaderView.h"
#include "frame/CMainFrame.h"
#include "platform/BrowserPopupWindow.h"
#include "platform/SilentWebPage.h"
#include "support/AppFixture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QWebEnginePage>

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");

QList<BrowserPopupWindow*> popups()
{
    QList<BrowserPopupWindow*> result;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* popup = qobject_cast<BrowserPopupWindow*>(widget); popup && popup->isVisible())
            result.append(popup);
    }
    return result;
}
} // namespace

class BrowserViewTest : public QObject
{
    Q_OBJECT

private slots:
    void homePageModesOtherThanDefaultAndCustomLoadNothing_data();
    void homePageModesOtherThanDefaultAndCustomLoadNothing();
    void customModeWithoutAddressHandsAnEmptyAddressOver();
    void customModeOpensTheStoredPage();
    void captionFollowsThePageTitle();
    void silentModeSwallowsScriptDialogs();
    void newWindowOpensOutsideTheFrame();
};

void BrowserViewTest::homePageModesOtherThanDefaultAndCustomLoadNothing_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("blank") << 1;
    QTest::newRow("zero") << 0;
    QTest::newRow("four") << 4;
}

void BrowserViewTest::homePageModesOtherThanDefaultAndCustomLoadNothing()
{
    QFETCH(int, mode);
    AppFixture fixture;
    fixture.setInt("IndexPage", mode);
    fixture.setString("IndexPageURL", TestFiles::PageUrl("titled.html"));
    QVERIFY(fixture.start());
    CKestrinNewsReaderView* browser = fixture.browser();
    QSignalSpy navigations(browser, &HtmlView::navigateRequested);
    QTRY_VERIFY(browser->hasEngine());
    QTest::qWait(300);
    QCOMPARE(navigations.size(), 0);
    QVERIFY(browser->url().isEmpty());
    QCOMPARE(fixture.frame()->windowTitle(), QStringLiteral("Kestrin News Reader"));
}

void BrowserViewTest::customModeWithoutAddressHandsAnEmptyAddressOver()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 3);
    // The spy has to exist before the initial update runs, so run it once more.
    QVERIFY(fixture.start());
    CKestrinNewsReaderView* browser = fixture.browser();
    QSignalSpy navigations(browser, &HtmlView::navigateRequested);
    browser->OnInitialUpdate();
    QCOMPARE(navigations.size(), 1);
    QCOMPARE(navigations.first().first().toString(), QString());
}

void BrowserViewTest::customModeOpensTheStoredPage()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 3);
    fixture.setString("IndexPageURL", TestFiles::PageUrl("titled.html"));
    QVERIFY(fixture.start());
    QTRY_COMPARE_WITH_TIMEOUT(fixture.frame()->windowTitle(),
                              QStringLiteral("Local Test Page") + kSuffix, 15000);
    QCOMPARE(fixture.browser()->url(), QUrl(TestFiles::PageUrl("titled.html")));
}

void BrowserViewTest::captionFollowsThePageTitle()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CKestrinNewsReaderView* browser = fixture.browser();
    CMainFrame* frame = fixture.frame();

    browser->NavigateTo(TestFiles::PageUrl("titled.html"));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Local Test Page") + kSuffix,
                              15000);

    // An untitled page: the engine's stand-in address never reaches the caption.
    browser->NavigateTo(TestFiles::PageUrl("untitled.html"));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), kSuffix, 15000);
    QVERIFY(frame->windowTitle().startsWith(QStringLiteral(" - ")));
}

void BrowserViewTest::silentModeSwallowsScriptDialogs()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CKestrinNewsReaderView* browser = fixture.browser();
    browser->NavigateTo(TestFiles::PageUrl("alert.html"));
    // The script ran past alert, confirm and prompt without anyone answering them.
    QTRY_COMPARE_WITH_TIMEOUT(fixture.frame()->windowTitle(),
                              QStringLiteral("Alert Page Done") + kSuffix, 15000);
    auto* page = qobject_cast<SilentWebPage*>(browser->page());
    QVERIFY(page && page->isSilent());
    QCOMPARE(page->suppressedDialogs(), 3);
    QVERIFY(!QApplication::activeModalWidget());
}

void BrowserViewTest::newWindowOpensOutsideTheFrame()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CKestrinNewsReaderView* browser = fixture.browser();
    browser->NavigateTo(TestFiles::PageUrl("popup.html"));
    QTRY_VERIFY_WITH_TIMEOUT(popups().size() == 1, 15000);
    BrowserPopupWindow* popup = popups().first();
    QVERIFY(popup->isWindow());
    QVERIFY(!fixture.frame()->isAncestorOf(popup));
    QTRY_COMPARE_WITH_TIMEOUT(popup->page()->title(), QStringLiteral("Second Test Page"), 15000);
    QCOMPARE(browser->url(), QUrl(TestFiles::PageUrl("popup.html")));
    QTRY_COMPARE(fixture.frame()->windowTitle(), QStringLiteral("Popup Page") + kSuffix);
    popup->close();
}

KESTRIN_TEST_MAIN(BrowserViewTest)
#include "tst_browserview.moc"
