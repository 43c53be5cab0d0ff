// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CKestrinNewsReaderDoc.h"
#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "frame/CMainFrame.h"
#include "platform/BrowserPopupWindow.h"
#include "platform/PrintDialog.h"
#include "platform/SilentWebPage.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineProfile>

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
    void selectingAFavoriteShowsItsNameThenThePageTitle();
    void printingThePanePrintsThePage();
    void engineKeepsItsDataBetweenRuns();
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
    // A script's pop-up of 300 x 200, asked for far off the screen.
    browser->NavigateTo(TestFiles::PageUrl("popup.html"));
    QTRY_VERIFY_WITH_TIMEOUT(popups().size() == 1, 15000);
    BrowserPopupWindow* popup = popups().first();
    QVERIFY(popup->isWindow());
    QVERIFY(!fixture.frame()->isAncestorOf(popup));
    QTRY_COMPARE_WITH_TIMEOUT(popup->windowTitle(), QStringLiteral("Second Test Page") + kSuffix,
                              15000);
    QCOMPARE(popup->size(), QSize(300, 200));
    QVERIFY(popup->screen()->availableGeometry().contains(popup->geometry()));
    QCOMPARE(browser->url(), QUrl(TestFiles::PageUrl("popup.html")));
    QTRY_COMPARE(fixture.frame()->windowTitle(), QStringLiteral("Popup Page") + kSuffix);

    // Esc closes it, and so does Ctrl+W.
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
        if (popups().isEmpty()) {
            browser->Refresh();
            QTRY_VERIFY_WITH_TIMEOUT(popups().size() == 1, 15000);
        }
        QPointer<BrowserPopupWindow> shown = popups().first();
        shown->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(shown));
        QTest::keyClick(shown, key.key(), key.keyboardModifiers());
        QTRY_VERIFY(!shown);
    }
}

void BrowserViewTest::selectingAFavoriteShowsItsNameThenThePageTitle()
{
    AppFixture::Options options;
    options.withFavorites = false;
    AppFixture fixture(options);
    QVERIFY(TestFiles::Write(QDir(fixture.workDir()).filePath(QStringLiteral("Favorites.xml")),
                             TestFiles::FavoritesXml({{QStringLiteral("My Local Paper"),
                                                       TestFiles::PageUrl("titled.html")}})));
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    QTRY_VERIFY(fixture.browser()->hasEngine());
    QStringList captions;
    connect(frame, &QWidget::windowTitleChanged, this,
            [&captions](const QString& title) { captions.append(title); });

    QTreeWidgetItem* favorites = fixture.tree()->topLevelItem(0)->child(0);
    QCOMPARE(favorites->childCount(), 1);
    fixture.tree()->setCurrentItem(favorites->child(0));
    QCOMPARE(frame->windowTitle(), QStringLiteral("My Local Paper") + kSuffix);
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Local Test Page") + kSuffix,
                              15000);
    QCOMPARE(captions.first(), QStringLiteral("My Local Paper") + kSuffix);
}

void BrowserViewTest::printingThePanePrintsThePage()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 3);
    fixture.setString("IndexPageURL", TestFiles::PageUrl("titled.html"));
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Local Test Page") + kSuffix,
                              15000);
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("page.pdf"));
    const auto previous = PrintDialog::SetHook([&output](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        return true;
    });
    QSignalSpy finished(fixture.browser(), &HtmlView::printFinished);
    frame->SetActiveView(fixture.browser());
    frame->SendCommand(ID_FILE_PRINT);
    PrintDialog::SetHook(previous);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 15000);
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(QFileInfo(output).size() > 1000);
}

void BrowserViewTest::engineKeepsItsDataBetweenRuns()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    fixture.browser()->EnsureEngine();
    QWebEngineProfile* profile = fixture.browser()->page()->profile();
    QVERIFY(!profile->isOffTheRecord());
    QCOMPARE(profile->persistentCookiesPolicy(), QWebEngineProfile::AllowPersistentCookies);
    QVERIFY(!profile->persistentStoragePath().isEmpty());
    QCOMPARE(profile->httpCacheType(), QWebEngineProfile::DiskHttpCache);
}

KESTRIN_TEST_MAIN(BrowserViewTest)
#include "tst_browserview.moc"
