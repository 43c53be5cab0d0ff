// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/CKestrinNewsReaderApp.h"
#include "app/CKestrinNewsReaderDoc.h"
#include "app/Globals.h"
#include "app/ProductAddresses.h"
#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "frame/CMainFrame.h"
#include "platform/FileDialog.h"
#include "platform/FrameWindow.h"
#include "platform/SkinEngine.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/MessageCapture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QMenuBar>
#include <QSignalSpy>

#include <sys/stat.h>

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");
} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartUsesDefaultsAndShowsTheStartPage();
    void titleIsTheDisplayNameUntilSomethingChangesIt();
    void maximizedStateIsRestored();
    void unknownSkinStyleStartsWithoutSkin();
    void unreadableFileOnCommandLineEndsStartUp();
    void fileOnCommandLineIsOpenedAndRemembered();
    void newDocumentRerunsBothInitialUpdates();
    void openAndSaveGoThroughTheFileChooser();
    void leftoversOfACrashGoOnceTheWindowIsUp();
    void pipeForFavoritesIsNamedAndTheWindowComesUp();
};

void StartupTest::firstStartUsesDefaultsAndShowsTheStartPage()
{
    AppFixture fixture;
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    QVERIFY(frame->isVisible());
    QVERIFY(!frame->isMaximized());
    QTRY_COMPARE(fixture.intValue("WindowSize"), 5);
    QVERIFY(SkinEngine::CurrentSkinPath().endsWith(QStringLiteral("Skin/Minimized.ssk")));

    // Mode 1 and mode 2 marks, Mini skin mark.
    QVERIFY(frame->menuAction(ID_CATALOG_AREA));
    fixture.updateMenus();
    QVERIFY(frame->menuAction(ID_CATALOG_AREA)->isChecked());
    QVERIFY(!frame->menuAction(ID_CATALOG_CONTENT)->isChecked());
    QVERIFY(frame->menuAction(ID_HOMEPAGE_DEFAULT)->isChecked());
    QVERIFY(frame->menuAction(ID_SKIN_MINI)->isChecked());
    QVERIFY(!fixture.hasValue("IndexPageURL"));

    const QString expected = TestFiles::StartPageTitle();
    QVERIFY(!expected.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), expected + kSuffix, 15000);
    QCOMPARE(fixture.browser()->url(), QUrl(kDefaultHomePageUrl));
    QCOMPARE(g_strAppDir, QDir::currentPath());
    QCOMPARE(g_strCurrentURL, kDefaultHomePageUrl);
}

void StartupTest::titleIsTheDisplayNameUntilSomethingChangesIt()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    QCOMPARE(fixture.frame()->windowTitle(), QStringLiteral("Kestrin News Reader"));
    QTest::qWait(300);
    QCOMPARE(fixture.frame()->windowTitle(), QStringLiteral("Kestrin News Reader"));
}

void StartupTest::maximizedStateIsRestored()
{
    AppFixture fixture;
    fixture.setInt("WindowSize", 3);
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    QTRY_VERIFY(fixture.frame()->isMaximized());
    QTRY_COMPARE(fixture.intValue("WindowSize"), 3);

    fixture.frame()->showNormal();
    QTRY_COMPARE(fixture.intValue("WindowSize"), 5);
    fixture.frame()->showMaximized();
    QTRY_COMPARE(fixture.intValue("WindowSize"), 3);
    fixture.frame()->showMinimized();
    QTRY_COMPARE(fixture.intValue("WindowSize"), 5);
}

void StartupTest::unknownSkinStyleStartsWithoutSkin()
{
    for (const int style : {0, 5}) {
        AppFixture fixture;
        fixture.setInt("SkinStyle", style);
        fixture.setInt("IndexPage", 1);
        QVERIFY(fixture.start());
        QVERIFY(SkinEngine::CurrentStyleSheet().isEmpty());
        QVERIFY(qApp->styleSheet().isEmpty());
        CMainFrame* frame = fixture.frame();
        fixture.updateMenus();
        for (const int id : {ID_SKIN_XP, ID_SKIN_MINI, ID_SKIN_SOFT, ID_SKIN_NIGHT})
            QVERIFY(!frame->menuAction(id)->isChecked());
        // The program is usable: the tree is there and a skin can still be chosen.
        QVERIFY(fixture.tree()->topLevelItemCount() == 1);
        frame->SendCommand(ID_SKIN_SOFT);
        QVERIFY(SkinEngine::CurrentSkinPath().endsWith(QStringLiteral("SoftCrystal.ssk")));
    }
}

