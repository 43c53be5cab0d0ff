// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "app/ProductAddresses.h"
#include "browser/CKestrinNewsReaderView.h"
#include "frame/CMainFrame.h"
#include "platform/NoticePage.h"
#include "res/Resource.h"
#include "support/AppFixture.h"
#include "support/BrowserSteps.h"
#include "support/LocalHttpServer.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QWebEnginePage>

namespace {
constexpr int kLoadTimeout = 20000;
// The page backgrounds of the Night skin and of the start page's own light look.
const QString kNightBackground = QStringLiteral("rgb(28, 29, 33)");
const QString kStartLightBackground = QStringLiteral("rgb(238, 242, 248)");

const QString kLook =
    QStringLiteral("String(document.documentElement.getAttribute('data-skin')) + ' ' + "
                   "getComputedStyle(document.documentElement).backgroundColor");

QString look(QWebEnginePage* page)
{
    return BrowserSteps::RunScript(page, kLook).toString();
}

QString night()
{
    return QStringLiteral("night ") + kNightBackground;
}
} // namespace

// The program's own pages take the skin's colours; everyone else's pages keep theirs.
class PageSkinTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_fixture.reset(); }
    void startPageFollowsEachChangeOfSkin();
    void helpAndNoticePagesAreDarkToo();
    void otherPagesAreLeftAlone();

private:
    [[nodiscard]] bool load(const QString& url);
    std::unique_ptr<AppFixture> m_fixture;
};

void PageSkinTest::init()
{
    m_fixture = std::make_unique<AppFixture>();
    m_fixture->setInt("SkinStyle", 4);
    QVERIFY(m_fixture->start());
    QTRY_COMPARE_WITH_TIMEOUT(m_fixture->browser()->url(), QUrl(kDefaultHomePageUrl), kLoadTimeout);
    // The address comes with the request; the page itself may still be on its way.
    QTRY_COMPARE_WITH_TIMEOUT(
        BrowserSteps::RunScript(m_fixture->browser()->page(), QStringLiteral("document.readyState"))
            .toString(),
        QStringLiteral("complete"), kLoadTimeout);
}

bool PageSkinTest::load(const QString& url)
{
    CKestrinNewsReaderView* browser = m_fixture->browser();
    QSignalSpy finished(browser, &HtmlView::loadFinished);
    browser->NavigateTo(url);
    return finished.wait(kLoadTimeout);
}

void PageSkinTest::startPageFollowsEachChangeOfSkin()
{
    CMainFrame* frame = m_fixture->frame();
    QWebEnginePage* page = m_fixture->browser()->page();
    // Dark from its first load on, then changed in place.
    QCOMPARE(look(page), night());
    frame->SendCommand(ID_SKIN_MINI);
    QTRY_COMPARE(look(page), QStringLiteral("minimized ") + kStartLightBackground);
    frame->SendCommand(ID_SKIN_NIGHT);
    QTRY_COMPARE(look(page), night());
    // A skin file that cannot be read leaves windows and pages as they were.
    QVERIFY(
        QFile::remove(QDir(m_fixture->workDir()).filePath(QStringLiteral("Skin/XPCorona.ssk"))));
    frame->SendCommand(ID_SKIN_XP);
    QVERIFY(load(kDefaultHomePageUrl));
    QCOMPARE(look(page), night());
}

void PageSkinTest::helpAndNoticePagesAreDarkToo()
{
    CKestrinNewsReaderView* browser = m_fixture->browser();
    m_fixture->frame()->SendCommand(ID_HELP_CONTENT);
    QTRY_VERIFY_WITH_TIMEOUT(browser->url().toString().endsWith(QStringLiteral("readme.htm")),
                             kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(look(browser->page()), night(), kLoadTimeout);

    browser->NavigateTo(
        QStringLiteral("http://127.0.0.1:%1/front").arg(LocalHttpServer::UnusedPort()));
    QTRY_VERIFY_WITH_TIMEOUT(browser->isShowingNotice(), kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(look(browser->noticePage()), night(), kLoadTimeout);
    // The notice changes with the skin while it is on show.
    m_fixture->frame()->SendCommand(ID_SKIN_SOFT);
    QTRY_VERIFY(
        look(browser->noticePage()).startsWith(QStringLiteral("softcrystal rgb(238, 242, 248)")));
}

void PageSkinTest::otherPagesAreLeftAlone()
{
    LocalHttpServer server;
    server.setPage(QStringLiteral("/"), QStringLiteral("Plain Paper"));
    QWebEnginePage* page = m_fixture->browser()->page();
    for (const QString& url :
         {server.url(QStringLiteral("/")), TestFiles::PageUrl("titled.html")}) {
        QVERIFY2(load(url), qPrintable(url));
        QCOMPARE(look(page), QStringLiteral("null rgba(0, 0, 0, 0)"));
    }
}

KESTRIN_TEST_MAIN(PageSkinTest)
#include "tst_pageskin.moc"
