// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "app/ProductAddresses.h"
#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "favorites/ui/CEditMyFavoriteDlg.h"
#include "frame/CMainFrame.h"
#include "platform/ExternalBrowser.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/MessageCapture.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QAction>
#include <QMenuBar>
#include <QSignalSpy>

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");

QString helpTitle()
{
    return TestFiles::HtmlTitle(
        QDir(AppFixture::sourceDataDir()).filePath(QStringLiteral("readme.htm")));
}

QTreeWidgetItem* firstSiteOf(CLeftView* tree, const QString& nodeText, int index)
{
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == nodeText)
            return root->child(i)->child(index);
    }
    return nullptr;
}
} // namespace

class FrameCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_fixture.reset(); }

    void catalogModeRebuildsOnlyOnAChange();
    void homePageModesWriteOnlyOnAChange();
    void useCurrentKeepsTheFirstAddress();
    void goToFollowsTheMode();
    void homeIgnoresTheMode();
    void backAndForwardStopAtTheEndsOfTheHistory();
    void helpOpensFromAnAwkwardDirectory();
    void missingHelpShowsOurPageNamingTheFile();
    void productHomepageGoesToTheDesktopBrowser();
    void productHomepageWithoutABrowserShowsTheAddress();
    void modifyRunsTheEditorAndRebuildsNothing();

private:
    CMainFrame* start(int indexPage, const AppFixture::Options& options = {});
    std::unique_ptr<AppFixture> m_fixture;
};

CMainFrame* FrameCommandsTest::start(int indexPage, const AppFixture::Options& options)
{
    m_fixture = std::make_unique<AppFixture>(options);
    if (indexPage)
        m_fixture->setInt("IndexPage", indexPage);
    if (!m_fixture->start())
        return nullptr;
    return m_fixture->frame();
}

void FrameCommandsTest::catalogModeRebuildsOnlyOnAChange()
{
    CMainFrame* frame = start(1);
    QVERIFY(frame);
    QSignalSpy rebuilds(m_fixture->tree()->model(), &QAbstractItemModel::modelReset);
    QVERIFY(m_fixture->isChecked(ID_CATALOG_AREA));

    frame->SendCommand(ID_CATALOG_AREA);
    QCOMPARE(rebuilds.size(), 0);
    QVERIFY(!m_fixture->hasValue("CataView"));

    frame->SendCommand(ID_CATALOG_CONTENT);
    QCOMPARE(rebuilds.size(), 1);
    QCOMPARE(m_fixture->intValue("CataView"), 2);
    QVERIFY(m_fixture->isChecked(ID_CATALOG_CONTENT));
    QVERIFY(!m_fixture->isChecked(ID_CATALOG_AREA));
    QCOMPARE(m_fixture->tree()->topLevelItem(0)->child(1)->text(0),
             QStringLiteral("Daily newspapers"));

    frame->SendCommand(ID_CATALOG_CONTENT);
    QCOMPARE(rebuilds.size(), 1);
    frame->SendCommand(ID_CATALOG_AREA);
    QCOMPARE(rebuilds.size(), 2);
    QCOMPARE(m_fixture->intValue("CataView"), 1);
    QCOMPARE(m_fixture->tree()->topLevelItem(0)->child(1)->text(0), QStringLiteral("National"));
}

void FrameCommandsTest::homePageModesWriteOnlyOnAChange()
{
    CMainFrame* frame = start(0);
    QVERIFY(frame);
    frame->SendCommand(ID_HOMEPAGE_DEFAULT);
    QVERIFY(!m_fixture->hasValue("IndexPage"));
    QVERIFY(m_fixture->isChecked(ID_HOMEPAGE_DEFAULT));

    frame->SendCommand(ID_HOMEPAGE_BLANK);
    QCOMPARE(m_fixture->intValue("IndexPage"), 1);
    QVERIFY(m_fixture->isChecked(ID_HOMEPAGE_BLANK));
    QVERIFY(!m_fixture->isChecked(ID_HOMEPAGE_DEFAULT));
    QVERIFY(!m_fixture->hasValue("IndexPageURL"));
}