void StartupTest::unreadableFileOnCommandLineEndsStartUp()
{
    MessageCapture messages;
    AppFixture::Options options;
    options.arguments = {QStringLiteral("/nonexistent/dir/file.kne")};
    AppFixture fixture(options);
    QVERIFY(!fixture.start());
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(messages.texts().first().contains(QStringLiteral("/nonexistent/dir/file.kne")));
    QVERIFY(!fixture.frame());
}

void StartupTest::fileOnCommandLineIsOpenedAndRemembered()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("my paper.kne"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("anything at all");
    }
    AppFixture::Options options;
    options.arguments = {path};
    AppFixture fixture(options);
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    QCOMPARE(fixture.document()->GetPathName(), path);
    QCOMPARE(fixture.app().recentFileList(), QStringList{path});
}

void StartupTest::newDocumentRerunsBothInitialUpdates()
{
    AppFixture fixture;
    QVERIFY(fixture.start());
    CKestrinNewsReaderView* browser = fixture.browser();
    CLeftView* tree = fixture.tree();
    QVERIFY(browser && tree);
    tree->topLevelItem(0)->setExpanded(false);
    QSignalSpy navigations(browser, &HtmlView::navigateRequested);

    fixture.frame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.frame()));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_N, Qt::ControlModifier);

    QCOMPARE(navigations.size(), 1);
    QCOMPARE(navigations.first().first().toString(), kDefaultHomePageUrl);
    QVERIFY(tree->topLevelItem(0)->isExpanded()); // rebuilt
    // The frame still holds the same panes.
    QCOMPARE(fixture.tree(), tree);
    QCOMPARE(fixture.browser(), browser);
}

void StartupTest::openAndSaveGoThroughTheFileChooser()
{
    MessageCapture messages;
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.kne"));
    QString answer = saved;
    const auto previous =
        FileDialog::SetHook([&answer](FileDialog::Mode, const QString&) { return answer; });

    frame->SendCommand(ID_FILE_SAVE);
    QVERIFY(QFileInfo::exists(saved));
    QCOMPARE(QFileInfo(saved).size(), 0); // the document stores nothing

    answer = dir.filePath(QStringLiteral("missing.kne"));
    frame->SendCommand(ID_FILE_OPEN);
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY(messages.texts().first().contains(QStringLiteral("missing.kne")));
    QVERIFY(fixture.app().recentFileList().isEmpty());

    answer = saved;
    CLeftView* tree = fixture.tree();
    tree->topLevelItem(0)->setExpanded(false);
    frame->SendCommand(ID_FILE_OPEN);
    FileDialog::SetHook(previous);
    QCOMPARE(fixture.document()->GetPathName(), saved);
    QCOMPARE(fixture.app().recentFileList(), QStringList{saved});
    QVERIFY(tree->topLevelItem(0)->isExpanded()); // the views were initialised again
}

void StartupTest::pipeForFavoritesIsNamedAndTheWindowComesUp()
{
    AppFixture::Options options;
    options.withFavorites = false;
    AppFixture fixture(options);
    const QString favorites = QDir(fixture.workDir()).filePath(QStringLiteral("Favorites.xml"));
    QCOMPARE(::mkfifo(QFile::encodeName(favorites).constData(), 0600), 0);
    MessageCapture messages;
    QVERIFY(fixture.start());
    QVERIFY(fixture.frame() && fixture.tree());
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY2(messages.texts().first().contains(favorites) &&
                 messages.texts().first().contains(QStringLiteral("pipe")),
             qPrintable(messages.texts().first()));
    // Left as it was for the user to see to.
    struct stat status = {};
    QCOMPARE(::lstat(QFile::encodeName(favorites).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
}

KESTRIN_TEST_MAIN(StartupTest)
#include "tst_startup.moc"

void StartupTest::leftoversOfACrashGoOnceTheWindowIsUp()
{
    AppFixture fixture;
    const QString leftover = QStringLiteral("Favorites.xml.tmpXy12Z9");
    const QString lookAlike = QStringLiteral("Favorites.xml.tmp-notours");
    QVERIFY(TestFiles::Write(QDir(fixture.workDir()).filePath(leftover), "<Favorites/>"));
    QVERIFY(TestFiles::Write(QDir(fixture.workDir()).filePath(lookAlike), "<Favorites/>"));
    QVERIFY(fixture.start());
    QSignalSpy shown(fixture.frame(), &FrameWindow::firstFrameShown);
    QTRY_VERIFY(!QFile::exists(QDir(fixture.workDir()).filePath(leftover)));
    QVERIFY(QFile::exists(QDir(fixture.workDir()).filePath(lookAlike)));
    QCOMPARE(shown.size(), 1);
    // Said for the first frame only.
    fixture.frame()->repaint();
    QTest::qWait(50);
    QCOMPARE(shown.size(), 1);
}
