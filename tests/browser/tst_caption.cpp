// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "browser/CKestrinNewsReaderView.h"
#include "catalog/CLeftView.h"
#include "frame/CMainFrame.h"
#include "platform/FileDialog.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/BrowserSteps.h"
#include "support/LocalHttpServer.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

namespace {
const QString kSuffix = QStringLiteral(" - Kestrin News Reader");
const QString kUntitled = QStringLiteral("Untitled - KestrinRadio");
constexpr int kLoadTimeout = 20000;
} // namespace

// The caption follows the page on show: after the framework's New and Open, and without a
// blank step while a site loads.
class CaptionTest : public QObject
{
    Q_OBJECT

private slots:
    void newAndOpenGiveWayToTheHomePageTitle();
    void newWithBlankHomePageKeepsThePageOnShow();
    void siteNameIsFollowedByThePageTitleOnly();
};

void CaptionTest::newAndOpenGiveWayToTheHomePageTitle()
{
    AppFixture fixture;
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    const QString home = TestFiles::StartPageTitle() + kSuffix;
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), home, kLoadTimeout);

    CaptionLog log(frame);
    QVERIFY(BrowserSteps::FocusIn(fixture, fixture.tree()));
    QTest::keyClick(fixture.tree(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(log.captions().contains(kUntitled));
    // The same page loads again and its title, unchanged, is reported once more.
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), home, kLoadTimeout);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("victim.txt"));
    QVERIFY(TestFiles::Write(path, "anything"));
    const auto previous =
        FileDialog::SetHook([&path](FileDialog::Mode, const QString&) { return path; });
    log.clear();
    frame->SendCommand(ID_FILE_OPEN);
    FileDialog::SetHook(previous);
    QVERIFY(log.captions().contains(QStringLiteral("victim.txt - KestrinRadio")));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), home, kLoadTimeout);
}

void CaptionTest::newWithBlankHomePageKeepsThePageOnShow()
{
    AppFixture fixture;
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    fixture.browser()->NavigateTo(TestFiles::PageUrl("titled.html"));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Local Test Page") + kSuffix,
                              kLoadTimeout);
    CaptionLog log(frame);
    frame->SendCommand(ID_FILE_NEW);
    QVERIFY(log.captions().contains(kUntitled));
    // Nothing loads, but the page is still on show and names the window again.
    QTRY_COMPARE(frame->windowTitle(), QStringLiteral("Local Test Page") + kSuffix);
}

void CaptionTest::siteNameIsFollowedByThePageTitleOnly()
{
    LocalHttpServer server;
    // Slow sites, so the engine's stand-in title has time to show if it ever would.
    server.setPage(QStringLiteral("/first"), QStringLiteral("First Front Page"), {}, 500);
    server.setPage(QStringLiteral("/second"), QStringLiteral("Second Front Page"), {}, 500);
    AppFixture::Options options;
    options.withFavorites = false;
    AppFixture fixture(options);
    QVERIFY(BrowserSteps::WriteFavorites(
        fixture, {{QStringLiteral("First Courier"), server.url(QStringLiteral("/first"))},
                  {QStringLiteral("Second Courier"), server.url(QStringLiteral("/second"))}}));
    fixture.setInt("IndexPage", 1);
    QVERIFY(fixture.start());
    CMainFrame* frame = fixture.frame();
    QTRY_VERIFY(fixture.browser()->hasEngine());

    CaptionLog log(frame);
    QVERIFY(BrowserSteps::SelectFavorite(fixture, 0));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("First Front Page") + kSuffix,
                              kLoadTimeout);
    // From one page to the next, too: the old title does not come back meanwhile.
    QVERIFY(BrowserSteps::SelectFavorite(fixture, 1));
    QTRY_COMPARE_WITH_TIMEOUT(frame->windowTitle(), QStringLiteral("Second Front Page") + kSuffix,
                              kLoadTimeout);
    QCOMPARE(log.captions(), (QStringList{QStringLiteral("Kestrin News Reader"),
                                          QStringLiteral("First Courier") + kSuffix,
                                          QStringLiteral("First Front Page") + kSuffix,
                                          QStringLiteral("Second Courier") + kSuffix,
                                          QStringLiteral("Second Front Page") + kSuffix}));
}

KESTRIN_TEST_MAIN(CaptionTest)
#include "tst_caption.moc"