void FrameCommandsTest::useCurrentKeepsTheFirstAddress()
{
    CMainFrame* frame = start(1);
    QVERIFY(frame);
    CLeftView* tree = m_fixture->tree();
    QTreeWidgetItem* first = firstSiteOf(tree, QStringLiteral("National"), 0);
    QTreeWidgetItem* second = firstSiteOf(tree, QStringLiteral("World"), 0);
    const QString firstUrl = tree->urlAt(first->data(0, CLeftView::kIndexRole).toInt());
    const QString secondUrl = tree->urlAt(second->data(0, CLeftView::kIndexRole).toInt());

    tree->setCurrentItem(first);
    frame->SendCommand(ID_HOMEPAGE_CURRENT);
    QCOMPARE(m_fixture->intValue("IndexPage"), 3);
    QCOMPARE(m_fixture->stringValue("IndexPageURL"), firstUrl);
    QVERIFY(m_fixture->isChecked(ID_HOMEPAGE_CURRENT));

    tree->setCurrentItem(second);
    frame->SendCommand(ID_HOMEPAGE_CURRENT);
    QCOMPARE(m_fixture->stringValue("IndexPageURL"), firstUrl);

    frame->SendCommand(ID_HOMEPAGE_DEFAULT);
    QCOMPARE(m_fixture->stringValue("IndexPageURL"), firstUrl);
    frame->SendCommand(ID_HOMEPAGE_CURRENT);
    QCOMPARE(m_fixture->stringValue("IndexPageURL"), secondUrl);
}

void FrameCommandsTest::goToFollowsTheMode()
{
    CMainFrame* frame = start(1);
    QVERIFY(frame);
    QSignalSpy navigations(m_fixture->browser(), &HtmlView::navigateRequested);
    frame->SendCommand(ID_HOMEPAGE_GOTO);
    frame->SendCommand(ID_HOMEPAGE_DEFAULT);
    frame->SendCommand(ID_HOMEPAGE_GOTO);

    // Mode 3 reads the stored address at the moment of the command, even an empty one.
    frame->SendCommand(ID_HOMEPAGE_CURRENT);
    m_fixture->setString("IndexPageURL", TestFiles::PageUrl("second.html"));
    frame->SendCommand(ID_HOMEPAGE_GOTO);
    m_fixture->setString("IndexPageURL", QString());
    frame->SendCommand(ID_HOMEPAGE_GOTO);

    QStringList requested;
    for (const QList<QVariant>& call : navigations)
        requested.append(call.first().toString());
    QCOMPARE(requested, (QStringList{QStringLiteral("about:blank"), kDefaultHomePageUrl,
                                     TestFiles::PageUrl("second.html"), QString()}));
}

void FrameCommandsTest::homeIgnoresTheMode()
{
    CMainFrame* frame = start(1);
    QVERIFY(frame);
    frame->SendCommand(ID_HOMEPAGE_BLANK);
    QSignalSpy navigations(m_fixture->browser(), &HtmlView::navigateRequested);
    frame->SendCommand(ID_BROWSE_HOME);
    QCOMPARE(navigations.size(), 1);
    QCOMPARE(navigations.first().first().toString(), kDefaultHomePageUrl);
    QTRY_COMPARE_WITH_TIMEOUT(m_fixture->browser()->url(), QUrl(kDefaultHomePageUrl), 15000);
}

void FrameCommandsTest::backAndForwardStopAtTheEndsOfTheHistory()
{
    m_fixture = std::make_unique<AppFixture>();
    m_fixture->setInt("IndexPage", 3);
    m_fixture->setString("IndexPageURL", TestFiles::PageUrl("titled.html"));
    QVERIFY(m_fixture->start());
    CMainFrame* frame = m_fixture->frame();
    CKestrinNewsReaderView* browser = m_fixture->browser();
    const QString first = QStringLiteral("Local Test Page") + kSuffix;
    const QString second = QStringLiteral("Second Test Page") + kSuffix;
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), first, 15000);

    frame->SendCommand(ID_BROWSE_BACK);
    QTest::qWait(400);
    QCOMPARE(browser->url(), QUrl(TestFiles::PageUrl("titled.html")));
    QCOMPARE(frame->windowTitle(), first);

    browser->NavigateTo(TestFiles::PageUrl("second.html"));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), second, 15000);
    frame->SendCommand(ID_BROWSE_FORWORD);
    QTest::qWait(400);
    QCOMPARE(frame->windowTitle(), second);

    frame->SendCommand(ID_BROWSE_BACK);
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), first, 15000);
    frame->SendCommand(ID_BROWSE_FORWORD);
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), second, 15000);
    QCOMPARE(browser->url(), QUrl(TestFiles::PageUrl("second.html")));
}

void FrameCommandsTest::helpOpensFromAnAwkwardDirectory()
{
    AppFixture::Options options;
    options.workDirName = QStringLiteral("news reader #1 100%");
    CMainFrame* frame = start(1, options);
    QVERIFY(frame);
    QVERIFY(g_strAppDir.endsWith(QStringLiteral("news reader #1 100%")));
    frame->SendCommand(ID_HELP_CONTENT);
    const QString title = helpTitle();
    QVERIFY(!title.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), title + kSuffix, 15000);
    QCOMPARE(m_fixture->browser()->url().toLocalFile(),
             QDir(g_strAppDir).filePath(QStringLiteral("readme.htm")));
}

void FrameCommandsTest::missingHelpShowsOurPageNamingTheFile()
{
    AppFixture::Options options;
    options.withHelp = false;
    CMainFrame* frame = start(1, options);
    QVERIFY(frame);
    m_fixture->browser()->EnsureEngine();
    QSignalSpy loads(m_fixture->browser(), &HtmlView::loadFinished);
    frame->SendCommand(ID_HELP_CONTENT);
    QTRY_COMPARE_WITH_TIMEOUT(loads.size(), 1, 15000);
    QCOMPARE(loads.first().first().toBool(), false);
    QCOMPARE(m_fixture->browser()->url().toLocalFile(),
             QDir(g_strAppDir).filePath(QStringLiteral("readme.htm")));
    QVERIFY(m_fixture->browser()->isShowingNotice());
    QCOMPARE(frame->windowTitle(), QStringLiteral("readme.htm could not be opened") + kSuffix);
}

void FrameCommandsTest::productHomepageGoesToTheDesktopBrowser()
{
    CMainFrame* frame = start(1);
    QVERIFY(frame);
    MessageCapture messages;
    QList<QUrl> opened;
    ExternalBrowser::SetLauncher([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    QSignalSpy navigations(m_fixture->browser(), &HtmlView::navigateRequested);
    frame->SendCommand(ID_HELP_PRODUCT);
    ExternalBrowser::SetLauncher({});
    QCOMPARE(opened, QList<QUrl>{QUrl(kProductPageUrl)});
    QVERIFY(messages.texts().isEmpty());
    QCOMPARE(navigations.size(), 0);
    QVERIFY(m_fixture->browser()->url().isEmpty());
}

void FrameCommandsTest::productHomepageWithoutABrowserShowsTheAddress()
{
    CMainFrame* frame = start(1);
    QVERIFY(frame);
    MessageCapture messages;
    ExternalBrowser::SetLauncher([](const QUrl&) { return false; });
    frame->SendCommand(ID_HELP_PRODUCT);
    ExternalBrowser::SetLauncher({});
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(messages.texts().first().contains(kProductPageUrl));
}

void FrameCommandsTest::modifyRunsTheEditorAndRebuildsNothing()
{
    CMainFrame* frame = start(1);
    QVERIFY(frame);
    QSignalSpy rebuilds(m_fixture->tree()->model(), &QAbstractItemModel::modelReset);
    ModalDriver driver;
    bool shown = false;
    driver.next<CEditMyFavoriteDlg>([&](CEditMyFavoriteDlg* editor) {
        shown = true;
        QVERIFY(!editor->parentWidget());
        editor->reject();
    });
    frame->SendCommand(ID_FAVORITES_MODIFY);
    QVERIFY(shown);
    QCOMPARE(rebuilds.size(), 0);
}

KESTRIN_TEST_MAIN(FrameCommandsTest)
#include "tst_framecommands.moc"
